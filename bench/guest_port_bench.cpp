// Runs as /init of the QEMU x86-64 guest of the hardware test (boot it with
// scripts/qemu-test.sh): ReadPortByte and WritePortByte over the direct I/O bus against bare
// inb and outb on the same port of the emulated ISA parallel port, with the same loop count.
// Every access leaves the guest's code for QEMU's device model (a VM exit under KVM, a call out
// of the translated code into the emulator under TCG), so an access costs far more than the
// layer's calls around it; the ratio shows what the layer adds on top. Prints on the serial
// console, one line per operation:
//   vellix-hw-bench: <operation> <ns per access> <bare instruction> <ns per access>
#include "guest.h"

#include "io/direct_bus.h"
#include "port/portio.h"

#include <algorithm>
#include <chrono>
#include <cstdint>
#include <cstdio>
#include <limits>
#include <sys/io.h>
#include <unistd.h>

namespace {

constexpr std::uint16_t kData = 0x378;
constexpr std::uint16_t kControl = 0x37A;
constexpr int kAccesses = 200000;
// The two loops alternate, and each keeps its best round: the guest's clock and the host's load
// then weigh on both alike.
constexpr int kRounds = 15;

// Whatever the reads return goes here, so no loop can be left out.
volatile unsigned g_sink;

template <typename Loop>
double NanosecondsPerAccess(Loop loop)
{
    const auto start = std::chrono::steady_clock::now();
    loop();
    const std::chrono::duration<double, std::nano> took = std::chrono::steady_clock::now() - start;
    return took.count() / kAccesses;
}

struct Pair {
    double layer = std::numeric_limits<double>::max();
    double bare = std::numeric_limits<double>::max();
};

Pair TimeReads()
{
    Pair best;
    for (int round = 0; round < kRounds; ++round) {
        best.bare = std::min(best.bare, NanosecondsPerAccess([] {
            unsigned sum = 0;
            for (int i = 0; i < kAccesses; ++i)
                sum += ::inb(kData);
            g_sink = sum;
        }));
        best.layer = std::min(best.layer, NanosecondsPerAccess([] {
            unsigned sum = 0;
            for (int i = 0; i < kAccesses; ++i)
                sum += static_cast<unsigned>(ReadPortByte(kData));
            g_sink = sum;
        }));
    }
    return best;
}

Pair TimeWrites()
{
    Pair best;
    for (int round = 0; round < kRounds; ++round) {
        best.bare = std::min(best.bare, NanosecondsPerAccess([] {
            for (int i = 0; i < kAccesses; ++i)
                ::outb(static_cast<unsigned char>(i), kData);
        }));
        best.layer = std::min(best.layer, NanosecondsPerAccess([] {
            for (int i = 0; i < kAccesses; ++i)
                WritePortByte(kData, i);
        }));
    }
    return best;
}

// The port must be there and drive its data lines, or the loops would time an empty bus.
bool PortAnswers()
{
    ::outb(0x04, kControl);  // data lines driven, Init released
    ::outb(0xAA, kData);
    return ::inb(kData) == 0xAA;
}

}  // namespace

int main(int argc, char** argv)
{
    (void)argc;
    // On any other machine the loops would write to whatever sits at this port number.
    if (::getpid() != 1) {
        std::fprintf(stderr, "%s runs only as /init of the test guest (scripts/qemu-test.sh)\n", argv[0]);
        return 2;
    }
    if (!hwtest::PrepareGuest())
        std::printf("vellix-hw-bench: guest set-up incomplete, timing anyway\n");
    if (::ioperm(kData, 3, 1) != 0 || !PortAnswers()) {
        std::printf("vellix-hw-bench: FAIL no port at 0x378\n");
        hwtest::PowerOff();
    }
    io::DirectBus bus;
    port::InstallBus(&bus);
    const Pair reads = TimeReads();
    const Pair writes = TimeWrites();
    port::InstallBus(nullptr);
    std::printf("vellix-hw-bench: ReadPortByte %.1f inb %.1f\n", reads.layer, reads.bare);
    std::printf("vellix-hw-bench: WritePortByte %.1f outb %.1f\n", writes.layer, writes.bare);
    hwtest::PowerOff();
}
