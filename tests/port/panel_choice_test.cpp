// Which port the panel would use: the saved one if it is a candidate's label and answers.
#include "port/panel_choice.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <vector>

#include "io/recording_bus.h"
#include "io/simulated_port.h"
#include "port/portio.h"

namespace {

using Why = port::PanelChoice::Why;

TEST(PanelChoice, SavedPortIfItAnswersElseTheDefaultElseTheLowestThatAnswers)
{
    const struct {
        const char* saved;
        std::vector<std::uint16_t> answering;
        std::uint16_t base;
        Why why;
        bool lowest;
        std::vector<std::uint16_t> asked;
    } cases[] = {
        {"0x03BC", {0x278, 0x3BC}, 0x3BC, Why::Saved, false, {0x3BC}},
        {"0x0278", {0x278}, 0x278, Why::Saved, false, {0x278}},
        {"0x0300", {0x278, 0x378}, 0x378, Why::SavedSilent, false, {0x300, 0x378}},
        {"", {0x378}, 0x378, Why::NothingSaved, false, {0x378}},
        {"0x03bc", {0x3BC, 0x378}, 0x378, Why::NotACandidate, false, {0x378}},  // labels are upper case
        {"0x378", {0x378}, 0x378, Why::NotACandidate, false, {0x378}},
        {"0x0378 ", {0x378}, 0x378, Why::NotACandidate, false, {0x378}},
        {"0xD010", {0x378}, 0x378, Why::NotACandidate, false, {0x378}},
        // No port at 0x378: the lowest that answers, asked in ascending order, the saved one once.
        {"", {0x278}, 0x278, Why::NothingSaved, true, {0x378, 0x278}},
        {"0x0300", {0x3BC}, 0x3BC, Why::SavedSilent, true, {0x300, 0x378, 0x278, 0x3BC}},
        {"0x0378", {0x300, 0x3BC}, 0x300, Why::SavedSilent, true, {0x378, 0x278, 0x300}},
        // Nothing answers at all: the default all the same.
        {"", {}, 0x378, Why::NothingSaved, false, {0x378, 0x278, 0x300, 0x3BC}},
    };
    for (const auto& c : cases) {
        std::vector<std::uint16_t> asked;
        const port::PanelChoice choice = port::ChoosePanelPort(c.saved, [&](std::uint16_t base) {
            asked.push_back(base);
            return std::find(c.answering.begin(), c.answering.end(), base) != c.answering.end();
        });
        EXPECT_EQ(choice.base, c.base) << c.saved;
        EXPECT_EQ(choice.why, c.why) << c.saved;
        EXPECT_EQ(choice.lowest, c.lowest) << c.saved;
        EXPECT_EQ(asked, c.asked) << c.saved;
    }
}

TEST(PanelChoice, ReasonNamesTheFileAndKeepsItsTextPrintable)
{
    EXPECT_EQ(port::Describe({0x3BC, Why::Saved}, "0x03BC"), "saved in config.ovm, and it answered the test");
    EXPECT_EQ(port::Describe({0x378, Why::SavedSilent}, "0x0300"),
              "the default: config.ovm names 0x0300, which did not answer the test");
    EXPECT_EQ(port::Describe({0x378, Why::NotACandidate}, "ab\x1b[2J"),
              "the default: config.ovm holds \"ab?[2J\", which is no candidate's label");
    EXPECT_EQ(port::Describe({0x278, Why::NothingSaved, true}, ""),
              "the lowest port that answered, as 0x0378 did not: config.ovm in this directory is missing or empty");
}

TEST(PanelChoice, DetectionTestIsThePanelsWriteWriteRead)
{
    io::SimulatedPort sim({0x278, 0x378});
    io::RecordingBus rec(sim);
    port::InstallBus(&rec);
    EXPECT_TRUE(port::AnswersDetectionTest(0x278));
    EXPECT_FALSE(port::AnswersDetectionTest(0x300));
    port::InstallBus(nullptr);
    using A = io::Access;
    EXPECT_EQ(rec.Log(), (std::vector<A>{{A::Kind::Write, 0x278, 0xAA}, {A::Kind::Write, 0x27A, 0x00},
                                         {A::Kind::Read, 0x278, 0xAA}, {A::Kind::Write, 0x300, 0xAA},
                                         {A::Kind::Write, 0x302, 0x00}, {A::Kind::Read, 0x300, 0xFF}}));
    EXPECT_EQ(io::PortLabel(0x3BC), "0x03BC");
    EXPECT_EQ(io::PortLabel(0xD010), "0xD010");
}

}  // namespace
