#include "io/kernel_ports.h"

#include "fake_system_calls.h"

#include <gtest/gtest.h>

#include <ostream>

namespace {

using iotest::FakeSystemCalls;

std::vector<std::string> Found(FakeSystemCalls& sys)
{
    std::vector<std::string> found;
    for (const io::KernelPort& port : io::FindKernelPorts(sys))
        found.push_back(std::to_string(port.base) + " " + port.device);
    return found;
}

TEST(FindKernelPorts, EveryPortAscendingByBase)
{
    FakeSystemCalls sys;
    sys.AddLinuxPort(0, 888, 7);     // on-board 0x378
    sys.AddLinuxPort(1, 0xD010, 8);  // a PCIe card
    sys.AddLinuxPort(2, 632, 9);     // 0x278
    sys.AddLinuxPort(3, 0xCC00, 10);
    sys.directories["/proc/sys/dev/parport"].push_back("default");
    EXPECT_EQ(Found(sys), (std::vector<std::string>{"632 /dev/parport2", "888 /dev/parport0",
                                                    "52224 /dev/parport3", "53264 /dev/parport1"}));
}

TEST(FindKernelPorts, ReadsTheFirstNumberOfBaseAddr)
{
    const struct {
        const char* text;
        int base;  // 0: no port
    } cases[] = {{"888\t0\n", 888},     {"53264\t54288\n", 0xD010}, {"888", 888},
                 {"888\n", 888},        {"888 1912\n", 888},        {"0x378\t0\n", 0},
                 {"", 0},               {"888x\t0\n", 0},           {"\t888\n", 0},
                 {"-888\t0\n", 0},      {"0\t0\n", 0},              {"65533\t0\n", 65533},
                 {"65534\t0\n", 0},     {"4294967296888\t0\n", 0},  {"garbage", 0},
                 {"\xff\xfe\x01", 0}};
    for (const auto& c : cases) {
        FakeSystemCalls sys;
        sys.AddLinuxPort(0, 0, 7);

        sys.files["/proc/sys/dev/parport/parport0/base-addr"] = c.text;
        std::vector<std::string> unusable;
        const std::vector<io::KernelPort> ports = io::FindKernelPorts(sys, &unusable);
        if (c.base == 0) {
            EXPECT_TRUE(ports.empty()) << "base-addr \"" << c.text << "\"";
            // Never dropped without a word.
            ASSERT_EQ(unusable.size(), 1u) << "base-addr \"" << c.text << "\"";
            EXPECT_EQ(unusable[0].rfind("/dev/parport0 is left out: its base-addr holds \"", 0), 0u) << unusable[0];
        } else {
            ASSERT_EQ(ports.size(), 1u) << "base-addr \"" << c.text << "\"";
            EXPECT_EQ(ports[0].base, c.base) << "base-addr \"" << c.text << "\"";
            EXPECT_EQ(ports[0].device, "/dev/parport0");
            EXPECT_TRUE(unusable.empty()) << unusable[0];
        }
    }
}

TEST(FindKernelPorts, SaysWhatAnUnusableBaseHeldShortAndPrintable)
{
    FakeSystemCalls sys;
    sys.AddLinuxPort(0, 0, 7);
    sys.files["/proc/sys/dev/parport/parport0/base-addr"] = "0x378\tjunk\x01\nsecond line\n";
    std::vector<std::string> unusable;
    EXPECT_TRUE(io::FindKernelPorts(sys, &unusable).empty());
    EXPECT_EQ(unusable, (std::vector<std::string>{
                            "/dev/parport0 is left out: its base-addr holds \"0x378 junk?\", which is no I/O port address"}));
}

TEST(FindKernelPorts, SkipsEntriesThatAreNotPortsOrCannotBeRead)
{
    FakeSystemCalls sys;
    sys.AddLinuxPort(0, 888, 7);
    sys.directories["/proc/sys/dev/parport"].push_back("parport");     // no number
    sys.directories["/proc/sys/dev/parport"].push_back("parport1x");   // not a number
    sys.directories["/proc/sys/dev/parport"].push_back("parport2");    // no base-addr file
    sys.directories["/proc/sys/dev/parport"].push_back("lp0");
    EXPECT_EQ(Found(sys), (std::vector<std::string>{"888 /dev/parport0"}));
}

TEST(FindKernelPorts, TwoEntriesAtOneBaseAreOnePort)
{
    FakeSystemCalls sys;
    sys.AddLinuxPort(4, 0xD010, 7);
    sys.AddLinuxPort(1, 0xD010, 8);
    EXPECT_EQ(Found(sys), (std::vector<std::string>{"53264 /dev/parport1"}));
}

TEST(FindKernelPorts, NoProcEntriesMeansNoPort)
{
    FakeSystemCalls sys;
    EXPECT_TRUE(io::FindKernelPorts(sys).empty());
    EXPECT_TRUE(sys.calls.empty());
}

TEST(FindUsbPrinters, ListsOnlyThePrinterDevices)
{
    FakeSystemCalls sys;
    sys.AddUsbPrinter("lp1");
    sys.AddUsbPrinter("hiddev0");
    sys.AddUsbPrinter("lp0");
    EXPECT_EQ(io::FindUsbPrinters(sys), (std::vector<std::string>{"/dev/usb/lp0", "/dev/usb/lp1"}));
    FakeSystemCalls none;
    EXPECT_TRUE(io::FindUsbPrinters(none).empty());
}

}  // namespace
