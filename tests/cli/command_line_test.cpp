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
        {{"--rec", "a.vcd"}, Action::Record},
        {{"--read"}, Action::Read},
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
        {{"--p"}, Action::Error, {}, "ambiguous option '--p'"},  // --ports, --pulse, --port
        {{"--por"}, Action::Error, {}, "ambiguous option '--por'"},
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

// The options that read, write and record the registers, and the values they take.
TEST(SignalOptions, EachCommandLineTakesItsValues)
{
    using namespace std::chrono_literals;
    using io::lpt::kControl;
    using io::lpt::kData;
    struct SignalCase {
        std::vector<std::string_view> args;
        Action action;
        cli::SignalOptions signals;
    };
    const auto With = [](auto change) {
        cli::SignalOptions options;
        change(options);
        return options;
    };
    const SignalCase cases[] = {
        {{"--record", "a.vcd"}, Action::Record, With([](auto& o) { o.recordFile = "a.vcd"; })},
        {{"--record=a.csv", "--for", "500ms"}, Action::Record,
         With([](auto& o) { o.recordFile = "a.csv", o.duration = 500ms; })},
        {{"--for=2m", "--record", "-", "--rate", "50k"}, Action::Record,
         With([](auto& o) { o.recordFile = "-", o.duration = 2min, o.rate = 50e3; })},
        {{"--record", "--watch"}, Action::Record, With([](auto& o) { o.recordFile = "--watch"; })},
        {{"--watch"}, Action::Watch, {}},
        {{"--watch", "--for", "10s", "--port", "0xD010"}, Action::Watch,
         With([](auto& o) { o.duration = 10s, o.port = 0xD010; })},
        {{"--read", "--port=simulated"}, Action::Read, With([](auto& o) { o.port = 0, o.simulated = true; })},
        {{"--write", "data=0x41", "--write=control=4", "--write", "data=0b1"}, Action::Write,
         With([](auto& o) { o.writes = {{kData, 0x41}, {kControl, 0x04}, {kData, 0x01}}; })},
        {{"--pulse", "control=0x0D", "--width", "2ms"}, Action::Pulse,
         With([](auto& o) { o.pulse = cli::RegisterValue{kControl, 0x0D}, o.width = 2ms; })},
        {{"--width=1.5us", "--pulse=data=255"}, Action::Pulse,
         With([](auto& o) { o.pulse = cli::RegisterValue{kData, 0xFF}, o.width = 1500ns; })},
    };
    for (const SignalCase& c : cases) {
        const cli::CommandLine command = cli::ParseCommandLine(c.args);
        EXPECT_EQ(command.action, c.action) << Show(c.args) << ": " << command.error;
        EXPECT_EQ(command.signals.recordFile, c.signals.recordFile) << Show(c.args);
        EXPECT_EQ(command.signals.duration, c.signals.duration) << Show(c.args);
        EXPECT_EQ(command.signals.rate, c.signals.rate) << Show(c.args);
        EXPECT_EQ(command.signals.writes, c.signals.writes) << Show(c.args);
        EXPECT_EQ(command.signals.pulse, c.signals.pulse) << Show(c.args);
        EXPECT_EQ(command.signals.width, c.signals.width) << Show(c.args);
        EXPECT_EQ(command.signals.port, c.signals.port) << Show(c.args);
        EXPECT_EQ(command.signals.simulated, c.signals.simulated) << Show(c.args);
    }
}

TEST(SignalOptions, AWrongValueOrCombinationIsNamed)
{
    const Case cases[] = {
        {{"--record"}, Action::Error, {}, "option '--record' needs a value"},
        {{"--record="}, Action::Error, {}, "--record needs a file name, or - for standard output"},
        {{"--record", "a", "--record", "b"}, Action::Error, {}, "more than one file to record to: 'b'"},
        {{"--record", "a", "--for", "10"}, Action::Error, {}, "'10' is not a duration (such as 500ms, 10s or 2m)"},
        {{"--record", "a", "--for", "0s"}, Action::Error, {}, "'0s' is not a duration (such as 500ms, 10s or 2m)"},
        {{"--record", "a", "--rate", "fast"}, Action::Error, {},
         "'fast' is not a rate in samples per second (such as 1000, 50k or 1M)"},
        {{"--write", "data=256"}, Action::Error, {}, "'data=256' is not a register and a byte (such as data=0x41 or control=0x04)"},
        {{"--write", "data"}, Action::Error, {}, "'data' is not a register and a byte (such as data=0x41 or control=0x04)"},
        {{"--write", "Data=1"}, Action::Error, {}, "'Data=1' is not a register and a byte (such as data=0x41 or control=0x04)"},
        {{"--write", "data=0x"}, Action::Error, {}, "'data=0x' is not a register and a byte (such as data=0x41 or control=0x04)"},
        {{"--write", "data=0b102"}, Action::Error, {}, "'data=0b102' is not a register and a byte (such as data=0x41 or control=0x04)"},
        {{"--write", "status=0x80"}, Action::Error, {}, "the status register cannot be written: 'status=0x80'"},
        {{"--pulse", "data=1"}, Action::Error, {}, "--pulse needs --width, such as --width 2ms"},
        {{"--pulse", "data=1", "--pulse", "data=2", "--width", "1ms"}, Action::Error, {}, "more than one pulse given: 'data=2'"},
        {{"--pulse", "data=1", "--width", "wide"}, Action::Error, {}, "'wide' is not a duration (such as 2ms, 500us or 1s)"},
        {{"--read", "--port", "378"}, Action::Error, {}, "'378' is not a port label (such as 0x0378, or simulated)"},
        {{"--read", "--port", "0x378", "--port", "0x278"}, Action::Error, {}, "more than one port given: '0x278'"},
        // Values without the action they belong to.
        {{"--for", "1s"}, Action::Error, {}, "--for goes with --record or --watch"},
        {{"--read", "--rate", "1k"}, Action::Error, {}, "--rate goes with --record or --watch"},
        {{"--write", "data=1", "--width", "1ms"}, Action::Error, {}, "--width goes with --pulse"},
        {{"--port", "0x0378"}, Action::Error, {}, "--port goes with --record, --watch, --read, --write or --pulse"},
        {{"--loopback", "--port", "0x0378"}, Action::Error, {}, "--port goes with --record, --watch, --read, --write or --pulse"},
        // One action at a time.
        {{"--record", "a", "--watch"}, Action::Error, {}, "--record and --watch cannot be used together"},
        {{"--read", "--write", "data=1"}, Action::Error, {}, "--read and --write cannot be used together"},
        {{"--pulse", "data=1", "--width", "1ms", "--ports"}, Action::Error, {}, "--ports and --pulse cannot be used together"},
        // The first error is named, and a bad value wins over help.
        {{"--write", "x=1", "--bogus"}, Action::Error, {}, "'x=1' is not a register and a byte (such as data=0x41 or control=0x04)"},
        {{"--help", "--for", "1y"}, Action::Error, {}, "'1y' is not a duration (such as 500ms, 10s or 2m)"},
    };
    for (const Case& c : cases) {
        const cli::CommandLine command = cli::ParseCommandLine(c.args);
        EXPECT_EQ(command.action, Action::Error) << Show(c.args);
        EXPECT_EQ(command.error, c.error) << Show(c.args);
    }
    // Help still wins over a combination that would be wrong.
    EXPECT_EQ(cli::ParseCommandLine(std::vector<std::string_view>{"--read", "--watch", "--help"}).action, Action::Help);
}

}  // namespace
