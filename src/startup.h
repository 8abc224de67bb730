// What every executable does before the application runs: choose the port bus and say so.
#pragma once

#include <memory>

#include "io/bus.h"

namespace vellix {

// Chooses and installs the bus, prints why when it is not direct hardware access, and puts the
// bus's name after the main window's caption. The returned bus must live until the end.
std::unique_ptr<io::Bus> InstallPortBus();

}  // namespace vellix
