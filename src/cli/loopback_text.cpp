#include "cli/loopback_text.h"

#include <array>
#include <cstdio>

namespace cli {
namespace {

struct Input {
    std::uint8_t bit;
    const char* name;
    bool inverted;  // a high pin reads as a clear bit
};

constexpr std::array<Input, 5> kInputs{{
    {0x08, "Error (pin 15)", false},
    {0x10, "Select (pin 13)", false},
    {0x20, "PEnd (pin 12)", false},
    {0x40, "Ack (pin 10)", false},
    {0x80, "Busy (pin 11)", true},
}};

std::string Hex(unsigned byte)
{
    char text[8];
    std::snprintf(text, sizeof text, "0x%02X", byte);
    return text;
}

const char* Level(bool high) { return high ? "high" : "low"; }

// Which inputs differ, as pin levels, since that is what a wire carries.
std::string WrongInputs(std::uint8_t expected, std::uint8_t seen)
{
    std::string text;
    for (const Input& input : kInputs) {
        if (((expected ^ seen) & input.bit) == 0)
            continue;
        const bool seenHigh = ((seen & input.bit) != 0) != input.inverted;
        text += text.empty() ? "" : ", ";
        text += std::string(input.name) + " " + Level(seenHigh) + " instead of " + Level(!seenHigh);
    }
    return text;
}

std::string WrongBits(std::uint8_t expected, std::uint8_t seen)
{
    std::string text;
    for (int bit = 7; bit >= 0; --bit) {
        const unsigned mask = 1u << bit;
        if (((expected ^ seen) & mask) == 0)
            continue;
        text += text.empty() ? "" : ", ";
        text += "D" + std::to_string(bit) + ((seen & mask) != 0 ? " set" : " clear");
    }
    return text;
}

}  // namespace

std::string FormatCheck(const LoopbackCheck& check)
{
    char head[96];
    const char* verdict = check.kind == LoopbackCheck::Kind::Direction ? "INFO" : check.passed ? "PASS" : "FAIL";
    std::snprintf(head, sizeof head, "%-4s  %-34s  %-16s", verdict, check.lines.c_str(), check.step.c_str());

    std::string line = head;
    switch (check.kind) {
    case LoopbackCheck::Kind::Line:
        line += "status " + Hex(check.expected) + " expected, " + Hex(check.seen) + " seen";
        if (!check.passed)
            line += ": " + WrongInputs(check.expected, check.seen);
        break;
    case LoopbackCheck::Kind::Data:
        line += Hex(check.expected) + " expected, " + Hex(check.seen) + " seen";
        if (!check.passed)
            line += ": " + WrongBits(check.expected, check.seen);
        break;
    case LoopbackCheck::Kind::Direction:
        line += check.bidirectional ? "data lines become inputs: bidirectional port"
                                    : "data lines stay outputs: not bidirectional";
        line += " (wrote " + Hex(check.expected) + ", read " + Hex(check.seen) + ")";
        break;
    }
    // The padding of an empty step leaves blanks at the end of the line.
    while (!line.empty() && line.back() == ' ')
        line.pop_back();
    return line;
}

std::string FormatSummary(const LoopbackResult& result)
{
    std::string text;
    if (result.controlReadsBack)
        text = "Registers left as found: data " + Hex(result.foundData) + ", control " + Hex(result.foundControl) + ".\n";
    else
        text = "Data register left as found (" + Hex(result.foundData) +
               "). The control register does not read back what is written, so what it held is "
               "unknown: it was left at " + Hex(result.restoredControl) + ", an idle printer port.\n";
    int counted = 0;
    int failed = 0;
    for (const LoopbackCheck& check : result.checks) {
        if (check.kind == LoopbackCheck::Kind::Direction)
            continue;
        ++counted;
        failed += check.passed ? 0 : 1;
    }
    if (failed == 0)
        text += "All " + std::to_string(counted) + " checks passed.\n";
    else
        text += std::to_string(failed) + " of " + std::to_string(counted) + " checks failed.\n";
    return text;
}

}  // namespace cli
