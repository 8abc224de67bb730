#include "ui/qt/display_probe.h"

#include <QString>
#include <QStringList>
#include <cerrno>
#include <cstdlib>
#include <cstring>
#include <fcntl.h>
#include <glob.h>
#include <memory>
#include <unistd.h>
#include <vector>

#include "ui/qt/deadline.h"
#include "ui/qt/font_preload.h"
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

// What a platform needs besides its plugin before Qt can start on it without aborting. Qt ends
// the process when the platform it was told to use cannot start, so a platform whose needs we
// cannot check is refused here, in one line, rather than handed to Qt.
enum class Need { Nothing, X11, Wayland, FrameBuffer, Drm, Unchecked };

Need NeedOf(const QString& name)
{
    if (name == "xcb")
        return Need::X11;
    if (name.startsWith("wayland"))  // wayland, wayland-egl, wayland-xcomposite-glx, ...
        return Need::Wayland;
    if (name == "offscreen" || name == "minimal" || name == "vnc")
        return Need::Nothing;  // no device and no server: they start anywhere
    if (name == "linuxfb")
        return Need::FrameBuffer;
    if (name == "eglfs")
        return Need::Drm;
    return Need::Unchecked;
}

// One entry of QT_QPA_PLATFORM: a name, then options after ':' ("linuxfb:fb=/dev/fb1").
struct Entry {
    std::string text;  // as given, handed to Qt unchanged
    QString name;      // lower case, as Qt matches plugin keys
    QStringList options;
};

Entry EntryOf(const QString& text)
{
    QStringList parts = text.split(':');
    QString name = parts.takeFirst().toLower();
    return {text.toStdString(), name, parts};
}

// The display Qt's Wayland platform connects to: WAYLAND_DISPLAY, by default wayland-0.
std::string WaylandName()
{
    std::string name = Env("WAYLAND_DISPLAY");
    return name.empty() ? "wayland-0" : name;
}

// The socket is the name in XDG_RUNTIME_DIR, unless the name is a path of its own.
std::string CheckWayland(const Deadline& deadline)
{
    // A compositor that started us handed over a connected socket; connecting here would take it.
    if (!Env("WAYLAND_SOCKET").empty())
        return "";
    std::string name = WaylandName();
    if (name.front() == '/')
        return CheckWaylandDisplay(name, name, deadline);
    std::string runtime = Env("XDG_RUNTIME_DIR");
    if (runtime.empty())
        return "the Wayland display " + name + " cannot be found (XDG_RUNTIME_DIR is not set)";
    return CheckWaylandDisplay(runtime + "/" + name, name, deadline);
}

std::string OpenProblem(const std::string& device)
{
    int fd = open(device.c_str(), O_RDWR | O_CLOEXEC);
    if (fd < 0)
        return std::strerror(errno);
    close(fd);
    return "";
}

// The linuxfb platform draws on the frame buffer its "fb=" option names, else /dev/fb0.
std::string CheckFrameBuffer(const Entry& entry)
{
    std::string device = "/dev/fb0";
    for (const QString& option : entry.options)
        if (option.startsWith("fb="))
            device = option.mid(3).toStdString();
    std::string problem = OpenProblem(device);
    return problem.empty() ? "" : "the frame buffer " + device + " for the linuxfb platform cannot be opened (" + problem + ")";
}

// The eglfs platform drives a DRM card itself; without one Qt aborts ("Could not find DRM
// device!").
std::string CheckDrm()
{
    glob_t cards{};
    std::string problem = "no DRM device (/dev/dri/card*) exists";
    if (glob("/dev/dri/card*", 0, nullptr, &cards) == 0) {
        for (std::size_t i = 0; i < cards.gl_pathc; ++i) {
            std::string why = OpenProblem(cards.gl_pathv[i]);
            if (why.empty()) {
                problem.clear();
                break;
            }
            problem = std::string(cards.gl_pathv[i]) + " cannot be opened (" + why + ")";
        }
    }
    globfree(&cards);
    return problem.empty() ? "" : problem + ", which the eglfs platform needs";
}

