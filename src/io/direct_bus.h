// Direct x86 port instructions, for the legacy bases whose I/O permission the process holds.
#pragma once

#if defined(__x86_64__) || defined(__i386__)

#include "io/bus.h"

namespace io {

// An access to a port without permission kills the process (SIGSEGV), so only ChooseBus makes
// one, and routes to it only the bases whose range ioperm granted.
class DirectBus : public Bus {
public:
    std::uint8_t In(std::uint16_t port) override;
    void Out(std::uint16_t port, std::uint8_t value) override;
    std::string WayTo(std::uint16_t base) const override;
};

}  // namespace io

#endif
