// The options both executables take, read from the command line without touching anything else.
#pragma once

#include <cstdint>
#include <optional>
#include <span>
#include <string>
#include <string_view>

#include "cli/options.h"
#include "cli/signal_options.h"

namespace cli {

// The actions that work on one port's registers, chosen with --port.
constexpr bool IsSignalAction(Action action)
{
    return action == Action::Record || action == Action::Watch || action == Action::Read ||
           action == Action::Write || action == Action::Pulse;
}

struct CommandLine {
    Action action = Action::Panel;
    std::optional<std::uint16_t> port;  // the PORT of --loopback, when given
    bool simulated = false;             // --loopback simulated: the built-in simulated port, asked for by name
    SignalOptions signals;              // the values of the signal actions' options
    std::string error;                  // for Action::Error: what is wrong, naming the argument
};

// GNU conventions: long options may be abbreviated to any unambiguous prefix and take their value
// as --loopback=PORT or, where a value is required, as the next argument (--record FILE); short
// options may be grouped (-hV); "--" ends the options; options and operands may come in any
// order. The only operand is the PORT of --loopback. Any error wins over every other option, so
// that a mistyped command never runs something else.
CommandLine ParseCommandLine(std::span<const std::string_view> args);
CommandLine ParseCommandLine(int argc, const char* const* argv);

// The PORT that names the built-in simulated port rather than a real one.
inline constexpr std::string_view kSimulatedPortName = "simulated";

// A port label: "0x" (or "0X") and one to four hexadecimal digits of either case, as in "0x0378"
// or "0xD010". Nothing else: no decimal, no blanks, no sign.
std::optional<std::uint16_t> ParsePortLabel(std::string_view text);

}  // namespace cli
