// The commands that read, write and record one port's registers: --read, --write, --pulse,
// --record, --watch. None of them runs the panel's write probe; --read, --record and --watch
// write to no port at all.
#pragma once

#include <cstdio>

#include "cli/command_line.h"
#include "cli/run.h"

namespace cli {

// Chooses the bus and the port, then runs the command. Returns the exit status: 0 when done, 1
// when an output could not be written, 2 when no port can be reached.
int RunSignalCommand(const Program& program, const CommandLine& command, std::FILE* out, std::FILE* err);

}  // namespace cli
