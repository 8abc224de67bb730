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
        sys, std::vector<io::PpdevBus::Port>{{0x378, kFd, "/dev/parport0", false}});
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
        AccessCase{"FirstControlReadAsksTheDriver", false, 0x37A, 0x00, {"ioctl 5 PPRCONTROL"}},
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

// Before the program writes the control lines, they are what the printer driver left, which the
// start-up probe gives back to ports it does not use; the driver is asked once, and the direction,
// which cannot be read back, is taken as the driver's forward.
TEST(PpdevBus, ControlReadsBeforeAnyWriteReturnTheDriversLines)
{
    FakeSystemCalls sys;
    sys.readValues[PPRCONTROL] = 0xF4;  // Init high, and bits the port does not drive
    auto bus = BusAt0x378(sys);
    EXPECT_EQ(bus->In(0x37A), 0x04);
    EXPECT_EQ(bus->In(0x37A), 0x04);
    EXPECT_EQ(sys.calls, (std::vector<std::string>{"ioctl 5 PPRCONTROL"}));
    bus->Out(0x37A, 0x04);
    EXPECT_EQ(sys.calls.back(), "ioctl 5 PPDATADIR 0");
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

// Closing releases the claim; a PPRELEASE call could wait behind another program's claim.
TEST(PpdevBus, ClosesEachPortWhenDestroyed)
{
    FakeSystemCalls sys;
    {
        io::PpdevBus bus(sys, {{0x278, 3, "/dev/parport1", false}, {0x378, 4, "/dev/parport0", false}});
        EXPECT_EQ(bus.Name(), "/dev/parport1, /dev/parport0");
        EXPECT_THAT(sys.calls, IsEmpty());
    }
    EXPECT_THAT(sys.calls, ElementsAre("close 3", "close 4"));
}

TEST(PpdevBus, EachBaseGoesToItsOwnDevice)
{
    FakeSystemCalls sys;
    io::PpdevBus bus(sys, {{0x278, 3, "/dev/parport1", false}, {0x378, 4, "/dev/parport0", false}});
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

TEST(PpdevBus, WayToEachBaseIsItsDevice)
{
    FakeSystemCalls sys;
    io::PpdevBus bus(sys, {{0x378, 3, "/dev/parport0", false}, {0xD010, 4, "/dev/parport1", false}});
    EXPECT_EQ(bus.WayTo(0x378), "/dev/parport0");
    EXPECT_EQ(bus.WayTo(0xD010), "/dev/parport1");
    EXPECT_EQ(bus.WayTo(0x278), "/dev/parport0, /dev/parport1");  // none of its own: the bus
    bus.Out(0xD010, 0x5A);
    bus.Out(0xD012, 0x04);
    EXPECT_THAT(sys.calls, ElementsAre("ioctl 4 PPWDATA 0x5a", "ioctl 4 PPWCONTROL 0x4",
                                       "ioctl 4 PPDATADIR 0"));
}

// How the kernel answers one claim -> what ClaimPpdevPort asks and what it reports.
struct ClaimCase {
    const char* name;
    int openResult;           // descriptor or -errno
    int exclusiveClaimError;  // PPCLAIM after PPEXCL; 0 = granted
    int claimError;           // every PPCLAIM; 0 = granted
    bool claimWaits;          // a PPCLAIM not refused waits: someone else holds the port
    int fd;
    bool shared;
    const char* step;
    int error;
    std::vector<std::string> calls;
};

void PrintTo(const ClaimCase& c, std::ostream* os) { *os << c.name; }

class PpdevClaimOne : public testing::TestWithParam<ClaimCase> {};

TEST_P(PpdevClaimOne, ClaimsExclusivelyElseSharedBesideAnotherDriver)
{
    const ClaimCase& c = GetParam();
    FakeSystemCalls sys;
    sys.openResults["/dev/parport0"] = c.openResult;
    if (c.exclusiveClaimError != 0)
        sys.exclusiveClaimErrors[7] = c.exclusiveClaimError;
    if (c.claimError != 0)
        sys.claimErrors[7] = c.claimError;
    if (c.claimWaits)
        sys.claimWaits.insert(7);

    const io::PpdevClaim claim = io::ClaimPpdevPort(sys, "/dev/parport0");

    EXPECT_EQ(claim.fd, c.fd);
    EXPECT_EQ(claim.shared, c.shared);
    EXPECT_EQ(claim.step, c.step);
    EXPECT_EQ(claim.error, c.error);
    EXPECT_EQ(claim.Busy(), c.error == EINTR);
    EXPECT_EQ(sys.calls, c.calls);
}

// Every claim may wait for the port, so every claim is made with the deadline.
const std::string kClaim = "ioctl 7 PPCLAIM within 2000 ms";

INSTANTIATE_TEST_SUITE_P(
    Kernel, PpdevClaimOne,
    testing::Values(
        ClaimCase{"Exclusive", 7, 0, 0, false, 7, false, "", 0,
                  {"open /dev/parport0", "ioctl 7 PPEXCL", kClaim}},
        ClaimCase{"OpenRefused", -EACCES, 0, 0, false, -1, false, "open", EACCES,
                  {"open /dev/parport0"}},
        ClaimCase{"SharedBesideLp", 7, ENXIO, 0, false, 7, true, "", 0,
                  {"open /dev/parport0", "ioctl 7 PPEXCL", kClaim, "close 7",
                   "open /dev/parport0", kClaim}},
        ClaimCase{"SharedWhenBusy", 7, EBUSY, 0, false, 7, true, "", 0,
                  {"open /dev/parport0", "ioctl 7 PPEXCL", kClaim, "close 7",
                   "open /dev/parport0", kClaim}},
        ClaimCase{"SharedRefusedToo", 7, 0, ENXIO, false, -1, false, "shared claim", ENXIO,
                  {"open /dev/parport0", "ioctl 7 PPEXCL", kClaim, "close 7",
                   "open /dev/parport0", kClaim, "close 7"}},
        ClaimCase{"OtherErrorIsNotRetried", 7, 0, EIO, false, -1, false, "claim", EIO,
                  {"open /dev/parport0", "ioctl 7 PPEXCL", kClaim, "close 7"}},
        // Beside lp, while another program or a print job holds the port: the shared claim
        // waits, and gives up at the deadline.
        ClaimCase{"SharedClaimGivesUpWhileHeld", 7, ENXIO, 0, true, -1, false, "shared claim",
                  EINTR,
                  {"open /dev/parport0", "ioctl 7 PPEXCL", kClaim, "close 7",
                   "open /dev/parport0", kClaim, "close 7"}},
        // An exclusive claim that waits gives up the same way, and no shared one follows: it
        // would only wait again.
        ClaimCase{"ExclusiveClaimGivesUpWhileHeld", 7, 0, 0, true, -1, false, "claim", EINTR,
                  {"open /dev/parport0", "ioctl 7 PPEXCL", kClaim, "close 7"}}),
    [](const auto& info) { return info.param.name; });

// A port claimed beside the printer driver is offered to it; the driver took it when the thread
// had to wait for the port to come back or another ran meanwhile. An exclusive claim has nobody
// to offer it to.
TEST(PpdevBus, YieldsOnlyAPortClaimedBesideAnotherDriver)
{
    FakeSystemCalls sys;
    io::PpdevBus bus(sys, {{0x378, 3, "/dev/parport0", true}, {0xD010, 4, "/dev/parport1", false}});
    EXPECT_FALSE(bus.Yield(0x378));
    sys.othersWaiting.insert(3);
    EXPECT_TRUE(bus.Yield(0x378));
    EXPECT_FALSE(bus.Yield(0x378)) << "the driver had its turn";
    sys.yieldWaits.insert(3);
    EXPECT_TRUE(bus.Yield(0x378)) << "the kernel made us wait for the port";
    EXPECT_FALSE(bus.Yield(0xD010));
    EXPECT_FALSE(bus.Yield(0x278));
    EXPECT_THAT(sys.calls, ElementsAre("ioctl 3 PPYIELD", "ioctl 3 PPYIELD", "ioctl 3 PPYIELD", "ioctl 3 PPYIELD"));
}

// A watcher asks the driver for the control lines at every read, since another program may have
// changed them; the direction, which cannot be read back, stays what was written.
TEST(PpdevBus, AskedControlReadsFollowTheDriver)
{
    FakeSystemCalls sys;
    io::PpdevBus bus(sys, {{0x378, 3, "/dev/parport0", false}}, io::PpdevBus::ControlReads::Asked);
    sys.readValues[PPRCONTROL] = 0x0C;
    EXPECT_EQ(bus.In(0x37A), 0x0C);
    sys.readValues[PPRCONTROL] = 0xF5;
    EXPECT_EQ(bus.In(0x37A), 0x05);
    bus.Out(0x37A, 0x24);
    sys.readValues[PPRCONTROL] = 0x01;
    EXPECT_EQ(bus.In(0x37A), 0x21);
}

}  // namespace
