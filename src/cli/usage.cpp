#include "cli/usage.h"

#include "res/version.h"

namespace cli {

std::string UsageText(std::string_view program)
{
    const std::string name(program);
    const std::string panel = program == "vellix-term" ? "in the terminal"
                                                         : "in a window, or in the\nterminal when there is no display";
    return "Usage: " + name + " [OPTION]\n"
           "Without an option, " + name + " opens the register panel " + panel + ".\n"
           "\n"
           "  -h, --help             show this help and exit\n"
           "  -V, --version          show the name and version and exit\n"
           "      --ports            list the candidate ports, how each is reached and\n"
           "                         whether it answers, each port's modes (whether\n"
           "                         TriState makes the data lines inputs), the PCI\n"
           "                         cards and the step that binds one without a driver,\n"
           "                         kernel lockdown, and which port the panel would use\n"
           "      --loopback [PORT]  self-test a port with a loopback plug (pins 1-13,\n"
           "                         2-15, 16-10, 17-11, 14-12); PORT is a label such as\n"
           "                         0x0378, by default the port the panel would use;\n"
           "                         only real ports: PORT 'simulated' tests the\n"
           "                         built-in simulated port instead\n"
           "\n"
           "Like the panel at start, --ports writes to every candidate port and --loopback\n"
           "to the port it tests; --loopback leaves the registers as it found them.\n"
           "The panel uses the port saved in config.ovm if it answers, else 0x0378 if it\n"
           "answers, else the lowest port that answers (a first start on a card).\n"
           "\n"
           "Exit status: 0 on success; 1 if --ports finds no real port that answers or a\n"
           "--loopback check fails; 2 for a wrong command line or a port that cannot be\n"
           "reached.\n";
}

std::string VersionText(std::string_view program)
{
    return std::string(program) + " " + res::kVersion + "\n";
}

}  // namespace cli