// Without QT_QPA_PLATFORM, the displays that are set, in the order Qt tries them.
QStringList DefaultEntries()
{
    QStringList entries;
    std::string runtime = Env("XDG_RUNTIME_DIR");
    if (!Env("WAYLAND_DISPLAY").empty() || !Env("WAYLAND_SOCKET").empty() ||
        (!runtime.empty() && access((runtime + "/wayland-0").c_str(), F_OK) == 0))
        entries << "wayland";
    if (!Env("DISPLAY").empty())
        entries << "xcb";
    return entries;
}

class Checker {
public:
    explicit Checker(std::chrono::milliseconds timeout) : m_deadline(Deadline::After(timeout)) {}

    // The X handshake starts before anything else is asked, so that the server answers while a
    // Wayland display and the plugins are looked at: every server is asked within the one deadline.
    void StartX11()
    {
        std::string display = Env("DISPLAY");
        if (!display.empty() && !m_x11)
            m_x11 = std::make_shared<X11Handshake>(display);
    }

    // Empty when Qt can open the platform, else why not. The plugin comes first: without it
    // the display does not matter.
    std::string Check(const Entry& entry)
    {
        std::string name = entry.name.toStdString();
        Need need = NeedOf(entry.name);
        std::string problem = CheckPlatformPlugin(name);
        if (!problem.empty() && need == Need::Wayland)
            return problem + " (Debian package qt6-wayland), so the Wayland display " + WaylandName() + " cannot be used";
        if (!problem.empty())
            return problem;
        switch (need) {
        case Need::Nothing: return "";
        case Need::X11:
            StartX11();
            return m_x11 ? m_x11->Result(m_deadline) : "no X display is set (DISPLAY is empty)";
        case Need::Wayland: return CheckWayland(m_deadline);
        case Need::FrameBuffer: return CheckFrameBuffer(entry);
        case Need::Drm: return CheckDrm();
        case Need::Unchecked: break;
        }
        return "the Qt platform \"" + name + "\" cannot be checked before it starts, and Qt would end the "
               "program if it failed (use xcb, wayland, linuxfb, eglfs, vnc or offscreen)";
    }

    // The X check's connection, which stays open while the caller holds it.
    std::shared_ptr<void> Connection() const { return m_x11; }

private:
    Deadline m_deadline;
    std::shared_ptr<X11Handshake> m_x11;
};

}  // namespace

DisplayChoice ChooseDisplay(std::chrono::milliseconds timeout)
{
    QString chosen = QString::fromLocal8Bit(Env("QT_QPA_PLATFORM"));
    // Entries separated by ';' are tried in order, as Qt tries them.
    QStringList list = chosen.isEmpty() ? DefaultEntries() : chosen.split(';', Qt::SkipEmptyParts);
    std::vector<Entry> entries;
    for (const QString& text : list)
        entries.push_back(EntryOf(text));
    // Qt's fonts load beside Qt's start once a platform is chosen: Qt is then about to start.
    std::shared_ptr<FontConfigPreload> fonts;
    if (!entries.empty())
        fonts = std::make_shared<FontConfigPreload>();
    Checker checker(timeout);
    for (const Entry& entry : entries)
        if (NeedOf(entry.name) == Need::X11)
            checker.StartX11();
    DisplayChoice choice;
    for (const Entry& entry : entries) {
        std::string problem = checker.Check(entry);
        if (problem.empty()) {
            choice.platform = entry.text;
            choice.problem.clear();
            fonts->Begin();
            choice.fontsLoading = fonts;
            if (NeedOf(entry.name) == Need::X11)
                choice.serverHeld = checker.Connection();
            return choice;
        }
        choice.problem += (choice.problem.empty() ? "" : "; ") + problem;
    }
    return choice;
}

}  // namespace ui::qt
