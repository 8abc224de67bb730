// What every executable does before the application runs: choose the port bus and say so.
#pragma once

#include "io/choose_bus.h"

namespace vellix {

// Chooses and installs the bus, prints why when it is not direct hardware access, and puts the
// bus's name after the main window's caption. The returned choice holds the bus, which must live
// until the end. Messages begin with program, the name the user ran.
io::BusChoice InstallPortBus(const char* program = "vellix");

// The second half of InstallPortBus, for a bus chosen elsewhere (tests choose their own).
io::BusChoice InstallChosenBus(io::BusChoice choice, const char* program = "vellix");

// How the installed bus was chosen, without the bus itself; a simulated port reaching nothing
// before a bus is installed.
const io::BusChoice& ChosenBus();

}  // namespace vellix
