// Reading the command line: every option, their combinations, and every way to get it wrong.
#include "cli/command_line.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace {

using cli::Action;

struct Case {
    std::vector<std::string_view> args;
    Action action;
    std::optional<std::uint16_t> port = std::nullopt;
    std::string error = "";  // the error in full, for Action::Error
};

std::string Show(const std::vector<std::string_view>& args)
{
    std::string text;
    for (std::string_view arg : args)
        text += " [" + std::string(arg) + "]";
    return text.empty() ? "(none)" : text;
}

TEST(CommandLine, EachCommandLineMeansWhatItSays)
{
    const Case cases[] = {
        {{}, Action::Panel},
        {{"--help"}, Action::Help},
        {{"-h"}, Action::Help},
        {{"--version"}, Action::Version},
        {{"-V"}, Action::Version},
        {{"--ports"}, Action::Ports},
        {{"--loopback"}, Action::Loopback},
        {{"--loopback", "0x0378"}, Action::Loopback, 0x378},
        {{"--loopback=0x0378"}, Action::Loopback, 0x378},
        {{"--loopback=0xD010"}, Action::Loopback, 0xD010},
        {{"--loopback", "0xd010"}, Action::Loopback, 0xD010},
        {{"--loopback", "0X3bc"}, Action::Loopback, 0x3BC},
        {{"0x0278", "--loopback"}, Action::Loopback, 0x278},      // operands and options in any order
        {{"--loopback", "--", "0x0278"}, Action::Loopback, 0x278},
        // Unambiguous abbreviations, as GNU getopt takes them.
        {{"--he"}, Action::Help},
        {{"--vers"}, Action::Version},
        {{"--p"}, Action::Ports},
        {{"--loop=0x0378"}, Action::Loopback, 0x378},
        // Help and version win over the actions, help over version.
        {{"-hV"}, Action::Help},
        {{"-Vh"}, Action::Help},
        {{"--version", "--help"}, Action::Help},
        {{"--ports", "--version"}, Action::Version},
        {{"--loopback", "0x0378", "--help"}, Action::Help},
        {{"--ports", "--loopback", "--help"}, Action::Help},
        // Repeating an option changes nothing.
        {{"--ports", "--ports"}, Action::Ports},
        {{"--loopback", "--loopback=0x0378"}, Action::Loopback, 0x378},
        // "--" ends the options: what follows is an operand, even if it looks like an option.
        {{"--"}, Action::Panel},
        {{"--ports", "--"}, Action::Ports},
    };
    for (const Case& c : cases) {
        const cli::CommandLine command = cli::ParseCommandLine(c.args);
        EXPECT_EQ(command.action, c.action) << Show(c.args) << ": " << command.error;
        EXPECT_EQ(command.port, c.port) << Show(c.args);
        EXPECT_EQ(command.error, "") << Show(c.args);
    }
}

