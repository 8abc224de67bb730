#include "io/ppdev_bus.h"

#include "io/candidate_ports.h"
#include "io/register_map.h"

#include <cerrno>
#include <linux/parport.h>
#include <linux/ppdev.h>
#include <sys/ioctl.h>
#include <utility>

namespace io {
namespace {

using lpt::kControl;
using lpt::kData;
using lpt::kDirection;
// PPWCONTROL writes only Strobe, AutoFeed, Init and SelectIn; the direction has its own call.
using lpt::kControlLines;
static_assert(kControlLines == (PARPORT_CONTROL_STROBE | PARPORT_CONTROL_AUTOFD | PARPORT_CONTROL_INIT |
                                PARPORT_CONTROL_SELECT));

}  // namespace

PpdevBus::PpdevBus(SystemCalls& sys, std::vector<Port> ports, ControlReads controlReads)
    : m_sys(sys), m_controlReads(controlReads)
{
    for (Port& port : ports)
        m_ports.push_back({std::move(port)});
}

PpdevBus::~PpdevBus()
{
    // Closing releases the claim. A PPRELEASE call could wait for ever: the kernel lets one ppdev
    // call run at a time, and a program still waiting to claim this very port keeps that turn
    // until we let go; closing needs no turn.
    for (Held& held : m_ports)
        m_sys.Close(held.port.fd);
}

PpdevBus::Held* PpdevBus::Find(std::uint16_t port, std::uint16_t& offset)
{
    return const_cast<Held*>(std::as_const(*this).Find(port, offset));
}

const PpdevBus::Held* PpdevBus::Find(std::uint16_t port, std::uint16_t& offset) const
{
    for (const Held& held : m_ports) {
        if (port >= held.port.base && port - held.port.base < kRegistersPerPort) {
            offset = static_cast<std::uint16_t>(port - held.port.base);
            return &held;
        }
    }
    return nullptr;
}

std::uint8_t PpdevBus::In(std::uint16_t port)
{
    std::uint16_t offset = 0;
    Held* held = Find(port, offset);
    if (held == nullptr)
        return 0xFF;  // no port there: an undriven bus reads high
    if (offset == kControl) {
        // Until we write them, the lines are what the kernel's driver left, which a probe must be
        // able to give back. The direction cannot be read back; the driver's own is forward.
        if (!held->controlKnown || m_controlReads == ControlReads::Asked) {
            unsigned char lines = 0;
            if (m_sys.Ioctl(held->port.fd, PPRCONTROL, &lines) == 0)
                held->control = static_cast<std::uint8_t>((held->control & kDirection) | (lines & kControlLines));
            held->controlKnown = true;
        }
        return held->control;
    }

    unsigned char value = 0xFF;
    const unsigned long request = offset == kData ? PPRDATA : PPRSTATUS;
    if (m_sys.Ioctl(held->port.fd, request, &value) < 0)
        return 0xFF;
    return value;
}

void PpdevBus::Out(std::uint16_t port, std::uint8_t value)
{
    std::uint16_t offset = 0;
    Held* held = Find(port, offset);
    if (held == nullptr)
        return;
    if (offset == kData) {
        unsigned char data = value;
        m_sys.Ioctl(held->port.fd, PPWDATA, &data);
    } else if (offset == kControl) {
        held->control = value;
        held->controlKnown = true;
        unsigned char lines = value & kControlLines;
        m_sys.Ioctl(held->port.fd, PPWCONTROL, &lines);
        int reverse = (value & kDirection) != 0 ? 1 : 0;
        m_sys.Ioctl(held->port.fd, PPDATADIR, &reverse);
    }
    // The status register is read-only.
}

std::string PpdevBus::WayTo(std::uint16_t base) const
{
    std::uint16_t offset = 0;
    const Held* held = Find(base, offset);
    return held != nullptr ? held->port.device : Name();
}

bool PpdevBus::Yield(std::uint16_t base)
{
    for (const Held& held : m_ports) {
        if (held.port.base != base || !held.port.shared)
            continue;
        // The kernel says 1 when we had to wait for the port to come back. When the driver it
        // handed the port to ran to its end before we asked again (one processor: it runs as
        // soon as it is woken), the call returns 0 and only the switch away from us tells.
        const long switchesBefore = m_sys.ThreadSwitches();
        const int result = m_sys.Ioctl(held.port.fd, PPYIELD, nullptr);
        return result > 0 || m_sys.ThreadSwitches() != switchesBefore;
    }
    return false;
}

std::string PpdevBus::Name() const
{
    std::string name;
    for (const Held& held : m_ports) {
        if (!name.empty())
            name += ", ";
        name += held.port.device;
    }
    return name;
}

PpdevClaim ClaimPpdevPort(SystemCalls& sys, const std::string& device)
{
    PpdevClaim claim;
    int fd = sys.Open(device);
    if (fd < 0) {
        claim.step = "open";
        claim.error = -fd;
        return claim;
    }
    int rc = sys.Ioctl(fd, PPEXCL, nullptr);
    if (rc == 0)
        rc = sys.IoctlWithin(fd, PPCLAIM, nullptr, kClaimDeadline);
    if (rc == 0) {
        claim.fd = fd;
        return claim;
    }
    sys.Close(fd);
    claim.step = "claim";
    claim.error = -rc;
    // ENXIO or EBUSY: another driver registered first. The exclusive wish sticks to the
    // descriptor, so the shared claim needs a fresh one. A claim that waited out its deadline
    // is not tried again: a shared one would wait just the same.
    if (claim.error != ENXIO && claim.error != EBUSY)
        return claim;
    fd = sys.Open(device);
    if (fd < 0) {
        claim.step = "open";
        claim.error = -fd;
        return claim;
    }
    rc = sys.IoctlWithin(fd, PPCLAIM, nullptr, kClaimDeadline);
    if (rc < 0) {
        sys.Close(fd);
        claim.step = "shared claim";
        claim.error = -rc;
        return claim;
    }
    claim.fd = fd;
    claim.shared = true;
    claim.step.clear();
    claim.error = 0;
    return claim;
}

}  // namespace io
