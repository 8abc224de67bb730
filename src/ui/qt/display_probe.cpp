#include "ui/qt/display_probe.h"

#include <cctype>
#include <cerrno>
#include <cstring>
#include <fcntl.h>
#include <cstdlib>
#include <unistd.h>
#include <vector>

#include "ui/qt/platform_plugin.h"
#include "ui/qt/wayland_check.h"
#include "ui/qt/x11_check.h"

namespace ui::qt {
namespace {

std::string Env(const char* name)
{
    const char* v = std::getenv(name);
    return v ? v : "";
}

bool IsWayland(const std::string& platform)
{
    return platform.rfind("wayland", 0) == 0;
}

// The display Qt's Wayland platform connects to: WAYLAND_DISPLAY, by default wayland-0.
std::string WaylandName()
{
    std::string name = Env("WAYLAND_DISPLAY");
    return name.empty() ? "wayland-0" : name;
}

// The socket is the name in XDG_RUNTIME_DIR, unless the name is a path of its own.
std::string CheckWayland(std::chrono::milliseconds timeout)
{
    // A compositor that started us handed over a connected socket; connecting here would take it.
    if (!Env("WAYLAND_SOCKET").empty())
        return "";
    std::string name = WaylandName();
    if (name.front() == '/')
        return CheckWaylandDisplay(name, name, timeout);
    std::string runtime = Env("XDG_RUNTIME_DIR");
    if (runtime.empty())
        return "the Wayland display " + name + " cannot be found (XDG_RUNTIME_DIR is not set)";
    return CheckWaylandDisplay(runtime + "/" + name, name, timeout);
}

std::string OptionValue(const std::string& options, const std::string& key)
{
    // Options are "key=value" pairs separated by ':', as in "linuxfb:fb=/dev/fb1:size=800x600".
    std::size_t start = 0;
    while (start < options.size()) {
        std::size_t end = options.find(':', start);
        if (end == std::string::npos)
            end = options.size();
        const std::string item = options.substr(start, end - start);
        if (item.rfind(key + "=", 0) == 0)
            return item.substr(key.size() + 1);
        start = end + 1;
    }
    return "";
}

bool Opens(const std::string& path)
{
    const int fd = ::open(path.c_str(), O_RDWR | O_CLOEXEC);
    if (fd >= 0)
        ::close(fd);
    return fd >= 0;
}

// The platforms that draw without a display server: those that need a device are checked for
// it, since Qt aborts when it is missing; one that cannot be checked is refused rather than
// risked.
std::string CheckDevicePlatform(const std::string& platform, const std::string& options)
{
    if (platform == "offscreen" || platform == "minimal" || platform == "vnc")
        return "";
    if (platform == "linuxfb") {
        std::string device = OptionValue(options, "fb");
        if (device.empty())
            device = "/dev/fb0";
        return Opens(device) ? "" : "the frame buffer " + device + " cannot be opened (" + std::strerror(errno) + ")";
    }
    if (platform == "eglfs") {
        for (int card = 0; card < 8; ++card)
            if (Opens("/dev/dri/card" + std::to_string(card)))
                return "";
        return "no DRM device (/dev/dri/card*) can be opened for Qt's platform \"eglfs\"";
    }
    return "Qt's platform \"" + platform + "\" cannot be checked before it starts; choose xcb, wayland, eglfs, "
           "linuxfb, vnc, offscreen or minimal";
}

// Empty when Qt can open `platform` (a name; its options after it), else why not. The plugin
// comes first: without it the display does not matter.
std::string CheckPlatform(const std::string& platform, const std::string& options, std::chrono::milliseconds timeout)
{
    std::string problem = CheckPlatformPlugin(platform);
    if (!problem.empty() && IsWayland(platform))
        return problem + " (Debian package qt6-wayland), so the Wayland display " + WaylandName() + " cannot be used";
    if (!problem.empty())
        return problem;
    if (platform == "xcb") {
        std::string display = Env("DISPLAY");
        return display.empty() ? "no X display is set (DISPLAY is empty)" : CheckX11Display(display, timeout);
    }
    if (IsWayland(platform))
        return CheckWayland(timeout);
    return CheckDevicePlatform(platform, options);
}

// QT_QPA_PLATFORM as Qt reads it: entries separated by ';', each a name and options after ':'.
std::vector<std::string> Entries(const std::string& list)
{
    std::vector<std::string> entries;
    std::size_t start = 0;
    while (start <= list.size()) {
        std::size_t end = list.find(';', start);
        if (end == std::string::npos)
            end = list.size();
        if (end > start)
            entries.push_back(list.substr(start, end - start));
        start = end + 1;
    }
    return entries;
}

std::string NameOf(const std::string& entry)
{
    std::string name = entry.substr(0, entry.find(':'));
    for (char& ch : name)
        ch = static_cast<char>(std::tolower(static_cast<unsigned char>(ch)));
    return name;
}

// Without QT_QPA_PLATFORM, the displays that are set, in the order Qt tries them.
std::vector<std::string> DefaultEntries()
{
    std::vector<std::string> entries;
    std::string runtime = Env("XDG_RUNTIME_DIR");
    if (!Env("WAYLAND_DISPLAY").empty() || !Env("WAYLAND_SOCKET").empty() ||
        (!runtime.empty() && access((runtime + "/wayland-0").c_str(), F_OK) == 0))
        entries.push_back("wayland");
    if (!Env("DISPLAY").empty())
        entries.push_back("xcb");
    return entries;
}

}  // namespace

DisplayChoice ChooseDisplay(std::chrono::milliseconds timeout)
{
    std::string chosen = Env("QT_QPA_PLATFORM");
    std::vector<std::string> entries = chosen.empty() ? DefaultEntries() : Entries(chosen);
    DisplayChoice choice;
    // One deadline for them all: each display gets an equal share of it, so that a silent one
    // neither delays the start by a full wait of its own nor leaves no time for the next.
    const auto share = entries.empty() ? timeout : timeout / static_cast<long>(entries.size());
    for (const std::string& entry : entries) {
        const std::size_t colon = entry.find(':');
        std::string problem =
            CheckPlatform(NameOf(entry), colon == std::string::npos ? "" : entry.substr(colon + 1), share);
        if (problem.empty()) {
            choice.platform = entry;
            choice.problem.clear();
            return choice;
        }
        choice.problem += (choice.problem.empty() ? "" : "; ") + problem;
    }
    return choice;
}

}  // namespace ui::qt
