// Which platform the desktop window opens on, decided before Qt starts from the environment and
// real connections: live, refusing, dead and silent X and Wayland servers, and missing plugins.
#include <QCoreApplication>
#include <QStringList>
#include <atomic>
#include <chrono>
#include <csignal>
#include <cstdlib>
#include <filesystem>
#include <iostream>
#include <gtest/gtest.h>
#include <map>
#include <optional>
#include <poll.h>
#include <string>
#include <sys/socket.h>
#include <sys/un.h>
#include <thread>
#include <unistd.h>
#include <vector>

#include "display_servers.h"
#include "ui/qt/display_probe.h"
#include "ui/qt/x11_check.h"

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

// Only an X display, `display`: no platform asked for, no Wayland display, and a runtime folder
// of the test's own, so that no default Wayland socket of the machine's is found.
void OnlyX(Env& env, const std::string& display, const fs::path& runtime)
{
    for (const char* name : {"QT_QPA_PLATFORM", "WAYLAND_DISPLAY", "WAYLAND_SOCKET"})
        env.Set(name, {});
    env.Set("XDG_RUNTIME_DIR", runtime.string());
    env.Set("DISPLAY", display);
}

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

// An X server that refuses us: it wants a cookie, and XAUTHORITY names a file that is not there.
class DisplayRefusalTest : public testing::Test {
protected:
    void SetUp() override
    {
        m_dir = fs::temp_directory_path() / ("vellix-display-refusing-" + std::to_string(getpid()));
        fs::create_directories(m_dir);
        displaytest::WriteCookieFile(m_dir / "cookie");
        m_server.emplace(m_dir / "cookie");
        if (!m_server->Ok())
            GTEST_SKIP() << "Xvfb is missing";
        m_env.Set("XAUTHORITY", (m_dir / "none").string());
    }
    void TearDown() override
    {
        m_server.reset();
        fs::remove_all(m_dir);
    }

    fs::path m_dir;
    Env m_env;
    std::optional<displaytest::XServer> m_server;
};

// A refusing server's reason is said once, in the check's answer, and not on standard error. A parent that ignores SIGCHLD changes nothing.
TEST_F(DisplayRefusalTest, TheReasonIsSaidOnceInTheAnswer)
{
    OnlyX(m_env, m_server->Display(), m_dir);
    auto previous = std::signal(SIGCHLD, SIG_IGN);
    testing::internal::CaptureStderr();
    ui::qt::DisplayChoice choice = ui::qt::ChooseDisplay(kTimeout);
    std::string stderrText = testing::internal::GetCapturedStderr();
    std::signal(SIGCHLD, previous);
    EXPECT_EQ(choice.platform, "");
    EXPECT_NE(choice.problem.find("refused the connection (Authorization required"), std::string::npos) << choice.problem;
    EXPECT_EQ(stderrText.find("Authorization required"), std::string::npos) << stderrText;
    EXPECT_EQ(std::signal(SIGCHLD, previous), previous) << "the disposition is put back";
}

// The user holding the server's cookie is let in: the check finds it in XAUTHORITY and presents
// it as Qt will.
TEST_F(DisplayRefusalTest, TheCookieInTheAuthorityFileLetsUsIn)
{
    OnlyX(m_env, m_server->Display(), m_dir);
    m_env.Set("XAUTHORITY", (m_dir / "cookie").string());
    ui::qt::DisplayChoice choice = ui::qt::ChooseDisplay(kTimeout);
    EXPECT_EQ(choice.platform, "xcb") << choice.problem;
}

// The cookie is looked up as xauth files it: for this machine by its host name and display
// number, also when the server is reached over TCP on the loopback address; an entry for another
// host or display is not ours.
TEST(DisplayProbeTest, TheCookieIsTheOneFiledForTheServerAsReached)
{
    fs::path dir = fs::temp_directory_path() / ("vellix-display-cookies-" + std::to_string(getpid()));
    fs::create_directories(dir);
    const std::string cookie = displaytest::WriteCookieFile(dir / "server");
    displaytest::XServer x(dir / "server", displaytest::XServer::Lifetime::Stays, displaytest::XServer::Reach::LocalAndTcp);
    if (!x.Ok())
        GTEST_SKIP() << "Xvfb is missing";
    char host[256] = {};
    ASSERT_EQ(gethostname(host, sizeof host - 1), 0);
    const std::string number = x.Display().substr(1);
    const std::string other = std::to_string(std::stoi(number) + 1);
    constexpr unsigned kThisMachine = 256;
    struct Case {
        const char* name;
        std::string display;
        std::string entryHost, entryNumber;
        bool accepted;
    } cases[] = {
        {"local socket", ":" + number, host, number, true},
        {"local socket, named unix", "unix:" + number, host, number, true},
        {"loopback by name", "localhost:" + number, host, number, true},
        {"loopback by address", "127.0.0.1:" + number, host, number, true},
        {"TCP asked for by protocol", "tcp/localhost:" + number, host, number, true},
        {"an entry for another host", ":" + number, "elsewhere.invalid", number, false},
        {"an entry for another display", "localhost:" + number, host, other, false},
    };
    for (const Case& c : cases) {
        displaytest::WriteCookieEntry(dir / "client", cookie, kThisMachine, c.entryHost, c.entryNumber);
        Env env;
        OnlyX(env, c.display, dir);
        env.Set("XAUTHORITY", (dir / "client").string());
        ui::qt::DisplayChoice choice = ui::qt::ChooseDisplay(kTimeout);
        EXPECT_EQ(choice.platform, c.accepted ? "xcb" : "") << c.name << ": " << choice.problem;
        if (!c.accepted) {
            EXPECT_NE(choice.problem.find("refused the connection ("), std::string::npos) << c.name << ": " << choice.problem;
        }
    }
    fs::remove_all(dir);
}

