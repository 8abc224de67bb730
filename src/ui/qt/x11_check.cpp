#include "ui/qt/x11_check.h"

#include <algorithm>
#include <cerrno>
#include <chrono>
#include <cstring>
#include <poll.h>
#include <sys/socket.h>
#include <thread>
#include <unistd.h>

#include "ui/qt/x11_setup.h"

namespace ui::qt {
namespace {

// Longer than an X server takes to reset itself (Xvfb: about 30 ms).
constexpr std::chrono::milliseconds kResetPause{100};
// How often a server whose queue of new clients is full is knocked on again.
constexpr std::chrono::milliseconds kQueueFullPause{10};

void SleepAtMost(std::chrono::milliseconds pause, const Deadline& deadline)
{
    auto left = deadline.end - std::chrono::steady_clock::now();
    if (left > std::chrono::steady_clock::duration::zero())
        std::this_thread::sleep_for(std::min<std::chrono::steady_clock::duration>(pause, left));
}

// Writes what the socket takes now: false when the server has hung up or the socket failed.
bool SendSome(int fd, std::string& unsent)
{
    while (!unsent.empty()) {
        ssize_t n = send(fd, unsent.data(), unsent.size(), MSG_NOSIGNAL | MSG_DONTWAIT);
        if (n < 0 && errno == EINTR)
            continue;
        if (n < 0)
            return errno == EAGAIN || errno == EWOULDBLOCK;
        unsent.erase(0, static_cast<std::size_t>(n));
    }
    return true;
}

}  // namespace

X11Handshake::X11Handshake(std::string display) : m_display(std::move(display))
{
    m_name = x11::ParseDisplayName(m_display);
    if (!m_name) {
        m_result = "DISPLAY \"" + m_display + "\" is not an X display name";
        m_done = true;
        return;
    }
    // This machine's server is asked now, to answer while the caller goes on; one over the
    // network is looked up and reached when the answer is wanted, within its deadline.
    if (x11::OverNetwork(*m_name))
        return;
    m_fd = x11::ConnectLocal(*m_name);
    if (m_fd < 0)
        return;
    m_unsent = x11::SetupRequest(x11::AuthorizationFor(m_fd, m_name->number));
    if (!SendSome(m_fd, m_unsent))
        Close();
}

X11Handshake::~X11Handshake() { Close(); }

void X11Handshake::Close()
{
    if (m_fd >= 0)
        close(m_fd);
    m_fd = -1;
    m_unsent.clear();
    m_received.clear();
}

const std::string& X11Handshake::Result(const Deadline& deadline)
{
    if (!m_done)
        Collect(deadline);
    m_done = true;
    return m_result;
}

bool X11Handshake::Open(const Deadline& deadline)
{
    const std::string shown = "the X display " + m_display;
    std::string problem;
    if (!x11::OverNetwork(*m_name)) {
        while ((m_fd = x11::ConnectLocal(*m_name)) < 0 && errno == EAGAIN) {
            if (std::chrono::steady_clock::now() >= deadline.end) {
                m_result = shown + " " + deadline.Missed();
                return false;
            }
            SleepAtMost(kQueueFullPause, deadline);
        }
        // Like libxcb: a display named by its number alone may also be on this machine's port.
        // Where neither answers, the local socket's failure is the one said.
        if (m_fd < 0) {
            problem = std::strerror(errno);
            if (m_name->protocol.empty() && m_name->host.empty()) {
                std::string overNetwork;
                m_fd = x11::ConnectNetwork(*m_name, deadline, overNetwork);
            }
        }
    } else {
        m_fd = x11::ConnectNetwork(*m_name, deadline, problem);
    }
    if (m_fd < 0) {
        m_result = problem.empty() ? shown + " " + deadline.Missed() : shown + " cannot be reached (" + problem + ")";
        return false;
    }
    m_unsent = x11::SetupRequest(x11::AuthorizationFor(m_fd, m_name->number));
    return true;
}

void X11Handshake::Collect(const Deadline& deadline)
{
    const std::string shown = "the X display " + m_display;
    // An X server resets itself when its last client leaves and drops, without a word, the
    // clients that arrive meanwhile: a connection lost that way is tried once more after the
    // reset. A server that refused said why, and is not asked twice.
    bool triedAgain = false;
    for (;;) {
        if (m_fd < 0 && !Open(deadline))
            return;
        bool dropped = false;
        while (!m_unsent.empty() && !dropped) {
            int ready = WaitFor(m_fd, POLLOUT, deadline);
            if (ready == 0) {
                m_result = shown + " " + deadline.Missed();
                Close();
                return;
            }
            dropped = ready < 0 || !SendSome(m_fd, m_unsent);
        }
        x11::SetupAnswer answer;
        while (!dropped) {
            int ready = WaitReadable(m_fd, deadline);
            if (ready == 0) {
                m_result = shown + " " + deadline.Missed();
                Close();
                return;
            }
            char buffer[4096];
            ssize_t n = ready > 0 ? read(m_fd, buffer, sizeof buffer) : -1;
            if (n < 0 && errno == EINTR)
                continue;
            if (n < 0 && (errno == EAGAIN || errno == EWOULDBLOCK))
                continue;
            if (n <= 0) {
                dropped = true;
                break;
            }
            m_received.append(buffer, static_cast<std::size_t>(n));
            answer = x11::ReadSetupAnswer(m_received);
            if (answer.kind != x11::SetupAnswer::Kind::Incomplete)
                break;
        }
        if (dropped) {
            const bool saidNothing = m_received.empty();
            Close();
            if (saidNothing && !triedAgain) {
                triedAgain = true;
                SleepAtMost(kResetPause, deadline);
                continue;
            }
            m_result = shown + (saidNothing ? " closed the connection without answering" : " did not answer as an X server");
            return;
        }
        switch (answer.kind) {
        case x11::SetupAnswer::Kind::Accepted:
            if (m_name->screen >= answer.screens) {
                m_result = shown + " has no screen " + std::to_string(m_name->screen);
                Close();
            }
            m_received = {};  // the server's description is not needed: only the connection is kept
            return;
        case x11::SetupAnswer::Kind::Refused:
            m_result = shown + " refused the connection" + (answer.reason.empty() ? "" : " (" + answer.reason + ")");
            break;
        default: m_result = shown + " did not answer as an X server"; break;
        }
        Close();
        return;
    }
}

}  // namespace ui::qt
