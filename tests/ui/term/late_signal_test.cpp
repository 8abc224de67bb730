// A signal to end that arrives after the panel's last input wait (while the choice is saved or
// the screen torn down) must still end the program by that signal once the terminal is given
// back: a script or service manager has to see the death, not a clean exit.
#include "ui/term/curses_terminal.h"

#include <gtest/gtest.h>

#include <csignal>
#include <cstdlib>
#include <fcntl.h>
#include <pty.h>
#include <sys/wait.h>
#include <unistd.h>

namespace {

class LateSignal : public ::testing::TestWithParam<int> {};

TEST_P(LateSignal, EndsTheProgramOnceTheTerminalIsGivenBack)
{
    const int sig = GetParam();
    int master = -1;
    int slave = -1;
    winsize ws{24, 80, 0, 0};
    ASSERT_EQ(::openpty(&master, &slave, nullptr, nullptr, &ws), 0);
    const pid_t pid = ::fork();
    ASSERT_GE(pid, 0);
    if (pid == 0) {
        ::setsid();
        ::dup2(slave, STDIN_FILENO);
        ::dup2(slave, STDOUT_FILENO);
        ::setenv("TERM", "xterm", 1);
        {
            ui::term::CursesTerminal terminal;
            // Outside any wait: the handler only notes it; nobody reads the note before the end.
            ::kill(::getpid(), sig);
        }
        std::_Exit(0);
    }
    ::close(slave);
    // Keep the terminal's output flowing so that the child never blocks on a full buffer.
    int status = 0;
    char buf[4096];
    ::fcntl(master, F_SETFL, O_NONBLOCK);
    while (::waitpid(pid, &status, WNOHANG) == 0) {
        while (::read(master, buf, sizeof buf) > 0) {
        }
        ::usleep(1000);
    }
    ::close(master);
    ASSERT_TRUE(WIFSIGNALED(status)) << "exited with status " << WEXITSTATUS(status);
    EXPECT_EQ(WTERMSIG(status), sig);
}

INSTANTIATE_TEST_SUITE_P(EndSignals, LateSignal, ::testing::Values(SIGTERM, SIGINT),
                         [](const auto& info) { return info.param == SIGTERM ? "SIGTERM" : "SIGINT"; });

}  // namespace
