#include "io/ppdev_bus.h"

#include "fake_system_calls.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <ostream>

#include <cerrno>
#include <linux/ppdev.h>
#include <sys/ioctl.h>

namespace {

using iotest::FakeSystemCalls;
using testing::ElementsAre;
using testing::IsEmpty;

constexpr int kFd = 5;

std::unique_ptr<io::PpdevBus> BusAt0x378(FakeSystemCalls& sys)
{
    return std::make_unique<io::PpdevBus>(
        sys, std::vector<io::PpdevBus::Port>{{0x378, kFd, "/dev/parport0"}});
}

// One register access and the ioctls it must make.
struct AccessCase {
    const char* name;
    bool write;
    std::uint16_t port;
    std::uint8_t value;  // written, or expected to be read
    std::vector<std::string> ioctls;
};

void PrintTo(const AccessCase& c, std::ostream* os) { *os << c.name; }

class PpdevAccess : public testing::TestWithParam<AccessCase> {};

TEST_P(PpdevAccess, MakesExactlyTheseIoctls)
{
    const AccessCase& c = GetParam();
    FakeSystemCalls sys;
    sys.readValues[PPRDATA] = 0xAA;
    sys.readValues[PPRSTATUS] = 0x7F;
    auto bus = BusAt0x378(sys);
    if (c.write)
        bus->Out(c.port, c.value);
    else
        EXPECT_EQ(bus->In(c.port), c.value);
    EXPECT_EQ(sys.calls, c.ioctls);
}

INSTANTIATE_TEST_SUITE_P(
    Registers, PpdevAccess,
    testing::Values(
        AccessCase{"ReadData", false, 0x378, 0xAA, {"ioctl 5 PPRDATA"}},
        AccessCase{"WriteData", true, 0x378, 0x5A, {"ioctl 5 PPWDATA 0x5a"}},
        AccessCase{"ReadStatusRaw", false, 0x379, 0x7F, {"ioctl 5 PPRSTATUS"}},
        AccessCase{"WriteStatusIgnored", true, 0x379, 0x00, {}},
        AccessCase{"StartUpControlSplitsDirection", true, 0x37A, 0x24,
                   {"ioctl 5 PPWCONTROL 0x4", "ioctl 5 PPDATADIR 1"}},
        AccessCase{"ControlLinesForward", true, 0x37A, 0x0B,
                   {"ioctl 5 PPWCONTROL 0xb", "ioctl 5 PPDATADIR 0"}},
        AccessCase{"Bits467NotSent", true, 0x37A, 0xD0,
                   {"ioctl 5 PPWCONTROL 0", "ioctl 5 PPDATADIR 0"}},
        AccessCase{"AllBits", true, 0x37A, 0xFF,
                   {"ioctl 5 PPWCONTROL 0xf", "ioctl 5 PPDATADIR 1"}},
        AccessCase{"ControlReadNeedsNoIoctl", false, 0x37A, 0x00, {}},
        AccessCase{"AbsentPortReadsFF", false, 0x278, 0xFF, {}},
        AccessCase{"AbsentPortDropsWrite", true, 0x27A, 0x24, {}},
        AccessCase{"PastTheRegistersReadsFF", false, 0x37B, 0xFF, {}},
        AccessCase{"BelowTheRegistersDropsWrite", true, 0x377, 0x24, {}}),
    [](const auto& info) { return info.param.name; });

TEST(PpdevBus, ControlReadsReturnTheLastByteWritten)
{
    FakeSystemCalls sys;
    sys.readValues[PPRCONTROL] = 0x0F;  // what the kernel would say; not to be asked
    auto bus = BusAt0x378(sys);
    for (std::uint8_t byte : {0x24, 0x00, 0xFF, 0x0B}) {
        bus->Out(0x37A, byte);
        EXPECT_EQ(bus->In(0x37A), byte);
    }
    EXPECT_EQ(sys.FirstCall("ioctl 5 PPRCONTROL"), sys.calls.size());
}

TEST(PpdevBus, FailedReadGivesFF)
{
    FakeSystemCalls sys;
    sys.readValues[PPRDATA] = 0x00;
    sys.readValues[PPRSTATUS] = 0x00;
    sys.ioctlErrors[PPRDATA] = EIO;
    sys.ioctlErrors[PPRSTATUS] = EIO;
    auto bus = BusAt0x378(sys);
    EXPECT_EQ(bus->In(0x378), 0xFF);
    EXPECT_EQ(bus->In(0x379), 0xFF);
}

TEST(PpdevBus, ReleasesAndClosesEachPortWhenDestroyed)
{
    FakeSystemCalls sys;
    {
        io::PpdevBus bus(sys, {{0x278, 3, "/dev/parport1"}, {0x378, 4, "/dev/parport0"}});
        EXPECT_EQ(bus.Name(), "/dev/parport1, /dev/parport0");
        EXPECT_THAT(sys.calls, IsEmpty());
    }
    EXPECT_THAT(sys.calls,
                ElementsAre("ioctl 3 PPRELEASE", "close 3", "ioctl 4 PPRELEASE", "close 4"));
}

TEST(PpdevBus, EachBaseGoesToItsOwnDevice)
{
    FakeSystemCalls sys;
    io::PpdevBus bus(sys, {{0x278, 3, "/dev/parport1"}, {0x378, 4, "/dev/parport0"}});
    bus.Out(0x278, 0x01);
    bus.Out(0x378, 0x02);
    bus.Out(0x27A, 0x20);
    bus.Out(0x37A, 0x04);
    EXPECT_EQ(bus.In(0x27A), 0x20);
    EXPECT_EQ(bus.In(0x37A), 0x04);
    EXPECT_THAT(sys.calls, ElementsAre("ioctl 3 PPWDATA 0x1", "ioctl 4 PPWDATA 0x2",
                                       "ioctl 3 PPWCONTROL 0", "ioctl 3 PPDATADIR 1",
                                       "ioctl 4 PPWCONTROL 0x4", "ioctl 4 PPDATADIR 0"));
}

TEST(ClaimPpdevPorts, ClaimsEveryCandidatePortExclusivelyInBaseOrder)
{
    FakeSystemCalls sys;
    sys.AddLinuxPort(0, 888, 7);   // 0x378
    sys.AddLinuxPort(1, 1000, 8);  // not a candidate
    sys.AddLinuxPort(2, 632, 9);   // 0x278
    sys.directories["/proc/sys/dev/parport"].push_back("default");

    io::PpdevClaim claim = io::ClaimPpdevPorts(sys);

    ASSERT_NE(claim.bus, nullptr);
    EXPECT_TRUE(claim.portFound);
    EXPECT_THAT(claim.refusals, IsEmpty());
    EXPECT_EQ(claim.bus->Name(), "/dev/parport2, /dev/parport0");
    EXPECT_THAT(sys.calls,
                ElementsAre("open /dev/parport2", "ioctl 9 PPEXCL", "ioctl 9 PPCLAIM",
                            "open /dev/parport0", "ioctl 7 PPEXCL", "ioctl 7 PPCLAIM"));
    sys.calls.clear();
    claim.bus->Out(0x278, 0x11);
    claim.bus->Out(0x378, 0x22);
    EXPECT_THAT(sys.calls, ElementsAre("ioctl 9 PPWDATA 0x11", "ioctl 7 PPWDATA 0x22"));
}

TEST(ClaimPpdevPorts, ReadsTheFirstNumberOfBaseAddr)
{
    const struct {
        const char* text;
        bool found;
    } cases[] = {{"888\t0\n", true},  {"888\t1912\n", true}, {"888", true},
                 {"888\n", true},     {"0x378\t0\n", false},  {"", false},
                 {"888x\t0\n", false}, {"\t888\n", false},    {"632\t0\n", false}};
    for (const auto& c : cases) {
        FakeSystemCalls sys;
        sys.AddLinuxPort(0, 0, 7);
        sys.files["/proc/sys/dev/parport/parport0/base-addr"] = c.text;
        io::PpdevClaim claim = io::ClaimPpdevPorts(sys);
        const bool at0x378 = claim.bus != nullptr && claim.bus->In(0x37A) != 0xFF;
        EXPECT_EQ(at0x378, c.found) << "base-addr \"" << c.text << "\"";
    }
}

TEST(ClaimPpdevPorts, ReportsRefusalsAndClosesWhatItOpened)
{
    FakeSystemCalls sys;
    sys.AddLinuxPort(0, 888, 7);
    sys.AddLinuxPort(1, 632, -EACCES);
    sys.ioctlErrors[PPCLAIM] = EBUSY;

    io::PpdevClaim claim = io::ClaimPpdevPorts(sys);

    EXPECT_EQ(claim.bus, nullptr);
    EXPECT_TRUE(claim.portFound);
    ASSERT_EQ(claim.refusals.size(), 2u);
    EXPECT_EQ(claim.refusals[0].device, "/dev/parport1");
    EXPECT_EQ(claim.refusals[0].step, "open");
    EXPECT_EQ(claim.refusals[0].error, EACCES);
    EXPECT_EQ(claim.refusals[1].device, "/dev/parport0");
    EXPECT_EQ(claim.refusals[1].step, "claim");
    EXPECT_EQ(claim.refusals[1].error, EBUSY);
    EXPECT_THAT(sys.calls, ElementsAre("open /dev/parport1", "open /dev/parport0",
                                       "ioctl 7 PPEXCL", "ioctl 7 PPCLAIM", "close 7"));
}

TEST(ClaimPpdevPorts, NoProcEntriesMeansNoPort)
{
    FakeSystemCalls sys;
    io::PpdevClaim claim = io::ClaimPpdevPorts(sys);
    EXPECT_EQ(claim.bus, nullptr);
    EXPECT_FALSE(claim.portFound);
    EXPECT_THAT(sys.calls, IsEmpty());
}

}  // namespace
