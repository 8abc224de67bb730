#include "io/choose_bus.h"

#include "io/ppdev_bus.h"
#include "io/simulated_port.h"
#include "fake_system_calls.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <ostream>

#include <cerrno>
#include <linux/ppdev.h>
#include <sys/ioctl.h>
#include <system_error>

#if defined(__x86_64__) || defined(__i386__)
#include "io/direct_bus.h"

namespace {

using iotest::FakeSystemCalls;
using testing::ElementsAre;

enum class Chosen { Direct, Ppdev, Simulated };

const char* const kSimulatedNoPpdev =
    "using the simulated port: direct I/O refused (ioperm 0x278: Operation not "
    "permitted), ppdev refused (no Linux parallel port at 0x278, 0x300, 0x378 or 0x3BC); ";

// What the system answers -> which bus is chosen, what is said on stderr, the caption.
struct SelectionCase {
    const char* name;
    int iopermError;  // for every range; 0 = granted
    int linuxPortBase;  // base of /proc's parport0; 0 = no Linux port
    int openError;
    int claimError;
    bool root;
    Chosen chosen;
    const char* caption;
    std::string message;
};

void PrintTo(const SelectionCase& c, std::ostream* os) { *os << c.name; }

class BusSelection : public testing::TestWithParam<SelectionCase> {};

TEST_P(BusSelection, ChoosesBusMessageAndCaption)
{
    const SelectionCase& c = GetParam();
    FakeSystemCalls sys;
    sys.iopermError = c.iopermError;
    if (c.linuxPortBase != 0)
        sys.AddLinuxPort(0, c.linuxPortBase, c.openError != 0 ? -c.openError : 6);
    if (c.claimError != 0)
        sys.ioctlErrors[PPCLAIM] = c.claimError;
    if (c.root)
        sys.identity = {0, 0, 0, 0, 0, 0};

    io::BusChoice choice = io::ChooseBus(sys);

    ASSERT_NE(choice.bus, nullptr);
    switch (c.chosen) {
    case Chosen::Direct:
        EXPECT_NE(dynamic_cast<io::DirectBus*>(choice.bus.get()), nullptr);
        break;
    case Chosen::Ppdev:
        EXPECT_NE(dynamic_cast<io::PpdevBus*>(choice.bus.get()), nullptr);
        break;
    case Chosen::Simulated:
        EXPECT_NE(dynamic_cast<io::SimulatedPort*>(choice.bus.get()), nullptr);
        break;
    }
    EXPECT_EQ(choice.caption, c.caption);
    EXPECT_EQ(choice.caption, choice.bus->Name());
    EXPECT_EQ(choice.message, c.message);
    EXPECT_EQ(choice.message.find('\n'), std::string::npos);

    // Every capability is gone before any device is opened.
    const std::size_t dropped = sys.FirstCall("clearcaps");
    ASSERT_LT(dropped, sys.calls.size());
    EXPECT_LT(dropped, sys.FirstCall("open"));
}

INSTANTIATE_TEST_SUITE_P(
    FakedSystem, BusSelection,
    testing::Values(
        SelectionCase{"AllRangesGranted", 0, 888, 0, 0, true, Chosen::Direct, "", ""},
        SelectionCase{"PermissionDeniedPpdevClaimed", EPERM, 888, 0, 0, false, Chosen::Ppdev,
                      "/dev/parport0",
                      "using /dev/parport0 through ppdev: direct I/O refused (ioperm "
                      "0x278: Operation not permitted); for direct I/O run as root or grant "
                      "cap_sys_rawio"},
        SelectionCase{"NoIoPermSupportPpdevClaimed", ENOSYS, 632, 0, 0, false, Chosen::Ppdev,
                      "/dev/parport0",
                      "using /dev/parport0 through ppdev: direct I/O refused (ioperm "
                      "0x278: Function not implemented)"},
        SelectionCase{"RootRefusedPpdevClaimed", EPERM, 888, 0, 0, true, Chosen::Ppdev,
                      "/dev/parport0",
                      "using /dev/parport0 through ppdev: direct I/O refused (ioperm "
                      "0x278: Operation not permitted)"},
        SelectionCase{"PermissionDeniedNoLinuxPort", EPERM, 0, 0, 0, false, Chosen::Simulated,
                      "simulated port",
                      std::string(kSimulatedNoPpdev) +
                          "for real access run as root or grant cap_sys_rawio"},
        SelectionCase{"LinuxPortNotACandidate", EPERM, 1000, 0, 0, false, Chosen::Simulated,
                      "simulated port",
                      std::string(kSimulatedNoPpdev) +
                          "for real access run as root or grant cap_sys_rawio"},
        SelectionCase{"NoIoPermSupportNoLinuxPort", ENOSYS, 0, 0, 0, false, Chosen::Simulated,
                      "simulated port",
                      "using the simulated port: direct I/O refused (ioperm 0x278: "
                      "Function not implemented), ppdev refused (no Linux parallel port at "
                      "0x278, 0x300, 0x378 or 0x3BC); for real access load the port drivers "
                      "with `modprobe parport_pc ppdev`"},
        SelectionCase{"DeviceNotPermitted", EPERM, 888, EACCES, 0, false, Chosen::Simulated,
                      "simulated port",
                      "using the simulated port: direct I/O refused (ioperm 0x278: "
                      "Operation not permitted), /dev/parport0 refused (open: Permission "
                      "denied); for real access join group lp"},
        SelectionCase{"DeviceNodeMissing", EPERM, 888, ENOENT, 0, false, Chosen::Simulated,
                      "simulated port",
                      "using the simulated port: direct I/O refused (ioperm 0x278: "
                      "Operation not permitted), /dev/parport0 refused (open: No such file or "
                      "directory); for real access load ppdev with `modprobe ppdev`"},
        SelectionCase{"ClaimBusy", EPERM, 888, 0, EBUSY, false, Chosen::Simulated,
                      "simulated port",
                      "using the simulated port: direct I/O refused (ioperm 0x278: "
                      "Operation not permitted), /dev/parport0 refused (claim: Device or "
                      "resource busy: another driver, usually lp, holds the port); for real "
                      "access unload lp with `modprobe -r lp`"},
        SelectionCase{"ClaimNoSuchDevice", ENOSYS, 888, 0, ENXIO, false, Chosen::Simulated,
                      "simulated port",
                      "using the simulated port: direct I/O refused (ioperm 0x278: "
                      "Function not implemented), /dev/parport0 refused (claim: No such device "
                      "or address: another driver, usually lp, holds the port); for real access "
                      "unload lp with `modprobe -r lp`"}),
    [](const auto& info) { return info.param.name; });

TEST(ChooseBus, AsksForExactlyTheFourRangesAndOpensNothingWhenGranted)
{
    FakeSystemCalls sys;
    sys.AddLinuxPort(0, 888, 6);
    io::BusChoice choice = io::ChooseBus(sys);
    EXPECT_NE(dynamic_cast<io::DirectBus*>(choice.bus.get()), nullptr);
    EXPECT_THAT(sys.calls, ElementsAre("ioperm 0x278 3 on", "ioperm 0x300 3 on",
                                       "ioperm 0x378 3 on", "ioperm 0x3bc 3 on", "clearcaps"));
}

TEST(ChooseBus, GivesBackAPartialGrant)
{
    FakeSystemCalls sys;
    sys.iopermErrorAt[0x378] = EPERM;
    io::BusChoice choice = io::ChooseBus(sys);
    EXPECT_NE(dynamic_cast<io::SimulatedPort*>(choice.bus.get()), nullptr);
    EXPECT_THAT(sys.calls, ElementsAre("ioperm 0x278 3 on", "ioperm 0x300 3 on",
                                       "ioperm 0x378 3 on", "ioperm 0x278 3 off",
                                       "ioperm 0x300 3 off", "clearcaps"));
    EXPECT_THAT(choice.message, testing::HasSubstr("ioperm 0x378: Operation not permitted"));
}

TEST(ChooseBus, SetUserIdRootReturnsToTheRealUserAfterTheGrant)
{
    FakeSystemCalls sys;
    sys.identity = {1000, 0, 0, 100, 100, 100};
    io::ChooseBus(sys);
    EXPECT_THAT(sys.calls, ElementsAre("ioperm 0x278 3 on", "ioperm 0x300 3 on",
                                       "ioperm 0x378 3 on", "ioperm 0x3bc 3 on",
                                       "setidentity 1000 100", "clearcaps"));
}

TEST(ChooseBus, SetUserIdDroppedBeforeOpeningTheDevice)
{
    FakeSystemCalls sys;
    sys.identity = {1000, 0, 0, 100, 100, 100};
    sys.iopermError = EPERM;
    sys.AddLinuxPort(0, 888, 6);
    io::BusChoice choice = io::ChooseBus(sys);
    EXPECT_NE(dynamic_cast<io::PpdevBus*>(choice.bus.get()), nullptr);
    EXPECT_LT(sys.FirstCall("setidentity 1000 100"), sys.FirstCall("open"));
    EXPECT_LT(sys.FirstCall("clearcaps"), sys.FirstCall("open"));
}

TEST(ChooseBus, RefusesToGoOnWhenPrivilegesStay)
{
    FakeSystemCalls sys;
    sys.identity = {1000, 0, 0, 100, 100, 100};
    sys.setIdentityError = EPERM;
    sys.AddLinuxPort(0, 888, 6);
    EXPECT_THROW(io::ChooseBus(sys), std::system_error);
    EXPECT_EQ(sys.FirstCall("open"), sys.calls.size());
}

}  // namespace

#endif
