// The three registers of a port as one sample reads them.
#pragma once

#include "io/bus.h"
#include "io/register_map.h"

#include <cstdint>

namespace record {

struct Registers {
    std::uint8_t data = 0;
    std::uint8_t status = 0;
    std::uint8_t control = 0;

    std::uint8_t At(io::lpt::Offset offset) const
    {
        return offset == io::lpt::kData ? data : offset == io::lpt::kStatus ? status : control;
    }
    friend bool operator==(const Registers&, const Registers&) = default;
};

// Data, status, control: one read of each, nothing written.
inline Registers ReadRegisters(io::Bus& bus, std::uint16_t base)
{
    Registers regs;
    regs.data = bus.In(static_cast<std::uint16_t>(base + io::lpt::kData));
    regs.status = bus.In(static_cast<std::uint16_t>(base + io::lpt::kStatus));
    regs.control = bus.In(static_cast<std::uint16_t>(base + io::lpt::kControl));
    return regs;
}

}  // namespace record
