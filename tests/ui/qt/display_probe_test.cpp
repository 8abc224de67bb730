// Whether a desktop display is reachable, decided from the environment and a real connection.
#include <cstdlib>
#include <filesystem>
#include <gtest/gtest.h>
#include <map>
#include <optional>
#include <string>
#include <sys/socket.h>
#include <sys/un.h>
#include <unistd.h>

#include "ui/qt/qt_frontend_run.h"

namespace {

// Sets or clears variables for one test and puts the old values back.
class Env {
public:
    void Set(const char* name, std::optional<std::string> value)
    {
        if (!m_saved.count(name)) {
            const char* old = std::getenv(name);
            m_saved[name] = old ? std::optional<std::string>(old) : std::nullopt;
        }
        if (value)
            setenv(name, value->c_str(), 1);
        else
            unsetenv(name);
    }
    ~Env()
    {
        for (auto& [name, value] : m_saved)
            value ? setenv(name.c_str(), value->c_str(), 1) : unsetenv(name.c_str());
    }

private:
    std::map<std::string, std::optional<std::string>> m_saved;
};

// A listening local socket; `abstract` puts it in the abstract namespace, leaving no file.
class Listener {
public:
    Listener(const std::string& path, bool abstract)
    {
        m_fd = socket(AF_UNIX, SOCK_STREAM, 0);
        sockaddr_un addr{};
        addr.sun_family = AF_UNIX;
        std::size_t offset = abstract ? 1 : 0;
        path.copy(addr.sun_path + offset, path.size());
        auto len = static_cast<socklen_t>(offsetof(sockaddr_un, sun_path) + offset + path.size());
        m_ok = bind(m_fd, reinterpret_cast<sockaddr*>(&addr), len) == 0 && listen(m_fd, 16) == 0;
    }
    ~Listener() { close(m_fd); }
    bool Ok() const { return m_ok; }

private:
    int m_fd;
    bool m_ok = false;
};

TEST(DisplayProbeTest, AReachableDisplayOrAChosenPlatformOpensTheDesktopWindow)
{
    namespace fs = std::filesystem;
    // An X server nobody else uses (display 917) that listens in the abstract namespace only, and
    // a Wayland socket in a private runtime directory.
    Listener x11("/tmp/.X11-unix/X917", true);
    ASSERT_TRUE(x11.Ok());
    fs::path runtime = fs::temp_directory_path() / ("vellix-wl-" + std::to_string(getpid()));
    fs::create_directories(runtime);
    Listener wayland((runtime / "wl-test").string(), false);
    ASSERT_TRUE(wayland.Ok());

    struct Case {
        const char* name;
        std::optional<std::string> platform, wayland, display;
        bool available;
    };
    const Case cases[] = {
        {"nothing set", {}, {}, {}, false},
        {"offscreen chosen", "offscreen", {}, {}, true},
        {"offscreen with options", "offscreen:size=640x480", {}, {}, true},
        {"X chosen, X server there", "xcb", {}, ":917", true},
        {"X chosen, no X server", "xcb", {}, ":918", false},
        {"X chosen, Wayland only", "xcb", "wl-test", {}, false},
        {"Wayland then X, X there", "wayland;xcb", {}, ":917", true},
        {"Wayland then X, neither", "wayland;xcb", "wl-gone", ":918", false},
        {"local X server listening", {}, {}, ":917", true},
        {"local X server with screen number", {}, {}, ":917.0", true},
        {"unix: prefix", {}, {}, "unix:917", true},
        {"no X server on that number", {}, {}, ":918", false},
        {"malformed DISPLAY", {}, {}, "nonsense", false},
        {"Wayland socket present", {}, "wl-test", {}, true},
        {"Wayland socket absent, X present", {}, "wl-gone", ":917", true},
        {"Wayland socket absent", {}, "wl-gone", {}, false},
        {"closed TCP display", {}, {}, "127.0.0.1:59", false},
    };
    for (const Case& c : cases) {
        Env env;
        env.Set("QT_QPA_PLATFORM", c.platform);
        env.Set("WAYLAND_DISPLAY", c.wayland);
        env.Set("DISPLAY", c.display);
        env.Set("XDG_RUNTIME_DIR", runtime.string());
        EXPECT_EQ(ui::qt::DisplayAvailable(), c.available) << c.name;
    }
    fs::remove_all(runtime);
}

}  // namespace
