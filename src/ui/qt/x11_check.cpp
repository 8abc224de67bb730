#include "ui/qt/x11_check.h"

#include <algorithm>
#include <cerrno>
#include <chrono>
#include <csignal>
#include <cstdlib>
#include <cstring>
#include <fcntl.h>
#include <pthread.h>
#include <system_error>
#include <sys/ioctl.h>
#include <unistd.h>
#include <xcb/xcb.h>

namespace ui::qt {

struct X11Handshake::Attempt {
    std::string display;
    int answerFd[2] = {-1, -1};  // the thread writes its one-byte answer to the second
    int wordsFd = -1;            // standard error's capture, to see whether a server said why
    xcb_connection_t* connection = nullptr;  // once accepted; disconnected with the last owner
    int wordsBeforeAnswer = 0;  // what standard error had taken when the thread answered
    std::function<void(bool)> onAnswer;  // told, on the thread, whether the server accepted us

    ~Attempt()
    {
        for (int fd : {answerFd[0], answerFd[1], wordsFd})
            if (fd >= 0)
                close(fd);
        if (connection)
            xcb_disconnect(connection);
    }
};

namespace {

// The thread's answer: xcb's error code, or this when the server accepted us.
constexpr unsigned char kAccepted = 0;

// Longer than an X server takes to reset itself (Xvfb: about 30 ms).
constexpr std::chrono::microseconds kResetPause{100'000};

bool SaidAnything(int fd)
{
    int waiting = 0;
    return fd >= 0 && ioctl(fd, FIONREAD, &waiting) == 0 && waiting > 0;
}

void Connect(const std::shared_ptr<X11Handshake::Attempt>& attempt)
{
    // A server that hangs up mid-handshake must not end the program by a signal: blocked on this
    // thread, SIGPIPE leaves the write failing with EPIPE instead.
    sigset_t pipeSignal;
    sigemptyset(&pipeSignal);
    sigaddset(&pipeSignal, SIGPIPE);
    pthread_sigmask(SIG_BLOCK, &pipeSignal, nullptr);
    int screen = 0;
    xcb_connection_t* c = xcb_connect(attempt->display.c_str(), &screen);
    int error = xcb_connection_has_error(c);
    // An X server resets itself when its last client leaves and drops, without a word, the
    // clients that arrive meanwhile: a connection lost that way is tried once more after the
    // reset. A server that refused said why, and is not asked twice.
    if (error == XCB_CONN_ERROR && !SaidAnything(attempt->wordsFd)) {
        xcb_disconnect(c);
        usleep(kResetPause.count());
        c = xcb_connect(attempt->display.c_str(), &screen);
        error = xcb_connection_has_error(c);
    }
    if (error)
        xcb_disconnect(c);
    else
        attempt->connection = c;
    // What was written before the answer is libxcb's; what follows is someone else's.
    if (attempt->wordsFd >= 0)
        ioctl(attempt->wordsFd, FIONREAD, &attempt->wordsBeforeAnswer);
    auto answer = static_cast<unsigned char>(error ? error : kAccepted);
    while (write(attempt->answerFd[1], &answer, 1) < 0 && errno == EINTR) {
    }
    if (attempt->onAnswer)
        attempt->onAnswer(!error);
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

X11Handshake::X11Handshake(std::string display, std::function<void(bool accepted)> onAnswer)
    : m_display(std::move(display))
{
    std::string shown = "the X display " + m_display;
    char* host = nullptr;
    int number = 0;
    if (!xcb_parse_display(m_display.c_str(), &host, &number, &m_screen)) {
        m_result = "DISPLAY \"" + m_display + "\" is not an X display name";
        m_done = true;
        StderrCapture::PassOn(m_capture.Finish());
        return;
    }
    std::free(host);
    m_attempt = std::make_shared<Attempt>();
    m_attempt->display = m_display;
    m_attempt->onAnswer = std::move(onAnswer);
    if (m_capture.ReadEnd() >= 0)
        m_attempt->wordsFd = fcntl(m_capture.ReadEnd(), F_DUPFD_CLOEXEC, 3);
    try {
        if (pipe2(m_attempt->answerFd, O_CLOEXEC) != 0)
            throw std::system_error(errno, std::generic_category());
        m_thread = std::thread(Connect, m_attempt);
    } catch (const std::system_error& e) {
        m_result = shown + " could not be checked (" + std::strerror(e.code().value()) + ")";
        m_done = true;
        StderrCapture::PassOn(m_capture.Finish());
    }
}

X11Handshake::~X11Handshake()
{
    if (!m_done)
        Collect(Deadline::After(std::chrono::milliseconds(0)));
    if (m_thread.joinable())
        m_thread.join();
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
    int answer = -1;
    int ready;
    while ((ready = WaitReadable(m_attempt->answerFd[0], deadline)) > 0) {
        unsigned char byte = 0;
        ssize_t n = read(m_attempt->answerFd[0], &byte, 1);
        if (n == 1)
            answer = byte;
        if (n >= 0 || errno != EINTR)
            break;
    }
    int waitError = errno;
    std::string said = m_capture.Finish();
    if (answer < 0) {
        // Still waiting for the server: the thread is left to it, holding its share of the
        // attempt, and ends with the program.
        m_thread.detach();
        StderrCapture::PassOn(said);
        m_result = ready == 0 ? shown + " " + deadline.Missed() : shown + " could not be checked (" + std::strerror(waitError) + ")";
        return;
    }
    m_thread.join();
    if (answer == kAccepted) {
        StderrCapture::PassOn(said);
        m_result.clear();
        return;
    }
    // Words written after the answer (other threads go on meanwhile) are not the server's.
    const auto serverWords = std::min(said.size(), static_cast<std::size_t>(std::max(0, m_attempt->wordsBeforeAnswer)));
    StderrCapture::PassOn(said.substr(serverWords));
    said = Trimmed(said.substr(0, serverWords));
    switch (answer) {
    case XCB_CONN_CLOSED_PARSE_ERR: m_result = "DISPLAY \"" + m_display + "\" is not an X display name"; break;
    case XCB_CONN_CLOSED_INVALID_SCREEN: m_result = shown + " has no screen " + std::to_string(m_screen); break;
    case XCB_CONN_ERROR:
        // A server that refuses says why; a connection that fails says nothing.
        m_result = said.empty() ? shown + " cannot be reached" : shown + " refused the connection (" + said + ")";
        break;
    default: m_result = shown + " failed (xcb error " + std::to_string(answer) + ")";
    }
}

}  // namespace ui::qt
