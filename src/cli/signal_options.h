// The values of the options that read, write and record the port's registers: --record FILE,
// --for DURATION, --rate HZ, --watch, --read, --write REG=VALUE, --pulse REG=VALUE,
// --width DURATION, --port LABEL. Each Take function reads one option's value into the options
// and says what is wrong with it, empty if nothing is.
#pragma once

#include <chrono>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "io/register_map.h"

namespace cli {

// A register and a byte for it: "data=0x41", "control=0x04".
struct RegisterValue {
    io::lpt::Offset reg = io::lpt::kData;
    std::uint8_t value = 0;
    friend bool operator==(const RegisterValue&, const RegisterValue&) = default;
};

struct SignalOptions {
    std::string recordFile;                             // --record; "-" is standard output
    std::optional<std::chrono::nanoseconds> duration;   // --for
    std::optional<double> rate;                         // --rate, samples per second
    std::vector<RegisterValue> writes;                  // --write, in the order given
    std::optional<RegisterValue> pulse;                 // --pulse
    std::optional<std::chrono::nanoseconds> width;      // --width
    std::optional<std::uint16_t> port;                  // --port LABEL
    bool simulated = false;                             // --port simulated
};

std::string TakeRecordFile(SignalOptions& options, std::string_view value);
std::string TakeDuration(SignalOptions& options, std::string_view value);
std::string TakeRate(SignalOptions& options, std::string_view value);
std::string TakeWrite(SignalOptions& options, std::string_view value);
std::string TakePulse(SignalOptions& options, std::string_view value);
std::string TakeWidth(SignalOptions& options, std::string_view value);
std::string TakePort(SignalOptions& options, std::string_view value);
// A port label or "simulated" into port and simulated, as --port and --loopback take it.
std::string TakePortLabel(std::optional<std::uint16_t>& port, bool& simulated, std::string_view value);

// "data=0x41", "control=4", "data=0b01000001": a register that can be written and a byte in hex,
// decimal or binary.
std::optional<RegisterValue> ParseRegisterValue(std::string_view text);

// "data", "status", "control".
std::string_view RegisterName(io::lpt::Offset reg);

}  // namespace cli
