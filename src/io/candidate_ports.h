// The four base addresses at which a PC parallel port may sit; each has three registers.
#pragma once

#include <array>
#include <cstdint>

namespace io {

inline constexpr std::array<std::uint16_t, 4> kCandidateBases{0x278, 0x300, 0x378, 0x3BC};
inline constexpr std::uint16_t kRegistersPerPort = 3;

}  // namespace io
