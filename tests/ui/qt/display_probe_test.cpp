// Which platform the desktop window opens on, decided before Qt starts from the environment and
// real connections: live, refusing, dead and silent X and Wayland servers, and missing plugins.
#include <QCoreApplication>
#include <QStringList>
#include <chrono>
#include <csignal>
#include <cstdlib>
#include <filesystem>
#include <iostream>
#include <gtest/gtest.h>
#include <map>
#include <optional>
#include <string>
#include <sys/socket.h>
#include <sys/un.h>
#include <unistd.h>

#include "display_servers.h"
#include "ui/qt/display_probe.h"

namespace {

namespace fs = std::filesystem;
using Var = std::optional<std::string>;

// Sets or clears variables for one case and puts the old values back.
class Env {
public:
    void Set(const char* name, Var value)
    {
        if (!m_saved.count(name)) {
            const char* old = std::getenv(name);
            m_saved[name] = old ? Var(old) : std::nullopt;
        }
        value ? setenv(name, value->c_str(), 1) : unsetenv(name);
    }
    ~Env()
    {
        for (auto& [name, value] : m_saved)
            value ? setenv(name.c_str(), value->c_str(), 1) : unsetenv(name.c_str());
    }

private:
    std::map<std::string, Var> m_saved;
};

// A local socket that accepts connections into its queue and never says a word, as a server
// that hangs would; `abstract` puts it in the abstract namespace, leaving no file.
class SilentListener {
public:
    SilentListener(const std::string& path, bool abstract)
    {
        m_fd = socket(AF_UNIX, SOCK_STREAM, 0);
        sockaddr_un addr{};
        addr.sun_family = AF_UNIX;
        std::size_t offset = abstract ? 1 : 0;
        path.copy(addr.sun_path + offset, path.size());
        auto len = static_cast<socklen_t>(offsetof(sockaddr_un, sun_path) + offset + path.size());
        m_ok = bind(m_fd, reinterpret_cast<sockaddr*>(&addr), len) == 0 && listen(m_fd, 16) == 0;
    }
    ~SilentListener() { close(m_fd); }
    bool Ok() const { return m_ok; }

private:
    int m_fd;
    bool m_ok = false;
};

// A socket file with nobody behind it, as a crashed server leaves.
void DeadSocket(const fs::path& path)
{
    SilentListener gone(path.string(), false);
}

// Qt's plugin directories, or none at all, for the case of a plugin that is not installed.
class PluginPaths {
public:
    explicit PluginPaths(bool installed) : m_saved(QCoreApplication::libraryPaths())
    {
        if (!installed)
            QCoreApplication::setLibraryPaths({});
    }
    ~PluginPaths() { QCoreApplication::setLibraryPaths(m_saved); }

private:
    QStringList m_saved;
};

constexpr std::chrono::milliseconds kTimeout{500};

TEST(DisplayProbeTest, ChoosesAPlatformQtCanOpenOrSaysWhyNot)
{
    fs::path runtime = fs::temp_directory_path() / ("vellix-display-" + std::to_string(getpid()));
    fs::create_directories(runtime);
    fs::permissions(runtime, fs::perms::owner_all);

    displaytest::XServer x;
    // A server that demands a cookie the client does not have (as with sudo in a desktop).
    fs::path cookieFile = runtime / "server-cookie";
    displaytest::WriteCookieFile(cookieFile);
    displaytest::XServer guarded(cookieFile);
    displaytest::Compositor compositor(runtime, "wl-live");
    // A display number nobody uses (917), with a server that never answers, and a dead one (918).
    SilentListener silentX("/tmp/.X11-unix/X917", true);
    ASSERT_TRUE(silentX.Ok());
    SilentListener silentWayland((runtime / "wl-silent").string(), false);
    ASSERT_TRUE(silentWayland.Ok());
    DeadSocket(runtime / "wl-dead");
    fs::path noCookies = runtime / "no-cookies";

    std::string live = x.Ok() ? x.Display() : ":919";
    struct Case {
        const char* name;
        Var platform, wayland, display;
        bool needs;              // the case needs the servers that are not always installed
        bool pluginsInstalled;   // false: Qt's plugin directories are empty
        std::string chosen;      // the platform entry chosen, empty for none
        std::string problem;     // a part of the reason given, empty for none at all
    };
    const Case cases[] = {
        {"nothing set", {}, {}, {}, false, true, "", ""},
        {"offscreen chosen", "offscreen", {}, {}, false, true, "offscreen", ""},
        {"offscreen with options", "offscreen:size=640x480", {}, {}, false, true, "offscreen:size=640x480", ""},
        {"platform with no plugin", "nosuch", {}, {}, false, true, "", "no Qt platform plugin for \"nosuch\" is installed"},
        // Platforms that need a device: Qt aborts where it is missing, so the check refuses them
        // first (the words differ where the plugin itself is not installed, the platform's name
        // is in both). The test machines have no DRM card.
        {"eglfs without a DRM device", "eglfs", {}, {}, false, true, "", "eglfs"},
        {"linuxfb without its frame buffer", "linuxfb:fb=/dev/vellix-no-fb", {}, {}, false, true, "", "linuxfb"},
        {"linuxfb failing, offscreen next", "linuxfb:fb=/dev/vellix-no-fb;offscreen", {}, {}, false, true, "offscreen", ""},
        {"minimal needs nothing", "minimal", {}, {}, false, true, "minimal", ""},
        {"a platform that cannot be checked", "vkkhrdisplay", {}, {}, false, true, "", "vkkhrdisplay"},
        {"upper-case name, as Qt accepts it", "OFFSCREEN", {}, {}, false, true, "OFFSCREEN", ""},
        {"X server accepts", {}, {}, live, true, true, "xcb", ""},
        {"X chosen, X server accepts", "xcb", {}, live, true, true, "xcb", ""},
        {"X server, screen 0", {}, {}, live + ".0", true, true, "xcb", ""},
        {"X server lacks screen 1", {}, {}, live + ".1", true, true, "", "the X display " + live + ".1 has no screen 1"},
        {"X server without our cookie", {}, {}, guarded.Display(), true, true, "",
         "the X display " + guarded.Display() + " refused the connection (Authorization required"},
        {"no X server on that number", {}, {}, ":918", false, true, "", "the X display :918 cannot be reached"},
        {"X server that never answers", {}, {}, ":917", false, true, "", "the X display :917 did not answer within 500 ms"},
        {"malformed DISPLAY", {}, {}, "nonsense", false, true, "", "DISPLAY \"nonsense\" is not an X display name"},
        {"X chosen, none set", "xcb", "wl-live", {}, false, true, "", "no X display is set"},
        {"Wayland compositor answers", {}, "wl-live", {}, true, true, "wayland", ""},
        {"Wayland before X", {}, "wl-live", live, true, true, "wayland", ""},
        {"Wayland chosen by QT_QPA_PLATFORM list", "xcb;wayland", "wl-live", {}, true, true, "wayland", ""},
        {"Wayland socket that is not a compositor", {}, "wl-silent", {}, false, true, "",
         "the Wayland display wl-silent did not answer within 500 ms"},
        {"dead Wayland socket", {}, "wl-dead", {}, false, true, "", "the Wayland display wl-dead cannot be reached"},
        {"dead Wayland socket, X accepts", {}, "wl-dead", live, true, true, "xcb", ""},
        {"Wayland then X, both dead", "wayland;xcb", "wl-dead", ":918", false, true, "",
         "wl-dead cannot be reached (Connection refused); the X display :918 cannot be reached"},
        {"Wayland without Qt's plugin", {}, "wl-live", {}, true, false, "",
         "no Qt platform plugin for \"wayland\" is installed (Debian package qt6-wayland), so the Wayland display wl-live cannot be used"},
    };
    for (const Case& c : cases) {
        if (c.needs && !(x.Ok() && guarded.Ok() && compositor.Ok())) {
            std::cout << "skipped (Xvfb or weston missing): " << c.name << "\n";
            continue;
        }
        Env env;
        env.Set("QT_QPA_PLATFORM", c.platform);
        env.Set("WAYLAND_DISPLAY", c.wayland);
        env.Set("WAYLAND_SOCKET", {});
        env.Set("DISPLAY", c.display);
        env.Set("XDG_RUNTIME_DIR", runtime.string());
        env.Set("XAUTHORITY", noCookies.string());
        PluginPaths plugins(c.pluginsInstalled);
        ui::qt::DisplayChoice choice = ui::qt::ChooseDisplay(kTimeout);
        EXPECT_EQ(choice.platform, c.chosen) << c.name << ": " << choice.problem;
        if (c.problem.empty())
            EXPECT_EQ(choice.problem, "") << c.name;
        else
            EXPECT_NE(choice.problem.find(c.problem), std::string::npos) << c.name << ": " << choice.problem;
        EXPECT_EQ(choice.problem.find('\n'), std::string::npos) << c.name << ": one line";
    }
    fs::remove_all(runtime);
}

// A silent Wayland socket and a silent X server share one deadline: the X handshake runs while
// the compositor is waited for, so both are given up together, not one timeout after the other.
TEST(DisplayProbeTest, TwoSilentServersCostOneDeadline)
{
    fs::path runtime = fs::temp_directory_path() / ("vellix-display-silent-" + std::to_string(getpid()));
    fs::create_directories(runtime);
    SilentListener silentX("/tmp/.X11-unix/X916", true);
    SilentListener silentWayland((runtime / "wl-silent").string(), false);
    ASSERT_TRUE(silentX.Ok() && silentWayland.Ok());
    Env env;
    env.Set("QT_QPA_PLATFORM", {});
    env.Set("WAYLAND_SOCKET", {});
    env.Set("WAYLAND_DISPLAY", "wl-silent");
    env.Set("DISPLAY", ":916");
    env.Set("XDG_RUNTIME_DIR", runtime.string());
    constexpr std::chrono::milliseconds kOne{1500};
    auto start = std::chrono::steady_clock::now();
    ui::qt::DisplayChoice choice = ui::qt::ChooseDisplay(kOne);
    auto took = std::chrono::steady_clock::now() - start;
    EXPECT_EQ(choice.platform, "");
    EXPECT_NE(choice.problem.find("the Wayland display wl-silent did not answer within 1500 ms; "
                                  "the X display :916 did not answer within 1500 ms"),
              std::string::npos)
        << choice.problem;
    // Waiting for them one after the other would take 3 s.
    EXPECT_LT(took, 2 * kOne - std::chrono::milliseconds(300))
        << std::chrono::duration_cast<std::chrono::milliseconds>(took).count() << " ms";
    fs::remove_all(runtime);
}

// A parent that ignores SIGCHLD passes that on to us; the check must still read its child's answer.
TEST(DisplayProbeTest, ARefusalIsSeenWhenChildrenAreReapedAutomatically)
{
    fs::path dir = fs::temp_directory_path() / ("vellix-display-sigchld-" + std::to_string(getpid()));
    fs::create_directories(dir);
    displaytest::WriteCookieFile(dir / "cookie");
    displaytest::XServer guarded(dir / "cookie");
    if (!guarded.Ok())
        GTEST_SKIP() << "Xvfb is missing";
    Env env;
    for (const char* name : {"QT_QPA_PLATFORM", "WAYLAND_DISPLAY", "WAYLAND_SOCKET"})
        env.Set(name, {});
    env.Set("XDG_RUNTIME_DIR", dir.string());
    env.Set("DISPLAY", guarded.Display());
    env.Set("XAUTHORITY", (dir / "none").string());
    auto previous = std::signal(SIGCHLD, SIG_IGN);
    ui::qt::DisplayChoice choice = ui::qt::ChooseDisplay(kTimeout);
    std::signal(SIGCHLD, previous);
    EXPECT_EQ(choice.platform, "");
    EXPECT_NE(choice.problem.find("refused the connection"), std::string::npos) << choice.problem;
    EXPECT_EQ(std::signal(SIGCHLD, previous), previous) << "the disposition is put back";
    fs::remove_all(dir);
}

// Without WAYLAND_DISPLAY, Qt looks for wayland-0 in XDG_RUNTIME_DIR, and so does the check.
TEST(DisplayProbeTest, TheDefaultWaylandSocketCountsAsADisplay)
{
    fs::path runtime = fs::temp_directory_path() / ("vellix-display-default-" + std::to_string(getpid()));
    fs::create_directories(runtime);
    Env env;
    for (const char* name : {"QT_QPA_PLATFORM", "WAYLAND_DISPLAY", "WAYLAND_SOCKET", "DISPLAY"})
        env.Set(name, {});
    env.Set("XDG_RUNTIME_DIR", runtime.string());
    EXPECT_EQ(ui::qt::ChooseDisplay(kTimeout).problem, "") << "no socket: no display, nothing to say";
    {
        SilentListener wayland0((runtime / "wayland-0").string(), false);
        ASSERT_TRUE(wayland0.Ok());
        ui::qt::DisplayChoice choice = ui::qt::ChooseDisplay(kTimeout);
        EXPECT_EQ(choice.platform, "");
        EXPECT_NE(choice.problem.find("the Wayland display wayland-0 did not answer"), std::string::npos) << choice.problem;
    }
    fs::remove_all(runtime);
}

}  // namespace
