#include "io/routing_bus.h"

#include "io/recording_bus.h"
#include "io/simulated_port.h"

#include <gtest/gtest.h>

namespace {

using io::Access;
using Kind = io::Access::Kind;

// A way that records what reaches it and answers with the simulated port behind it.
struct Way {
    explicit Way(std::uint16_t base) : port({base}) {}
    io::SimulatedPort port;
    io::RecordingBus rec{port};
};

// Names a way as the real ones are named, to see the caption's text per port.
class NamedWay : public io::Bus {
public:
    NamedWay(io::Bus& inner, std::string name) : m_inner(inner), m_name(std::move(name)) {}
    std::uint8_t In(std::uint16_t port) override { return m_inner.In(port); }
    void Out(std::uint16_t port, std::uint8_t value) override { m_inner.Out(port, value); }
    std::string WayTo(std::uint16_t) const override { return m_name; }

private:
    io::Bus& m_inner;
    std::string m_name;
};

class Routing : public testing::Test {
protected:
    Routing()
    {
        std::vector<std::unique_ptr<io::Bus>> ways;
        ways.push_back(std::make_unique<NamedWay>(direct.rec, ""));
        io::Bus* directWay = ways.back().get();
        ways.push_back(std::make_unique<NamedWay>(ppdev.rec, "/dev/parport1"));
        io::Bus* ppdevWay = ways.back().get();
        bus = std::make_unique<io::RoutingBus>(
            std::move(ways), std::vector<io::RoutingBus::Route>{{0x378, directWay}, {0xD010, ppdevWay}});
    }

    Way direct{0x378};
    Way ppdev{0xD010};
    std::unique_ptr<io::RoutingBus> bus;
};

TEST_F(Routing, EachRegisterGoesToTheWayOfItsPort)
{
    bus->Out(0x378, 0x11);
    bus->Out(0x37A, 0x04);
    bus->Out(0xD010, 0x22);
    bus->Out(0xD012, 0x0C);
    EXPECT_EQ(bus->In(0x378), 0x11);
    EXPECT_EQ(bus->In(0xD010), 0x22);
    bus->In(0xD011);
    bus->In(0x379);
    EXPECT_EQ(direct.rec.Log(), (std::vector<Access>{{Kind::Write, 0x378, 0x11},
                                                     {Kind::Write, 0x37A, 0x04},
                                                     {Kind::Read, 0x378, 0x11},
                                                     {Kind::Read, 0x379, direct.rec.Log()[3].value}}));
    EXPECT_EQ(ppdev.rec.Log(), (std::vector<Access>{{Kind::Write, 0xD010, 0x22},
                                                    {Kind::Write, 0xD012, 0x0C},
                                                    {Kind::Read, 0xD010, 0x22},
                                                    {Kind::Read, 0xD011, ppdev.rec.Log()[3].value}}));
}

TEST_F(Routing, APortReachedByNoWayReadsFFAndDropsWrites)
{
    for (std::uint16_t port : {0x278, 0x27A, 0x377, 0x37B, 0xD00F, 0xD013, 0x3BC}) {
        bus->Out(port, 0x00);
        EXPECT_EQ(bus->In(port), 0xFF) << std::hex << port;
    }
    EXPECT_TRUE(direct.rec.Log().empty());
    EXPECT_TRUE(ppdev.rec.Log().empty());
}

TEST_F(Routing, WayToEachPortForTheCaption)
{
    EXPECT_EQ(bus->WayTo(0x378), "");
    EXPECT_EQ(bus->WayTo(0xD010), "/dev/parport1");
    EXPECT_EQ(bus->WayTo(0x278), "0x0278 not reached");
    io::RecordingBus rec(*bus);
    EXPECT_EQ(rec.WayTo(0xD010), "/dev/parport1");
}

}  // namespace
