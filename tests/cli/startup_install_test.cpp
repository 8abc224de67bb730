// What the executables install before the panel runs, on a machine made of faked system calls:
// every port the kernel knows becomes a candidate of the panel's detection, reached by its way.
#include "cli/startup.h"

#include "port/candidate_table.h"
#include "port/portio.h"
#include "../io/fake_system_calls.h"

#include <gtest/gtest.h>

#include <linux/ppdev.h>
#include <sys/ioctl.h>

namespace {

TEST(StartUp, ACardTheKernelKnowsIsACandidateOfThePanelAndIsReached)
{
    iotest::FakeSystemCalls sys;
    sys.iopermError = EPERM;
    sys.AddLinuxPort(0, 0xD010, 6);
    sys.readValues[PPRDATA] = 0x5A;
    io::BusChoice choice = cli::InstallChosenBus(io::ChooseBus(sys), "vellix-test");

    std::vector<std::string> labels;
    for (const port::CandidatePort& candidate : port::CandidatePorts())
        labels.push_back(candidate.strLabel);
    EXPECT_EQ(labels, (std::vector<std::string>{"0x0278", "0x0300", "0x0378", "0x03BC", "0xD010"}));
    EXPECT_EQ(ReadPortByte(0xD010), 0x5A);

    port::InstallBus(nullptr);
    port::InstallCandidates({});
}

}  // namespace
