#include "io/call_deadline.h"

#include <gtest/gtest.h>

#include <cerrno>
#include <cstdlib>
#include <csignal>
#include <ostream>
#include <pthread.h>
#include <thread>
#include <unistd.h>

namespace {

using namespace std::chrono_literals;

constexpr auto kDeadline = 50ms;

volatile sig_atomic_t g_delivered = 0;

void Count(int) { g_delivered = g_delivered + 1; }

// A pipe nobody writes to: reading it waits until a signal interrupts the read.
class QuietPipe {
public:
    QuietPipe() { EXPECT_EQ(::pipe(m_fds), 0); }
    ~QuietPipe()
    {
        ::close(m_fds[0]);
        ::close(m_fds[1]);
    }
    int Reader() const { return m_fds[0]; }
    int Writer() const { return m_fds[1]; }

private:
    int m_fds[2] = {-1, -1};
};

// Reads the pipe under a deadline; the result and errno of the read.
std::pair<ssize_t, int> ReadWithin(const QuietPipe& pipe)
{
    // Should the deadline never come, the test ends by this alarm instead of hanging.
    ::alarm(10);
    const io::CallDeadline deadline(kDeadline);
    EXPECT_EQ(deadline.Error(), 0);
    char byte = 0;
    const ssize_t n = ::read(pipe.Reader(), &byte, 1);
    const int error = errno;
    ::alarm(0);
    return {n, error};
}

enum class Before { Default, Ignored, OwnHandler };

// What the program had set for the signal -> after the call, the very same.
struct StateCase {
    const char* name;
    Before action;
    bool blocked;    // the thread's mask held the signal back
    bool callWaits;  // the call waits past the deadline, or returns at once
};

void PrintTo(const StateCase& c, std::ostream* os) { *os << c.name; }

class CallDeadlineLeavesNoTrace : public testing::TestWithParam<StateCase> {
protected:
    void SetUp() override
    {
        const StateCase& c = GetParam();
        struct sigaction action {};
        sigemptyset(&action.sa_mask);
        action.sa_flags = c.action == Before::OwnHandler ? SA_RESTART : 0;
        action.sa_handler = c.action == Before::Default   ? SIG_DFL
                            : c.action == Before::Ignored ? SIG_IGN
                                                          : Count;
        ASSERT_EQ(::sigaction(SIGURG, &action, &m_saved), 0);
        sigset_t only;
        sigemptyset(&only);
        sigaddset(&only, SIGURG);
        ASSERT_EQ(::pthread_sigmask(c.blocked ? SIG_BLOCK : SIG_UNBLOCK, &only, &m_savedMask), 0);
        g_delivered = 0;
    }

    void TearDown() override
    {
        ::pthread_sigmask(SIG_SETMASK, &m_savedMask, nullptr);
        ::sigaction(SIGURG, &m_saved, nullptr);
    }

    struct sigaction m_saved {};
    sigset_t m_savedMask{};
};

TEST_P(CallDeadlineLeavesNoTrace, InterruptsOnlyAWaitingCallAndRestoresTheSignal)
{
    const StateCase& c = GetParam();
    QuietPipe pipe;
    if (!c.callWaits) {
        ASSERT_EQ(::write(pipe.Writer(), "x", 1), 1);
    }

    const auto [n, error] = ReadWithin(pipe);

    if (c.callWaits) {
        EXPECT_EQ(n, -1);
        EXPECT_EQ(error, EINTR);
    } else {
        EXPECT_EQ(n, 1);
    }
    struct sigaction now {};
    ASSERT_EQ(::sigaction(SIGURG, nullptr, &now), 0);
    EXPECT_EQ(now.sa_handler, c.action == Before::Default   ? SIG_DFL
                              : c.action == Before::Ignored ? SIG_IGN
                                                            : Count);
    EXPECT_EQ(now.sa_flags & SA_RESTART, c.action == Before::OwnHandler ? SA_RESTART : 0);
    sigset_t mask, pending;
    ASSERT_EQ(::pthread_sigmask(SIG_SETMASK, nullptr, &mask), 0);
    EXPECT_EQ(sigismember(&mask, SIGURG), c.blocked ? 1 : 0);
    ASSERT_EQ(::sigpending(&pending), 0);
    EXPECT_EQ(sigismember(&pending, SIGURG), 0);
    // Nothing comes later either: the timer of a call that returned at once is gone.
    const timespec pause{0, 4 * std::chrono::nanoseconds(kDeadline).count()};
    EXPECT_EQ(::nanosleep(&pause, nullptr), 0);
    EXPECT_EQ(g_delivered, 0);
}

INSTANTIATE_TEST_SUITE_P(
    Signal, CallDeadlineLeavesNoTrace,
    testing::Values(StateCase{"DefaultActionCallWaits", Before::Default, false, true},
                    StateCase{"DefaultActionCallReturns", Before::Default, false, false},
                    StateCase{"IgnoredCallWaits", Before::Ignored, false, true},
                    StateCase{"OwnHandlerCallWaits", Before::OwnHandler, false, true},
                    StateCase{"OwnHandlerCallReturns", Before::OwnHandler, false, false},
                    StateCase{"BlockedCallWaits", Before::OwnHandler, true, true},
                    StateCase{"BlockedCallReturns", Before::Default, true, false}),
    [](const auto& info) { return info.param.name; });

TEST(CallDeadline, AStraySignalWouldEndNothing)
{
    // The front-ends end the program in order on every signal that ends it by default; the
    // deadline's signal must not be one of them.
    GTEST_FLAG_SET(death_test_style, "threadsafe");
    EXPECT_EXIT(
        {
            ::signal(io::CallDeadline::Signal(), SIG_DFL);
            ::raise(io::CallDeadline::Signal());
            std::_Exit(0);
        },
        testing::ExitedWithCode(0), "");
}

TEST(CallDeadline, InterruptsTheCallOfItsOwnThread)
{
    // A signal for the whole process would go to the main thread, which waits here for the
    // worker and takes signals too; the worker's read would then wait on.
    QuietPipe pipe;
    std::pair<ssize_t, int> result{};
    std::thread worker([&] { result = ReadWithin(pipe); });
    worker.join();
    EXPECT_EQ(result.first, -1);
    EXPECT_EQ(result.second, EINTR);
}

}  // namespace
