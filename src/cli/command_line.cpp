#include "cli/command_line.h"

#include <array>
#include <cstdio>
#include <set>
#include <vector>

#include "cli/quote.h"

namespace cli {
namespace {

// The actions that do something, in the order an error names two of them.
constexpr Action kDoing[] = {Action::Ports, Action::Loopback, Action::Record, Action::Watch,
                             Action::Read,  Action::Write,    Action::Pulse};

std::string_view NameOf(Action action)
{
    for (const Option& option : Options())
        if (option.action == action)
            return option.name;
    return {};
}

// Exact name first, so that a future option whose name is the prefix of another still works.
const Option* FindLongOption(std::string_view name, bool& ambiguous)
{
    ambiguous = false;
    const Option* found = nullptr;
    for (const Option& option : Options()) {
        if (option.name == name)
            return &option;
        if (!name.empty() && option.name.substr(0, name.size()) == name) {
            ambiguous = found != nullptr;
            found = &option;
        }
    }
    return ambiguous ? nullptr : found;
}

const Option* FindLetter(char letter)
{
    for (const Option& option : Options())
        if (option.letter != 0 && option.letter == letter)
            return &option;
    return nullptr;
}

class Parser {
public:
    CommandLine Parse(std::span<const std::string_view> args)
    {
        bool optionsEnded = false;
        for (std::size_t i = 0; i < args.size(); ++i) {
            const std::string_view arg = args[i];
            if (optionsEnded || arg == "-" || arg.empty() || arg[0] != '-')
                m_operands.push_back(arg);
            else if (arg == "--")
                optionsEnded = true;
            else if (arg.substr(0, 2) == "--")
                i += LongArgument(arg, i + 1 < args.size() ? &args[i + 1] : nullptr) ? 1 : 0;
            else
                ShortGroup(arg);
        }
        return Result();
    }

private:
    void Fail(std::string error)
    {
        if (m_error.empty())
            m_error = std::move(error);
    }

    // True if the option took next as its value.
    bool LongArgument(std::string_view arg, const std::string_view* next)
    {
        const std::string_view body = arg.substr(2);
        const std::size_t equals = body.find('=');
        const std::string_view name = body.substr(0, equals);
        bool ambiguous = false;
        const Option* option = FindLongOption(name, ambiguous);
        if (option == nullptr) {
            // The name alone, as the user typed it; all of "--=x", which has none.
            const std::string_view shown = name.empty() ? arg : arg.substr(0, 2 + name.size());
            Fail((ambiguous ? "ambiguous option " : "unknown option ") + QuoteArgument(shown));
            return false;
        }
        Seen(option->action);
        m_given.insert(option->name);
        if (option->value == Value::Required) {
            if (equals == std::string_view::npos && next == nullptr) {
                Fail("option '--" + std::string(option->name) + "' needs a value");
                return false;
            }
            const std::string_view value = equals != std::string_view::npos ? body.substr(equals + 1) : *next;
            if (std::string problem = option->take(m_signals, value); !problem.empty())
                Fail(std::move(problem));
            return equals == std::string_view::npos;
        }
        if (equals == std::string_view::npos)
            return false;
        const std::string_view value = body.substr(equals + 1);
        if (option->value != Value::Port)
            Fail("option '--" + std::string(option->name) + "' takes no value");
        else
            Port(value);
        return false;
    }

    void ShortGroup(std::string_view arg)
    {
        // Only options without a value have a letter, so a group is letters alone.
        for (char c : arg.substr(1)) {
            const Option* option = FindLetter(c);
            if (option == nullptr) {
                Fail("unknown option " + QuoteArgument(std::string("-") + c));
                continue;
            }
            Seen(option->action);
            m_given.insert(option->name);
        }
    }

    void Seen(Action action) { m_seen.insert(action); }

    bool WasSeen(Action action) const { return m_seen.count(action) != 0; }

    void Port(std::string_view text)
    {
        if (std::string problem = TakePortLabel(m_port, m_simulated, text); !problem.empty())
            Fail(std::move(problem));
    }

    CommandLine Result()
    {
        // The one operand is the port of --loopback; anywhere else an operand is a mistake.
        for (std::string_view operand : m_operands) {
            if (WasSeen(Action::Loopback) && !m_port)
                Port(operand);
            else
                Fail("stray argument " + QuoteArgument(operand));
        }
        if (!WasSeen(Action::Help) && !WasSeen(Action::Version))
            CheckCombination();

        CommandLine command;
        if (!m_error.empty()) {
            command.action = Action::Error;
            command.error = m_error;
            return command;
        }
        for (Action action : {Action::Help, Action::Version, Action::Ports, Action::Loopback, Action::Record,
                              Action::Watch, Action::Read, Action::Write, Action::Pulse}) {
            if (WasSeen(action)) {
                command.action = action;
                break;
            }
        }
        if (command.action == Action::Loopback && m_simulated)
            command.simulated = true;
        else if (command.action == Action::Loopback)
            command.port = m_port;
        if (IsSignalAction(command.action))
            command.signals = std::move(m_signals);
        return command;
    }

    // One action at a time, and each option that only gives a value with an action it fits.
    void CheckCombination()
    {
        std::vector<Action> doing;
        for (Action action : kDoing)
            if (WasSeen(action))
                doing.push_back(action);
        if (doing.size() > 1) {
            Fail("--" + std::string(NameOf(doing[0])) + " and --" + std::string(NameOf(doing[1])) +
                 " cannot be used together");
            return;
        }
        const Action action = doing.empty() ? Action::Panel : doing[0];
        const bool samples = action == Action::Record || action == Action::Watch;
        for (std::string_view name : {"for", "rate"})
            if (m_given.count(name) != 0 && !samples)
                Fail("--" + std::string(name) + " goes with --record or --watch");
        if (m_given.count("width") != 0 && action != Action::Pulse)
            Fail("--width goes with --pulse");
        if (action == Action::Pulse && m_given.count("width") == 0)
            Fail("--pulse needs --width, such as --width 2ms");
        if (m_given.count("port") != 0 && !IsSignalAction(action))
            Fail("--port goes with --record, --watch, --read, --write or --pulse");
    }

    std::set<Action> m_seen;
    std::set<std::string_view> m_given;  // the long options given, by name
    SignalOptions m_signals;
    std::vector<std::string_view> m_operands;
    std::optional<std::uint16_t> m_port;
    bool m_simulated = false;
    std::string m_error;
};

int HexDigit(char c)
{
    if (c >= '0' && c <= '9')
        return c - '0';
    if (c >= 'a' && c <= 'f')
        return c - 'a' + 10;
    if (c >= 'A' && c <= 'F')
        return c - 'A' + 10;
    return -1;
}

}  // namespace

CommandLine ParseCommandLine(std::span<const std::string_view> args)
{
    return Parser().Parse(args);
}

CommandLine ParseCommandLine(int argc, const char* const* argv)
{
    std::vector<std::string_view> args;
    for (int i = 1; i < argc; ++i)
        args.emplace_back(argv[i]);
    return ParseCommandLine(args);
}

std::optional<std::uint16_t> ParsePortLabel(std::string_view text)
{
    if (text.size() < 3 || text.size() > 6 || text[0] != '0' || (text[1] != 'x' && text[1] != 'X'))
        return std::nullopt;
    unsigned value = 0;
    for (char c : text.substr(2)) {
        const int digit = HexDigit(c);
        if (digit < 0)
            return std::nullopt;
        value = value * 16 + static_cast<unsigned>(digit);
    }
    return static_cast<std::uint16_t>(value);
}

}  // namespace cli
