#include "cli/command_line.h"

#include <array>
#include <cstdio>
#include <set>
#include <vector>

namespace cli {
namespace {

struct LongOption {
    std::string_view name;
    Action action;
    bool takesPort;
};

constexpr std::array<LongOption, 4> kLongOptions{{
    {"help", Action::Help, false},
    {"version", Action::Version, false},
    {"ports", Action::Ports, false},
    {"loopback", Action::Loopback, true},
}};

// The argument between quotes, with control characters shown as \xNN, so that the error stays
// one readable line whatever the argument holds.
std::string Quoted(std::string_view text)
{
    std::string quoted = "'";
    for (char c : text) {
        const auto byte = static_cast<unsigned char>(c);
        if (byte < 0x20 || byte == 0x7F) {
            char escape[8];
            std::snprintf(escape, sizeof escape, "\\x%02X", byte);
            quoted += escape;
        } else {
            quoted += c;
        }
    }
    return quoted + "'";
}

// Exact name first, so that a future option whose name is the prefix of another still works.
const LongOption* FindLongOption(std::string_view name, bool& ambiguous)
{
    ambiguous = false;
    const LongOption* found = nullptr;
    for (const LongOption& option : kLongOptions) {
        if (option.name == name)
            return &option;
        if (!name.empty() && option.name.substr(0, name.size()) == name) {
            ambiguous = found != nullptr;
            found = &option;
        }
    }
    return ambiguous ? nullptr : found;
}

class Parser {
public:
    CommandLine Parse(std::span<const std::string_view> args)
    {
        bool optionsEnded = false;
        for (std::string_view arg : args) {
            if (optionsEnded || arg == "-" || arg.empty() || arg[0] != '-')
                m_operands.push_back(arg);
            else if (arg == "--")
                optionsEnded = true;
            else if (arg.substr(0, 2) == "--")
                LongArgument(arg);
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

    void LongArgument(std::string_view arg)
    {
        const std::string_view body = arg.substr(2);
        const std::size_t equals = body.find('=');
        const std::string_view name = body.substr(0, equals);
        bool ambiguous = false;
        const LongOption* option = FindLongOption(name, ambiguous);
        if (option == nullptr) {
            // The name alone, as the user typed it; all of "--=x", which has none.
            const std::string_view shown = name.empty() ? arg : arg.substr(0, 2 + name.size());
            Fail((ambiguous ? "ambiguous option " : "unknown option ") + Quoted(shown));
            return;
        }
        Seen(option->action);
        if (equals == std::string_view::npos)
            return;
        const std::string_view value = body.substr(equals + 1);
        if (!option->takesPort)
            Fail("option '--" + std::string(option->name) + "' takes no value");
        else
            Port(value);
    }

    void ShortGroup(std::string_view arg)
    {
        for (char c : arg.substr(1)) {
            if (c == 'h')
                Seen(Action::Help);
            else if (c == 'V')
                Seen(Action::Version);
            else
                Fail("unknown option " + Quoted(std::string("-") + c));
        }
    }

    void Seen(Action action) { m_seen.insert(action); }

    bool WasSeen(Action action) const { return m_seen.count(action) != 0; }

    void Port(std::string_view text)
    {
        const bool simulated = text == kSimulatedPortName;
        const auto port = simulated ? std::optional<std::uint16_t>(0) : ParsePortLabel(text);
        if (!port)
            Fail(Quoted(text) + " is not a port label (such as 0x0378, or simulated)");
        else if (m_port)
            Fail("more than one port given: " + Quoted(text));
        else
            m_port = port, m_simulated = simulated;
    }

    CommandLine Result()
    {
        // The one operand is the port of --loopback; anywhere else an operand is a mistake.
        for (std::string_view operand : m_operands) {
            if (WasSeen(Action::Loopback) && !m_port)
                Port(operand);
            else
                Fail("stray argument " + Quoted(operand));
        }
        if (WasSeen(Action::Ports) && WasSeen(Action::Loopback) && !WasSeen(Action::Help) &&
            !WasSeen(Action::Version))
            Fail("--ports and --loopback cannot be used together");

        CommandLine command;
        if (!m_error.empty()) {
            command.action = Action::Error;
            command.error = m_error;
            return command;
        }
        for (Action action : {Action::Help, Action::Version, Action::Ports, Action::Loopback}) {
            if (WasSeen(action)) {
                command.action = action;
                break;
            }
        }
        if (command.action == Action::Loopback && m_simulated)
            command.simulated = true;
        else if (command.action == Action::Loopback)
            command.port = m_port;
        return command;
    }

    std::set<Action> m_seen;
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
