// The port report: every candidate port, how it is reached, whether it answers the detection
// test, and which one the panel would use. For `--ports`, and for scripts.
#pragma once

#include <cstdio>
#include <string>

#include "io/choose_bus.h"

namespace cli {

// For the ports the start-up found (choice.bus reaches them; saved is the text of config.ovm):
// runs the panel's write-and-read-back test on each, so it writes to the ports like the panel,
// and prints the report to out. savedProblem is why config.ovm, which is there, could not be
// read, empty if it could. Opens no window. Returns 0 if at least one real port answered, 1 if
// none did.
int ReportPorts(std::FILE* out, const io::BusChoice& choice, const std::string& saved,
                const std::string& savedProblem = {});

}  // namespace cli
