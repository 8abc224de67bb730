// The registers of a PC parallel port: which bit of which register drives or senses which pin of
// the connector, and the loopback plug. The simulated port, the buses, the self-test, the pin
// help, the recorder and the usage text all take their values from here.
#pragma once

#include <array>
#include <cstdint>
#include <string_view>

namespace io::lpt {

// Offsets from the base address.
enum Offset : std::uint16_t { kData = 0, kStatus = 1, kControl = 2 };

// An ECP chip's second range starts this far above the base; its extended control register
// (ECR), at +2 of that range, holds the chip's mode in bits 7..5 and the FIFO's state below.
inline constexpr std::uint16_t kEcpRange = 0x400;
inline constexpr std::uint16_t kEcr = kEcpRange + 2;
inline constexpr std::uint8_t kEcrFifoEmpty = 0x01;
inline constexpr std::uint8_t kEcrFifoFull = 0x02;

// Control register bits and the connector pins they drive.
inline constexpr std::uint8_t kStrobe = 0x01;     // pin 1, inverted at the connector
inline constexpr std::uint8_t kAutoFeed = 0x02;   // pin 14, inverted
inline constexpr std::uint8_t kInit = 0x04;       // pin 16, as is
inline constexpr std::uint8_t kSelectIn = 0x08;   // pin 17, inverted
inline constexpr std::uint8_t kDirection = 0x20;  // data lines are inputs while set
// Bits 6 and 7 are not implemented by the port and float high.
inline constexpr std::uint8_t kControlUnused = 0xC0;

// Status register bits and the pins they sense.
inline constexpr std::uint8_t kUnusedStatus = 0x07;  // not wired; read as 1
inline constexpr std::uint8_t kError = 0x08;         // pin 15
inline constexpr std::uint8_t kSelect = 0x10;        // pin 13
inline constexpr std::uint8_t kPaperEnd = 0x20;      // pin 12
inline constexpr std::uint8_t kAck = 0x40;           // pin 10
inline constexpr std::uint8_t kBusy = 0x80;          // pin 11, inverted by the port
// The five inputs.
inline constexpr std::uint8_t kStatusInputs = kError | kSelect | kPaperEnd | kAck | kBusy;

// The four control lines, which drive pins; the direction bit drives none.
inline constexpr std::uint8_t kControlLines = kStrobe | kAutoFeed | kInit | kSelectIn;
// Init released, SelectIn asserted, data lines driven: how the BIOS and the kernel leave a
// printer port.
inline constexpr std::uint8_t kIdleControl = kInit | kSelectIn;

// A signal line of the connector and the register bit behind it.
struct Line {
    std::string_view name;    // as the panel labels it: "D0", "Busy", "Input"
    std::string_view signal;  // as a schematic names it, "n" for active low: "nStrobe", "nAck"
    Offset reg;
    std::uint8_t bit;
    int pin;
    bool inverted;  // the port inverts the bit against the pin: a set bit means a low pin
};

// The seventeen signal lines, in pin order.
inline constexpr std::array<Line, 17> kLines{{
    {"Strobe", "nStrobe", kControl, kStrobe, 1, true},
    {"D0", "D0", kData, 0x01, 2, false},
    {"D1", "D1", kData, 0x02, 3, false},
    {"D2", "D2", kData, 0x04, 4, false},
    {"D3", "D3", kData, 0x08, 5, false},
    {"D4", "D4", kData, 0x10, 6, false},
    {"D5", "D5", kData, 0x20, 7, false},
    {"D6", "D6", kData, 0x40, 8, false},
    {"D7", "D7", kData, 0x80, 9, false},
    {"Ack", "nAck", kStatus, kAck, 10, false},
    {"Busy", "Busy", kStatus, kBusy, 11, true},
    {"PEnd", "PaperEnd", kStatus, kPaperEnd, 12, false},
    {"Select", "Select", kStatus, kSelect, 13, false},
    {"Auto", "nAutoFeed", kControl, kAutoFeed, 14, true},
    {"Error", "nError", kStatus, kError, 15, false},
    {"Init", "nInit", kControl, kInit, 16, false},
    {"Input", "nSelectIn", kControl, kSelectIn, 17, true},
}};

// The line at a pin from 1 to 17.
constexpr const Line& LineAtPin(int pin)
{
    return kLines[static_cast<std::size_t>(pin - 1)];
}

// The line behind a register bit; null for a bit that drives or senses no pin.
constexpr const Line* LineOf(Offset reg, std::uint8_t bit)
{
    for (const Line& line : kLines)
        if (line.reg == reg && line.bit == bit)
            return &line;
    return nullptr;
}

// Whether the line's pin is high when its register holds that byte.
constexpr bool PinHigh(const Line& line, std::uint8_t registerValue)
{
    return ((registerValue & line.bit) != 0) != line.inverted;
}

// A wire of the loopback plug: an output pin joined to an input pin.
struct PlugWire {
    int out;
    int in;
};

// The loopback plug, in the order the self-test drives its outputs: Strobe, D0, Init, Input, Auto.
inline constexpr std::array<PlugWire, 5> kLoopbackPlug{{{1, 13}, {2, 15}, {16, 10}, {17, 11}, {14, 12}}};

}  // namespace io::lpt
