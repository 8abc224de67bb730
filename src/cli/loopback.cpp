#include "cli/loopback.h"

#include <array>
#include <cstdio>

#include "io/register_map.h"
#include "port/panel_choice.h"
#include "port/portio.h"

namespace cli {
namespace {

using namespace io::lpt;
using port::AnswersDetectionTest;
using ::ReadPortByte;
using ::WritePortByte;
// Bits 6 and 7 are not implemented and read as 1; they are never written as 1.
constexpr std::uint8_t kControlImplemented = static_cast<std::uint8_t>(~kControlUnused);

// Every output pin low: data 0x00, and the inverted control bits set. The test starts from here
// and comes back here after each line.
constexpr std::uint8_t kRestData = 0x00;
constexpr std::uint8_t kRestControl = [] {
    std::uint8_t control = 0;
    for (const Line& line : kLines)
        if (line.reg == kControl && line.inverted)
            control |= line.bit;
    return control;
}();

// "Strobe (pin 1) -> Select (pin 13)"
std::string WireName(const PlugWire& wire)
{
    const Line& out = LineAtPin(wire.out);
    const Line& in = LineAtPin(wire.in);
    return std::string(out.name) + " (pin " + std::to_string(out.pin) + ") -> " + std::string(in.name) + " (pin " +
           std::to_string(in.pin) + ")";
}

std::uint16_t Status(std::uint16_t base) { return static_cast<std::uint16_t>(base + 1); }
std::uint16_t Control(std::uint16_t base) { return static_cast<std::uint16_t>(base + 2); }

std::uint8_t ReadByte(std::uint16_t port) { return static_cast<std::uint8_t>(ReadPortByte(port)); }

std::uint8_t WithBit(std::uint8_t byte, std::uint8_t bit, bool set)
{
    return static_cast<std::uint8_t>(set ? byte | bit : byte & ~bit);
}

// Drives one wire's output pin to a level with every other output at rest and checks the inputs:
// the joined one must show the level, the others must read as they did at rest.
LoopbackCheck DriveLine(std::uint16_t base, const PlugWire& wire, bool high, std::uint8_t restStatus)
{
    const Line& out = LineAtPin(wire.out);
    const Line& in = LineAtPin(wire.in);
    std::uint8_t data = kRestData;
    std::uint8_t control = kRestControl;
    const bool bitSet = high != out.inverted;
    if (out.reg == kData)
        data = WithBit(data, out.bit, bitSet);
    else
        control = WithBit(control, out.bit, bitSet);
    WritePortByte(base, data);
    WritePortByte(Control(base), control);

    const std::uint8_t expected = WithBit(restStatus, in.bit, high != in.inverted);
    const std::uint8_t seen = ReadByte(Status(base)) & kStatusInputs;
    return {LoopbackCheck::Kind::Line, seen == expected, WireName(wire), high ? "high" : "low", expected, seen};
}

LoopbackCheck ReadBack(std::uint16_t base, std::uint8_t pattern, std::string step)
{
    WritePortByte(base, pattern);
    const std::uint8_t seen = ReadByte(base);
    return {LoopbackCheck::Kind::Data, seen == pattern, "D7..D0 (pins 9..2)", std::move(step), pattern, seen};
}

std::string Hex(std::uint8_t byte)
{
    char text[8];
    std::snprintf(text, sizeof text, "0x%02X", static_cast<unsigned>(byte));
    return text;
}

// With the direction bit set, a port whose data lines turned into inputs no longer reads back
// what is written; one that ignores the bit reads back both patterns.
LoopbackCheck Direction(std::uint16_t base)
{
    WritePortByte(Control(base), kRestControl | kDirection);
    WritePortByte(base, 0x55);
    const bool first = ReadByte(base) == 0x55;
    WritePortByte(base, 0xAA);
    const std::uint8_t seen = ReadByte(base);
    WritePortByte(Control(base), kRestControl);
    LoopbackCheck check{LoopbackCheck::Kind::Direction, true, "TriState (control bit 5)", "", 0xAA, seen};
    check.bidirectional = !(first && seen == 0xAA);
    return check;
}

}  // namespace

bool LoopbackResult::AllPassed() const
{
    for (const LoopbackCheck& check : checks)
        if (!check.passed)
            return false;
    return true;
}

SavedRegisters SaveRegisters(std::uint16_t base)
{
    const std::uint8_t data = ReadByte(base);
    const std::uint8_t control = ReadByte(Control(base)) & kControlImplemented;
    return {data, control};
}

void RestoreRegisters(std::uint16_t base, const SavedRegisters& saved)
{
    WritePortByte(base, saved.data);
    WritePortByte(Control(base), saved.control);
}

bool AnswersDetectionTestKeepingRegisters(std::uint16_t base)
{
    const SavedRegisters found = SaveRegisters(base);
    const bool answers = AnswersDetectionTest(base);
    // The test wrote 0x00 to the control register.
    const bool controlReadsBack = (ReadByte(Control(base)) & kControlLines) == 0x00;
    RestoreRegisters(base, {found.data, controlReadsBack ? found.control : kIdleControl});
    return answers;
}

LoopbackResult RunLoopbackTest(std::uint16_t base)
{
    LoopbackResult result;
    result.base = base;
    const SavedRegisters found = SaveRegisters(base);
    result.foundData = found.data;
    result.foundControl = found.control;

    WritePortByte(base, kRestData);
    WritePortByte(Control(base), kRestControl);
    result.controlReadsBack = (ReadByte(Control(base)) & kControlLines) == kRestControl;
    const std::uint8_t restStatus = ReadByte(Status(base)) & kStatusInputs;

    for (const PlugWire& wire : kLoopbackPlug) {
        result.checks.push_back(DriveLine(base, wire, true, restStatus));
        result.checks.push_back(DriveLine(base, wire, false, restStatus));
    }

    for (std::uint8_t pattern : {0x00, 0xFF, 0x55, 0xAA})
        result.checks.push_back(ReadBack(base, pattern, Hex(pattern)));
    for (int bit = 0; bit < 8; ++bit)
        result.checks.push_back(
            ReadBack(base, static_cast<std::uint8_t>(1u << bit), "walking one D" + std::to_string(bit)));

    result.checks.push_back(Direction(base));
    result.restoredControl = result.controlReadsBack ? found.control : kIdleControl;
    RestoreRegisters(base, {found.data, result.restoredControl});
    return result;
}

}  // namespace cli
