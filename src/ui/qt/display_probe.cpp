// Whether a desktop display can be reached, found without opening a toolkit connection, so that
// the terminal front-end can take over quietly when there is none.
#include <algorithm>
#include <cerrno>
#include <cstddef>
#include <cstdlib>
#include <cstring>
#include <fcntl.h>
#include <netdb.h>
#include <poll.h>
#include <string>
#include <sys/socket.h>
#include <sys/un.h>
#include <unistd.h>

#include "ui/qt/qt_frontend_run.h"

namespace ui::qt {
namespace {

std::string Env(const char* name)
{
    const char* v = std::getenv(name);
    return v ? v : "";
}

// A connection to a local socket; `abstract` uses the Linux abstract namespace, which X servers
// also listen on when the /tmp/.X11-unix directory is not shared with us. Never blocks: a server
// whose queue is full is there all the same.
bool ConnectUnix(const std::string& path, bool abstract)
{
    sockaddr_un addr{};
    addr.sun_family = AF_UNIX;
    std::size_t offset = abstract ? 1 : 0;
    if (path.size() + offset >= sizeof(addr.sun_path))
        return false;
    std::memcpy(addr.sun_path + offset, path.data(), path.size());
    int fd = socket(AF_UNIX, SOCK_STREAM | SOCK_NONBLOCK | SOCK_CLOEXEC, 0);
    if (fd < 0)
        return false;
    auto len = static_cast<socklen_t>(offsetof(sockaddr_un, sun_path) + offset + path.size());
    bool ok = connect(fd, reinterpret_cast<sockaddr*>(&addr), len) == 0 || errno == EAGAIN;
    close(fd);
    return ok;
}

// A TCP connection with a short deadline, so that an unreachable remote display costs little.
bool ConnectTcp(const std::string& host, int port)
{
    addrinfo hints{};
    hints.ai_socktype = SOCK_STREAM;
    addrinfo* found = nullptr;
    if (getaddrinfo(host.c_str(), std::to_string(port).c_str(), &hints, &found) != 0)
        return false;
    bool ok = false;
    for (addrinfo* a = found; a && !ok; a = a->ai_next) {
        int fd = socket(a->ai_family, a->ai_socktype | SOCK_NONBLOCK | SOCK_CLOEXEC, a->ai_protocol);
        if (fd < 0)
            continue;
        if (connect(fd, a->ai_addr, a->ai_addrlen) == 0) {
            ok = true;
        } else if (errno == EINPROGRESS) {
            pollfd p{fd, POLLOUT, 0};
            int err = 0;
            socklen_t errLen = sizeof err;
            ok = poll(&p, 1, 500) == 1 && getsockopt(fd, SOL_SOCKET, SO_ERROR, &err, &errLen) == 0 && err == 0;
        }
        close(fd);
    }
    freeaddrinfo(found);
    return ok;
}

// DISPLAY is [host]:number[.screen]; an empty host or "unix" means the local socket.
bool X11Reachable(const std::string& display)
{
    std::size_t colon = display.rfind(':');
    if (colon == std::string::npos || colon + 1 >= display.size())
        return false;
    std::string host = display.substr(0, colon);
    std::string number = display.substr(colon + 1);
    number = number.substr(0, number.find('.'));
    if (number.empty() || number.find_first_not_of("0123456789") != std::string::npos)
        return false;
    if (host.empty() || host == "unix") {
        std::string path = "/tmp/.X11-unix/X" + number;
        return ConnectUnix(path, false) || ConnectUnix(path, true);
    }
    return ConnectTcp(host, 6000 + std::atoi(number.c_str()));
}

bool WaylandReachable(const std::string& display)
{
    if (display.front() == '/')
        return ConnectUnix(display, false);
    std::string runtime = Env("XDG_RUNTIME_DIR");
    return !runtime.empty() && ConnectUnix(runtime + "/" + display, false);
}

}  // namespace

bool DisplayAvailable()
{
    std::string wayland = Env("WAYLAND_DISPLAY");
    std::string x11 = Env("DISPLAY");
    bool waylandUp = !wayland.empty() && WaylandReachable(wayland);
    bool x11Up = !x11.empty() && X11Reachable(x11);

    // QT_QPA_PLATFORM may name several platforms to try in turn ("wayland;xcb"), each perhaps
    // with options after a colon. Those that draw without a display server (offscreen, vnc,
    // linuxfb ...) can always be opened.
    std::string platforms = Env("QT_QPA_PLATFORM");
    if (platforms.empty())
        return waylandUp || x11Up;
    for (std::size_t start = 0; start <= platforms.size();) {
        std::size_t end = std::min(platforms.find(';', start), platforms.size());
        std::string name = platforms.substr(start, end - start);
        name = name.substr(0, name.find(':'));
        if (name == "xcb" ? x11Up : name.rfind("wayland", 0) == 0 ? waylandUp : !name.empty())
            return true;
        start = end + 1;
    }
    return false;
}

}  // namespace ui::qt
