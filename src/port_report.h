// --ports: which candidate ports the machine has, how each is reached, whether it answers.
#pragma once

#include <cstdio>

namespace vellix {

// Runs the panel's detection test on every candidate through the installed bus and prints one
// line per candidate, then which port the panel would use and why. Returns the exit status: 0 if
// a real port answered, 1 if none did.
int ReportPorts(std::FILE* out);

}  // namespace vellix
