// Durations and rates as the command line takes them and the recorder tells them.
#pragma once

#include <chrono>
#include <optional>
#include <string>
#include <string_view>

namespace record {

// A positive number, with a fraction if need be, and its unit: "500ms", "10s", "2m", "1.5h",
// "250us", "100ns". Nothing if the text is anything else, zero, or longer than a century.
std::optional<std::chrono::nanoseconds> ParseDuration(std::string_view text);

// A positive number of samples per second, "Hz" after it optional, with k or M for thousands
// and millions: "1000", "50k", "2.5kHz", "1M". Nothing if the text is anything else or the
// rate is below one sample a day or above one per nanosecond.
std::optional<double> ParseRate(std::string_view text);

// The interval between samples at that rate, at least a nanosecond.
std::chrono::nanoseconds PeriodOf(double rate);

// "850 ns", "12.3 us", "1.25 ms", "2.500 s", "3 min 2.5 s".
std::string FormatDuration(std::chrono::nanoseconds duration);

// "850 Hz", "12.3 kHz", "1.25 MHz".
std::string FormatRate(double rate);

}  // namespace record
