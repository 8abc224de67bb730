// Which port the signal commands work on, found without writing to any: the port --port names
// if it is reached; else the one saved in config.ovm if it is reached; else the lowest reached.
// The simulated port only when named, and never in place of a real one.
#pragma once

#include <cstdint>
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
TargetChoice ChooseSignalTarget(const io::PortSurvey& survey, const SignalOptions& options,
                                std::string_view savedText, std::string_view verb, std::string_view simulatedHint);

}  // namespace cli
