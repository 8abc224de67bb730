#include "ui/qt/x11_check.h"

#include <algorithm>
#include <cerrno>
#include <csignal>
#include <cstdlib>
#include <cstring>
#include <fcntl.h>
#include <poll.h>
#include <sys/wait.h>
#include <unistd.h>
#include <xcb/xcb.h>

namespace ui::qt {
namespace {

// What the child reports through its exit status besides xcb's own error codes.
constexpr int kAccepted = 0;

// Runs in the child: libxcb writes a refusing server's reason to standard error, which is the
// pipe here, and the exit status carries xcb's error code.
[[noreturn]] void ConnectAndExit(const std::string& display, int errFd)
{
    dup2(errFd, STDERR_FILENO);
    // A server that hangs up mid-handshake must give an answer, not end the child by a signal.
    std::signal(SIGPIPE, SIG_IGN);
    int screen = 0;
    xcb_connection_t* c = xcb_connect(display.c_str(), &screen);
    int error = xcb_connection_has_error(c);
    // The exit status is all the parent needs; closing politely would only cost time.
    _exit(error ? error : kAccepted);
}

std::string Trimmed(std::string s)
{
    while (!s.empty() && (s.back() == '\n' || s.back() == '\r' || s.back() == ' ' || s.back() == '.'))
        s.pop_back();
    for (char& ch : s)
        if (ch == '\n' || ch == '\r')
            ch = ' ';
    return s;
}

}  // namespace

std::string CheckX11Display(const std::string& display, std::chrono::milliseconds timeout)
{
    std::string shown = "the X display " + display;
    char* host = nullptr;
    int number = 0, screen = 0;
    if (!xcb_parse_display(display.c_str(), &host, &number, &screen))
        return "DISPLAY \"" + display + "\" is not an X display name";
    std::free(host);

    // xcb_connect has no deadline, and a server that accepts the socket but never answers would
    // hold the program forever: the handshake runs in a child that can be abandoned.
    int pipeFds[2];
    if (pipe2(pipeFds, O_CLOEXEC) != 0)
        return shown + " could not be checked (" + std::strerror(errno) + ")";
    // A SIGCHLD ignored by whoever started us would reap the child before we read its status.
    struct sigaction reaping{}, previous{};
    reaping.sa_handler = SIG_DFL;
    sigaction(SIGCHLD, &reaping, &previous);
    pid_t child = fork();
    if (child < 0) {
        int error = errno;
        sigaction(SIGCHLD, &previous, nullptr);
        close(pipeFds[0]);
        close(pipeFds[1]);
        return shown + " could not be checked (" + std::strerror(error) + ")";
    }
    if (child == 0) {
        close(pipeFds[0]);
        ConnectAndExit(display, pipeFds[1]);
    }
    close(pipeFds[1]);

    // The child's end closes when it exits; until then collect what it says.
    std::string said;
    auto deadline = std::chrono::steady_clock::now() + timeout;
    bool finished = false;
    while (!finished) {
        auto left = std::chrono::duration_cast<std::chrono::milliseconds>(deadline - std::chrono::steady_clock::now());
        pollfd p{pipeFds[0], POLLIN, 0};
        int ready = poll(&p, 1, static_cast<int>(std::max<long long>(left.count(), 0)));
        if (ready < 0 && errno == EINTR)
            continue;
        if (ready <= 0)
            break;
        char buf[512];
        ssize_t n = read(pipeFds[0], buf, sizeof buf);
        if (n > 0 && said.size() < 1000)
            said.append(buf, static_cast<std::size_t>(n));
        finished = n == 0 || (n < 0 && errno != EINTR && errno != EAGAIN);
    }
    close(pipeFds[0]);
    if (!finished)
        kill(child, SIGKILL);
    int status = 0;
    pid_t waited;
    while ((waited = waitpid(child, &status, 0)) < 0 && errno == EINTR) {
    }
    sigaction(SIGCHLD, &previous, nullptr);
    if (!finished)
        return shown + " did not answer within " + std::to_string(timeout.count()) + " ms";
    if (waited != child || !WIFEXITED(status))
        return shown + " could not be checked (the check itself failed)";

    said = Trimmed(said);
    switch (WEXITSTATUS(status)) {
    case kAccepted: return "";
    case XCB_CONN_CLOSED_PARSE_ERR: return "DISPLAY \"" + display + "\" is not an X display name";
    case XCB_CONN_CLOSED_INVALID_SCREEN:
        return shown + " has no screen " + std::to_string(screen);
    case XCB_CONN_ERROR:
        // A server that refuses says why; a connection that fails says nothing.
        return said.empty() ? shown + " cannot be reached" : shown + " refused the connection (" + said + ")";
    default: return shown + " failed (xcb error " + std::to_string(WEXITSTATUS(status)) + ")";
    }
}

}  // namespace ui::qt
