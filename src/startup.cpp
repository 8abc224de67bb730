#include "startup.h"

#include <cstdio>
#include <cstdlib>
#include <system_error>

#include "afx/dialog.h"
#include "io/linux_system_calls.h"
#include "port/portio.h"

namespace vellix {
namespace {

io::BusChoice g_chosen;

}  // namespace

io::BusChoice InstallPortBus(const char* program)
{
    static io::LinuxSystemCalls sys;
    io::BusChoice choice;
    try {
        choice = io::ChooseBus(sys);
    } catch (const std::system_error& e) {
        // Going on with raised privileges would be worse than not starting.
        std::fprintf(stderr, "%s: cannot give up privileges: %s\n", program, e.what());
        std::exit(1);
    }
    return InstallChosenBus(std::move(choice), program);
}

io::BusChoice InstallChosenBus(io::BusChoice choice, const char* program)
{
    if (!choice.message.empty())
        std::fprintf(stderr, "%s: %s\n", program, choice.message.c_str());
    if (!choice.caption.empty())
        afx::SetMainCaptionSuffix(" - " + choice.caption);
    port::InstallBus(choice.bus.get());
    g_chosen.way = choice.way;
    g_chosen.bases = choice.bases;
    g_chosen.message = choice.message;
    g_chosen.caption = choice.caption;
    return choice;
}

const io::BusChoice& ChosenBus()
{
    return g_chosen;
}

}  // namespace vellix