// An X server started with -terminate ends when its last client leaves. The check's own
// connection is that client until Qt has made its own, so the server is still there for Qt:
// it stays up while the choice is held and ends once it is let go.
TEST(DisplayProbeTest, AServerThatEndsWithItsLastClientIsHeldForQt)
{
    fs::path dir = fs::temp_directory_path() / ("vellix-display-terminate-" + std::to_string(getpid()));
    fs::create_directories(dir);
    displaytest::XServer x({}, displaytest::XServer::Lifetime::EndsWithLastClient);
    if (!x.Ok())
        GTEST_SKIP() << "Xvfb is missing";
    Env env;
    OnlyX(env, x.Display(), dir);
    {
        ui::qt::DisplayChoice choice = ui::qt::ChooseDisplay(kTimeout);
        ASSERT_EQ(choice.platform, "xcb") << choice.problem;
        // A server left without clients is gone well within this.
        std::this_thread::sleep_for(std::chrono::milliseconds(500));
        EXPECT_TRUE(x.Running()) << "the server ended while the choice was held";
    }
    bool ended = false;
    for (int i = 0; i < 100 && !ended; ++i) {
        std::this_thread::sleep_for(std::chrono::milliseconds(50));
        ended = !x.Running();
    }
    EXPECT_TRUE(ended) << "the check's connection was not let go with the choice";
    fs::remove_all(dir);
}

// Stands on an X display number in front of a real server and drops the first client without a
// word, as a server does to the clients that arrive while it resets itself; the clients after
// it are passed through to the real server.
class DroppingProxy {
public:
    DroppingProxy(int number, const std::string& realDisplay) : m_listener(Listen(number))
    {
        m_real = "/tmp/.X11-unix/X" + realDisplay.substr(1);
        if (m_listener >= 0)
            m_thread = std::thread([this] { Serve(); });
    }
    ~DroppingProxy()
    {
        m_stop = true;
        if (m_thread.joinable())
            m_thread.join();
        if (m_listener >= 0)
            close(m_listener);
    }
    bool Ok() const { return m_listener >= 0; }
    int Dropped() const { return m_dropped; }

private:
    static int Listen(int number)
    {
        int fd = socket(AF_UNIX, SOCK_STREAM | SOCK_CLOEXEC, 0);
        sockaddr_un addr{};
        addr.sun_family = AF_UNIX;
        std::string path = "/tmp/.X11-unix/X" + std::to_string(number);
        path.copy(addr.sun_path + 1, path.size());
        auto len = static_cast<socklen_t>(offsetof(sockaddr_un, sun_path) + 1 + path.size());
        if (bind(fd, reinterpret_cast<sockaddr*>(&addr), len) != 0 || listen(fd, 16) != 0) {
            close(fd);
            return -1;
        }
        return fd;
    }
    int ConnectReal() const
    {
        int fd = socket(AF_UNIX, SOCK_STREAM | SOCK_CLOEXEC, 0);
        sockaddr_un addr{};
        addr.sun_family = AF_UNIX;
        m_real.copy(addr.sun_path, m_real.size());
        if (connect(fd, reinterpret_cast<sockaddr*>(&addr), sizeof addr) != 0) {
            close(fd);
            return -1;
        }
        return fd;
    }
    void Serve()
    {
        std::vector<std::pair<int, int>> pairs;
        while (!m_stop) {
            std::vector<pollfd> fds{{m_listener, POLLIN, 0}};
            for (auto [a, b] : pairs) {
                fds.push_back({a, POLLIN, 0});
                fds.push_back({b, POLLIN, 0});
            }
            if (poll(fds.data(), fds.size(), 50) <= 0)
                continue;
            if (fds[0].revents & POLLIN) {
                int client = accept4(m_listener, nullptr, nullptr, SOCK_CLOEXEC);
                if (client >= 0 && m_dropped == 0) {
                    ++m_dropped;
                    close(client);
                } else if (client >= 0) {
                    pairs.push_back({client, ConnectReal()});
                }
            }
            for (std::size_t i = 1; i < fds.size(); ++i) {
                if (!(fds[i].revents & (POLLIN | POLLHUP)))
                    continue;
                auto [a, b] = pairs[(i - 1) / 2];
                int to = fds[i].fd == a ? b : a;
                char buf[4096];
                ssize_t n = read(fds[i].fd, buf, sizeof buf);
                if (n > 0 && to >= 0)
                    (void)!write(to, buf, static_cast<std::size_t>(n));
            }
        }
        for (auto [a, b] : pairs) {
            close(a);
            close(b);
        }
    }

