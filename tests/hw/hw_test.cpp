// Runs as /init of a QEMU x86-64 guest whose ISA parallel port sits at 0x378 (see
// scripts/qemu-test.sh): the real direct I/O and ppdev buses against emulated hardware.
#include "guest.h"

#include "io/candidate_ports.h"
#include "io/choose_bus.h"
#include "io/direct_bus.h"
#include "io/kernel_ports.h"
#include "io/linux_system_calls.h"
#include "io/ppdev_bus.h"
#include "port/portio.h"

#include <gtest/gtest.h>

#include <ostream>

#include <chrono>
#include <csignal>
#include <cstdio>
#include <cstring>
#include <fstream>
#include <linux/capability.h>
#include <linux/ppdev.h>
#include <sys/ioctl.h>
#include <sys/io.h>
#include <sys/syscall.h>
#include <unistd.h>

namespace {

constexpr std::uint16_t kData = 0x378;
constexpr std::uint16_t kControl = 0x37A;
// QEMU's port does not implement control bits 6 and 7; they read as 1.
constexpr std::uint8_t kControlReadsHigh = 0xC0;
// While ppdev holds a port that has an interrupt line, the kernel keeps interrupts enabled.
constexpr std::uint8_t kIrqEnable = 0x10;

// The guest's one port, found and claimed as the program does it.
std::unique_ptr<io::PpdevBus> ClaimGuestPort(io::SystemCalls& sys)
{
    const std::vector<io::KernelPort> ports = io::FindKernelPorts(sys);
    if (ports.size() != 1 || ports[0].base != kData || ports[0].device != "/dev/parport0") {
        ADD_FAILURE() << "the kernel should know exactly /dev/parport0 at 0x378";
        return nullptr;
    }
    const io::PpdevClaim claim = io::ClaimPpdevPort(sys, ports[0].device);
    if (claim.fd < 0 || claim.shared) {
        ADD_FAILURE() << "no exclusive claim: " << claim.step << ": " << std::strerror(claim.error);
        return nullptr;
    }
    return std::make_unique<io::PpdevBus>(
        sys, std::vector<io::PpdevBus::Port>{{ports[0].base, claim.fd, ports[0].device, claim.shared}});
}

bool GrantCandidateRanges()
{
    for (std::uint16_t base : io::kLegacyBases)
        if (::ioperm(base, io::kRegistersPerPort, 1) != 0)
            return false;
    return true;
}

// The control register as the hardware holds it, read past whichever bus is under test.
std::uint8_t HardwareControl()
{
    return ::inb(kControl);
}

enum class Via { Direct, Ppdev };

const char* Name(Via via)
{
    return via == Via::Direct ? "Direct" : "Ppdev";
}

void PrintTo(Via via, std::ostream* os) { *os << Name(via); }

class RealBus : public testing::TestWithParam<Via> {
protected:
    void SetUp() override
    {
        ASSERT_TRUE(GrantCandidateRanges());
        if (GetParam() == Via::Direct) {
            m_bus = std::make_unique<io::DirectBus>();
        } else {
            m_bus = ClaimGuestPort(m_sys);
            ASSERT_NE(m_bus, nullptr);
            ASSERT_EQ(m_bus->WayTo(kData), "/dev/parport0");
        }
        port::InstallBus(m_bus.get());
    }

    void TearDown() override
    {
        port::InstallBus(nullptr);
        m_bus.reset();
    }

    // What a control read through the bus answers after the byte was written.
    std::uint8_t ControlReadBack(std::uint8_t written) const
    {
        return GetParam() == Via::Direct ? written | kControlReadsHigh : written;
    }

    // The control register less the bit that the kernel, not the bus, decides under ppdev.
    std::uint8_t ControlOwnedByBus() const
    {
        const std::uint8_t control = HardwareControl();
        return GetParam() == Via::Direct ? control : control & ~kIrqEnable;
    }

