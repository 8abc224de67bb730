#include "port/portio.h"

#include "io/bus.h"
#include "io/recording_bus.h"
#include "io/simulated_port.h"

#include <gtest/gtest.h>

namespace {

using io::Access;

// Answers every read with one fixed byte, to see how the byte is widened.
class FixedBus : public io::Bus {
public:
    explicit FixedBus(std::uint8_t byte) : m_byte(byte) {}
    std::uint8_t In(std::uint16_t) override { return m_byte; }
    void Out(std::uint16_t, std::uint8_t) override {}
    std::string WayTo(std::uint16_t) const override { return "fixed"; }

private:
    std::uint8_t m_byte;
};

class PortIo : public testing::Test {
protected:
    void TearDown() override { port::InstallBus(nullptr); }
};

TEST_F(PortIo, ReadWidensWithoutSignExtension)
{
    const struct {
        std::uint8_t byte;
        int read;
    } cases[] = {{0x00, 0}, {0x7F, 127}, {0x80, 128}, {0xAA, 170}, {0xFF, 255}};
    for (const auto& c : cases) {
        FixedBus bus(c.byte);
        port::InstallBus(&bus);
        EXPECT_EQ(ReadPortByte(0x378), c.read) << "byte " << int(c.byte);
    }
}

TEST_F(PortIo, WriteSendsTheLowEightBits)
{
    const struct {
        int value;
        std::uint8_t sent;
    } cases[] = {{0x24, 0x24}, {0xAA, 0xAA}, {0xFF, 0xFF}, {0x1FF, 0xFF},
                 {0x100, 0x00}, {0x2A5, 0xA5}, {-1, 0xFF}, {-256, 0x00}};
    io::SimulatedPort sim;
    io::RecordingBus bus(sim);
    port::InstallBus(&bus);
    for (const auto& c : cases) {
        bus.Clear();
        WritePortByte(0x378, c.value);
        EXPECT_EQ(bus.Log(), (std::vector<Access>{{Access::Kind::Write, 0x378, c.sent}}))
            << "value " << c.value;
    }
}

TEST_F(PortIo, EachCallIsOneAccessInOrderWithNothingCached)
{
    io::SimulatedPort sim;
    io::RecordingBus bus(sim);
    port::InstallBus(&bus);

    WritePortByte(0x378, 0xAA);
    WritePortByte(0x37A, 0x00);
    EXPECT_EQ(ReadPortByte(0x378), 0xAA);
    sim.Out(0x378, 0x55);  // changed behind the operations' back
    EXPECT_EQ(ReadPortByte(0x378), 0x55);
    EXPECT_EQ(ReadPortByte(0x379), 0x3F);  // D0 of 0x55 loops back to Error

    const std::vector<Access> expected = {{Access::Kind::Write, 0x378, 0xAA},
                                          {Access::Kind::Write, 0x37A, 0x00},
                                          {Access::Kind::Read, 0x378, 0xAA},
                                          {Access::Kind::Read, 0x378, 0x55},
                                          {Access::Kind::Read, 0x379, 0x3F}};
    EXPECT_EQ(bus.Log(), expected);
}

TEST_F(PortIo, BuiltInSimulatedPortServesUntilABusIsInstalled)
{
    EXPECT_EQ(&port::InstalledBus(), &io::BuiltInBus());
    WritePortByte(0x37A, 0x00);
    WritePortByte(0x378, 0x5A);
    EXPECT_EQ(ReadPortByte(0x378), 0x5A);
    EXPECT_EQ(ReadPortByte(0x379), 0x37);  // the loopback plug is there
    EXPECT_EQ(ReadPortByte(0x278), 0xFF);

    FixedBus fixed(0x11);
    port::InstallBus(&fixed);
    EXPECT_EQ(&port::InstalledBus(), &fixed);
    EXPECT_EQ(ReadPortByte(0x378), 0x11);

    port::InstallBus(nullptr);
    EXPECT_EQ(&port::InstalledBus(), &io::BuiltInBus());
    EXPECT_EQ(ReadPortByte(0x378), 0x5A);
}

}  // namespace
