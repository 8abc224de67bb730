#include "cli/usage.h"

#include "cli/options.h"
#include "io/register_map.h"
#include "res/version.h"

namespace cli {
namespace {

// "1-13, 2-15, 16-10, 17-11, 14-12"
std::string PlugPins()
{
    std::string pins;
    for (const io::lpt::PlugWire& wire : io::lpt::kLoopbackPlug) {
        if (!pins.empty())
            pins += ", ";
        pins += std::to_string(wire.out);
        pins += '-';
        pins += std::to_string(wire.in);
    }
    return pins;
}

constexpr std::size_t kHelpColumn = 25;
constexpr std::size_t kWidth = 79;

// The words wrapped into lines that start at the help column and end by the width.
std::string Wrapped(std::string_view words, std::size_t column)
{
    std::string text;
    std::size_t at = column;
    while (!words.empty()) {
        const std::size_t space = words.find(' ');
        const std::string_view word = words.substr(0, space);
        words = space == std::string_view::npos ? std::string_view{} : words.substr(space + 1);
        if (at > kHelpColumn && at + 1 + word.size() > kWidth) {
            text += "\n" + std::string(kHelpColumn, ' ');
            at = kHelpColumn;
        } else if (at > kHelpColumn) {
            text += ' ';
            ++at;
        }
        text += word;
        at += word.size();
    }
    return text + "\n";
}

// One entry per option: "  -h, --help" or "      --record FILE", then its help from the column
// on, or from the next line when the name reaches it.
std::string OptionLines()
{
    std::string lines;
    for (const Option& option : Options()) {
        if (!option.heading.empty())
            lines += "\n" + std::string(option.heading) + "\n";
        std::string entry = option.letter != 0 ? std::string("  -") + option.letter + ", " : std::string(6, ' ');
        entry += "--" + std::string(option.name);
        if (!option.valueName.empty())
            entry += " " + std::string(option.valueName);
        std::string help(option.help);
        if (const std::size_t plug = help.find("{plug}"); plug != std::string::npos)
            help.replace(plug, 6, PlugPins());
        if (entry.size() + 2 > kHelpColumn)
            entry += "\n" + std::string(kHelpColumn, ' ');
        else
            entry += std::string(kHelpColumn - entry.size(), ' ');
        lines += entry + Wrapped(help, kHelpColumn);
    }
    return lines;
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
           "\n" +
           OptionLines() +
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
