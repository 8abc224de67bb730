// A standard bidirectional PC parallel port with a loopback plug, for machines without one.
#pragma once

#include "io/bus.h"

#include <cstdint>
#include <map>
#include <vector>

namespace io {

// Each base gets its own data latch and control latch. The loopback plug joins
// pin 1 to 13, 2 to 15, 16 to 10, 17 to 11 and 14 to 12, so every control output and data bit 0
// can be seen in the status register.
class SimulatedPort : public Bus {
public:
    explicit SimulatedPort(std::vector<std::uint16_t> bases = {0x378});

    // The chip behind a base. A bidirectional port (the default) honours the direction bit and
    // has no extended control register; a plain SPP port ignores the bit; an ECP chip answers at
    // base + 0x402 with its mode in bits 7..5 and an empty FIFO, and honours the bit in PS/2, ECP
    // and EPP modes only.
    enum class Chip { Bidirectional, Spp, Ecp };
    void SetChip(std::uint16_t base, Chip chip, std::uint8_t ecpMode = 0);

    std::uint8_t In(std::uint16_t port) override;
    void Out(std::uint16_t port, std::uint8_t value) override;
    std::string WayTo(std::uint16_t base) const override;

private:
    struct Registers {
        std::uint8_t data = 0x00;
        // As the BIOS leaves a printer port: Init released, SelectIn asserted.
        std::uint8_t control = 0x0C;
        Chip chip = Chip::Bidirectional;
        std::uint8_t ecpMode = 0;
        bool HonoursDirection() const;
    };

    static std::uint8_t Status(const Registers& regs);
    // The registers that port belongs to and its offset from their base; null if none.
    Registers* Find(std::uint16_t port, std::uint16_t& offset);

    std::map<std::uint16_t, Registers> m_ports;  // by base address
};

}  // namespace io
