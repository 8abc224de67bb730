#include "cli/usage.h"

#include "io/register_map.h"
#include "res/version.h"

namespace cli {
namespace {

// "1-13, 2-15, 16-10, 17-11, 14-12"
std::string PlugPins()
{
    std::string pins;
    for (const io::lpt::PlugWire& wire : io::lpt::kLoopbackPlug)
        pins += (pins.empty() ? "" : ", ") + std::to_string(wire.out) + "-" + std::to_string(wire.in);
    return pins;
}

}  // namespace

std::string UsageText(std::string_view program)
{
    const std::string name(program);
    const std::string panel = program == "vellix-term" ? "in the terminal"
                                                         : "in a window, or in the\nterminal when there is no display";
    return "Usage: " + name + " [OPTION]\n"
           "  or:  " + name + " --record FILE [--for DURATION] [--rate HZ] [--port PORT]\n"
           "  or:  " + name + " --watch | --read | --write REG=VALUE... [--port PORT]\n"
           "  or:  " + name + " --pulse REG=VALUE --width DURATION [--port PORT]\n"
           "Without an option, " + name + " opens the register panel " + panel + ".\n"
           "\n"
           "  -h, --help             show this help and exit\n"
           "  -V, --version          show the name and version and exit\n"
           "      --ports            list the candidate ports, how each is reached and\n"
           "                         whether it answers, each port's modes (whether\n"
           "                         TriState makes the data lines inputs), the PCI\n"
           "                         cards and the step that binds one without a driver,\n"
           "                         kernel lockdown, and which port the panel would use\n"
           "      --loopback [PORT]  self-test a port with a loopback plug joining pins\n"
           "                         " + PlugPins() + ";\n"
           "                         PORT is a label such as 0x0378, by default the\n"
           "                         port the panel would use;\n"
           "                         only real ports: PORT 'simulated' tests the\n"
           "                         built-in simulated port instead\n"
           "\n"
           "Signals over time and scripts, on one port:\n"
           "      --record FILE      sample data, status and control as fast as the way to\n"
           "                         the port allows and write every change to FILE: VCD\n"
           "                         (one wire per pin, for PulseView, sigrok-cli and\n"
           "                         GTKWave), CSV if FILE ends in .csv, '-' for standard\n"
           "                         output; until Ctrl+C, SIGTERM or --for; the file is\n"
           "                         complete either way\n"
           "      --watch            print one line per change until Ctrl+C: microseconds\n"
           "                         since start, register, old and new value, each line\n"
           "                         that changed by name, pin and direction\n"
           "      --for DURATION     stop recording or watching after DURATION, such as\n"
           "                         500ms, 10s or 2m\n"
           "      --rate HZ          sample HZ times a second, not as fast as possible\n"
           "      --read             print data, status and control on one line\n"
           "      --write REG=VALUE  write VALUE to REG (data or control), such as\n"
           "                         data=0x41; repeat it to write several in order\n"
           "      --pulse REG=VALUE  write VALUE, wait --width, write back what was there\n"
           "                         and print the width reached\n"
           "      --width DURATION   how long --pulse holds its value, such as 2ms or 500us\n"
           "      --port PORT        the port to work on, a label such as 0x0378 or\n"
           "                         'simulated'; by default the saved choice if it is\n"
           "                         reached, else the lowest port reached\n"
           "\n"
           "--record, --watch and --read never write to any port, and none of these options\n"
           "runs the panel's write test: the port is found without writing. A recording\n"
           "shows every gap in sampling (a wire named gap) and, through ppdev beside the\n"
           "printer driver, lets a waiting print job in and marks that time.\n"
           "\n"
           "Like the panel at start, --ports writes to every candidate port and --loopback\n"
           "to the port it tests; --loopback leaves the registers as it found them.\n"
           "The panel uses the port saved in config.ovm if it answers, else 0x0378 if it\n"
           "answers, else the lowest port that answers (a first start on a card).\n"
           "\n"
           "Exit status: 0 on success; 1 if --ports finds no real port that answers or a\n"
           "--loopback check fails, or a recording cannot be written; 2 for a wrong\n"
           "command line or a port that cannot be reached.\n";
}

std::string VersionText(std::string_view program)
{
    return std::string(program) + " " + res::kVersion + "\n";
}

}  // namespace cli
