// A self-test of a parallel port with a loopback plug that joins pins 1-13, 2-15, 16-10, 17-11
// and 14-12: every driven line must reach its joined input with the right polarity and move no
// other input, and the data register must read back what is written.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

namespace cli {

struct LoopbackCheck {
    enum class Kind {
        Line,       // one output driven to one level, seen in the status register
        Data,       // one byte written to the data register and read back
        Direction,  // whether the direction bit makes the data lines inputs; never a failure
    };
    Kind kind;
    bool passed;
    // Line: "Strobe (pin 1) -> Select (pin 13)"; Data: "D7..D0 (pins 9..2)"; Direction: "TriState
    // (control bit 5)".
    std::string lines;
    // Line: "high" or "low"; Data: the pattern, e.g. "0x55" or "walking one D3"; Direction: "".
    std::string step;
    // Line: status bits 3..7 (the five inputs) expected and seen; Data: the byte written and read;
    // Direction: the byte last written with the bit set and the byte then read.
    std::uint8_t expected;
    std::uint8_t seen;
    bool bidirectional = false;  // Direction only
};

struct LoopbackResult {
    std::uint16_t base = 0;
    std::vector<LoopbackCheck> checks;
    // What the registers read when the test began: the data register as read, the control
    // register with bits 6 and 7, which no port implements, cleared.
    std::uint8_t foundData = 0;
    std::uint8_t foundControl = 0;
    // Whether the control register read back what the test wrote to it. Where it does, it is
    // given back the byte it read at the start. Where it does not, that byte says nothing about
    // what it held, so it is left as an idle printer port: io::lpt::kIdleControl.
    bool controlReadsBack = true;
    std::uint8_t restoredControl = 0;

    bool AllPassed() const;
};

// The registers of a port as the self-test finds and leaves them.
struct SavedRegisters {
    std::uint8_t data;
    std::uint8_t control;
};
SavedRegisters SaveRegisters(std::uint16_t base);
// Data first, so that a port found with its direction bit set gets its latch back before its
// lines turn into inputs again.
void RestoreRegisters(std::uint16_t base, const SavedRegisters& saved);

// The panel's detection test (see AnswersDetectionTest), with the data and control registers
// left as found under the same rule as the self-test's.
bool AnswersDetectionTestKeepingRegisters(std::uint16_t base);

// Runs every check on the port at base through ReadPortByte and WritePortByte and leaves the
// data and control registers as it found them.
LoopbackResult RunLoopbackTest(std::uint16_t base);

}  // namespace cli
