// The X connection setup's two messages, against bytes laid out by hand from the protocol.
#include <gtest/gtest.h>

#include <bit>
#include <string>

#include "ui/qt/x11_setup.h"

namespace {

using ui::qt::x11::ReadSetupAnswer;
using ui::qt::x11::SetupAnswer;
using Kind = SetupAnswer::Kind;

// Two bytes in this machine's order, as the server answers a client that announced it.
std::string U16(unsigned value)
{
    const char low = static_cast<char>(value & 0xFF), high = static_cast<char>(value >> 8);
    return std::endian::native == std::endian::little ? std::string{low, high} : std::string{high, low};
}

std::string Header(char status, char byte1, unsigned extraWords)
{
    return std::string{status, byte1} + U16(11) + U16(0) + U16(extraWords);
}

// A successful answer's fixed part (32 bytes after the header) with `screens` screens.
std::string Accepted(int screens)
{
    std::string extra(32, '\0');
    extra[20] = static_cast<char>(screens);
    return Header(1, 0, 8) + extra;
}

TEST(X11SetupTest, TheRequestAnnouncesOurByteOrderAndPadsTheCookie)
{
    const std::string order = std::endian::native == std::endian::little ? "l" : "B";
    EXPECT_EQ(ui::qt::x11::SetupRequest({}), order + '\0' + U16(11) + U16(0) + U16(0) + U16(0) + U16(0));
    const std::string cookie(16, '\x5a');
    EXPECT_EQ(ui::qt::x11::SetupRequest({"MIT-MAGIC-COOKIE-1", cookie}),
              order + '\0' + U16(11) + U16(0) + U16(18) + U16(16) + U16(0) + "MIT-MAGIC-COOKIE-1" + std::string(2, '\0') + cookie);
}

TEST(X11SetupTest, AnswersAreReadOnlyOnceWhole)
{
    const std::string refusal = "No protocol specified\n";
    std::string failed = Header(0, static_cast<char>(refusal.size()), 6) + refusal;
    failed.resize(8 + 24, '\0');
    const std::string authenticate = Header(2, 0, 2) + std::string("Nope", 4) + std::string(4, '\0');
    const std::string hostile = "Go\x1b[2J\naway\x7f \r\n";
    std::string escapes = Header(0, static_cast<char>(hostile.size()), 4) + hostile;
    escapes.resize(8 + 16, '\0');
    struct Case {
        const char* name;
        std::string bytes;
        Kind kind;
        std::string reason;
        int screens;
    } cases[] = {
        {"nothing yet", "", Kind::Incomplete, "", 0},
        {"half a header", Header(1, 0, 8).substr(0, 5), Kind::Incomplete, "", 0},
        {"header without its data", Header(1, 0, 8), Kind::Incomplete, "", 0},
        {"accepted, one screen", Accepted(1), Kind::Accepted, "", 1},
        {"accepted, and more bytes behind", Accepted(3) + "more", Kind::Accepted, "", 3},
        {"refused, with why (line end and padding dropped)", failed, Kind::Refused, "No protocol specified", 0},
        {"refused, reason cut short", failed.substr(0, 20), Kind::Incomplete, "", 0},
        {"more authentication wanted", authenticate, Kind::Refused, "Nope", 0},
        {"a reason with control characters, shown on one line", escapes, Kind::Refused, "Go [2J away", 0},
        {"a reason longer than the answer", Header(0, 40, 1) + "abcd", Kind::NotX, "", 0},
        {"success too short to name its screens", Header(1, 0, 2) + std::string(8, '\0'), Kind::NotX, "", 0},
        {"an unknown status", Header(7, 0, 0), Kind::NotX, "", 0},
        {"an HTTP server", "HTTP/1.1 400 Bad Request\r\n" + std::string(400, ' '), Kind::NotX, "", 0},
    };
    for (const Case& c : cases) {
        SetupAnswer answer = ReadSetupAnswer(c.bytes);
        EXPECT_EQ(answer.kind, c.kind) << c.name;
        EXPECT_EQ(answer.reason, c.reason) << c.name;
        EXPECT_EQ(answer.screens, c.screens) << c.name;
    }
}

}  // namespace
