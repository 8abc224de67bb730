#include "cli/run.h"

#include <algorithm>
#include <string>

#include "shell/config.h"
#include "cli/command_line.h"
#include "cli/signal_commands.h"
#include "cli/std_streams.h"
#include "cli/usage.h"
#include "cli/loopback.h"
#include "cli/loopback_text.h"
#include "port/panel_choice.h"
#include "port/portio.h"
#include "io/simulated_port.h"
#include "cli/ports_report.h"

namespace cli {
namespace {

constexpr int kUsageError = 2;
constexpr int kUnreachable = 2;

// The ports a real way reaches.
std::vector<std::uint16_t> ReachedBases(const io::BusChoice& choice)
{
    std::vector<std::uint16_t> bases;
    for (const io::SurveyedPort& surveyed : choice.survey.ports)
        if (surveyed.way != io::Way::None)
            bases.push_back(surveyed.base);
    return bases;
}

bool Reaches(const io::BusChoice& choice, std::uint16_t base)
{
    const std::vector<std::uint16_t> bases = ReachedBases(choice);
    return std::find(bases.begin(), bases.end(), base) != bases.end();
}

std::string WayName(const io::BusChoice& choice, std::uint16_t base)
{
    const io::SurveyedPort* surveyed = choice.survey.Find(base);
    switch (surveyed ? surveyed->way : io::Way::None) {
    case io::Way::Direct:
        return "direct I/O";
    case io::Way::Ppdev:
        return "ppdev (" + surveyed->device + ")";
    case io::Way::SharedPpdev:
        return "ppdev (" + surveyed->device + ", shared with the printer driver)";
    case io::Way::None:
        break;
    }
    return "no way";
}

std::string Labels(const std::vector<std::uint16_t>& bases)
{
    std::string text;
    for (std::uint16_t base : bases) {
        // Appended piece by piece: GCC 12 misreads the temporary of `", " + label` at -O2.
        if (!text.empty())
            text += ", ";
        text += io::PortLabel(base);
    }
    return text.empty() ? "no port" : text;
}

// The port the panel would use, found the way the panel finds it, except that the saved port's
// registers are given back after its detection test: the self-test that follows must find them
// as they were.
port::PanelChoice PanelPort(const io::BusChoice& choice, std::string& saved)
{
    saved = config::ReadSavedText().Str();
    return port::ChoosePanelPort(saved, [&](std::uint16_t base) {
        return Reaches(choice, base) && cli::AnswersDetectionTestKeepingRegisters(base);
    });
}

// The built-in simulated port, with its plug: a check of the program itself, never of hardware.
int SimulatedLoopback(std::FILE* out)
{
    io::SimulatedPort simulated({io::kDefaultBase});
    io::Bus& installed = port::InstalledBus();
    port::InstallBus(&simulated);
    std::fprintf(out, "Loopback self-test of the built-in simulated port at %s: it says nothing of real "
                      "hardware.\n", io::PortLabel(io::kDefaultBase).c_str());
    const cli::LoopbackResult result = cli::RunLoopbackTest(io::kDefaultBase);
    port::InstallBus(&installed);
    for (const cli::LoopbackCheck& check : result.checks)
        std::fprintf(out, "%s\n", cli::FormatCheck(check).c_str());
    std::fputs(cli::FormatSummary(result).c_str(), out);
    return result.AllPassed() ? 0 : 1;
}

int Loopback(const Program& program, const CommandLine& command, const io::BusChoice& choice, std::FILE* out,
             std::FILE* err)
{
    if (command.simulated)
        return SimulatedLoopback(out);
    // A pass on the simulated port would read as a verdict on the user's port and cable.
    if (!choice.survey.AnyReached()) {
        std::fprintf(err, "%s: no real port is reached, so there is none to self-test (the lines above say why "
                          "and what to do); '%s --loopback simulated' tests the built-in simulated port\n",
                     program.name, program.name);
        return kUnreachable;
    }
    std::uint16_t base = 0;
    std::string because;
    if (command.port) {
        base = *command.port;
    } else {
        std::string saved;
        const port::PanelChoice panel = PanelPort(choice, saved);
        base = panel.base;
        because = ", the port the panel would use (" + port::Describe(panel, saved, config::SavedTextProblem()) + ")";
    }
    if (!Reaches(choice, base)) {
        if (const io::SurveyedPort* surveyed = choice.survey.Find(base))
            std::fprintf(err, "%s: cannot self-test %s: %s\n", program.name, io::PortLabel(base).c_str(),
                         io::DescribeWay(*surveyed).c_str());
        else
            std::fprintf(err, "%s: cannot reach a port at %s: only %s can be reached\n", program.name,
                         io::PortLabel(base).c_str(), Labels(ReachedBases(choice)).c_str());
        return kUnreachable;
    }

    std::fprintf(out, "Loopback self-test of %s through %s%s.\n", io::PortLabel(base).c_str(),
                 WayName(choice, base).c_str(), because.c_str());
    const cli::LoopbackResult result = cli::RunLoopbackTest(base);
    // What the port's modes say of the direction bit, beside what the test saw of it.
    const io::SurveyedPort* surveyed = choice.survey.Find(base);
    const std::string direction = surveyed ? io::DescribeDirection(*surveyed) : std::string();
    for (const cli::LoopbackCheck& check : result.checks) {
        std::string line = cli::FormatCheck(check);
        if (check.kind == cli::LoopbackCheck::Kind::Direction && !direction.empty())
            line += "; " + direction;
        std::fprintf(out, "%s\n", line.c_str());
    }
    std::fputs(cli::FormatSummary(result).c_str(), out);
    return result.AllPassed() ? 0 : 1;
}

}  // namespace

namespace {

int Answer(const Program& program, const CommandLine& command, std::FILE* out, std::FILE* err)
{
    switch (command.action) {
    case Action::Error:
        std::fprintf(err, "%s: %s; see '%s --help'\n", program.name, command.error.c_str(), program.name);
        return kUsageError;
    case Action::Help:
        std::fputs(UsageText(program.name).c_str(), out);
        return 0;
    case Action::Version:
        std::fputs(VersionText(program.name).c_str(), out);
        return 0;
    default:
        break;
    }
    if (IsSignalAction(command.action))
        return RunSignalCommand(program, command, out, err);
    const io::BusChoice choice = program.installBus();
    if (command.action == Action::Ports)
        return cli::ReportPorts(out, choice, config::ReadSavedText().Str(), config::SavedTextProblem());
    return Loopback(program, command, choice, out, err);
}

}  // namespace

int Run(const Program& program, int argc, const char* const* argv, std::FILE* out, std::FILE* err)
{
    const CommandLine command = ParseCommandLine(argc, argv);
    if (command.action == Action::Panel) {
        const io::BusChoice choice = program.installBus();
        return program.runPanel();
    }
    // What these print is their whole answer: one that did not get out must not pass for done.
    return StatusAfterOutput(program.name, Answer(program, command, out, err), out, err);
}

}  // namespace cli
