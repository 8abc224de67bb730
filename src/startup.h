// What every executable does before the application runs: choose the port bus and say so.
#pragma once

#include <memory>

#include "io/bus.h"

namespace vellix {

// Finds the candidate ports and the way to each, says so on standard error, and installs the
// candidates and the bus for the panel. The returned bus must live until the end.
std::unique_ptr<io::Bus> InstallPortBus();

}  // namespace vellix
