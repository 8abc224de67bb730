#include "io/direct_bus.h"

#if defined(__x86_64__) || defined(__i386__)

#include <sys/io.h>

namespace io {

std::uint8_t DirectBus::In(std::uint16_t port)
{
    return ::inb(port);
}

void DirectBus::Out(std::uint16_t port, std::uint8_t value)
{
    ::outb(value, port);
}

std::string DirectBus::WayTo(std::uint16_t base) const
{
    (void)base;
    return {};
}

}  // namespace io

#endif
