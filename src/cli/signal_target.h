// Which port the signal commands work on, found without writing to any: the port --port names
// if it is reached; else the one saved in config.ovm if it is reached and answers; else the
// lowest reached port that answers. A port answers if the kernel knows it or if its registers do
// not all read 0xFF, which is what an address with nothing behind it reads (root is granted
// every legacy base, whether a port is there or not). The simulated port only when named, and
// never in place of a real one.
#pragma once

#include <cstdint>
#include <functional>
#include <optional>
#include <string>
#include <string_view>

#include "cli/signal_options.h"
#include "io/port_survey.h"

namespace cli {

struct SignalTarget {
    std::uint16_t base = 0;
    // How the port is reached and why it was taken, within a sentence: "0x0378 through direct
    // I/O, the port saved in config.ovm".
    std::string description;
};

// The target, or why there is none in one line (without the program's name): a port that is not
// reached, named with the survey's reason and fix, or no real port at all. verb says what was
// to be done in a sentence ("record", "read"); simulatedHint how to work on the simulated port
// instead ("--port simulated records the built-in simulated port").
struct TargetChoice {
    std::optional<SignalTarget> target;
    std::string problem;
};
// readsFloating tells, by reading only, whether all three registers of a reached port read 0xFF.
TargetChoice ChooseSignalTarget(const io::PortSurvey& survey, const SignalOptions& options,
                                std::string_view savedText, std::string_view verb, std::string_view simulatedHint,
                                const std::function<bool(std::uint16_t)>& readsFloating);

}  // namespace cli
