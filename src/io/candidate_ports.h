// Where detection looks for a parallel port: the four legacy PC bases, the only place they are
// written, and every other base the kernel reports (cards on PCIe or ExpressCard).
#pragma once

#include <array>
#include <cstdint>
#include <string>
#include <vector>

namespace io {

inline constexpr std::array<std::uint16_t, 4> kLegacyBases{0x278, 0x300, 0x378, 0x3BC};
inline constexpr std::uint16_t kRegistersPerPort = 3;
// The base the panel uses until a saved or picked port replaces it.
inline constexpr std::uint16_t kDefaultBase = 0x378;

bool IsLegacyBase(std::uint16_t base);

// "0x" and four upper-case hexadecimal digits, e.g. "0x0378", "0xD010": with a fixed width the
// labels sort as text exactly as the addresses sort as numbers.
std::string PortLabel(std::uint16_t base);

// The legacy bases and the given ones, ascending, each once.
std::vector<std::uint16_t> CandidateBases(const std::vector<std::uint16_t>& kernelBases);

}  // namespace io
