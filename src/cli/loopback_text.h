// The self-test's results as lines of text for a terminal or a log.
#pragma once

#include <string>

#include "cli/loopback.h"

namespace cli {

// One line per check, without a line end: the verdict (PASS, FAIL, or INFO for the direction
// bit, which is never a failure), the lines and pins, the step, expected and seen, and for a
// failure which inputs or bits are wrong.
std::string FormatCheck(const LoopbackCheck& check);

// The closing lines, each ending in a line end: how the registers were left and the verdict.
std::string FormatSummary(const LoopbackResult& result);

}  // namespace cli