    int m_listener;
    std::string m_real;
    std::atomic<bool> m_stop{false};
    std::atomic<int> m_dropped{0};
    std::thread m_thread;
};

// Stands on an X display number and answers every client alike: with `greeting`, which it then
// leaves the connection open after, or, without one, by hanging up at once.
class WrongServer {
public:
    WrongServer(int number, std::optional<std::string> greeting) : m_greeting(std::move(greeting))
    {
        m_listener = socket(AF_UNIX, SOCK_STREAM | SOCK_CLOEXEC, 0);
        sockaddr_un addr{};
        addr.sun_family = AF_UNIX;
        std::string path = "/tmp/.X11-unix/X" + std::to_string(number);
        path.copy(addr.sun_path + 1, path.size());
        auto len = static_cast<socklen_t>(offsetof(sockaddr_un, sun_path) + 1 + path.size());
        if (bind(m_listener, reinterpret_cast<sockaddr*>(&addr), len) == 0 && listen(m_listener, 16) == 0)
            m_thread = std::thread([this] { Serve(); });
    }
    ~WrongServer()
    {
        m_stop = true;
        if (m_thread.joinable())
            m_thread.join();
        for (int fd : m_clients)
            close(fd);
        close(m_listener);
    }
    bool Ok() const { return m_thread.joinable(); }

private:
    void Serve()
    {
        while (!m_stop) {
            pollfd p{m_listener, POLLIN, 0};
            if (poll(&p, 1, 50) <= 0)
                continue;
            int client = accept4(m_listener, nullptr, nullptr, SOCK_CLOEXEC);
            if (client < 0)
                continue;
            if (!m_greeting) {
                close(client);
                continue;
            }
            (void)!write(client, m_greeting->data(), m_greeting->size());
            m_clients.push_back(client);
        }
    }

    std::optional<std::string> m_greeting;
    int m_listener = -1;
    std::vector<int> m_clients;
    std::atomic<bool> m_stop{false};
    std::thread m_thread;
};

// Something other than an X server on the display's socket is told apart as soon as it has said
// something, or hung up on the second try too; nothing waits for the deadline.
TEST(DisplayProbeTest, WhatIsNoXServerIsToldApartWithoutWaiting)
{
    fs::path dir = fs::temp_directory_path() / ("vellix-display-wrong-" + std::to_string(getpid()));
    fs::create_directories(dir);
    struct Case {
        const char* name;
        std::optional<std::string> greeting;
        std::string problem;
    } cases[] = {
        {"a web server", "HTTP/1.1 400 Bad Request\r\n\r\n", "the X display :913 did not answer as an X server"},
        {"hangs up on every client", std::nullopt, "the X display :913 closed the connection without answering"},
    };
    constexpr std::chrono::milliseconds kLong{3000};
    for (const Case& c : cases) {
        WrongServer server(913, c.greeting);
        ASSERT_TRUE(server.Ok()) << c.name;
        Env env;
        OnlyX(env, ":913", dir);
        auto start = std::chrono::steady_clock::now();
        ui::qt::DisplayChoice choice = ui::qt::ChooseDisplay(kLong);
        auto took = std::chrono::steady_clock::now() - start;
        EXPECT_EQ(choice.platform, "") << c.name;
        EXPECT_NE(choice.problem.find(c.problem), std::string::npos) << c.name << ": " << choice.problem;
        EXPECT_LT(took, kLong / 2) << c.name << ": " << std::chrono::duration_cast<std::chrono::milliseconds>(took).count() << " ms";
    }
    fs::remove_all(dir);
}

TEST(DisplayProbeTest, AClientDroppedDuringAServerResetIsTriedAgain)
{
    displaytest::XServer x;
    if (!x.Ok())
        GTEST_SKIP() << "Xvfb is missing";
    DroppingProxy proxy(915, x.Display());
    ASSERT_TRUE(proxy.Ok());
    fs::path dir = fs::temp_directory_path() / ("vellix-display-dropped-" + std::to_string(getpid()));
    fs::create_directories(dir);
    Env env;
    OnlyX(env, ":915", dir);
    ui::qt::DisplayChoice choice = ui::qt::ChooseDisplay(kTimeout);
    EXPECT_EQ(proxy.Dropped(), 1);
    EXPECT_EQ(choice.platform, "xcb") << choice.problem;
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
