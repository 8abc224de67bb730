// The registers of a PC parallel port: which bit of which register drives or senses which pin of
// the connector. The simulated port and the loopback self-test both speak in these terms.
#pragma once

#include <cstdint>

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

}  // namespace io::lpt
