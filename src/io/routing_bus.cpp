#include "io/routing_bus.h"

#include "io/candidate_ports.h"

#include <algorithm>
#include <string>

namespace io {

RoutingBus::RoutingBus(std::vector<std::unique_ptr<Bus>> ways, std::vector<Route> routes)
    : m_ways(std::move(ways)), m_routes(std::move(routes))
{
}

Bus* RoutingBus::Find(std::uint16_t port) const
{
    for (const Route& route : m_routes)
        if (port >= route.base && port - route.base < kRegistersPerPort)
            return route.way;
    return nullptr;
}

std::uint8_t RoutingBus::In(std::uint16_t port)
{
    Bus* way = Find(port);
    return way != nullptr ? way->In(port) : 0xFF;
}

void RoutingBus::Out(std::uint16_t port, std::uint8_t value)
{
    if (Bus* way = Find(port))
        way->Out(port, value);
}

std::string RoutingBus::Name() const
{
    std::vector<std::string> named;
    std::string name;
    for (const Route& route : m_routes) {
        std::string way = route.way->WayTo(route.base);
        if (way.empty())
            way = "direct I/O";
        if (std::find(named.begin(), named.end(), way) != named.end())
            continue;
        named.push_back(way);
        name += (name.empty() ? "" : ", ") + way;
    }
    return name;
}

std::string RoutingBus::WayTo(std::uint16_t base) const
{
    for (const Route& route : m_routes)
        if (route.base == base)
            return route.way->WayTo(base);
    return PortLabel(base) + " not reached";
}

bool RoutingBus::Yield(std::uint16_t base)
{
    // Every way is asked, not only the route's: under direct I/O the kernel's claim on the port
    // is held by the ppdev way.
    bool lent = false;
    for (const std::unique_ptr<Bus>& way : m_ways)
        lent = way->Yield(base) || lent;
    return lent;
}

}  // namespace io
