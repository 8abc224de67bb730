// The port report against machines made of faked system calls.
#include "cli/ports_report.h"

#include "io/routing_bus.h"
#include "io/simulated_port.h"
#include "../io/fake_system_calls.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <cerrno>
#include <functional>
#include <linux/ppdev.h>
#include <ostream>
#include <sys/ioctl.h>

#if defined(__x86_64__) || defined(__i386__)

namespace {

using iotest::FakeSystemCalls;
using testing::HasSubstr;

// What ReportPorts printed and returned.
struct Report {
    std::string text;
    int result;
};

Report Print(const io::BusChoice& choice, const std::string& saved)
{
    std::FILE* out = std::tmpfile();
    Report report{{}, cli::ReportPorts(out, choice, saved)};
    std::rewind(out);
    for (int c; (c = std::fgetc(out)) != EOF;)
        report.text += static_cast<char>(c);
    std::fclose(out);
    return report;
}

struct ReportCase {
    const char* name;
    std::function<void(FakeSystemCalls&)> machine;
    std::string saved;
    std::string text;
    int result;
};

void PrintTo(const ReportCase& c, std::ostream* os) { *os << c.name; }

void User(FakeSystemCalls& sys) { sys.iopermError = EPERM; }

// The line of a legacy base that a user without privileges cannot reach and the kernel does not
// know, with the origin column padded to the table's width.
std::string Unreached(std::initializer_list<const char*> labels, int originWidth)
{
    std::string lines;
    for (const char* label : labels) {
        lines += std::string(label) + "  no       legacy base" + std::string(originWidth - 11, ' ') +
                 "  not reached (ioperm: Operation not permitted; the kernel knows no port here); fix: "
                 "run as root or grant cap_sys_rawio\n";
    }
    return lines;
}

const char* const kLegacyHeader =
    "port    answers  origin                      way\n";
const std::string kLegacyLines = Unreached({"0x0278", "0x0300"}, 26);
const std::string kLegacy03BC = Unreached({"0x03BC"}, 26);
const std::string kAllLegacyBesideCard = Unreached({"0x0278", "0x0300", "0x0378", "0x03BC"}, 13);

class PortReport : public testing::TestWithParam<ReportCase> {};

TEST_P(PortReport, OneLinePerCandidateThenThePanelsChoice)
{
    const ReportCase& c = GetParam();
    FakeSystemCalls sys;
    c.machine(sys);
    const io::BusChoice choice = io::ChooseBus(sys);
    const Report report = Print(choice, c.saved);
    EXPECT_EQ(report.text, c.text);
    EXPECT_EQ(report.result, c.result);
}

INSTANTIATE_TEST_SUITE_P(
    FakedSystem, PortReport,
    testing::Values(
        ReportCase{"SavedCardAnswers",
                   [](FakeSystemCalls& sys) {
                       User(sys);
                       sys.AddLinuxPort(0, 0x378, 6);
                       sys.AddLinuxPort(1, 0xD010, 7);
                       sys.readValues[PPRDATA] = 0xAA;
                   },
                   "0xD010",
                   std::string(kLegacyHeader) + kLegacyLines +
                       "0x0378  yes      legacy base, /dev/parport0  ppdev\n" + kLegacy03BC +
                       "0xD010  yes      /dev/parport1               ppdev\n"
                       "the panel would use 0xD010 (/dev/parport1), saved in config.ovm, and it answered the test\n",
                   0},
        ReportCase{"NothingSavedSharedPort",
                   [](FakeSystemCalls& sys) {
                       User(sys);
                       sys.AddLinuxPort(0, 0x378, 6);
                       sys.exclusiveClaimErrors[6] = ENXIO;
                       sys.readValues[PPRDATA] = 0xAA;
                   },
                   "",
                   std::string(kLegacyHeader) + kLegacyLines +
                       "0x0378  yes      legacy base, /dev/parport0  ppdev shared with the "
                       "printer driver (printing waits until Vellix ends)\n" +
                       kLegacy03BC +
                       "the panel would use 0x0378 (/dev/parport0), the default: config.ovm in "
                       "this directory is missing or empty\n",
                   0},
        ReportCase{"NoPortAnswers",
                   [](FakeSystemCalls& sys) {
                       User(sys);
                       sys.AddLinuxPort(1, 0xD010, 7);
                       sys.readValues[PPRDATA] = 0xFF;
                   },
                   "0xD010\x01",
                   "port    answers  origin         way\n" + kAllLegacyBesideCard +
                   "0xD010  no       /dev/parport1  ppdev\n"
                   "the panel would use 0x0378 (not reached), the default: config.ovm holds "
                   "\"0xD010?\", which is no candidate's label\n",
                   1},
        // A saved label that is a port's own, but that port did not answer: the panel takes the
        // default, and so must the report.
        ReportCase{"SavedPortDoesNotAnswer",
                   [](FakeSystemCalls& sys) {
                       User(sys);
                       sys.AddLinuxPort(1, 0xD010, 7);
                       sys.readValues[PPRDATA] = 0xFF;
                   },
                   "0xD010",
                   "port    answers  origin         way\n" + kAllLegacyBesideCard +
                   "0xD010  no       /dev/parport1  ppdev\n"
                   "the panel would use 0x0378 (not reached), the default: config.ovm names "
                   "0xD010, which did not answer the test\n",
                   1},
        // Nothing saved and no port at 0x378: the card, as the panel takes it at a first start.
        ReportCase{"OnlyACardAnswers",
                   [](FakeSystemCalls& sys) {
                       User(sys);
                       sys.AddLinuxPort(1, 0xD010, 7);
                       sys.readValues[PPRDATA] = 0xAA;
                   },
                   "",
                   "port    answers  origin         way\n" + kAllLegacyBesideCard +
                       "0xD010  yes      /dev/parport1  ppdev\n"
                       "the panel would use 0xD010 (/dev/parport1), the lowest port that answered, as "
                       "0x0378 did not: config.ovm in this directory is missing or empty\n",
                   0},
        ReportCase{"UsbPrinterOnly",
                   [](FakeSystemCalls& sys) {
                       User(sys);
                       sys.AddUsbPrinter("lp0");
                   },
                   "0x0378",
                   "port    answers  origin       way\n" +
                       Unreached({"0x0278", "0x0300", "0x0378", "0x03BC"}, 11) +
                   "/dev/usb/lp0 is a USB printer adapter: it has no registers that Vellix can "
                   "drive, only a parallel port card or an on-board port has\n"
                   "the panel would use the simulated port at 0x0378: no real port is reached "
                   "and the kernel knows no parallel port\n",
                   1}),
    [](const auto& info) { return info.param.name; });

TEST(PortReport, RunsThePanelsTestOnEachReachedPortInOrder)
{
    FakeSystemCalls sys;
    User(sys);
    sys.AddLinuxPort(0, 0x378, 6);
    sys.AddLinuxPort(1, 0xD010, 7);
    sys.readValues[PPRDATA] = 0xAA;
    const io::BusChoice choice = io::ChooseBus(sys);
    sys.calls.clear();
    Print(choice, "");
    EXPECT_EQ(sys.calls, (std::vector<std::string>{
                             "ioctl 6 PPWDATA 0xaa", "ioctl 6 PPWCONTROL 0", "ioctl 6 PPDATADIR 0",
                             "ioctl 6 PPRDATA",      "ioctl 7 PPWDATA 0xaa", "ioctl 7 PPWCONTROL 0",
                             "ioctl 7 PPDATADIR 0",  "ioctl 7 PPRDATA"}));
}

// Direct I/O is a real port instruction, so a simulated port stands behind its route here.
class DirectStandIn : public io::Bus {
public:
    std::uint8_t In(std::uint16_t port) override { return m_port.In(port); }
    void Out(std::uint16_t port, std::uint8_t value) override { m_port.Out(port, value); }
    std::string Name() const override { return {}; }

private:
    io::SimulatedPort m_port{{0x378}};
};

TEST(PortReport, DirectPortAnswersAndIsSaved)
{
    FakeSystemCalls sys;
    sys.identity = {0, 0, 0, 0, 0, 0};
    sys.AddLinuxPort(0, 0x378, 6);
    io::BusChoice choice = io::ChooseBus(sys);
    std::vector<std::unique_ptr<io::Bus>> ways;
    ways.push_back(std::make_unique<DirectStandIn>());
    std::vector<io::RoutingBus::Route> routes;
    for (std::uint16_t base : {0x278, 0x300, 0x378, 0x3BC})
        routes.push_back({base, ways.back().get()});
    choice.bus = std::make_unique<io::RoutingBus>(std::move(ways), std::move(routes));

    const Report report = Print(choice, "0x0378");
    EXPECT_EQ(report.text,
              "port    answers  origin                      way\n"
              "0x0278  no       legacy base                 direct I/O\n"
              "0x0300  no       legacy base                 direct I/O\n"
              "0x0378  yes      legacy base, /dev/parport0  direct I/O, with the kernel's claim held (printing "
              "waits until Vellix ends)\n"
              "0x03BC  no       legacy base                 direct I/O\n"
              "the panel would use 0x0378 (direct I/O), saved in config.ovm, and it answered the test\n");
    EXPECT_EQ(report.result, 0);
}

TEST(PortReport, TouchesNoPortWhenNoneIsReached)
{
    FakeSystemCalls sys;
    User(sys);
    sys.AddLinuxPort(0, 0x378, -EACCES);
    const io::BusChoice choice = io::ChooseBus(sys);
    io::Bus& simulated = *choice.bus;
    simulated.Out(0x378, 0x5A);
    const Report report = Print(choice, "0x0378");
    EXPECT_EQ(report.result, 1);
    EXPECT_EQ(simulated.In(0x378), 0x5A);  // the simulated port was not probed either
    EXPECT_THAT(report.text, HasSubstr("0x0378  no       legacy base, /dev/parport0  not reached "
                                       "(ioperm: Operation not permitted; open: Permission "
                                       "denied); fix: join group lp\n"));
    EXPECT_THAT(report.text, HasSubstr("the panel would use the simulated port at 0x0378: no real "
                                       "port is reached\n"));
}

}  // namespace

#endif
