// The command line of both executables: read it, then answer it or run the panel.
#pragma once

#include <cstdio>
#include <functional>

#include "io/choose_bus.h"

namespace cli {

struct Program {
    const char* name;                            // "vellix" or "vellix-term", as messages call it
    std::function<io::BusChoice()> installBus;   // chooses and installs the port bus
    std::function<int()> runPanel;               // runs the panel on the installed bus
    // Chooses the bus for the commands that read, write and record one port's registers, with
    // the options given, and says the survey's lines as installBus does; installs nothing.
    std::function<io::BusChoice(const io::ChooseOptions&)> chooseBus;
};

// Help, version and a wrong command line are answered before any bus is chosen, so that they
// touch no port and open no device. The other actions choose the bus first, and keep it until
// they end. Returns the exit status.
int Run(const Program& program, int argc, const char* const* argv, std::FILE* out, std::FILE* err);

}  // namespace cli
