#include "io/ppdev_bus.h"

#include "io/candidate_ports.h"

#include <algorithm>
#include <charconv>
#include <linux/parport.h>
#include <linux/ppdev.h>
#include <optional>
#include <string_view>
#include <sys/ioctl.h>

namespace io {
namespace {

enum Offset : std::uint16_t { kData = 0, kStatus = 1, kControl = 2 };

// PPWCONTROL writes only Strobe, AutoFeed, Init and SelectIn; the direction has its own call.
constexpr std::uint8_t kControlLines = PARPORT_CONTROL_STROBE | PARPORT_CONTROL_AUTOFD |
                                       PARPORT_CONTROL_INIT | PARPORT_CONTROL_SELECT;
constexpr std::uint8_t kDirection = 0x20;

constexpr const char* kParportDir = "/proc/sys/dev/parport";

// "parport3" -> 3; anything else (such as the "default" entry) -> -1.
int PortNumber(const std::string& name)
{
    constexpr std::string_view prefix = "parport";
    if (name.size() <= prefix.size() || name.compare(0, prefix.size(), prefix) != 0)
        return -1;
    int number = -1;
    const char* first = name.data() + prefix.size();
    const char* last = name.data() + name.size();
    auto [ptr, ec] = std::from_chars(first, last, number);
    return ec == std::errc{} && ptr == last ? number : -1;
}

// base-addr holds the base and the high base in decimal, separated by a tab.
std::optional<unsigned long> BaseAddress(const std::string& text)
{
    unsigned long base = 0;
    const char* last = text.data() + text.size();
    auto [ptr, ec] = std::from_chars(text.data(), last, base);
    if (ec != std::errc{} || (ptr != last && *ptr != '\t' && *ptr != ' ' && *ptr != '\n'))
        return std::nullopt;
    return base;
}

struct Found {
    std::uint16_t base;
    std::string device;
};

std::vector<Found> FindPorts(SystemCalls& sys)
{
    std::vector<Found> found;
    for (const std::string& name : sys.ListDirectory(kParportDir)) {
        const int number = PortNumber(name);
        if (number < 0)
            continue;
        const auto text = sys.ReadTextFile(std::string(kParportDir) + "/" + name + "/base-addr");
        const auto base = text ? BaseAddress(*text) : std::nullopt;
        if (!base)
            continue;
        auto candidate = std::find(kCandidateBases.begin(), kCandidateBases.end(), *base);
        if (candidate == kCandidateBases.end())
            continue;
        found.push_back({*candidate, "/dev/parport" + std::to_string(number)});
    }
    std::sort(found.begin(), found.end(),
              [](const Found& a, const Found& b) { return a.base < b.base; });
    return found;
}

}  // namespace

PpdevBus::PpdevBus(SystemCalls& sys, std::vector<Port> ports) : m_sys(sys)
{
    for (Port& port : ports)
        m_ports.push_back({std::move(port)});
}

PpdevBus::~PpdevBus()
{
    for (Held& held : m_ports) {
        m_sys.Ioctl(held.port.fd, PPRELEASE, nullptr);
        m_sys.Close(held.port.fd);
    }
}

PpdevBus::Held* PpdevBus::Find(std::uint16_t port, std::uint16_t& offset)
{
    for (Held& held : m_ports) {
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
    if (offset == kControl)
        return held->control;

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
        unsigned char lines = value & kControlLines;
        m_sys.Ioctl(held->port.fd, PPWCONTROL, &lines);
        int reverse = (value & kDirection) != 0 ? 1 : 0;
        m_sys.Ioctl(held->port.fd, PPDATADIR, &reverse);
    }
    // The status register is read-only.
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

PpdevClaim ClaimPpdevPorts(SystemCalls& sys)
{
    PpdevClaim claim;
    std::vector<PpdevBus::Port> claimed;
    for (Found& found : FindPorts(sys)) {
        claim.portFound = true;
        const int fd = sys.Open(found.device);
        if (fd < 0) {
            claim.refusals.push_back({found.device, "open", -fd});
            continue;
        }
        // Exclusive, so that no printer job can write to the port behind the panel's back.
        int rc = sys.Ioctl(fd, PPEXCL, nullptr);
        if (rc == 0)
            rc = sys.Ioctl(fd, PPCLAIM, nullptr);
        if (rc < 0) {
            sys.Close(fd);
            claim.refusals.push_back({found.device, "claim", -rc});
            continue;
        }
        claim.bases.push_back(found.base);
        claimed.push_back({found.base, fd, std::move(found.device)});
    }
    if (!claimed.empty())
        claim.bus = std::make_unique<PpdevBus>(sys, std::move(claimed));
    return claim;
}

}  // namespace io
