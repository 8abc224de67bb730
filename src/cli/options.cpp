#include "cli/options.h"

#include <array>

namespace cli {
namespace {

constexpr std::array<Option, 13> kOptions{{
    {"help", 'h', Action::Help, Value::None, nullptr, {}, Completion::Nothing, "show this help and exit", {}},
    {"version", 'V', Action::Version, Value::None, nullptr, {}, Completion::Nothing,
     "show the name and version and exit", {}},
    {"ports", 0, Action::Ports, Value::None, nullptr, {}, Completion::Nothing,
     "list the candidate ports, how each is reached and whether it answers, each port's modes (whether "
     "TriState makes the data lines inputs), the PCI cards and the step that binds one without a driver, "
     "kernel lockdown, and which port the panel would use",
     {}},
    {"loopback", 0, Action::Loopback, Value::Port, nullptr, "[PORT]", Completion::PortLabels,
     "self-test a port with a loopback plug joining pins {plug}; PORT is a label such as 0x0378, by default "
     "the port the panel would use; only real ports: PORT 'simulated' tests the built-in simulated port "
     "instead",
     {}},
    {"record", 0, Action::Record, Value::Required, TakeRecordFile, "FILE", Completion::Files,
     "sample data, status and control as fast as the way to the port allows and write every change to "
     "FILE: VCD (one wire per pin, for PulseView, sigrok-cli and GTKWave), CSV if FILE ends in .csv, '-' "
     "for standard output; until Ctrl+C, SIGTERM or --for; the file is complete either way",
     "Signals over time and scripts, on one port:"},
    {"watch", 0, Action::Watch, Value::None, nullptr, {}, Completion::Nothing,
     "print one line per change until Ctrl+C: microseconds since start, register, old and new value, each "
     "line that changed by name, pin and direction",
     {}},
    {"for", 0, Action::Panel, Value::Required, TakeDuration, "DURATION", Completion::Nothing,
     "stop recording or watching after DURATION, such as 500ms, 10s or 2m", {}},
    {"rate", 0, Action::Panel, Value::Required, TakeRate, "HZ", Completion::Nothing,
     "sample HZ times a second, not as fast as possible", {}},
    {"read", 0, Action::Read, Value::None, nullptr, {}, Completion::Nothing,
     "print data, status and control on one line", {}},
    {"write", 0, Action::Write, Value::Required, TakeWrite, "REG=VALUE", Completion::Registers,
     "write VALUE to REG (data or control), such as data=0x41; repeat it to write several in order", {}},
    {"pulse", 0, Action::Pulse, Value::Required, TakePulse, "REG=VALUE", Completion::Registers,
     "write VALUE, wait --width, write back what was there and print the width reached", {}},
    {"width", 0, Action::Panel, Value::Required, TakeWidth, "DURATION", Completion::Nothing,
     "how long --pulse holds its value, such as 2ms or 500us", {}},
    {"port", 0, Action::Panel, Value::Required, TakePort, "PORT", Completion::PortLabels,
     "the port to work on, a label such as 0x0378 or 'simulated'; by default the saved choice if it is "
     "reached, else the lowest port reached",
     {}},
}};

}  // namespace

std::span<const Option> Options()
{
    return kOptions;
}

}  // namespace cli
