#include "io/simulated_port.h"

#include <gtest/gtest.h>

#include <ostream>

#include <cstdint>

namespace {

constexpr std::uint16_t kData = 0x378;
constexpr std::uint16_t kStatus = 0x379;
constexpr std::uint16_t kControl = 0x37A;

// Control byte and data byte written -> status byte read through the loopback plug.
struct LoopbackCase {
    const char* name;
    std::uint8_t control;
    std::uint8_t data;
    std::uint8_t status;
};

void PrintTo(const LoopbackCase& c, std::ostream* os) { *os << c.name; }

class SimulatedLoopback : public testing::TestWithParam<LoopbackCase> {};

TEST_P(SimulatedLoopback, StatusFollowsControlAndDataBitZero)
{
    const LoopbackCase& c = GetParam();
    io::SimulatedPort port;
    port.Out(kData, c.data);
    port.Out(kControl, c.control);
    EXPECT_EQ(port.In(kStatus), c.status);
}

INSTANTIATE_TEST_SUITE_P(
    Wiring, SimulatedLoopback,
    testing::Values(
        // Start-up byte: Init high, direction in, so pin 2 floats high and Error reads 1.
        LoopbackCase{"StartUp", 0x24, 0x00, 0x7F},
        LoopbackCase{"AllClear", 0x00, 0x00, 0x37},
        LoopbackCase{"D0ToError", 0x00, 0x01, 0x3F},
        LoopbackCase{"OtherDataBitsUnwired", 0x00, 0xFE, 0x37},
        LoopbackCase{"StrobeToSelectInverted", 0x01, 0x00, 0x27},
        LoopbackCase{"AutoToPaperEndInverted", 0x02, 0x00, 0x17},
        LoopbackCase{"InitToAck", 0x04, 0x00, 0x77},
        LoopbackCase{"SelectInToBusy", 0x08, 0x00, 0xB7},
        LoopbackCase{"AllLinesAndD0", 0x0F, 0x01, 0xCF},
        LoopbackCase{"DirectionLetsPin2Float", 0x20, 0x00, 0x3F},
        LoopbackCase{"DirectionAndAllLines", 0x2F, 0x00, 0xCF},
        LoopbackCase{"Bits467Unwired", 0xD0, 0x00, 0x37}),
    [](const auto& info) { return info.param.name; });

// Data register read while control bit 5 selects the direction.
struct DirectionCase {
    const char* name;
    std::uint8_t control;
    std::uint8_t written;
    std::uint8_t read;
};

void PrintTo(const DirectionCase& c, std::ostream* os) { *os << c.name; }

class SimulatedDirection : public testing::TestWithParam<DirectionCase> {};

TEST_P(SimulatedDirection, DataReadsLatchOrUndrivenLines)
{
    const DirectionCase& c = GetParam();
    io::SimulatedPort port;
    port.Out(kControl, c.control);
    port.Out(kData, c.written);
    EXPECT_EQ(port.In(kData), c.read);
}

INSTANTIATE_TEST_SUITE_P(
    Bit5, SimulatedDirection,
    testing::Values(DirectionCase{"OutputReadsLatch", 0x00, 0x55, 0x55},
                    DirectionCase{"OutputReadsLatchAllOnes", 0x00, 0xFF, 0xFF},
                    DirectionCase{"OtherBitsKeepOutput", 0xDF, 0xAA, 0xAA},
                    DirectionCase{"InputReadsFF", 0x20, 0x00, 0xFF},
                    DirectionCase{"StartUpByteReadsFF", 0x24, 0x55, 0xFF}),
    [](const auto& info) { return info.param.name; });

TEST(SimulatedPort, LatchWrittenInInputModeShowsAfterSwitchingBack)
{
    io::SimulatedPort port;
    port.Out(kControl, 0x20);
    port.Out(kData, 0x5A);
    ASSERT_EQ(port.In(kData), 0xFF);
    port.Out(kControl, 0x00);
    EXPECT_EQ(port.In(kData), 0x5A);
}

TEST(SimulatedPort, ControlReadsLastByteWithBits6And7Set)
{
    const struct {
        std::uint8_t written, read;
    } cases[] = {{0x00, 0xC0}, {0x24, 0xE4}, {0x3F, 0xFF}, {0x0B, 0xCB}, {0xC5, 0xC5}};
    io::SimulatedPort port;
    for (const auto& c : cases) {
        port.Out(kControl, c.written);
        EXPECT_EQ(port.In(kControl), c.read) << "control written " << int(c.written);
    }
}

TEST(SimulatedPort, StatusWritesAreIgnored)
{
    io::SimulatedPort port;
    port.Out(kControl, 0x00);
    port.Out(kStatus, 0x00);
    EXPECT_EQ(port.In(kStatus), 0x37);
    port.Out(kStatus, 0xFF);
    EXPECT_EQ(port.In(kStatus), 0x37);
}

TEST(SimulatedPort, PortNumbersWithoutAPortReadFFAndDropWrites)
{
    const std::uint16_t absent[] = {0x000, 0x278, 0x279, 0x27A, 0x300, 0x302,
                                    0x377, 0x37B, 0x3BC, 0x3BE, 0xFFFF};
    io::SimulatedPort port;
    port.Out(kData, 0x12);
    port.Out(kControl, 0x00);
    for (std::uint16_t p : absent) {
        port.Out(p, 0x00);
        EXPECT_EQ(port.In(p), 0xFF) << "port " << p;
    }
    // The neighbours' writes must not have reached the port at 0x378.
    EXPECT_EQ(port.In(kData), 0x12);
    EXPECT_EQ(port.In(kControl), 0xC0);
    EXPECT_EQ(port.In(kStatus), 0x37);
}

TEST(SimulatedPort, EachBaseHasItsOwnRegisters)
{
    io::SimulatedPort port({0x278, 0x378});
    port.Out(0x278, 0x12);
    port.Out(0x378, 0x34);
    port.Out(0x27A, 0x01);
    port.Out(0x37A, 0x08);
    EXPECT_EQ(port.In(0x278), 0x12);
    EXPECT_EQ(port.In(0x378), 0x34);
    EXPECT_EQ(port.In(0x279), 0x27);
    EXPECT_EQ(port.In(0x379), 0xB7);
    EXPECT_EQ(port.In(0x3BC), 0xFF);
}

// The write-and-read-back test the panel runs at start-up finds only the port at 0x378.
TEST(SimulatedPort, DetectionProbeAnswersOnlyAtItsBase)
{
    const struct {
        std::uint16_t base;
        bool answers;
    } candidates[] = {{0x278, false}, {0x300, false}, {0x378, true}, {0x3BC, false}};
    io::SimulatedPort port;
    for (const auto& c : candidates) {
        port.Out(c.base, 0xAA);
        port.Out(static_cast<std::uint16_t>(c.base + 2), 0x00);
        EXPECT_EQ(port.In(c.base) == 0xAA, c.answers) << "base " << c.base;
    }
}

TEST(SimulatedPort, NamesItself)
{
    EXPECT_EQ(io::SimulatedPort().WayTo(0x378), "simulated port");
    EXPECT_EQ(io::BuiltInBus().WayTo(0x378), "simulated port");
}

}  // namespace
