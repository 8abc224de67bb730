#include "io/recording_bus.h"

#include <ios>
#include <ostream>

namespace io {

std::ostream& operator<<(std::ostream& os, const Access& access)
{
    const auto flags = os.flags();
    os << std::hex << std::showbase;
    if (access.kind == Access::Kind::Read)
        os << "read " << access.port << " -> " << static_cast<unsigned>(access.value);
    else
        os << "write " << access.port << " <- " << static_cast<unsigned>(access.value);
    os.flags(flags);
    return os;
}

RecordingBus::RecordingBus(Bus& inner) : m_inner(inner) {}

std::uint8_t RecordingBus::In(std::uint16_t port)
{
    const std::uint8_t value = m_inner.In(port);
    m_log.push_back({Access::Kind::Read, port, value});
    return value;
}

void RecordingBus::Out(std::uint16_t port, std::uint8_t value)
{
    m_log.push_back({Access::Kind::Write, port, value});
    m_inner.Out(port, value);
}

std::string RecordingBus::Name() const
{
    return m_inner.Name();
}

std::string RecordingBus::WayTo(std::uint16_t base) const
{
    return m_inner.WayTo(base);
}

bool RecordingBus::Yield(std::uint16_t base)
{
    return m_inner.Yield(base);
}

}  // namespace io
