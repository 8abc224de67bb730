// The options both executables take, one row each. The parser reads them, the usage text lists
// them and the bash completion is written from them when the package is built, so that adding an
// option is adding a row here (with its case in Run); the manual page's test names any option
// the page does not describe.
#pragma once

#include <span>
#include <string>
#include <string_view>

#include "cli/signal_options.h"

namespace cli {

enum class Action {
    Panel,     // no option: the register panel
    Help,      // --help, -h
    Version,   // --version, -V
    Ports,     // --ports
    Loopback,  // --loopback [PORT]
    Record,    // --record FILE [--for DURATION] [--rate HZ]
    Watch,     // --watch [--for DURATION] [--rate HZ]
    Read,      // --read
    Write,     // --write REG=VALUE, repeatable
    Pulse,     // --pulse REG=VALUE --width DURATION
    Error,     // an unknown option, a stray argument, a bad value, a missing or extra value
};

// How an option takes a value.
enum class Value {
    None,      // "--ports"; "--ports=x" is an error
    Port,      // "--loopback=PORT", or the command line's one operand: "--loopback PORT"
    Required,  // "--record=FILE" or "--record FILE"
};

// What the bash completion offers as the option's value.
enum class Completion { Nothing, PortLabels, Files, Registers };

struct Option {
    std::string_view name;          // without "--": "loopback"
    char letter = 0;                // its short form, 0 for none
    Action action = Action::Panel;  // Panel for an option that only gives a value to another
    Value value = Value::None;
    // For Value::Required: reads the value and says what is wrong with it, empty if nothing.
    std::string (*take)(SignalOptions&, std::string_view) = nullptr;
    std::string_view valueName;  // as the usage text shows the value: "FILE", "[PORT]"
    Completion completion = Completion::Nothing;
    // The usage text's words for it, wrapped there; "{plug}" stands for the loopback plug's pins.
    std::string_view help;
    std::string_view heading;  // a line the usage text puts before this option, if any
};

// In the order the usage text lists them.
std::span<const Option> Options();

}  // namespace cli
