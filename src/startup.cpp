#include "startup.h"

#include <cstdio>
#include <cstdlib>
#include <system_error>

#include "io/choose_bus.h"
#include "io/linux_system_calls.h"
#include "port/candidates.h"
#include "port/portio.h"

namespace vellix {

std::unique_ptr<io::Bus> InstallPortBus()
{
    static io::LinuxSystemCalls sys;
    io::BusChoice choice;
    try {
        choice = io::ChooseBus(sys);
    } catch (const std::system_error& e) {
        // Going on with raised privileges would be worse than not starting.
        std::fprintf(stderr, "vellix: cannot give up privileges: %s\n", e.what());
        std::exit(1);
    }
    for (const std::string& line : choice.messages)
        std::fprintf(stderr, "vellix: %s\n", line.c_str());
    std::vector<std::uint16_t> bases;
    for (const io::SurveyedPort& port : choice.survey.ports)
        bases.push_back(port.base);
    port::InstallCandidates(std::move(bases));
    port::InstallBus(choice.bus.get());
    return std::move(choice.bus);
}

}  // namespace vellix
