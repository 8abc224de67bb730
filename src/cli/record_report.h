// What a recording says of itself on standard error: a progress line a few times a second while
// it runs on a terminal, and one summary line at the end. Both say the gaps, which are never
// hidden.
#pragma once

#include <string>

#include "record/sampler.h"

namespace cli {

// "12.250 s  3123456 samples  42 changes  312.3 kHz  longest gap 1.23 ms  3 gaps"
std::string ProgressLine(const record::Progress& progress);

// "10.000 s, 3123457 samples, 42 changes, 312.3 kHz (median interval 3.2 us), longest gap 1.23 ms
// at 4.567 s, 3 gaps longer than 32.0 us (ten times the median), 1 lent to another driver"
std::string SummaryLine(const record::Progress& progress);

}  // namespace cli
