// The screen model the terminal tests read with: if it misread what curses sends, those tests
// would check nothing. Each case is a byte string and what a terminal shows after it.
#include <functional>

#include <gtest/gtest.h>

#include "vt_screen.h"

namespace {

struct Case {
    const char* name;
    const char* bytes;
    std::function<void(const vt::Screen&)> check;
};

const Case kCases[] = {
    {"CursorPositionAndText", "\x1b[2;3Hab\x1b[1;1Hc",
     [](const vt::Screen& s) {
         EXPECT_EQ(s.Row(0).substr(0, 1), "c");
         EXPECT_EQ(s.Row(1).substr(0, 5), "  ab ");
     }},
    {"RelativeMovesAndColumn", "\x1b[3;5Hx\x1b[A\x1b[2Dy\x1b[B\x1b[3Cz\x1b[10Gw",
     [](const vt::Screen& s) {
         EXPECT_EQ(s.Row(1).substr(0, 10), "   y      ");
         EXPECT_EQ(s.Row(2).substr(0, 10), "    x  z w");
     }},
    {"ColoursAndAttributes", "\x1b[1m\x1b[93mA\x1b[0m\x1b[37mB\x1b[30m\x1b[47mC\x1b[38;5;200m\x1b[7mD\x1b[27;39;49mE",
     [](const vt::Screen& s) {
         EXPECT_TRUE(s.At(0, 0).bold);
         EXPECT_EQ(s.At(0, 0).fg, 11);
         EXPECT_FALSE(s.At(0, 1).bold);
         EXPECT_EQ(s.At(0, 1).fg, 7);
         EXPECT_EQ(s.At(0, 2).fg, 0);
         EXPECT_EQ(s.At(0, 2).bg, 7);
         EXPECT_EQ(s.At(0, 3).fg, 200);
         EXPECT_TRUE(s.At(0, 3).reverse);
         EXPECT_EQ(s.At(0, 4).fg, -1);
         EXPECT_FALSE(s.At(0, 4).reverse);
     }},
    {"Utf8AndLineDrawing", "\xe2\x97\x8f\x1b(0lqk\x1b(Bq",
     [](const vt::Screen& s) {
         EXPECT_EQ(s.Row(0).substr(0, 13), "\u25CF\u250C\u2500\u2510q");
         EXPECT_TRUE(s.Contains("\u250C\u2500\u2510"));
         EXPECT_EQ(s.Find("\u2510q").col, 3);
     }},
    {"EraseAndRepeat", "abcdef\x1b[1;3H\x1b[K\x1b[2;1Hx\x1b[3bzz\x1b[2;2H\x1b[2X",
     [](const vt::Screen& s) {
         EXPECT_EQ(s.Row(0).substr(0, 6), "ab    ");
         EXPECT_EQ(s.Row(1).substr(0, 6), "x  xzz");
     }},
    {"WrapWaitsForTheNextCharacter", "\x1b[1;10H@\x1b[1;1H\x1b[1;10H#!",
     [](const vt::Screen& s) {
         EXPECT_EQ(s.At(0, 9).ch, U'#');
         EXPECT_EQ(s.At(1, 0).ch, U'!');
     }},
    {"AlternateScreenKeepsTheMainOne", "main\x1b[?1049hALT\x1b[?1049l",
     [](const vt::Screen& s) {
         EXPECT_FALSE(s.AlternateScreen());
         EXPECT_EQ(s.Row(0).substr(0, 4), "main");
         EXPECT_FALSE(s.Contains("ALT"));
     }},
    {"ModesAndCursor", "\x1b[?1h\x1b[?1000h\x1b[?25l\x1b[?1l",
     [](const vt::Screen& s) {
         EXPECT_FALSE(s.Mode(1));
         EXPECT_TRUE(s.Mode(1000));
         EXPECT_FALSE(s.CursorVisible());
     }},
    {"ScrollRegionAndInsertLine", "1\r\n2\r\n3\x1b[1;2r\x1b[2;1H\n\x1b[r\x1b[1;1H\x1b[L",
     [](const vt::Screen& s) {
         EXPECT_EQ(s.At(0, 0).ch, U' ');
         EXPECT_EQ(s.At(1, 0).ch, U'2');
         EXPECT_EQ(s.At(2, 0).ch, U' ');
         EXPECT_EQ(s.At(3, 0).ch, U'3');
     }},
};

void PrintTo(const Case& c, std::ostream* os) { *os << c.name; }

class ScreenModel : public ::testing::TestWithParam<Case> {};

TEST_P(ScreenModel, ShowsWhatATerminalWould)
{
    vt::Screen s(5, 10);
    s.Feed(GetParam().bytes);
    GetParam().check(s);
}

INSTANTIATE_TEST_SUITE_P(Sequences, ScreenModel, ::testing::ValuesIn(kCases),
                         [](const auto& info) { return std::string(info.param.name); });

TEST(ScreenModelFeed, ASequenceSplitAcrossReadsIsTheSame)
{
    const std::string bytes = "\x1b[2;3H\x1b[1;93m\xe2\x97\x8f\x1b[0m";
    vt::Screen whole(3, 6), split(3, 6);
    whole.Feed(bytes);
    for (char c : bytes)
        split.Feed(std::string(1, c));
    EXPECT_EQ(split.Text(), whole.Text());
    EXPECT_EQ(split.At(1, 2).fg, 11);
}

}  // namespace
