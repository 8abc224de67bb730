// The three standard streams, kept sound for everything the program says.
#pragma once

#include <cstdio>

namespace cli {

// Opens /dev/null on each of descriptors 0, 1 and 2 that is closed, so that no device or file
// opened later lands on one of them: a port device on descriptor 2 would receive every message
// as bytes strobed out to the printer. Call it first in main.
void OpenClosedStandardStreams();

// The exit status once everything is said: a write to out or err that failed (a full disk,
// /dev/full, a closed pipe) turns a success into 1, with one line on err where err still works,
// as GNU tools do, so that a script never takes a lost answer for a given one.
int StatusAfterOutput(const char* program, int status, std::FILE* out, std::FILE* err);

}  // namespace cli
