// A deadline for one system call of the calling thread that may wait in the kernel for something
// outside our control, such as a port claim while another program holds the port.
#pragma once

#include <chrono>
#include <csignal>
#include <ctime>

namespace io {

// While the object lives, a one-shot timer is armed for the calling thread; when it runs out, a
// signal whose handler does nothing interrupts the call that still waits, which then fails with
// EINTR. Nothing of it outlives the object: the timer is deleted, a signal it sent is consumed,
// and the signal's previous action and the thread's signal mask are put back, so handlers that
// a front-end installs later are never disturbed.
class CallDeadline {
public:
    explicit CallDeadline(std::chrono::milliseconds deadline);
    ~CallDeadline();
    CallDeadline(const CallDeadline&) = delete;
    CallDeadline& operator=(const CallDeadline&) = delete;

    // 0 once the timer is armed, else the errno value of the failure (no deadline then).
    int Error() const { return m_error; }

    // The signal used: SIGURG. The program uses no sockets, so nothing else expects it, and its
    // default action is to be ignored, so that even a stray one could never end the program;
    // the terminal front-end, which turns every signal that ends the program into an orderly
    // exit, leaves it alone.
    static int Signal();

private:
    struct sigaction m_previousAction {};
    sigset_t m_previousMask{};
    timer_t m_timer{};
    bool m_created = false;
    int m_error = 0;
};

}  // namespace io
