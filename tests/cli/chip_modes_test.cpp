// The chips a port may be: what the simulated one of each answers at its extended control
// register, what the self-test then sees of the direction bit, and what the survey says of it
// from that register.
#include "io/port_facts.h"
#include "io/simulated_port.h"
#include "cli/loopback.h"
#include "port/portio.h"
#include "../io/fake_system_calls.h"

#include <gtest/gtest.h>

namespace {

using Chip = io::SimulatedPort::Chip;

TEST(ChipModes, EcrSelfTestAndSurveyAgreeForEachChip)
{
    const struct {
        const char* name;
        Chip chip;
        std::uint8_t mode;
        std::optional<std::uint8_t> ecr;  // as the survey reads it
        bool turnsAround;                 // the self-test sees the data lines become inputs
        io::Direction said;
    } cases[] = {
        {"BidirectionalWithoutEcr", Chip::Bidirectional, 0, std::nullopt, true, io::Direction::Unknown},
        {"PlainSpp", Chip::Spp, 0, std::nullopt, false, io::Direction::Unknown},
        {"EcpInSppMode", Chip::Ecp, 0, 0x15, false, io::Direction::Fixed},
        {"EcpInPs2Mode", Chip::Ecp, 1, 0x35, true, io::Direction::Turns},
        {"EcpInFifoMode", Chip::Ecp, 2, 0x55, false, io::Direction::Fixed},
        {"EcpInEcpMode", Chip::Ecp, 3, 0x75, true, io::Direction::Turns},
        {"EcpInEppMode", Chip::Ecp, 4, 0x95, true, io::Direction::Turns},
    };
    for (const auto& c : cases) {
        io::SimulatedPort sim({0x378});
        sim.SetChip(0x378, c.chip, c.mode);

        // The survey reads the chip through port instructions: here, the simulated chip's answers.
        iotest::FakeSystemCalls sys;
        sys.inBytes[0x77A] = sim.In(0x77A);
        sys.inBytes[0x37A] = sim.In(0x37A);
        io::SurveyedPort surveyed;
        surveyed.base = 0x378;
        surveyed.label = "0x0378";
        surveyed.legacy = true;
        surveyed.way = io::Way::Direct;
        surveyed.ecr = io::ReadEcr(sys, 0x378);
        EXPECT_EQ(surveyed.ecr, c.ecr) << c.name;
        EXPECT_EQ(io::DirectionOf(surveyed), c.said) << c.name;

        port::InstallBus(&sim);
        const cli::LoopbackResult result = cli::RunLoopbackTest(0x378);
        port::InstallBus(nullptr);
        bool seen = false;
        for (const cli::LoopbackCheck& check : result.checks) {
            if (check.kind == cli::LoopbackCheck::Kind::Direction) {
                EXPECT_EQ(check.bidirectional, c.turnsAround) << c.name;
                seen = true;
            }
        }
        EXPECT_TRUE(seen) << c.name;
        // Whatever the chip, the plug's lines and the data read-back pass: the mode only decides
        // whether the data lines turn around.
        EXPECT_TRUE(result.AllPassed()) << c.name;
    }
}

}  // namespace
