#include "startup.h"

#include <cstdio>

#include "afx/dialog.h"
#include "io/choose_bus.h"
#include "io/linux_system_calls.h"
#include "port/portio.h"

namespace vellix {

std::unique_ptr<io::Bus> InstallPortBus()
{
    static io::LinuxSystemCalls sys;
    io::BusChoice choice = io::ChooseBus(sys);
    if (!choice.message.empty())
        std::fprintf(stderr, "vellix: %s\n", choice.message.c_str());
    if (!choice.caption.empty())
        afx::SetMainCaptionSuffix(" - " + choice.caption);
    port::InstallBus(choice.bus.get());
    return std::move(choice.bus);
}

}  // namespace vellix