TEST(CommandLine, AWrongCommandLineNamesWhatIsWrong)
{
    const Case cases[] = {
        {{"--bogus"}, Action::Error, {}, "unknown option '--bogus'"},
        {{"-x"}, Action::Error, {}, "unknown option '-x'"},
        {{"-hx"}, Action::Error, {}, "unknown option '-x'"},
        {{"-v"}, Action::Error, {}, "unknown option '-v'"},  // the short version option is -V
        {{"--HELP"}, Action::Error, {}, "unknown option '--HELP'"},
        {{"--bogus=1"}, Action::Error, {}, "unknown option '--bogus'"},
        {{"--=0x0378"}, Action::Error, {}, "unknown option '--=0x0378'"},
        {{"---help"}, Action::Error, {}, "unknown option '---help'"},
        {{"--helpme"}, Action::Error, {}, "unknown option '--helpme'"},
        {{"--help=yes"}, Action::Error, {}, "option '--help' takes no value"},
        {{"--ports=0x0378"}, Action::Error, {}, "option '--ports' takes no value"},
        {{"--version="}, Action::Error, {}, "option '--version' takes no value"},
        // Stray arguments: an operand is only ever the port of --loopback.
        {{"foo"}, Action::Error, {}, "stray argument 'foo'"},
        {{"0x0378"}, Action::Error, {}, "stray argument '0x0378'"},
        {{"-"}, Action::Error, {}, "stray argument '-'"},
        {{""}, Action::Error, {}, "stray argument ''"},
        {{"--", "--help"}, Action::Error, {}, "stray argument '--help'"},
        {{"--ports", "0x0378"}, Action::Error, {}, "stray argument '0x0378'"},
        {{"--loopback", "0x0378", "0x0278"}, Action::Error, {}, "stray argument '0x0278'"},
        {{"--loopback=0x0378", "0x0278"}, Action::Error, {}, "stray argument '0x0278'"},
        {{"--loopback=0x0378", "--loopback=0x0278"}, Action::Error, {}, "more than one port given: '0x0278'"},
        // Port labels that are not labels.
        {{"--loopback", "378"}, Action::Error, {}, "'378' is not a port label (such as 0x0378, or simulated)"},
        {{"--loopback", "888"}, Action::Error, {}, "'888' is not a port label (such as 0x0378, or simulated)"},
        {{"--loopback", "0x"}, Action::Error, {}, "'0x' is not a port label (such as 0x0378, or simulated)"},
        {{"--loopback", "0x0378 "}, Action::Error, {}, "'0x0378 ' is not a port label (such as 0x0378, or simulated)"},
        {{"--loopback", " 0x0378"}, Action::Error, {}, "' 0x0378' is not a port label (such as 0x0378, or simulated)"},
        {{"--loopback", "0x10000"}, Action::Error, {}, "'0x10000' is not a port label (such as 0x0378, or simulated)"},
        {{"--loopback", "0x37G"}, Action::Error, {}, "'0x37G' is not a port label (such as 0x0378, or simulated)"},
        {{"--loopback", "+0x378"}, Action::Error, {}, "'+0x378' is not a port label (such as 0x0378, or simulated)"},
        {{"--loopback", "-"}, Action::Error, {}, "'-' is not a port label (such as 0x0378, or simulated)"},
        {{"--loopback="}, Action::Error, {}, "'' is not a port label (such as 0x0378, or simulated)"},
        {{"--loopback", "0x03\n78"}, Action::Error, {}, "'0x03\\x0A78' is not a port label (such as 0x0378, or simulated)"},
        // An option in place of the port is an option: the port is optional.
        {{"--loopback", "--bogus"}, Action::Error, {}, "unknown option '--bogus'"},
        // Two actions at once.
        {{"--ports", "--loopback"}, Action::Error, {}, "--ports and --loopback cannot be used together"},
        // Any error wins, over help too, and the first one is named.
        {{"--help", "--bogus"}, Action::Error, {}, "unknown option '--bogus'"},
        {{"--bogus", "--help"}, Action::Error, {}, "unknown option '--bogus'"},
        {{"--version", "stray"}, Action::Error, {}, "stray argument 'stray'"},
        {{"--first", "--second"}, Action::Error, {}, "unknown option '--first'"},
        {{"--bell\a"}, Action::Error, {}, "unknown option '--bell\\x07'"},
    };
    for (const Case& c : cases) {
        const cli::CommandLine command = cli::ParseCommandLine(c.args);
        EXPECT_EQ(command.action, Action::Error) << Show(c.args);
        EXPECT_EQ(command.error, c.error) << Show(c.args);
        EXPECT_EQ(command.port, std::nullopt) << Show(c.args);
    }
}

TEST(CommandLine, ReadsArgvAfterTheProgramName)
{
    const char* const argv[] = {"vellix", "--loopback", "0x0278", nullptr};
    const cli::CommandLine command = cli::ParseCommandLine(3, argv);
    EXPECT_EQ(command.action, Action::Loopback);
    EXPECT_EQ(command.port, 0x278);

    const char* const alone[] = {"vellix", nullptr};
    EXPECT_EQ(cli::ParseCommandLine(1, alone).action, Action::Panel);
}

TEST(PortLabel, TakesZeroXAndOneToFourHexDigits)
{
    const struct {
        std::string_view text;
        std::optional<std::uint16_t> port;
    } cases[] = {
        {"0x0378", 0x378}, {"0x378", 0x378}, {"0x03BC", 0x3BC}, {"0x03bc", 0x3BC}, {"0XD010", 0xD010},
        {"0x1", 0x1},      {"0xFFFF", 0xFFFF}, {"0x0000", 0x0},
        {"", std::nullopt}, {"0x", std::nullopt}, {"0x00000", std::nullopt}, {"x0378", std::nullopt},
        {"00378", std::nullopt}, {"0x-378", std::nullopt}, {"0x 378", std::nullopt}, {"0b0101", std::nullopt},
    };
    for (const auto& c : cases)
        EXPECT_EQ(cli::ParsePortLabel(c.text), c.port) << "'" << c.text << "'";
}

}  // namespace