    io::LinuxSystemCalls m_sys;
    std::unique_ptr<io::Bus> m_bus;
};

TEST_P(RealBus, DetectionProbeFindsOnlyThePortAt0x378)
{
    const struct {
        std::uint16_t base;
        bool answers;
    } candidates[] = {{0x278, false}, {0x300, false}, {0x378, true}, {0x3BC, false}};
    for (const auto& c : candidates) {
        WritePortByte(c.base, 0xAA);
        WritePortByte(static_cast<std::uint16_t>(c.base + 2), 0x00);
        const int read = ReadPortByte(c.base);
        EXPECT_EQ(read, c.answers ? 0xAA : 0xFF) << "base " << std::hex << c.base;
    }
}

TEST_P(RealBus, StartUpAccessesReachThePort)
{
    WritePortByte(kData, 0xAA);
    WritePortByte(kControl, 0x00);
    ASSERT_EQ(ReadPortByte(kData), 0xAA);
    WritePortByte(kControl, 0x24);
    EXPECT_EQ(ControlOwnedByBus(), 0x24 | kControlReadsHigh);
    EXPECT_EQ(ReadPortByte(kData), 0xFF);  // bit 5: the data lines are inputs now
}

TEST_P(RealBus, DataReadsBackOnlyWhileTheDirectionIsOut)
{
    const struct {
        std::uint8_t control, written, read;
    } cases[] = {{0x04, 0x5A, 0x5A}, {0x04, 0xA5, 0xA5}, {0x00, 0x01, 0x01},
                 {0x24, 0x5A, 0xFF}, {0x2F, 0x00, 0xFF}, {0x0F, 0x80, 0x80}};
    for (const auto& c : cases) {
        WritePortByte(kControl, c.control);
        WritePortByte(kData, c.written);
        EXPECT_EQ(ReadPortByte(kData), c.read)
            << "control " << int(c.control) << ", data " << int(c.written);
    }
}

TEST_P(RealBus, ControlBytesReachTheRegister)
{
    for (std::uint8_t byte : {0x00, 0x04, 0x0B, 0x24, 0x2F, 0x20}) {
        WritePortByte(kControl, byte);
        EXPECT_EQ(ControlOwnedByBus(), byte | kControlReadsHigh) << "control " << int(byte);
        EXPECT_EQ(ReadPortByte(kControl), ControlReadBack(byte)) << "control " << int(byte);
    }
}

INSTANTIATE_TEST_SUITE_P(Buses, RealBus, testing::Values(Via::Direct, Via::Ppdev),
                         [](const auto& info) { return std::string(Name(info.param)); });

TEST(PpdevOnRealKernel, ControlBits467AreNotSent)
{
    ASSERT_TRUE(GrantCandidateRanges());
    io::LinuxSystemCalls sys;
    std::unique_ptr<io::PpdevBus> bus = ClaimGuestPort(sys);
    ASSERT_NE(bus, nullptr);
    bus->Out(kControl, 0x04);
    const std::uint8_t plain = HardwareControl();
    bus->Out(kControl, 0xD4);
    EXPECT_EQ(HardwareControl(), plain);
    bus->Out(kControl, 0x24);
    EXPECT_EQ(HardwareControl(), plain | 0x20);
}

TEST(DirectIo, PortsOutsideTheGrantedRangesKillTheProcess)
{
    GTEST_FLAG_SET(death_test_style, "fast");
    for (std::uint16_t port : {0x277, 0x27B, 0x37B, 0x3BF, 0x3F8}) {
        EXPECT_EXIT(
            {
                GrantCandidateRanges();
                ::inb(port);
                std::_Exit(0);
            },
            testing::KilledBySignal(SIGSEGV), "")
            << "port " << std::hex << port;
    }
}

// Capabilities from /proc/self/status, e.g. "CapEff:\t0000000000000000".
std::string CapabilityLine(const char* key)
{
    std::ifstream status("/proc/self/status");
    for (std::string line; std::getline(status, line);)
        if (line.rfind(key, 0) == 0)
            return line.substr(line.find('\t') + 1);
    return {};
}

bool WithoutRawIo()
{
    __user_cap_header_struct header{_LINUX_CAPABILITY_VERSION_3, 0};
    __user_cap_data_struct data[_LINUX_CAPABILITY_U32S_3]{};
    if (::syscall(SYS_capget, &header, data) != 0)
        return false;
    const unsigned bit = 1u << (CAP_SYS_RAWIO % 32);
    for (auto* set : {&data[CAP_SYS_RAWIO / 32].effective, &data[CAP_SYS_RAWIO / 32].permitted})
        *set &= ~bit;
    return ::syscall(SYS_capset, &header, data) == 0;
}

// A claim of /dev/parport0 without PPEXCL, made the plain way; closing the descriptor ends it.
int HoldShared(io::SystemCalls& sys)
{
    const int fd = sys.Open("/dev/parport0");
    if (fd < 0 || sys.Ioctl(fd, PPCLAIM, nullptr) != 0) {
        ADD_FAILURE() << "cannot hold /dev/parport0 shared";
        if (fd >= 0)
            sys.Close(fd);
        return -1;
    }
    return fd;
}

// Who else holds /dev/parport0 while the program chooses its bus.
enum class Holder {
    Nobody,
    Exclusive,  // another program that claimed it exclusively
    Shared,     // one that claimed it without PPEXCL, as lp does for a print job, or as another
                // Vellix does beside lp: a shared claim must wait for it
};

// Each choice runs in a child: choosing a bus gives up the capabilities that init still needs.
struct ChoiceCase {
    const char* name;
    bool rawIo;          // keep CAP_SYS_RAWIO
    Holder holder;
    const char* caption;  // how the port at 0x378 is reached
    const char* message;  // the start-up message's line for 0x378
};

void PrintTo(const ChoiceCase& c, std::ostream* os) { *os << c.name; }

class RealChoice : public testing::TestWithParam<ChoiceCase> {};

TEST_P(RealChoice, PicksTheBestBusAndDropsCapabilities)
{
    GTEST_FLAG_SET(death_test_style, "fast");
    const ChoiceCase& c = GetParam();
    io::LinuxSystemCalls sys;
    std::unique_ptr<io::PpdevBus> holder;
    if (c.holder == Holder::Exclusive) {
        holder = ClaimGuestPort(sys);
        ASSERT_NE(holder, nullptr);
    } else if (c.holder == Holder::Shared) {
        const int fd = HoldShared(sys);
        ASSERT_GE(fd, 0);
        holder = std::make_unique<io::PpdevBus>(
            sys, std::vector<io::PpdevBus::Port>{{kData, fd, "/dev/parport0", false}});
    }
    EXPECT_EXIT(
        {
            if (!c.rawIo && !WithoutRawIo())
                std::_Exit(2);
            // A choice that waits for ever ends here, killed, instead of hanging the guest.
            ::alarm(30);
            const auto start = std::chrono::steady_clock::now();
            io::BusChoice choice = io::ChooseBus(sys);
            std::fprintf(stderr, "chosen in %lld ms\n",
                         static_cast<long long>(std::chrono::duration_cast<std::chrono::milliseconds>(
                                                    std::chrono::steady_clock::now() - start)
                                                    .count()));
            const std::string caption = choice.bus ? choice.bus->WayTo(kData) : "(no bus)";
            bool told = false;
            for (const std::string& line : choice.messages) {
                std::fprintf(stderr, "message [%s]\n", line.c_str());
                told = told || line == c.message;
            }
            std::fprintf(stderr, "caption [%s] CapEff %s CapPrm %s\n", caption.c_str(),
                         CapabilityLine("CapEff:").c_str(), CapabilityLine("CapPrm:").c_str());
            const bool ok = choice.bus != nullptr && caption == c.caption && told &&
                            CapabilityLine("CapEff:") == "0000000000000000" &&
                            CapabilityLine("CapPrm:") == "0000000000000000";
            std::_Exit(ok ? 0 : 1);
        },
        testing::ExitedWithCode(0), "");
    // The holder keeps the port, and its calls run again: while a claim waits, the kernel
    // holds back every other ppdev call.
    if (holder != nullptr) {
        holder->Out(kControl, 0x04);
        holder->Out(kData, 0x5A);
        EXPECT_EQ(holder->In(kData), 0x5A);
    }
}

INSTANTIATE_TEST_SUITE_P(
    AsRoot, RealChoice,
    testing::Values(
        ChoiceCase{"DirectWithRawIo", true, Holder::Nobody, "",
                   "0x0378 (legacy base, /dev/parport0): direct I/O, with the kernel's claim held (printing "
                   "waits until Vellix ends)"},
        ChoiceCase{"PpdevWithoutRawIo", false, Holder::Nobody, "/dev/parport0",
                   "0x0378 (legacy base, /dev/parport0): ppdev"},
        ChoiceCase{"SimulatedWhenThePortIsHeld", false, Holder::Exclusive, "simulated port",
                   "0x0378 (legacy base, /dev/parport0): not reached (ioperm: Operation not "
                   "permitted; shared claim: No such device or address); fix: free the port: end "
                   "the program that holds it or unload lp with `modprobe -r lp`"},
        // The kernel's shared claim waits while the port is held; the choice gives up after
        // its deadline instead of hanging the start.
        ChoiceCase{"SimulatedWhenASharedHolderKeepsThePort", false, Holder::Shared,
                   "simulated port",
                   "0x0378 (legacy base, /dev/parport0): not reached (ioperm: Operation not "
                   "permitted; shared claim: busy: ppdev0 (another program, through ppdev) held "
                   "the port for 2 s); fix: end the program that holds the port or wait for the "
                   "print to finish, then start Vellix again"}),
    [](const auto& info) { return info.param.name; });

}  // namespace

int main(int argc, char** argv)
{
    // On any other machine the tests would poke whatever sits at these port numbers.
    if (::getpid() != 1) {
        std::fprintf(stderr, "%s runs only as /init of the test guest (scripts/qemu-test.sh)\n",
                     argv[0]);
        return 2;
    }
    const bool prepared = hwtest::PrepareGuest();
    testing::InitGoogleTest(&argc, argv);
    const int failed = prepared ? RUN_ALL_TESTS() : 1;
    std::printf("vellix-hw: %s\n", failed == 0 ? "PASS" : "FAIL");
    hwtest::PowerOff();
}
