// What every executable does before the application runs: choose the port bus and say so.
#pragma once

#include "io/choose_bus.h"

namespace cli {

// Finds the candidate ports and the way to each, says so on standard error (each line begins with
// program, the name the user ran), and installs the candidates and the bus for the panel. The
// returned choice holds the bus, which must live until the end.
io::BusChoice InstallPortBus(const char* program = "vellix");

// The second half of InstallPortBus, for a bus chosen elsewhere (tests choose their own).
io::BusChoice InstallChosenBus(io::BusChoice choice, const char* program = "vellix");

// Finds the ports and the way to each for a command that works on one port's registers, with
// those options, and says so on standard error as InstallPortBus does; installs nothing.
io::BusChoice ChooseBusFor(const char* program, const io::ChooseOptions& options);

}  // namespace cli
