#include "io/recording_bus.h"
#include "io/simulated_port.h"

#include <gtest/gtest.h>

#include <sstream>

namespace {

using io::Access;

TEST(RecordingBus, LogsEveryAccessInOrderAndPassesItOn)
{
    io::SimulatedPort port;
    io::RecordingBus bus(port);
    bus.Out(0x378, 0xAA);
    bus.Out(0x37A, 0x00);
    EXPECT_EQ(bus.In(0x378), 0xAA);
    EXPECT_EQ(bus.In(0x379), 0x37);

    const std::vector<Access> expected = {{Access::Kind::Write, 0x378, 0xAA},
                                          {Access::Kind::Write, 0x37A, 0x00},
                                          {Access::Kind::Read, 0x378, 0xAA},
                                          {Access::Kind::Read, 0x379, 0x37}};
    EXPECT_EQ(bus.Log(), expected);
    // The writes reached the inner bus.
    EXPECT_EQ(port.In(0x37A), 0xC0);
}

TEST(RecordingBus, ClearEmptiesTheLogOnly)
{
    io::SimulatedPort port;
    io::RecordingBus bus(port);
    bus.Out(0x378, 0x42);
    bus.Clear();
    EXPECT_TRUE(bus.Log().empty());
    EXPECT_EQ(bus.In(0x378), 0x42);
    EXPECT_EQ(bus.Log(), (std::vector<Access>{{Access::Kind::Read, 0x378, 0x42}}));
}

TEST(RecordingBus, SaysTheInnerBusWayToEachPort)
{
    io::SimulatedPort port;
    EXPECT_EQ(io::RecordingBus(port).WayTo(0x378), "simulated port");
}

TEST(RecordingBus, PrintsAccessesReadably)
{
    std::ostringstream text;
    text << Access{Access::Kind::Read, 0x379, 0x7F} << "; "
         << Access{Access::Kind::Write, 0x37A, 0x24} << "; " << 17;
    EXPECT_EQ(text.str(), "read 0x379 -> 0x7f; write 0x37a <- 0x24; 17");
}

}  // namespace
