#include "cli/signal_options.h"

#include "cli/command_line.h"
#include "record/quantities.h"

#include <cstdio>

#include "cli/quote.h"

namespace cli {
namespace {

// 0x41, 65 or 0b01000001; nothing above 255.
std::optional<std::uint8_t> ParseByte(std::string_view text)
{
    unsigned base = 10;
    if (text.size() > 2 && text[0] == '0' && (text[1] == 'x' || text[1] == 'X'))
        base = 16, text.remove_prefix(2);
    else if (text.size() > 2 && text[0] == '0' && (text[1] == 'b' || text[1] == 'B'))
        base = 2, text.remove_prefix(2);
    if (text.empty() || text.size() > 8)
        return std::nullopt;
    unsigned value = 0;
    for (char c : text) {
        unsigned digit = 0;
        if (c >= '0' && c <= '9')
            digit = static_cast<unsigned>(c - '0');
        else if (c >= 'a' && c <= 'f')
            digit = static_cast<unsigned>(c - 'a' + 10);
        else if (c >= 'A' && c <= 'F')
            digit = static_cast<unsigned>(c - 'A' + 10);
        else
            return std::nullopt;
        if (digit >= base)
            return std::nullopt;
        value = value * base + digit;
    }
    if (value > 0xFF)
        return std::nullopt;
    return static_cast<std::uint8_t>(value);
}

std::string RegisterValueProblem(std::string_view text)
{
    if (text.substr(0, text.find('=')) == "status")
        return "the status register cannot be written: " + QuoteArgument(text);
    return QuoteArgument(text) + " is not a register and a byte (such as data=0x41 or control=0x04)";
}

}  // namespace

std::string_view RegisterName(io::lpt::Offset reg)
{
    return reg == io::lpt::kData ? "data" : reg == io::lpt::kStatus ? "status" : "control";
}

std::optional<RegisterValue> ParseRegisterValue(std::string_view text)
{
    const std::size_t equals = text.find('=');
    if (equals == std::string_view::npos)
        return std::nullopt;
    const std::string_view name = text.substr(0, equals);
    RegisterValue result;
    if (name == "data")
        result.reg = io::lpt::kData;
    else if (name == "control")
        result.reg = io::lpt::kControl;
    else
        return std::nullopt;
    const std::optional<std::uint8_t> value = ParseByte(text.substr(equals + 1));
    if (!value)
        return std::nullopt;
    result.value = *value;
    return result;
}

std::string TakeRecordFile(SignalOptions& options, std::string_view value)
{
    if (value.empty())
        return "--record needs a file name, or - for standard output";
    if (!options.recordFile.empty())
        return "more than one file to record to: " + QuoteArgument(value);
    options.recordFile = value;
    return {};
}

std::string TakeDuration(SignalOptions& options, std::string_view value)
{
    const auto duration = record::ParseDuration(value);
    if (!duration)
        return QuoteArgument(value) + " is not a duration (such as 500ms, 10s or 2m)";
    options.duration = duration;
    return {};
}

std::string TakeRate(SignalOptions& options, std::string_view value)
{
    const auto rate = record::ParseRate(value);
    if (!rate)
        return QuoteArgument(value) + " is not a rate in samples per second (such as 1000, 50k or 1M)";
    options.rate = rate;
    return {};
}

std::string TakeWrite(SignalOptions& options, std::string_view value)
{
    const auto write = ParseRegisterValue(value);
    if (!write)
        return RegisterValueProblem(value);
    options.writes.push_back(*write);
    return {};
}

std::string TakePulse(SignalOptions& options, std::string_view value)
{
    const auto pulse = ParseRegisterValue(value);
    if (!pulse)
        return RegisterValueProblem(value);
    if (options.pulse)
        return "more than one pulse given: " + QuoteArgument(value);
    options.pulse = pulse;
    return {};
}

std::string TakeWidth(SignalOptions& options, std::string_view value)
{
    const auto width = record::ParseDuration(value);
    if (!width)
        return QuoteArgument(value) + " is not a duration (such as 2ms, 500us or 1s)";
    options.width = width;
    return {};
}

std::string TakePortLabel(std::optional<std::uint16_t>& port, bool& simulated, std::string_view value)
{
    const bool named = value == kSimulatedPortName;
    const auto label = named ? std::optional<std::uint16_t>(0) : ParsePortLabel(value);
    if (!label)
        return QuoteArgument(value) + " is not a port label (such as 0x0378, or simulated)";
    if (port)
        return "more than one port given: " + QuoteArgument(value);
    port = label;
    simulated = named;
    return {};
}

std::string TakePort(SignalOptions& options, std::string_view value)
{
    return TakePortLabel(options.port, options.simulated, value);
}

}  // namespace cli
