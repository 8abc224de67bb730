// The connector's pins as a recording names them: one wire per pin, named by its signal and pin
// number (D0_pin2, nAck_pin10), its level the pin's, whatever the register's sense of it.
#pragma once

#include "io/register_map.h"
#include "record/registers.h"

#include <span>
#include <string_view>

namespace record {

struct Wire {
    std::string_view name;  // "nStrobe_pin1"; an "n" marks a signal that is active low
    int pin;
    io::lpt::Offset reg;
    std::uint8_t bit;
    bool inverted;  // the register holds the bit inverted against the pin's level
};

// The seventeen signal pins, in pin order: nStrobe (1), D0..D7 (2..9), nAck (10), Busy (11),
// PaperEnd (12), Select (13), nAutoFeed (14), nError (15), nInit (16), nSelectIn (17).
std::span<const Wire> Wires();

// Whether the pin is high in that sample.
inline bool High(const Wire& wire, const Registers& regs)
{
    return ((regs.At(wire.reg) & wire.bit) != 0) != wire.inverted;
}

}  // namespace record
