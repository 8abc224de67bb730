// How the self-test's results read: one line per check, and the closing lines.
#include "cli/loopback_text.h"

#include <gtest/gtest.h>

namespace {

using Kind = cli::LoopbackCheck::Kind;

TEST(LoopbackText, OneLinePerCheckWithVerdictLinesExpectedAndSeen)
{
    cli::LoopbackCheck bidirectional{Kind::Direction, true, "TriState (control bit 5)", "", 0xAA, 0xFF};
    bidirectional.bidirectional = true;
    cli::LoopbackCheck spp{Kind::Direction, true, "TriState (control bit 5)", "", 0xAA, 0xAA};
    const struct {
        cli::LoopbackCheck check;
        std::string line;
    } cases[] = {
        {{Kind::Line, true, "Strobe (pin 1) -> Select (pin 13)", "high", 0x90, 0x90},
         "PASS  Strobe (pin 1) -> Select (pin 13)   high            status 0x90 expected, 0x90 seen"},
        {{Kind::Line, false, "Strobe (pin 1) -> Select (pin 13)", "high", 0x90, 0xA0},
         "FAIL  Strobe (pin 1) -> Select (pin 13)   high            status 0x90 expected, 0xA0 seen: "
         "Select (pin 13) low instead of high, PEnd (pin 12) high instead of low"},
        // Busy is inverted by the port: a clear bit is a high pin.
        {{Kind::Line, false, "Input (pin 17) -> Busy (pin 11)", "low", 0x80, 0x00},
         "FAIL  Input (pin 17) -> Busy (pin 11)     low             status 0x80 expected, 0x00 seen: "
         "Busy (pin 11) high instead of low"},
        {{Kind::Data, true, "D7..D0 (pins 9..2)", "0x55", 0x55, 0x55},
         "PASS  D7..D0 (pins 9..2)                  0x55            0x55 expected, 0x55 seen"},
        {{Kind::Data, false, "D7..D0 (pins 9..2)", "walking one D3", 0x08, 0x09},
         "FAIL  D7..D0 (pins 9..2)                  walking one D3  0x08 expected, 0x09 seen: D0 set"},
        {{Kind::Data, false, "D7..D0 (pins 9..2)", "0xFF", 0xFF, 0x77},
         "FAIL  D7..D0 (pins 9..2)                  0xFF            0xFF expected, 0x77 seen: D7 clear, D3 clear"},
        {bidirectional, "INFO  TriState (control bit 5)                            data lines become inputs: "
                        "bidirectional port (wrote 0xAA, read 0xFF)"},
        {spp, "INFO  TriState (control bit 5)                            data lines stay outputs: "
              "not bidirectional (wrote 0xAA, read 0xAA)"},
    };
    for (const auto& c : cases)
        EXPECT_EQ(cli::FormatCheck(c.check), c.line);
}

TEST(LoopbackText, SummarySaysHowTheRegistersWereLeftAndCountsFailuresButNotTheDirection)
{
    cli::LoopbackResult result;
    result.foundData = 0x00;
    result.foundControl = 0x0C;
    result.restoredControl = 0x0C;
    result.checks = {{Kind::Line, true, "a", "high", 0, 0}, {Kind::Data, true, "b", "0x00", 0, 0},
                     {Kind::Direction, true, "c", "", 0, 0}};
    EXPECT_EQ(cli::FormatSummary(result), "Registers left as found: data 0x00, control 0x0C.\nAll 2 checks passed.\n");

    result.checks[1].passed = false;
    result.controlReadsBack = false;
    result.foundData = 0x5A;
    EXPECT_EQ(cli::FormatSummary(result),
              "Data register left as found (0x5A). The control register does not read back what is written, so "
              "what it held is unknown: it was left at 0x0C, an idle printer port.\n1 of 2 checks failed.\n");
}

}  // namespace
