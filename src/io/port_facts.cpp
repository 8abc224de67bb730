#include "io/port_facts.h"

#include "io/register_map.h"

#include <algorithm>

namespace io {
namespace {

constexpr const char* kPciDevices = "/sys/bus/pci/devices";

std::string FirstLine(const std::optional<std::string>& text)
{
    if (!text)
        return {};
    std::string line = text->substr(0, text->find('\n'));
    while (!line.empty() && (line.back() == ' ' || line.back() == '\t' || line.back() == '\r'))
        line.pop_back();
    return line;
}

// "/dev/parport3" -> "/proc/sys/dev/parport/parport3".
std::string ProcDirectory(const std::string& device)
{
    return "/proc/sys/dev/parport/" + device.substr(device.rfind('/') + 1);
}

// "0x1415" -> "1415", as lspci and new_id write an ID.
std::string HexId(const std::string& text)
{
    return text.rfind("0x", 0) == 0 ? text.substr(2) : text;
}

// The value of KEY= in a uevent file.
std::string UeventValue(const std::optional<std::string>& uevent, const std::string& key)
{
    if (!uevent)
        return {};
    std::size_t start = 0;
    while (start < uevent->size()) {
        std::size_t end = uevent->find('\n', start);
        if (end == std::string::npos)
            end = uevent->size();
        if (uevent->compare(start, key.size() + 1, key + "=") == 0)
            return uevent->substr(start + key.size() + 1, end - start - key.size() - 1);
        start = end + 1;
    }
    return {};
}

}  // namespace

std::string ReadKernelModes(SystemCalls& sys, const std::string& device)
{
    if (device.empty())
        return {};
    return FirstLine(sys.ReadTextFile(ProcDirectory(device) + "/modes"));
}

std::optional<std::uint8_t> ReadEcr(SystemCalls& sys, std::uint16_t base)
{
    const std::uint8_t ecr = sys.InByte(static_cast<std::uint16_t>(base + lpt::kEcr));
    const std::uint8_t control = sys.InByte(static_cast<std::uint16_t>(base + lpt::kControl));
    // An idle ECP chip reads its FIFO as empty and not full.
    if (ecr == 0xFF || ecr == control || (ecr & (lpt::kEcrFifoEmpty | lpt::kEcrFifoFull)) != lpt::kEcrFifoEmpty)
        return std::nullopt;
    return ecr;
}

std::string ReadLockdown(SystemCalls& sys)
{
    // "none [integrity] confidentiality": the mode in force is the one in brackets.
    const std::string text = FirstLine(sys.ReadTextFile("/sys/kernel/security/lockdown"));
    const std::size_t open = text.find('[');
    const std::size_t close = text.find(']', open);
    if (open == std::string::npos || close == std::string::npos)
        return {};
    const std::string mode = text.substr(open + 1, close - open - 1);
    return mode == "none" ? std::string() : mode;
}

std::vector<PciCard> FindPciCards(SystemCalls& sys)
{
    std::vector<std::string> slots = sys.ListDirectory(kPciDevices);
    std::sort(slots.begin(), slots.end());
    const bool parportPcLoaded = !sys.ListDirectory("/sys/bus/pci/drivers/parport_pc").empty();
    std::vector<PciCard> cards;
    for (const std::string& slot : slots) {
        const std::string dir = std::string(kPciDevices) + "/" + slot;
        const std::string pciClass = FirstLine(sys.ReadTextFile(dir + "/class"));
        const std::optional<std::string> uevent = sys.ReadTextFile(dir + "/uevent");
        PciCard card;
        card.slot = slot;
        card.driver = UeventValue(uevent, "DRIVER");
        card.parallelClass = pciClass.rfind("0x0701", 0) == 0;
        if (!card.parallelClass && card.driver != "parport_serial")
            continue;
        card.vendor = HexId(FirstLine(sys.ReadTextFile(dir + "/vendor")));
        card.device = HexId(FirstLine(sys.ReadTextFile(dir + "/device")));
        card.driverLoaded = parportPcLoaded;
        std::vector<std::string> entries = sys.ListDirectory(dir);
        std::sort(entries.begin(), entries.end());
        for (const std::string& entry : entries)
            if (entry.rfind("parport", 0) == 0 && entry.size() > 7 &&
                std::all_of(entry.begin() + 7, entry.end(), [](char c) { return c >= '0' && c <= '9'; }))
                card.devices.push_back("/dev/" + entry);
        cards.push_back(std::move(card));
    }
    return cards;
}

std::string PortHolder(SystemCalls& sys, const std::string& device)
{
    const std::string active = FirstLine(sys.ReadTextFile(ProcDirectory(device) + "/devices/active"));
    return active == "none" ? std::string() : active;
}

}  // namespace io
