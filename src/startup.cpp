#include "startup.h"

#include <cstdio>
#include <cstdlib>
#include <system_error>

#include "afx/dialog.h"
#include "io/choose_bus.h"
#include "io/linux_system_calls.h"
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
    if (!choice.message.empty())
        std::fprintf(stderr, "vellix: %s\n", choice.message.c_str());
    if (!choice.caption.empty())
        afx::SetMainCaptionSuffix(" - " + choice.caption);
    port::InstallBus(choice.bus.get());
    return std::move(choice.bus);
}

}  // namespace vellix
