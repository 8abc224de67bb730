// The data row: hex entry, bit buttons, Continous and Set Data against the port.
#include <gtest/gtest.h>

#include "support/panel_session.h"

using namespace testsupport;
namespace input = afx::input;

namespace {

// The panel starts with the data byte 0xAA (the probe's pattern read back) and Continous off.
struct HexCase {
    const char* name;
    bool continuous;
    std::vector<std::string> edits;  // successive whole-field texts, as a native editor reports them
    const char* field;               // what the field shows afterwards
    int byte;
    const char* faces;               // D7 .. D0
    std::vector<int> dataWrites;     // what the edits wrote to the data register
    bool lampsRefreshed;
};

void PrintTo(const HexCase& c, std::ostream* os) { *os << c.name; }

const HexCase kHexCases[] = {
    {"OneDigitOnlyChangesCase", false, {"b"}, "B", 0xAA, "10101010", {}, false},
    {"TwoDigitsSetTheByteWithoutWriting", false, {"3c"}, "3C", 0x3C, "00111100", {}, true},
    {"TwoDigitsWithContinousWriteAtOnce", true, {"e0"}, "E0", 0xE0, "11100000", {0xE0}, true},
    {"InvalidFirstCharacterEmptiesTheField", false, {"G5"}, "", 0xAA, "10101010", {}, false},
    {"InvalidSecondCharacterIsCut", false, {"5Z"}, "5", 0xAA, "10101010", {}, false},
    {"BlankIsInvalid", false, {" 5"}, "", 0xAA, "10101010", {}, false},
    {"NonAsciiByteIsInvalid", false, {"\xe9"}, "", 0xAA, "10101010", {}, false},
    {"NonAsciiSecondByteIsCut", true, {"7\xb5"}, "7", 0xAA, "10101010", {}, false},
    {"EmptiedFieldKeepsTheByte", false, {""}, "", 0xAA, "10101010", {}, false},
    {"DeletingOneDigitKeepsTheByte", false, {"a7", "a"}, "A", 0xA7, "10100111", {}, true},
};

class HexEntry : public testing::TestWithParam<HexCase> {};

TEST_P(HexEntry, FieldByteFacesAndWrites)
{
    const HexCase& c = GetParam();
    PanelSession s;
    bool refreshed = false;
    s.ui.Then([&] {
        if (c.continuous)
            input::Click(s.Item(IDC_CONT_DATA));
    });
    s.ui.Then([&] {
        s.rec.Clear();
        for (const std::string& text : c.edits)
            input::EditText(s.Item(IDC_DATA_VALUE), text);
    });
    s.ui.Then([&] {
        EXPECT_EQ(s.Item(IDC_DATA_VALUE)->text, c.field);
        EXPECT_EQ(s.dlg.m_strDataValue, c.field);
        EXPECT_EQ(s.dlg.m_nDataByte, c.byte);
        EXPECT_EQ(s.Images(kDataButtons), c.faces);
        for (const io::Access& a : s.rec.Log())
            refreshed |= a.kind == io::Access::Kind::Read && a.port == 0x379;
    });
    s.ui.Then([&] { input::Key(s.Top(), VK_ESCAPE); });
    s.Run();
    EXPECT_EQ(s.Writes(0x378), c.dataWrites);
    EXPECT_EQ(refreshed, c.lampsRefreshed);
}

INSTANTIATE_TEST_SUITE_P(Panel, HexEntry, testing::ValuesIn(kHexCases),
                         [](const testing::TestParamInfo<HexCase>& i) { return std::string(i.param.name); });

// Typing into the field as a user does: the first key replaces the selected start text.
TEST(DataRow, TypingTwoDigitsReplacesTheSelectedTextAndSetsTheByte)
{
    PanelSession s;
    s.ui.Then([&] { input::Type(s.Top(), "3c"); });
    s.ui.Then([&] {
        EXPECT_EQ(s.Item(IDC_DATA_VALUE)->text, "3C");
        EXPECT_EQ(s.dlg.m_nDataByte, 0x3C);
        input::Char(s.Top(), '1');  // a third character is refused by the field
    });
    s.ui.Then([&] { EXPECT_EQ(s.Item(IDC_DATA_VALUE)->text, "3C"); });
    s.Run();
}

TEST(DataRow, BitClickWithContinousOffChangesFaceAndFieldButNotThePort)
{
    PanelSession s;
    s.ui.Then([&] {
        s.rec.Clear();
        input::Click(s.Item(IDC_DATA_BIT0));
    });
    s.ui.Then([&] {
        EXPECT_EQ(s.dlg.m_nDataByte, 0xAB);
        EXPECT_EQ(s.Item(IDC_DATA_VALUE)->text, "AB");
        EXPECT_EQ(s.Images(kDataButtons), "10101011");
        EXPECT_TRUE(s.Writes().empty());
        EXPECT_EQ(s.rec.Log().size(), 2u);  // the lamps were refreshed: two reads
    });
    s.Run();
}

TEST(DataRow, BitClicksWriteAtOnceWithContinousAndFieldHasNoLeadingZero)
{
    PanelSession s;
    s.ui.Then([&] {
        input::Click(s.Item(IDC_CTRL_TRISTATE));  // TriState off, so the data lamps read the latch
        input::Click(s.Item(IDC_SET_CTRL));
        input::EditText(s.Item(IDC_DATA_VALUE), "04");
        input::Click(s.Item(IDC_CONT_DATA));
    });
    s.ui.Then([&] {
        s.rec.Clear();
        input::Click(s.Item(IDC_DATA_BIT0));
    });
    s.ui.Then([&] {
        EXPECT_EQ(s.Item(IDC_DATA_VALUE)->text, "5");
        EXPECT_EQ(s.Images(kDataLamps), "00000101");
        input::Click(s.Item(IDC_DATA_BIT0));
        input::Click(s.Item(IDC_DATA_BIT2));
    });
    s.ui.Then([&] { EXPECT_EQ(s.Item(IDC_DATA_VALUE)->text, "0"); });
    s.Run();
    EXPECT_EQ(s.Writes(0x378), (std::vector<int>{0x05, 0x04, 0x00}));
}

// Set Data writes what the field shows: two digits as typed, one digit as its own value (shown
// then with its leading zero), an empty field the byte the bit buttons hold.
TEST(DataRow, SetDataWritesWhatTheFieldShowsEachTime)
{
    const struct {
        const char* typed;
        int written;
        const char* shown;
        const char* faces;
    } cases[] = {
        {"3C", 0x3C, "3C", "00111100"},
        {"7", 0x07, "07", "00000111"},
        {"e", 0x0E, "0E", "00001110"},
        {"", 0xA5, "", "10100101"},
    };
    for (const auto& c : cases) {
        PanelSession s;
        s.ui.Then([&] {
            input::EditText(s.Item(IDC_DATA_VALUE), "A5");
            input::EditText(s.Item(IDC_DATA_VALUE), c.typed);
        });
        s.ui.Then([&] {
            s.rec.Clear();
            input::Click(s.Item(IDC_SET_DATA));
            input::Click(s.Item(IDC_SET_DATA));
        });
        s.ui.Then([&] {
            EXPECT_EQ(s.Item(IDC_DATA_VALUE)->text, c.shown) << c.typed;
            EXPECT_EQ(s.Images(kDataButtons), c.faces) << c.typed;
            EXPECT_EQ(s.Writes(), (std::vector<int>{c.written, c.written})) << c.typed;
        });
        s.Run();
    }
}

// With Continous on, one digit is half a byte: nothing is written until the second comes.
TEST(DataRow, ContinousWaitsForTheSecondDigit)
{
    PanelSession s;
    s.ui.Then([&] { input::Click(s.Item(IDC_CONT_DATA)); });
    s.ui.Then([&] {
        s.rec.Clear();
        input::EditText(s.Item(IDC_DATA_VALUE), "7");
    });
    s.ui.Then([&] {
        EXPECT_TRUE(s.Writes().empty());
        input::EditText(s.Item(IDC_DATA_VALUE), "71");
    });
    s.Run();
    EXPECT_EQ(s.Writes(0x378), (std::vector<int>{0x71}));
}

TEST(DataRow, SwitchingContinousOnWritesAtOnceAndOffWritesNothing)
{
    PanelSession s;
    std::vector<int> afterOn, afterOff;
    s.ui.Then([&] {
        s.rec.Clear();
        input::Click(s.Item(IDC_CONT_DATA));
    });
    s.ui.Then([&] {
        afterOn = s.Writes();
        EXPECT_EQ(s.dlg.m_bContinuousData, 1);
        s.rec.Clear();
        input::Click(s.Item(IDC_CONT_DATA));
    });
    s.ui.Then([&] {
        afterOff = s.Writes();
        EXPECT_EQ(s.dlg.m_bContinuousData, 0);
        EXPECT_TRUE(s.rec.Log().empty());  // not even a repaint
        input::Click(s.Item(IDC_CONT_DATA));
    });
    s.Run();
    EXPECT_EQ(afterOn, (std::vector<int>{0xAA}));
    EXPECT_TRUE(afterOff.empty());
    EXPECT_EQ(s.Writes(), (std::vector<int>{0xAA}));  // on again: the same byte written again
}

}  // namespace
