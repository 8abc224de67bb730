#include "io/simulated_port.h"

#include "io/register_map.h"

namespace io {
namespace {

using namespace lpt;

}  // namespace

SimulatedPort::SimulatedPort(std::vector<std::uint16_t> bases)
{
    for (std::uint16_t base : bases)
        m_ports.emplace(base, Registers{});
}

void SimulatedPort::SetChip(std::uint16_t base, Chip chip, std::uint8_t ecpMode)
{
    Registers& regs = m_ports[base];
    regs.chip = chip;
    regs.ecpMode = static_cast<std::uint8_t>(ecpMode & 0x07);
}

bool SimulatedPort::Registers::HonoursDirection() const
{
    if (chip == Chip::Ecp)
        return ecpMode == 1 || ecpMode == 3 || ecpMode == 4;  // PS/2, ECP, EPP
    return chip == Chip::Bidirectional;
}

std::uint8_t SimulatedPort::Status(const Registers& regs)
{
    // A chip that ignores the direction bit keeps driving the data lines.
    const std::uint8_t c = regs.HonoursDirection() ? regs.control : static_cast<std::uint8_t>(regs.control & ~kDirection);
    // With the data drivers off, nothing drives a data pin and the input's pull-up wins.
    const auto outputHigh = [&](const Line& line) {
        if (line.reg == kData)
            return (c & kDirection) != 0 || PinHigh(line, regs.data);
        return PinHigh(line, c);
    };
    std::uint8_t status = kUnusedStatus;
    for (const PlugWire& wire : kLoopbackPlug) {
        const Line& in = LineAtPin(wire.in);
        if (outputHigh(LineAtPin(wire.out)) != in.inverted)
            status |= in.bit;
    }
    return status;
}

SimulatedPort::Registers* SimulatedPort::Find(std::uint16_t port, std::uint16_t& offset)
{
    // The base this port number belongs to is the greatest base not above it.
    auto it = m_ports.upper_bound(port);
    if (it == m_ports.begin())
        return nullptr;
    --it;
    offset = static_cast<std::uint16_t>(port - it->first);
    return &it->second;
}

std::uint8_t SimulatedPort::In(std::uint16_t port)
{
    // The extended control register: mode in bits 7..5, FIFO empty (bit 0), interrupts off.
    if (port >= kEcr) {
        const auto ecp = m_ports.find(static_cast<std::uint16_t>(port - kEcr));
        if (ecp != m_ports.end() && ecp->second.chip == Chip::Ecp)
            return static_cast<std::uint8_t>(ecp->second.ecpMode << 5 | 0x14 | kEcrFifoEmpty);
    }
    std::uint16_t offset = 0;
    const Registers* regs = Find(port, offset);
    if (regs == nullptr)
        return 0xFF;  // nothing decodes this address: the bus floats high
    switch (offset) {
    case kData:
        return (regs->control & kDirection) != 0 && regs->HonoursDirection() ? 0xFF : regs->data;
    case kStatus:
        return Status(*regs);
    case kControl:
        return regs->control | kControlUnused;
    default:
        return 0xFF;
    }
}

void SimulatedPort::Out(std::uint16_t port, std::uint8_t value)
{
    std::uint16_t offset = 0;
    Registers* regs = Find(port, offset);
    if (regs == nullptr)
        return;
    switch (offset) {
    case kData:
        regs->data = value;  // latched even while the drivers are off
        break;
    case kControl:
        regs->control = value;
        break;
    default:
        break;  // the status register is read-only
    }
}

std::string SimulatedPort::Name() const
{
    return "simulated port";
}

Bus& BuiltInBus()
{
    static SimulatedPort port;
    return port;
}

}  // namespace io
