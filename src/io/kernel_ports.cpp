#include "io/kernel_ports.h"

#include "io/candidate_ports.h"

#include <algorithm>
#include <charconv>
#include <optional>
#include <string_view>

namespace io {
namespace {

constexpr const char* kParportDir = "/proc/sys/dev/parport";
constexpr const char* kUsbDir = "/dev/usb";

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
std::optional<std::uint16_t> BaseAddress(const std::string& text)
{
    unsigned long base = 0;
    const char* last = text.data() + text.size();
    auto [ptr, ec] = std::from_chars(text.data(), last, base);
    if (ec != std::errc{} || (ptr != last && *ptr != '\t' && *ptr != ' ' && *ptr != '\n'))
        return std::nullopt;
    // Port 0 is no parallel port, and a memory-mapped port elsewhere has no I/O port number.
    if (base == 0 || base > 0xFFFFul - (kRegistersPerPort - 1))
        return std::nullopt;
    return static_cast<std::uint16_t>(base);
}

// The file's first line, short and printable, to be quoted in a message.
std::string Printable(const std::string& text)
{
    std::string shown;
    for (char c : text.substr(0, text.find('\n'))) {
        if (shown.size() == 32) {
            shown += "...";
            break;
        }
        const auto byte = static_cast<unsigned char>(c);
        shown += byte == '\t' ? ' ' : (byte < 0x20 || byte >= 0x7F) ? '?' : c;
    }
    return shown;
}

}  // namespace

std::vector<KernelPort> FindKernelPorts(SystemCalls& sys, std::vector<std::string>* unusable)
{
    struct Numbered {
        int number;
        KernelPort port;
    };
    std::vector<Numbered> found;
    for (const std::string& name : sys.ListDirectory(kParportDir)) {
        const int number = PortNumber(name);
        if (number < 0)
            continue;
        const auto text = sys.ReadTextFile(std::string(kParportDir) + "/" + name + "/base-addr");
        const auto base = text ? BaseAddress(*text) : std::nullopt;
        if (base)
            found.push_back({number, {*base, "/dev/parport" + std::to_string(number)}});
        else if (text && unusable)
            unusable->push_back("/dev/parport" + std::to_string(number) + " is left out: its base-addr holds \"" +
                                Printable(*text) + "\", which is no I/O port address");
    }
    // Two drivers at one base would be one port twice; the lower device number stands for it.
    std::sort(found.begin(), found.end(), [](const Numbered& a, const Numbered& b) {
        return a.port.base != b.port.base ? a.port.base < b.port.base : a.number < b.number;
    });
    std::vector<KernelPort> ports;
    for (Numbered& n : found)
        if (ports.empty() || ports.back().base != n.port.base)
            ports.push_back(std::move(n.port));
    return ports;
}

std::vector<std::string> FindUsbPrinters(SystemCalls& sys)
{
    std::vector<std::string> devices;
    for (const std::string& name : sys.ListDirectory(kUsbDir))
        if (name.rfind("lp", 0) == 0)
            devices.push_back(std::string(kUsbDir) + "/" + name);
    std::sort(devices.begin(), devices.end());
    return devices;
}

}  // namespace io
