#include "ui/qt/x11_socket.h"

#include <X11/Xauth.h>
#include <arpa/inet.h>
#include <cerrno>
#include <chrono>
#include <cstddef>
#include <cstdlib>
#include <cstring>
#include <memory>
#include <netdb.h>
#include <netinet/in.h>
#include <poll.h>
#include <sys/socket.h>
#include <sys/un.h>
#include <unistd.h>
#include <xcb/xcb.h>
#include <xcb/xproto.h>

namespace ui::qt::x11 {
namespace {

constexpr int kFirstPort = 6000;
constexpr char kSocketBase[] = "/tmp/.X11-unix/X";
constexpr char kCookie[] = "MIT-MAGIC-COOKIE-1";

int ConnectUnix(const sockaddr_un& address, socklen_t length)
{
    int fd = socket(AF_UNIX, SOCK_STREAM | SOCK_NONBLOCK | SOCK_CLOEXEC, 0);
    if (fd < 0)
        return -1;
    if (connect(fd, reinterpret_cast<const sockaddr*>(&address), length) == 0)
        return fd;
    int why = errno;
    close(fd);
    errno = why;
    return -1;
}

// Waits for a non-blocking connect to end: 0 when connected, else an errno value.
int FinishConnect(int fd, const Deadline& deadline)
{
    int ready = WaitFor(fd, POLLOUT, deadline);
    if (ready <= 0)
        return ready == 0 ? ETIMEDOUT : errno;
    int error = 0;
    socklen_t size = sizeof error;
    if (getsockopt(fd, SOL_SOCKET, SO_ERROR, &error, &size) != 0)
        return errno;
    return error;
}

// The host's addresses, looked up beside the caller (by the C library's own thread) so that a
// name server that never answers costs no more than the deadline.
struct Lookup {
    std::string host;
    std::string service;
    addrinfo hints{};
    gaicb request{};
};

addrinfo* LookUp(const std::string& host, int port, const Deadline& deadline, std::string& problem)
{
    auto lookup = std::make_unique<Lookup>(Lookup{host, std::to_string(port), {}, {}});
    lookup->hints.ai_socktype = SOCK_STREAM;
    lookup->hints.ai_flags = AI_NUMERICSERV;
    std::string& name = lookup->host;
    // An IPv6 address may be written in brackets: "[::1]:0".
    if (name.size() > 2 && name.front() == '[' && name.back() == ']') {
        name = name.substr(1, name.size() - 2);
        lookup->hints.ai_family = AF_INET6;
        lookup->hints.ai_flags |= AI_NUMERICHOST;
    }
    lookup->request.ar_name = lookup->host.c_str();
    lookup->request.ar_service = lookup->service.c_str();
    lookup->request.ar_request = &lookup->hints;
    gaicb* requests[] = {&lookup->request};
    int error = getaddrinfo_a(GAI_NOWAIT, requests, 1, nullptr);
    if (error == 0)
        error = gai_error(&lookup->request);
    for (; error == EAI_INPROGRESS; error = gai_error(&lookup->request)) {
        auto left = deadline.end - std::chrono::steady_clock::now();
        if (left <= std::chrono::steady_clock::duration::zero()) {
            // A lookup that cannot be stopped still writes to its request: that is left to it.
            if (gai_cancel(&lookup->request) == EAI_NOTCANCELED)
                static_cast<void>(lookup.release());
            else if (lookup->request.ar_result)
                freeaddrinfo(lookup->request.ar_result);
            problem.clear();  // time is up
            return nullptr;
        }
        auto seconds = std::chrono::duration_cast<std::chrono::seconds>(left);
        timespec wait{static_cast<time_t>(seconds.count()),
                      static_cast<long>(std::chrono::duration_cast<std::chrono::nanoseconds>(left - seconds).count())};
        gai_suspend(requests, 1, &wait);  // whatever ended the wait, the request's state says
    }
    if (error != 0) {
        problem = error == EAI_SYSTEM ? std::strerror(errno) : gai_strerror(error);
        return nullptr;
    }
    return lookup->request.ar_result;
}

}  // namespace

std::optional<DisplayName> ParseDisplayName(const std::string& display)
{
    DisplayName name;
    char* host = nullptr;
    if (display.empty() || !xcb_parse_display(display.c_str(), &host, &name.number, &name.screen))
        return std::nullopt;
    name.host = host;
    std::free(host);
    // libxcb reads the protocol before the last '/' but does not hand it out.
    if (auto slash = display.rfind('/'); slash != std::string::npos)
        name.protocol = display.substr(0, slash);
    return name;
}

bool OverNetwork(const DisplayName& name)
{
    return name.protocol != "unix" && !name.host.empty() && name.host != "unix";
}

int ConnectLocal(const DisplayName& name)
{
    if (!name.protocol.empty() && name.protocol != "unix") {
        errno = EPROTONOSUPPORT;
        return -1;
    }
    const std::string path = kSocketBase + std::to_string(name.number);
    sockaddr_un address{};
    address.sun_family = AF_UNIX;
    // The abstract name (a NUL, then the path) first, which the server also listens on.
    std::memcpy(address.sun_path + 1, path.data(), path.size());
    int fd = ConnectUnix(address, static_cast<socklen_t>(offsetof(sockaddr_un, sun_path) + 1 + path.size()));
    if (fd >= 0 || (errno != ENOENT && errno != ECONNREFUSED))
        return fd;
    address = {};
    address.sun_family = AF_UNIX;
    std::memcpy(address.sun_path, path.data(), path.size());
    return ConnectUnix(address, sizeof address);
}

int ConnectNetwork(const DisplayName& name, const Deadline& deadline, std::string& problem)
{
    const auto& p = name.protocol;
    if (!p.empty() && p != "tcp" && p != "inet" && p != "inet6") {
        problem = "the protocol \"" + p + "\" is not one X is reached by";
        return -1;
    }
    addrinfo* found = LookUp(name.host.empty() ? "localhost" : name.host, kFirstPort + name.number, deadline, problem);
    int fd = -1;
    for (addrinfo* a = found; a && fd < 0; a = a->ai_next) {
        fd = socket(a->ai_family, a->ai_socktype | SOCK_NONBLOCK | SOCK_CLOEXEC, a->ai_protocol);
        if (fd < 0) {
            problem = std::strerror(errno);
            continue;
        }
        int error = connect(fd, a->ai_addr, a->ai_addrlen) == 0 ? 0 : errno;
        if (error == EINPROGRESS)
            error = FinishConnect(fd, deadline);
        if (error != 0) {
            problem = error == ETIMEDOUT ? "" : std::strerror(error);
            close(fd);
            fd = -1;
        }
    }
    if (found)
        freeaddrinfo(found);
    return fd;
}

Authorization AuthorizationFor(int fd, int number)
{
    sockaddr_storage peer{};
    socklen_t size = sizeof peer;
    if (getpeername(fd, reinterpret_cast<sockaddr*>(&peer), &size) != 0)
        peer.ss_family = AF_UNIX;  // some systems name no peer of a local socket
    // The authority file names the server by address: this machine's own by its host name.
    unsigned short family = FamilyLocal;
    std::string address;
    if (peer.ss_family == AF_INET6) {
        const in6_addr& a6 = reinterpret_cast<const sockaddr_in6&>(peer).sin6_addr;
        if (IN6_IS_ADDR_V4MAPPED(&a6)) {
            in_addr a4;
            std::memcpy(&a4, a6.s6_addr + 12, 4);
            if (a4.s_addr != htonl(INADDR_LOOPBACK)) {
                family = XCB_FAMILY_INTERNET;
                address.assign(reinterpret_cast<const char*>(&a4), 4);
            }
        } else if (!IN6_IS_ADDR_LOOPBACK(&a6)) {
            family = XCB_FAMILY_INTERNET_6;
            address.assign(reinterpret_cast<const char*>(&a6), sizeof a6);
        }
    } else if (peer.ss_family == AF_INET) {
        const in_addr& a4 = reinterpret_cast<const sockaddr_in&>(peer).sin_addr;
        if (a4.s_addr != htonl(INADDR_LOOPBACK)) {
            family = XCB_FAMILY_INTERNET;
            address.assign(reinterpret_cast<const char*>(&a4), sizeof a4);
        }
    } else if (peer.ss_family != AF_UNIX) {
        return {};
    }
    if (family == FamilyLocal) {
        char host[256] = {};
        if (gethostname(host, sizeof host - 1) != 0)
            return {};
        address = host;
    }
    const std::string display = std::to_string(number);
    char* types[] = {const_cast<char*>(kCookie)};
    int typeLengths[] = {static_cast<int>(sizeof kCookie - 1)};
    Xauth* entry = XauGetBestAuthByAddr(family, static_cast<unsigned short>(address.size()), address.data(),
                                        static_cast<unsigned short>(display.size()), display.data(), 1, types, typeLengths);
    if (!entry)
        return {};
    Authorization found{std::string(entry->name, entry->name_length), std::string(entry->data, entry->data_length)};
    XauDisposeAuth(entry);
    return found;
}

}  // namespace ui::qt::x11
