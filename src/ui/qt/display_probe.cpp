#include "ui/qt/display_probe.h"

#include <cctype>
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

// Empty when Qt can open `platform` (a name without options), else why not. The plugin comes
// first: without it the display does not matter.
std::string CheckPlatform(const std::string& platform, std::chrono::milliseconds timeout)
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
    return "";
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
    for (const std::string& entry : entries) {
        std::string problem = CheckPlatform(NameOf(entry), timeout);
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
