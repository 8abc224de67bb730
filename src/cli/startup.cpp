#include "cli/startup.h"

#include <cstdio>
#include <cstdlib>
#include <map>
#include <system_error>

#include "io/linux_system_calls.h"
#include "shell/config.h"
#include "port/candidate_table.h"
#include "port/direction_notes.h"
#include "port/portio.h"

namespace cli {

namespace {

io::BusChoice Choose(const char* program, const io::ChooseOptions& options)
{
    static io::LinuxSystemCalls sys;
    try {
        return io::ChooseBus(sys, options);
    } catch (const std::system_error& e) {
        // Going on with raised privileges would be worse than not starting.
        std::fprintf(stderr, "%s: cannot give up privileges: %s\n", program, e.what());
        std::exit(1);
    }
}

void SayWhatWasFound(const io::BusChoice& choice, const char* program)
{
    for (const std::string& line : choice.messages)
        std::fprintf(stderr, "%s: %s\n", program, line.c_str());
    // A saved choice that cannot be read would pass for no choice at all.
    if (const std::string problem = config::SavedTextProblem(); !problem.empty())
        std::fprintf(stderr, "%s: %s cannot be read, so no saved port is used: %s\n", program,
                     config::ShownPath().c_str(), problem.c_str());
}

}  // namespace

io::BusChoice InstallPortBus(const char* program)
{
    return InstallChosenBus(Choose(program, {}), program);
}

io::BusChoice ChooseBusFor(const char* program, const io::ChooseOptions& options)
{
    io::BusChoice choice = Choose(program, options);
    SayWhatWasFound(choice, program);
    return choice;
}

io::BusChoice InstallChosenBus(io::BusChoice choice, const char* program)
{
    SayWhatWasFound(choice, program);
    std::vector<std::uint16_t> bases;
    for (const io::SurveyedPort& port : choice.survey.ports)
        bases.push_back(port.base);
    port::InstallCandidates(std::move(bases));
    std::map<std::uint16_t, std::string> notes;
    for (const io::SurveyedPort& port : choice.survey.ports)
        if (std::string note = io::DescribeDirection(port); !note.empty())
            notes[port.base] = std::move(note);
    port::InstallDirectionNotes(std::move(notes));
    port::InstallBus(choice.bus.get());
    return choice;
}

}  // namespace cli
