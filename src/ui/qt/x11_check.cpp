#include "ui/qt/x11_check.h"

#include <cerrno>
#include <csignal>
#include <cstdlib>
#include <cstring>
#include <fcntl.h>
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

X11Handshake::X11Handshake(std::string display) : m_display(std::move(display))
{
    std::string shown = "the X display " + m_display;
    char* host = nullptr;
    int number = 0, screen = 0;
    if (!xcb_parse_display(m_display.c_str(), &host, &number, &screen)) {
        m_result = "DISPLAY \"" + m_display + "\" is not an X display name";
        m_done = true;
        return;
    }
    std::free(host);
    int pipeFds[2];
    if (pipe2(pipeFds, O_CLOEXEC) != 0) {
        m_result = shown + " could not be checked (" + std::strerror(errno) + ")";
        m_done = true;
        return;
    }
    // A SIGCHLD ignored by whoever started us would reap the child before we read its status.
    struct sigaction reaping{};
    reaping.sa_handler = SIG_DFL;
    sigaction(SIGCHLD, &reaping, &m_previous);
    m_child = fork();
    if (m_child < 0) {
        m_result = shown + " could not be checked (" + std::strerror(errno) + ")";
        m_done = true;
        sigaction(SIGCHLD, &m_previous, nullptr);
        close(pipeFds[0]);
        close(pipeFds[1]);
        return;
    }
    if (m_child == 0) {
        close(pipeFds[0]);
        ConnectAndExit(m_display, pipeFds[1]);
    }
    close(pipeFds[1]);
    m_fd = pipeFds[0];
}

X11Handshake::~X11Handshake()
{
    if (!m_done)
        Collect(Deadline::After(std::chrono::milliseconds(0)));
}

const std::string& X11Handshake::Result(const Deadline& deadline)
{
    if (!m_done)
        Collect(deadline);
    return m_result;
}

void X11Handshake::Collect(const Deadline& deadline)
{
    m_done = true;
    std::string shown = "the X display " + m_display;
    // The child's end closes when it exits; until then collect what it says.
    std::string said;
    bool finished = false;
    while (!finished && WaitReadable(m_fd, deadline) > 0) {
        char buf[512];
        ssize_t n = read(m_fd, buf, sizeof buf);
        if (n > 0 && said.size() < 1000)
            said.append(buf, static_cast<std::size_t>(n));
        finished = n == 0 || (n < 0 && errno != EINTR && errno != EAGAIN);
    }
    close(m_fd);
    m_fd = -1;
    if (!finished)
        kill(m_child, SIGKILL);
    int status = 0;
    pid_t waited;
    while ((waited = waitpid(m_child, &status, 0)) < 0 && errno == EINTR) {
    }
    sigaction(SIGCHLD, &m_previous, nullptr);
    if (!finished) {
        m_result = shown + " " + deadline.Missed();
        return;
    }
    if (waited != m_child || !WIFEXITED(status)) {
        m_result = shown + " could not be checked (the check itself failed)";
        return;
    }
    said = Trimmed(said);
    int screen = 0;
    char* host = nullptr;
    int number = 0;
    xcb_parse_display(m_display.c_str(), &host, &number, &screen);
    std::free(host);
    switch (WEXITSTATUS(status)) {
    case kAccepted: m_result.clear(); break;
    case XCB_CONN_CLOSED_PARSE_ERR: m_result = "DISPLAY \"" + m_display + "\" is not an X display name"; break;
    case XCB_CONN_CLOSED_INVALID_SCREEN: m_result = shown + " has no screen " + std::to_string(screen); break;
    case XCB_CONN_ERROR:
        // A server that refuses says why; a connection that fails says nothing.
        m_result = said.empty() ? shown + " cannot be reached" : shown + " refused the connection (" + said + ")";
        break;
    default: m_result = shown + " failed (xcb error " + std::to_string(WEXITSTATUS(status)) + ")";
    }
}

}  // namespace ui::qt
