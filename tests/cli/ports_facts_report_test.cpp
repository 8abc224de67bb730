// What --ports says about each machine beyond how its ports are reached: the modes of each port
// and what TriState does there, the PCI cards and how to bind one, lockdown, who holds a busy
// port. Machines are made of faked /proc, /sys and port reads; every line is the survey's.
#include "cli/ports_report.h"

#include "io/simulated_port.h"
#include "../io/fake_system_calls.h"

#include <gtest/gtest.h>

#include <functional>
#include <linux/ppdev.h>
#include <sstream>
#include <sys/ioctl.h>

#if defined(__x86_64__) || defined(__i386__)

namespace {

using iotest::FakeSystemCalls;

void User(FakeSystemCalls& sys) { sys.iopermError = EPERM; }
void Root(FakeSystemCalls& sys) { sys.identity = {0, 0, 0, 0, 0, 0}; }

void Modes(FakeSystemCalls& sys, int number, const std::string& modes)
{
    sys.files["/proc/sys/dev/parport/parport" + std::to_string(number) + "/modes"] = modes + "\n";
}

// A card in a PCI slot: its class, IDs, the driver bound (none if empty) and the ports it became.
void Card(FakeSystemCalls& sys, const std::string& slot, const std::string& pciClass, const std::string& ids,
          const std::string& driver, std::vector<std::string> parports)
{
    const std::string dir = "/sys/bus/pci/devices/" + slot;
    sys.directories["/sys/bus/pci/devices"].push_back(slot);
    sys.files[dir + "/class"] = pciClass + "\n";
    sys.files[dir + "/vendor"] = "0x" + ids.substr(0, 4) + "\n";
    sys.files[dir + "/device"] = "0x" + ids.substr(5) + "\n";
    sys.files[dir + "/uevent"] = (driver.empty() ? "" : "DRIVER=" + driver + "\n") + "PCI_ID=" + ids + "\n";
    std::vector<std::string> entries = {"class", "vendor", "device", "uevent"};
    entries.insert(entries.end(), parports.begin(), parports.end());
    if (!driver.empty())
        entries.push_back("driver");
    sys.directories[dir] = entries;
}

void ParportPcLoaded(FakeSystemCalls& sys) { sys.directories["/sys/bus/pci/drivers/parport_pc"] = {"new_id", "bind"}; }

struct FactsCase {
    const char* name;
    std::function<void(FakeSystemCalls&)> machine;
    std::vector<std::string> lines;  // each is a whole line of the report
};

void PrintTo(const FactsCase& c, std::ostream* os) { *os << c.name; }

const char* const kStaysOutputs =
    ": choose PS/2, bidirectional or EPP/ECP for the port in the firmware setup, or let parport_pc switch the "
    "chip (`modprobe parport_pc`)";

const FactsCase kMachines[] = {
    {"OnBoardEcpInPs2ModeAsTheKernelSetIt",
     [](FakeSystemCalls& sys) {
         User(sys);
         sys.AddLinuxPort(0, 0x378, 6);
         Modes(sys, 0, "PCSPP,TRISTATE,COMPAT,ECP,DMA");
     },
     {"0x0378: modes PCSPP,TRISTATE,COMPAT,ECP,DMA; on 0x0378 the data lines become inputs (the kernel lists "
      "TRISTATE)"}},
    {"OnBoardPortTheKernelCannotTurnAround",
     [](FakeSystemCalls& sys) {
         User(sys);
         sys.AddLinuxPort(0, 0x378, 6);
         Modes(sys, 0, "PCSPP,COMPAT");
     },
     {std::string("0x0378: modes PCSPP,COMPAT; on 0x0378 the data lines stay outputs (the kernel lists no "
                  "TRISTATE)") + kStaysOutputs}},
    // Direct I/O and no kernel driver: the chip's own register tells, read and never written.
    {"EcpChipInSppModeByDirectIo",
     [](FakeSystemCalls& sys) {
         Root(sys);
         sys.inBytes[0x77A] = 0x15;  // mode 000, FIFO empty
         sys.inBytes[0x37A] = 0xCC;
     },
     {std::string("0x0378: ECR mode SPP; on 0x0378 the data lines stay outputs (the chip is in SPP mode)") +
      kStaysOutputs}},
    {"EcpChipInPs2ModeByDirectIo",
     [](FakeSystemCalls& sys) {
         Root(sys);
         sys.inBytes[0x77A] = 0x35;  // mode 001
         sys.inBytes[0x37A] = 0xCC;
     },
     {"0x0378: ECR mode PS/2; on 0x0378 the data lines become inputs (the chip is in PS/2 mode)"}},
    {"PcieCardBoundToParportPc",
     [](FakeSystemCalls& sys) {
         User(sys);
         sys.AddLinuxPort(1, 0xD010, 7);
         Modes(sys, 1, "PCSPP,TRISTATE,COMPAT,EPP,ECP");
         ParportPcLoaded(sys);
         Card(sys, "0000:05:00.0", "0x070103", "1415:c118", "parport_pc", {"parport1"});
     },
     {"0xD010: modes PCSPP,TRISTATE,COMPAT,EPP,ECP; on 0xD010 the data lines become inputs (the kernel lists "
      "TRISTATE)",
      "PCI card 0000:05:00.0 (1415:c118, parallel port): driver parport_pc, /dev/parport1 at 0xD010"}},
    {"CardWithoutADriverLoaded",
     [](FakeSystemCalls& sys) {
         User(sys);
         Card(sys, "0000:03:00.0", "0x070100", "1c00:3050", "", {});
     },
     {"PCI card 0000:03:00.0 (1c00:3050, parallel port): no driver is bound; fix: load it with `modprobe "
      "parport_pc` (`modprobe parport_serial` for a card with serial ports too)",
      "the panel would use the simulated port at 0x0378: no real port is reached and the kernel knows no "
      "parallel port"}},
    {"CardTheLoadedDriverDoesNotKnow",
     [](FakeSystemCalls& sys) {
         User(sys);
         ParportPcLoaded(sys);
         Card(sys, "0000:03:00.0", "0x070100", "1c00:3050", "", {});
     },
     {"PCI card 0000:03:00.0 (1c00:3050, parallel port): no driver is bound, as parport_pc does not know its "
      "ID; fix: `echo 1c00 3050 > /sys/bus/pci/drivers/parport_pc/new_id`"}},
    {"SerialAndParallelCard",
     [](FakeSystemCalls& sys) {
         User(sys);
         sys.AddLinuxPort(0, 0xE000, 6);
         Card(sys, "0000:04:00.0", "0x070002", "9710:9865", "parport_serial", {"parport0"});
         Card(sys, "0000:00:1f.0", "0x060100", "8086:a305", "lpc_ich", {});  // not a port: left out
     },
     {"PCI card 0000:04:00.0 (9710:9865, serial and parallel ports): driver parport_serial, /dev/parport0 at "
      "0xE000"}},
    {"LockedDownKernel",
     [](FakeSystemCalls& sys) {
         Root(sys);
         sys.iopermError = EPERM;
         sys.files["/sys/kernel/security/lockdown"] = "none [integrity] confidentiality\n";
         sys.AddLinuxPort(0, 0x378, 6);
     },
     {"0x0278  no       legacy base                 not reached (ioperm: Operation not permitted, the kernel is "
      "locked down (integrity); the kernel knows no port here); fix: use ppdev, which lockdown allows: load it "
      "with `modprobe parport_pc ppdev` and join group lp",
      "0x0378  no       legacy base, /dev/parport0  ppdev",
      "the kernel is locked down (integrity): it refuses direct I/O even to root; ppdev still reaches the ports "
      "it knows"}},
    {"BusyPortHeldByThePrinterDriver",
     [](FakeSystemCalls& sys) {
         User(sys);
         sys.AddLinuxPort(0, 0x378, 6);
         sys.claimWaits.insert(6);
         sys.files["/proc/sys/dev/parport/parport0/devices/active"] = "lp0\n";
     },
     {"0x0378  no       legacy base, /dev/parport0  not reached (ioperm: Operation not permitted; claim: busy: lp0 (the printer driver: a print "
      "job) held the port for 2 s); fix: end the program that holds the port or wait for the print to finish, "
      "then start Vellix again"}},
};

class PortFacts : public testing::TestWithParam<FactsCase> {};

TEST_P(PortFacts, PortsSaysThemInTheSurveysWords)
{
    const FactsCase& c = GetParam();
    FakeSystemCalls sys;
    c.machine(sys);
    io::BusChoice choice = io::ChooseBus(sys);
    // Direct I/O would be a real port instruction here: where a port is reached so, an empty
    // simulated bus stands in for the machine, on which no port answers.
    for (const io::SurveyedPort& port : choice.survey.ports)
        if (port.way == io::Way::Direct)
            choice.bus = std::make_unique<io::SimulatedPort>(std::vector<std::uint16_t>{});
    std::FILE* out = std::tmpfile();
    cli::ReportPorts(out, choice, "");
    std::rewind(out);
    std::string text;
    for (int ch; (ch = std::fgetc(out)) != EOF;)
        text += static_cast<char>(ch);
    std::fclose(out);
    std::vector<std::string> lines;
    std::istringstream in(text);
    for (std::string line; std::getline(in, line);)
        lines.push_back(line);
    for (const std::string& want : c.lines)
        EXPECT_NE(std::find(lines.begin(), lines.end(), want), lines.end()) << want << "\n--- report ---\n" << text;
    // Reading a chip's mode never writes to it.
    for (const std::string& call : sys.calls)
        EXPECT_EQ(call.rfind("outb", 0), std::string::npos) << call;
}

INSTANTIATE_TEST_SUITE_P(FakedMachines, PortFacts, testing::ValuesIn(kMachines),
                         [](const auto& info) { return std::string(info.param.name); });

}  // namespace

#endif
