// One bus over several ways to the machine's ports: each register access goes to the way that
// reaches its port (direct I/O for a granted legacy base, ppdev for a port the kernel knows).
#pragma once

#include "io/bus.h"

#include <cstdint>
#include <memory>
#include <vector>

namespace io {

class RoutingBus : public Bus {
public:
    struct Route {
        std::uint16_t base;  // the port's registers are base .. base+2
        Bus* way;            // one of the ways handed over
    };

    // Takes over the ways; every route points into them. A port number outside every route reads
    // 0xFF and drops writes, as an undriven bus does.
    RoutingBus(std::vector<std::unique_ptr<Bus>> ways, std::vector<Route> routes);

    std::uint8_t In(std::uint16_t port) override;
    void Out(std::uint16_t port, std::uint8_t value) override;
    // The ways of all routes, e.g. "direct I/O, /dev/parport1".
    std::string Name() const override;
    // The way's name for a routed base, e.g. "/dev/parport1" or empty for direct I/O;
    // "0x0378 not reached" for any other.
    std::string WayTo(std::uint16_t base) const override;
    bool Yield(std::uint16_t base) override;

private:
    Bus* Find(std::uint16_t port) const;

    std::vector<std::unique_ptr<Bus>> m_ways;
    std::vector<Route> m_routes;
};

}  // namespace io
