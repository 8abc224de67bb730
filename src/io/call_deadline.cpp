#include "io/call_deadline.h"

#include <cerrno>
#include <pthread.h>
#include <unistd.h>

namespace io {
namespace {

// Its only work is to exist: a signal with a handler interrupts a waiting system call, one that
// is ignored would not.
void Nothing(int) {}

sigset_t OnlyOurSignal()
{
    sigset_t set;
    sigemptyset(&set);
    sigaddset(&set, CallDeadline::Signal());
    return set;
}

}  // namespace

int CallDeadline::Signal()
{
    return SIGURG;
}

CallDeadline::CallDeadline(std::chrono::milliseconds deadline)
{
    struct sigaction action {};
    action.sa_handler = Nothing;
    sigemptyset(&action.sa_mask);
    action.sa_flags = 0;  // no SA_RESTART: the call must come back with EINTR, not wait again
    ::sigaction(Signal(), &action, &m_previousAction);
    // A mask inherited from whoever started us could hold the signal back and the call with it.
    const sigset_t only = OnlyOurSignal();
    ::pthread_sigmask(SIG_UNBLOCK, &only, &m_previousMask);

    // Sent to this thread alone: a process-wide alarm could land in another thread and leave the
    // waiting call where it is.
    sigevent event{};
    event.sigev_notify = SIGEV_THREAD_ID;
    event.sigev_signo = Signal();
    event._sigev_un._tid = ::gettid();
    if (::timer_create(CLOCK_MONOTONIC, &event, &m_timer) != 0) {
        m_error = errno;
        return;
    }
    m_created = true;
    const auto seconds = std::chrono::duration_cast<std::chrono::seconds>(deadline);
    itimerspec when{};
    when.it_value.tv_sec = seconds.count();
    when.it_value.tv_nsec =
        std::chrono::duration_cast<std::chrono::nanoseconds>(deadline - seconds).count();
    if (when.it_value.tv_sec == 0 && when.it_value.tv_nsec == 0)
        when.it_value.tv_nsec = 1;  // an all-zero time would disarm it rather than fire at once
    if (::timer_settime(m_timer, 0, &when, nullptr) != 0)
        m_error = errno;
}

CallDeadline::~CallDeadline()
{
    const int savedErrno = errno;
    // Deleting the timer disarms it: no signal is sent after this.
    if (m_created)
        ::timer_delete(m_timer);
    // One sent before met the empty handler on the way back from the call at the latest; should
    // one still be pending, it is taken here, while blocked, before the old action returns.
    const sigset_t only = OnlyOurSignal();
    ::pthread_sigmask(SIG_BLOCK, &only, nullptr);
    const timespec now{};
    while (::sigtimedwait(&only, nullptr, &now) == Signal()) {
    }
    ::sigaction(Signal(), &m_previousAction, nullptr);
    // Only this signal's place in the mask is ours to put back.
    if (sigismember(&m_previousMask, Signal()) == 0)
        ::pthread_sigmask(SIG_UNBLOCK, &only, nullptr);
    errno = savedErrno;
}

}  // namespace io
