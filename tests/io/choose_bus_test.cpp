#include "io/choose_bus.h"

#include "io/ppdev_bus.h"
#include "io/routing_bus.h"
#include "io/simulated_port.h"
#include "fake_system_calls.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <functional>
#include <ostream>

#include <cerrno>
#include <linux/ppdev.h>
#include <sys/ioctl.h>
#include <system_error>

// Direct I/O exists only on x86; the expected ways below assume it.
#if defined(__x86_64__) || defined(__i386__)

namespace {

using iotest::FakeSystemCalls;
using io::Way;
using testing::ElementsAre;

constexpr io::Identity kRoot{0, 0, 0, 0, 0, 0};

// A port that another program or a print job kept for the whole deadline of the claim.
const char* const kBusy =
    "busy: another program or a print job held the port for 2 s); fix: end the program that "
    "holds the port or wait for the print to finish, then start Vellix again";

const char* const kLegacyNotPermitted =
    "0x0278, 0x0300, 0x03BC (legacy bases): not reached (ioperm: Operation not permitted; the "
    "kernel knows no port here); fix: run as root or grant cap_sys_rawio";

// A machine as the system calls describe it -> the ways, the start-up message, the captions.
struct MachineCase {
    const char* name;
    std::function<void(FakeSystemCalls&)> machine;
    std::map<std::string, Way> ways;  // by label; every candidate, in order
    std::vector<std::string> messages;
    std::map<std::uint16_t, std::string> captions;  // WayTo by base
};

void PrintTo(const MachineCase& c, std::ostream* os) { *os << c.name; }

class Machines : public testing::TestWithParam<MachineCase> {};

TEST_P(Machines, EachPortReachedTheSafestWayAndSaidSo)
{
    const MachineCase& c = GetParam();
    FakeSystemCalls sys;
    c.machine(sys);

    io::BusChoice choice = io::ChooseBus(sys);

    std::map<std::string, Way> ways;
    std::vector<std::string> labels;
    for (const io::SurveyedPort& port : choice.survey.ports) {
        ways[port.label] = port.way;
        labels.push_back(port.label);
        EXPECT_EQ(port.reason.empty(), port.way != Way::None) << port.label;
        EXPECT_EQ(port.fix.empty(), port.way != Way::None) << port.label;
    }
    EXPECT_EQ(ways, c.ways);
    EXPECT_TRUE(std::is_sorted(labels.begin(), labels.end()));
    EXPECT_EQ(choice.messages, c.messages);
    ASSERT_NE(choice.bus, nullptr);
    const bool simulated = dynamic_cast<io::SimulatedPort*>(choice.bus.get()) != nullptr;
    EXPECT_EQ(simulated, !choice.survey.AnyReached());
    EXPECT_EQ(!simulated, dynamic_cast<io::RoutingBus*>(choice.bus.get()) != nullptr);
    for (const auto& [base, caption] : c.captions)
        EXPECT_EQ(choice.bus->WayTo(base), caption) << std::hex << base;

    // Every capability is gone before any device is opened.
    const std::size_t dropped = sys.FirstCall("clearcaps");
    ASSERT_LT(dropped, sys.calls.size());
    EXPECT_LT(dropped, sys.FirstCall("open"));
    EXPECT_GT(dropped, sys.FirstCall("ioperm 0x3bc"));
}

void User(FakeSystemCalls& sys) { sys.iopermError = EPERM; }

INSTANTIATE_TEST_SUITE_P(
    FakedSystem, Machines,
    testing::Values(
        MachineCase{"RootOnBoardPort",
                    [](FakeSystemCalls& sys) {
                        sys.identity = kRoot;
                        sys.AddLinuxPort(0, 0x378, 6);
                    },
                    {{"0x0278", Way::Direct}, {"0x0300", Way::Direct}, {"0x0378", Way::Direct},
                     {"0x03BC", Way::Direct}},
                    {"0x0278, 0x0300, 0x03BC (legacy bases): direct I/O",
                     "0x0378 (legacy base, /dev/parport0): direct I/O, with the kernel's claim held (printing waits until Vellix ends)"},
                    {{0x378, ""}, {0x278, ""}}},
        MachineCase{"RootOnBoardPortAndCardAt0xD010",
                    [](FakeSystemCalls& sys) {
                        sys.identity = kRoot;
                        sys.AddLinuxPort(0, 0x378, 6);
                        sys.AddLinuxPort(1, 0xD010, 7);
                    },
                    {{"0x0278", Way::Direct}, {"0x0300", Way::Direct}, {"0x0378", Way::Direct},
                     {"0x03BC", Way::Direct}, {"0xD010", Way::Ppdev}},
                    {"0x0278, 0x0300, 0x03BC (legacy bases): direct I/O",
                     "0x0378 (legacy base, /dev/parport0): direct I/O, with the kernel's claim held (printing waits until Vellix ends)",
                     "0xD010 (/dev/parport1): ppdev"},
                    {{0x378, ""}, {0xD010, "/dev/parport1"}}},
        MachineCase{"UserWithCardAt0xD010Only",
                    [](FakeSystemCalls& sys) {
                        User(sys);
                        sys.AddLinuxPort(0, 0xD010, 6);
                    },
                    {{"0x0278", Way::None}, {"0x0300", Way::None}, {"0x0378", Way::None},
                     {"0x03BC", Way::None}, {"0xD010", Way::Ppdev}},
                    {"0x0278, 0x0300, 0x0378, 0x03BC (legacy bases): not reached (ioperm: "
                     "Operation not permitted; the kernel knows no port here); fix: run as root "
                     "or grant cap_sys_rawio",
                     "0xD010 (/dev/parport0): ppdev"},
                    {{0xD010, "/dev/parport0"}, {0x378, "0x0378 not reached"}}},
        MachineCase{"UserWithSeveralPorts",
                    [](FakeSystemCalls& sys) {
                        User(sys);
                        sys.AddLinuxPort(0, 0x378, 6);
                        sys.AddLinuxPort(1, 0xE000, 7);
                        sys.AddLinuxPort(2, 0xCC00, 8);
                    },
                    {{"0x0278", Way::None}, {"0x0300", Way::None}, {"0x0378", Way::Ppdev},
                     {"0x03BC", Way::None}, {"0xCC00", Way::Ppdev}, {"0xE000", Way::Ppdev}},
                    {kLegacyNotPermitted, "0x0378 (legacy base, /dev/parport0): ppdev",
                     "0xCC00 (/dev/parport2): ppdev", "0xE000 (/dev/parport1): ppdev"},
                    {{0x378, "/dev/parport0"}, {0xCC00, "/dev/parport2"}, {0xE000, "/dev/parport1"}}},
        MachineCase{"PrinterDriverOnThePort",
                    [](FakeSystemCalls& sys) {
                        User(sys);
                        sys.AddLinuxPort(0, 0x378, 6);
                        sys.exclusiveClaimErrors[6] = ENXIO;
                    },
                    {{"0x0278", Way::None}, {"0x0300", Way::None}, {"0x0378", Way::SharedPpdev},
                     {"0x03BC", Way::None}},
                    {kLegacyNotPermitted,
                     "0x0378 (legacy base, /dev/parport0): ppdev shared with the printer driver "
                     "(printing waits until Vellix ends)"},
                    {{0x378, "/dev/parport0"}}},
        MachineCase{"EvenTheSharedClaimRefused",
                    [](FakeSystemCalls& sys) {
                        User(sys);
                        sys.AddLinuxPort(0, 0x378, 6);
                        sys.claimErrors[6] = ENXIO;
                    },
                    {{"0x0278", Way::None}, {"0x0300", Way::None}, {"0x0378", Way::None},
                     {"0x03BC", Way::None}},
                    {kLegacyNotPermitted,
                     "0x0378 (legacy base, /dev/parport0): not reached (ioperm: Operation not "
                     "permitted; shared claim: No such device or address); fix: free the port: "
                     "end the program that holds it or unload lp with `modprobe -r lp`",
                     "no real port is reached: using the simulated port"},
                    {{0x378, "simulated port"}}},
        MachineCase{"PortHeldBesideThePrinterDriver",
                    [](FakeSystemCalls& sys) {
                        User(sys);
                        sys.AddLinuxPort(0, 0x378, 6);
                        sys.exclusiveClaimErrors[6] = ENXIO;
                        sys.claimWaits.insert(6);
                    },
                    {{"0x0278", Way::None}, {"0x0300", Way::None}, {"0x0378", Way::None},
                     {"0x03BC", Way::None}},
                    {kLegacyNotPermitted,
                     std::string("0x0378 (legacy base, /dev/parport0): not reached (ioperm: "
                                 "Operation not permitted; shared claim: ") + kBusy,
                     "no real port is reached: using the simulated port"},
                    {{0x378, "simulated port"}}},
        MachineCase{"BusyCardBesideAnOnBoardPort",
                    [](FakeSystemCalls& sys) {
                        sys.identity = kRoot;
                        sys.AddLinuxPort(0, 0x378, 6);
                        sys.AddLinuxPort(1, 0xD010, 7);
                        sys.claimWaits.insert(7);
                    },
                    {{"0x0278", Way::Direct}, {"0x0300", Way::Direct}, {"0x0378", Way::Direct},
                     {"0x03BC", Way::Direct}, {"0xD010", Way::None}},
                    {"0x0278, 0x0300, 0x03BC (legacy bases): direct I/O",
                     "0x0378 (legacy base, /dev/parport0): direct I/O, with the kernel's claim held (printing waits until Vellix ends)",
                     std::string("0xD010 (/dev/parport1): not reached (claim: ") + kBusy},
                    {{0x378, ""}, {0xD010, "0xD010 not reached"}}},
        MachineCase{"DeviceNotPermitted",
                    [](FakeSystemCalls& sys) {
                        User(sys);
                        sys.AddLinuxPort(0, 0xD010, -EACCES);
                    },
                    {{"0x0278", Way::None}, {"0x0300", Way::None}, {"0x0378", Way::None},
                     {"0x03BC", Way::None}, {"0xD010", Way::None}},
                    {"0x0278, 0x0300, 0x0378, 0x03BC (legacy bases): not reached (ioperm: "
                     "Operation not permitted; the kernel knows no port here); fix: run as root "
                     "or grant cap_sys_rawio",
                     "0xD010 (/dev/parport0): not reached (open: Permission denied); fix: join "
                     "group lp",
                     "no real port is reached: using the simulated port"},
                    {{0xD010, "simulated port"}}},
        MachineCase{"DeviceNodeMissing",
                    [](FakeSystemCalls& sys) {
                        User(sys);
                        sys.AddLinuxPort(0, 0x378, -ENOENT);
                    },
                    {{"0x0278", Way::None}, {"0x0300", Way::None}, {"0x0378", Way::None},
                     {"0x03BC", Way::None}},
                    {kLegacyNotPermitted,
                     "0x0378 (legacy base, /dev/parport0): not reached (ioperm: Operation not "
                     "permitted; open: No such file or directory); fix: load ppdev with "
                     "`modprobe ppdev`",
                     "no real port is reached: using the simulated port"},
                    {}},
        MachineCase{"RootGrantedAllButOne",
                    [](FakeSystemCalls& sys) {
                        sys.identity = kRoot;
                        sys.iopermErrorAt[0x378] = EPERM;
                        sys.AddLinuxPort(0, 0x378, 6);
                    },
                    {{"0x0278", Way::Direct}, {"0x0300", Way::Direct}, {"0x0378", Way::Ppdev},
                     {"0x03BC", Way::Direct}},
                    {"0x0278, 0x0300, 0x03BC (legacy bases): direct I/O",
                     "0x0378 (legacy base, /dev/parport0): ppdev"},
                    {{0x278, ""}, {0x378, "/dev/parport0"}}},
        MachineCase{"UserWithoutAnyPort", User,
                    {{"0x0278", Way::None}, {"0x0300", Way::None}, {"0x0378", Way::None},
                     {"0x03BC", Way::None}},
                    {"0x0278, 0x0300, 0x0378, 0x03BC (legacy bases): not reached (ioperm: "
                     "Operation not permitted; the kernel knows no port here); fix: run as root "
                     "or grant cap_sys_rawio",
                     "the kernel knows no parallel port and no real port is reached: using the "
                     "simulated port"},
                    {{0x378, "simulated port"}, {0xD010, "simulated port"}}},
        MachineCase{"LockedDownKernelWithoutPort",
                    [](FakeSystemCalls& sys) {
                        sys.identity = kRoot;
                        sys.iopermError = EPERM;
                    },
                    {{"0x0278", Way::None}, {"0x0300", Way::None}, {"0x0378", Way::None},
                     {"0x03BC", Way::None}},
                    {"0x0278, 0x0300, 0x0378, 0x03BC (legacy bases): not reached (ioperm: "
                     "Operation not permitted; the kernel knows no port here); fix: load the "
                     "port drivers with `modprobe parport_pc ppdev`",
                     "the kernel knows no parallel port and no real port is reached: using the "
                     "simulated port"},
                    {}},
        MachineCase{"NoIoPermSupport",
                    [](FakeSystemCalls& sys) { sys.iopermError = ENOSYS; },
                    {{"0x0278", Way::None}, {"0x0300", Way::None}, {"0x0378", Way::None},
                     {"0x03BC", Way::None}},
                    {"0x0278, 0x0300, 0x0378, 0x03BC (legacy bases): not reached (ioperm: "
                     "Function not implemented; the kernel knows no port here); fix: load the "
                     "port drivers with `modprobe parport_pc ppdev`",
                     "the kernel knows no parallel port and no real port is reached: using the "
                     "simulated port"},
                    {}},
        MachineCase{"UsbPrinterAdapterOnly",
                    [](FakeSystemCalls& sys) {
                        User(sys);
                        sys.AddUsbPrinter("lp0");
                    },
                    {{"0x0278", Way::None}, {"0x0300", Way::None}, {"0x0378", Way::None},
                     {"0x03BC", Way::None}},
                    {"0x0278, 0x0300, 0x0378, 0x03BC (legacy bases): not reached (ioperm: "
                     "Operation not permitted; the kernel knows no port here); fix: run as root "
                     "or grant cap_sys_rawio",
                     "/dev/usb/lp0 is a USB printer adapter: it has no registers that Vellix can "
                     "drive, only a parallel port card or an on-board port has",
                     "the kernel knows no parallel port and no real port is reached: using the "
                     "simulated port"},
                    {}},
        MachineCase{"UsbPrinterBesideARealPortIsNotMentioned",
                    [](FakeSystemCalls& sys) {
                        User(sys);
                        sys.AddUsbPrinter("lp0");
                        sys.AddLinuxPort(0, 0x378, 6);
                    },
                    {{"0x0278", Way::None}, {"0x0300", Way::None}, {"0x0378", Way::Ppdev},
                     {"0x03BC", Way::None}},
                    {kLegacyNotPermitted, "0x0378 (legacy base, /dev/parport0): ppdev"},
                    {}}),
    [](const auto& info) { return info.param.name; });

// Each legacy range is asked for with the range of its extended control register beside it,
// and that register is only ever read, with the control register it must differ from.
const char* const kAllGranted[] = {"ioperm 0x278 3 on", "ioperm 0x678 3 on", "ioperm 0x300 3 on",
                                   "ioperm 0x700 3 on", "ioperm 0x378 3 on", "ioperm 0x778 3 on",
                                   "ioperm 0x3bc 3 on", "ioperm 0x7bc 3 on"};

std::vector<std::string> Calls(std::initializer_list<std::vector<std::string>> parts)
{
    std::vector<std::string> all;
    for (const auto& part : parts)
        all.insert(all.end(), part.begin(), part.end());
    return all;
}

const std::vector<std::string> kGrants(std::begin(kAllGranted), std::end(kAllGranted));

TEST(ChooseBus, AsksForEachLegacyRangeAndHoldsTheKernelsClaimOnAPortItKnows)
{
    FakeSystemCalls sys;
    sys.AddLinuxPort(0, 888, 6);
    io::BusChoice choice = io::ChooseBus(sys);
    EXPECT_NE(dynamic_cast<io::RoutingBus*>(choice.bus.get()), nullptr);
    EXPECT_EQ(sys.calls, Calls({kGrants, {"clearcaps", "inb 0x67a", "inb 0x27a", "inb 0x702", "inb 0x302",
                                          "open /dev/parport0", "ioctl 6 PPEXCL", "ioctl 6 PPCLAIM within 2000 ms",
                                          "inb 0x77a", "inb 0x37a", "inb 0x7be", "inb 0x3be"}}));
    EXPECT_TRUE(choice.survey.ports[2].claimHeld);
    sys.calls.clear();
    choice.bus.reset();
    EXPECT_EQ(sys.calls, (std::vector<std::string>{"close 6"})) << "the claim is held until the end";
}

TEST(ChooseBus, KeepsEveryGrantedRangeWhenOneIsRefused)
{
    FakeSystemCalls sys;
    sys.iopermErrorAt[0x300] = EPERM;
    io::BusChoice choice = io::ChooseBus(sys);
    EXPECT_EQ(std::vector<std::string>(sys.calls.begin(), sys.calls.begin() + 8),
              (std::vector<std::string>{"ioperm 0x278 3 on", "ioperm 0x678 3 on", "ioperm 0x300 3 on",
                                        "ioperm 0x378 3 on", "ioperm 0x778 3 on", "ioperm 0x3bc 3 on",
                                        "ioperm 0x7bc 3 on", "clearcaps"}));
    EXPECT_EQ(choice.survey.ports[1].way, Way::None);
    EXPECT_EQ(choice.survey.ports[2].way, Way::Direct);
}

TEST(ChooseBus, RootReachesTheOnBoardPortDirectlyAndTheCardThroughPpdev)
{
    FakeSystemCalls sys;
    sys.identity = kRoot;
    sys.AddLinuxPort(0, 0x378, 6);
    sys.AddLinuxPort(1, 0xD010, 7);
    io::BusChoice choice = io::ChooseBus(sys);
    EXPECT_EQ(sys.calls, Calls({kGrants, {"clearcaps", "inb 0x67a", "inb 0x27a", "inb 0x702", "inb 0x302",
                                          "open /dev/parport0", "ioctl 6 PPEXCL", "ioctl 6 PPCLAIM within 2000 ms",
                                          "inb 0x77a", "inb 0x37a", "inb 0x7be", "inb 0x3be", "open /dev/parport1",
                                          "ioctl 7 PPEXCL", "ioctl 7 PPCLAIM within 2000 ms"}}));
    sys.calls.clear();
    // Only the card is touched here: a direct access would be a real port instruction.
    choice.bus->Out(0xD010, 0xAA);
    choice.bus->Out(0xD012, 0x00);
    EXPECT_THAT(sys.calls, ElementsAre("ioctl 7 PPWDATA 0xaa", "ioctl 7 PPWCONTROL 0",
                                       "ioctl 7 PPDATADIR 0"));
}

TEST(ChooseBus, HoldsTheSharedClaimUntilTheBusEnds)
{
    FakeSystemCalls sys;
    sys.iopermError = EPERM;
    sys.AddLinuxPort(0, 0x378, 6);
    sys.exclusiveClaimErrors[6] = ENXIO;
    {
        io::BusChoice choice = io::ChooseBus(sys);
        EXPECT_EQ(sys.calls.back(), "ioctl 6 PPCLAIM within 2000 ms");
        sys.calls.clear();
        choice.bus->Out(0x378, 0x55);
        EXPECT_THAT(sys.calls, ElementsAre("ioctl 6 PPWDATA 0x55"));
        sys.calls.clear();
    }
    EXPECT_THAT(sys.calls, ElementsAre("close 6"));
}

// Under direct I/O the kernel's claim sits in the ppdev way, not in the port's route: a print job
// waiting for the port is let in all the same.
TEST(ChooseBus, AClaimBesideThePrinterDriverIsYieldedWhicheverWayReachesThePort)
{
    FakeSystemCalls sys;
    sys.AddLinuxPort(0, 0x378, 6);
    sys.exclusiveClaimErrors[6] = ENXIO;
    io::BusChoice choice = io::ChooseBus(sys);
    ASSERT_EQ(choice.survey.ports[2].way, Way::Direct);
    sys.calls.clear();
    sys.othersWaiting.insert(6);
    EXPECT_TRUE(choice.bus->Yield(0x378));
    EXPECT_FALSE(choice.bus->Yield(0x278));
    EXPECT_THAT(sys.calls, ElementsAre("ioctl 6 PPYIELD"));
}

TEST(ChooseBus, SetUserIdRootReturnsToTheRealUserAfterTheGrant)
{
    FakeSystemCalls sys;
    sys.identity = {1000, 0, 0, 100, 100, 100};
    io::ChooseBus(sys);
    EXPECT_EQ(std::vector<std::string>(sys.calls.begin(), sys.calls.begin() + 10),
              Calls({kGrants, {"setidentity 1000 100", "clearcaps"}}));
}

TEST(ChooseBus, SetUserIdDroppedBeforeOpeningTheDevice)
{
    FakeSystemCalls sys;
    sys.identity = {1000, 0, 0, 100, 100, 100};
    sys.iopermError = EPERM;
    sys.AddLinuxPort(0, 888, 6);
    sys.AddLinuxPort(1, 0xD010, 7);
    io::BusChoice choice = io::ChooseBus(sys);
    EXPECT_EQ(choice.bus->WayTo(0xD010), "/dev/parport1");
    EXPECT_LT(sys.FirstCall("setidentity 1000 100"), sys.FirstCall("open"));
    EXPECT_LT(sys.FirstCall("clearcaps"), sys.FirstCall("open"));
}

// The commands that work on the lines take no claim where direct I/O reaches the port: the
// kernel's claim would put its own control lines on the port. What only the start's privileges
// allow is asked for before they are given up; through ppdev, control is asked of the driver.
TEST(ChooseBus, ForTheSignalCommandsClaimsOnlyWhatPpdevNeeds)
{
    FakeSystemCalls sys;
    sys.identity = kRoot;
    sys.AddLinuxPort(0, 0x378, 6);
    sys.AddLinuxPort(1, 0xD010, 7);
    io::ChooseOptions options;
    options.use = io::Use::Signals;
    options.whilePrivileged = [](io::SystemCalls& calls) { calls.SetRealtimeScheduling(10); };
    io::BusChoice choice = io::ChooseBus(sys, options);
    EXPECT_LT(sys.FirstCall("realtime 10"), sys.FirstCall("clearcaps"));
    EXPECT_EQ(sys.FirstCall("open /dev/parport0"), sys.calls.size()) << "no claim under direct I/O";
    EXPECT_FALSE(choice.survey.ports[2].claimHeld);
    EXPECT_EQ(choice.survey.ports[2].way, Way::Direct);
    EXPECT_LT(sys.FirstCall("ioctl 7 PPCLAIM"), sys.calls.size());
    sys.calls.clear();
    sys.readValues[PPRCONTROL] = 0x04;
    EXPECT_EQ(choice.bus->In(0xD012), 0x04);
    sys.readValues[PPRCONTROL] = 0x0B;
    EXPECT_EQ(choice.bus->In(0xD012), 0x0B);
    EXPECT_THAT(sys.calls, ElementsAre("ioctl 7 PPRCONTROL", "ioctl 7 PPRCONTROL"));
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
