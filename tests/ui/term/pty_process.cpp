#include "pty_process.h"

#include <fcntl.h>
#include <poll.h>
#include <pty.h>
#include <signal.h>
#include <sys/ioctl.h>
#include <sys/prctl.h>
#include <sys/resource.h>
#include <sys/wait.h>
#include <termios.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>
#include <stdexcept>

namespace ptytest {
namespace {

constexpr int kCapSysRawio = 17;  // linux/capability.h
// A screen update comes in one burst; this long without a byte means it is complete.
constexpr int kSettleMs = 80;

}  // namespace

PtyProcess::PtyProcess(const std::string& program, const std::filesystem::path& dir, const std::vector<std::string>& env,
                       int rows, int cols, const Options& options)
    : m_screen(rows, cols)
{
    struct winsize ws {};
    ws.ws_row = static_cast<unsigned short>(rows);
    ws.ws_col = static_cast<unsigned short>(cols);
    std::vector<std::string> envCopy = env;
    std::vector<char*> envp;
    for (auto& e : envCopy)
        envp.push_back(e.data());
    envp.push_back(nullptr);
    std::string path = program;
    std::string where = dir.string();
    if (::openpty(&m_master, &m_slave, nullptr, nullptr, &ws) != 0)
        throw std::runtime_error(std::string("openpty: ") + std::strerror(errno));
    ::tcgetattr(m_slave, &m_initialModes);
    for (int fd : {m_master, m_slave})
        ::fcntl(fd, F_SETFD, FD_CLOEXEC);  // not into another test's program
    m_pid = ::fork();
    if (m_pid < 0)
        throw std::runtime_error(std::string("fork: ") + std::strerror(errno));
    if (m_pid == 0) {
        ::close(m_master);
        if (options.controlling) {
            if (::setsid() < 0 || ::ioctl(m_slave, TIOCSCTTY, 0) != 0)
                ::_exit(125);
        } else {
            // A group of its own in the test's session: a stop signal still stops it (the group
            // has a parent outside it, as a shell's job has), and one it sends its group stays there.
            ::setpgid(0, 0);
        }
        for (int fd = 0; fd <= 2; ++fd)
            ::dup2(m_slave, fd);
        if (m_slave > 2)
            ::close(m_slave);
        for (int sig : options.ignored)
            ::signal(sig, SIG_IGN);
        // Even as root the program must not reach real port hardware from a test: without this
        // capability the port permission is refused and the simulated port is used.
        ::prctl(PR_CAPBSET_DROP, kCapSysRawio, 0, 0, 0);
        struct rlimit noCore {0, 0};  // a test that ends it by a crash signal wants no core file
        ::setrlimit(RLIMIT_CORE, &noCore);
        if (::chdir(where.c_str()) != 0)
            ::_exit(126);
        char* argv[] = {path.data(), nullptr};
        ::execve(path.c_str(), argv, envp.data());
        ::_exit(127);
    }
    ::fcntl(m_master, F_SETFL, ::fcntl(m_master, F_GETFL) | O_NONBLOCK);
}

PtyProcess::~PtyProcess()
{
    if (m_pid > 0 && !m_status) {
        ::kill(m_pid, SIGKILL);
        int status = 0;
        ::waitpid(m_pid, &status, 0);
    }
    if (m_master >= 0)
        ::close(m_master);
    if (m_slave >= 0)
        ::close(m_slave);
}

bool PtyProcess::ReadSome(int timeoutMs)
{
    if (m_master < 0) {
        ::poll(nullptr, 0, timeoutMs);
        return false;
    }
    pollfd p{m_master, POLLIN, 0};
    if (::poll(&p, 1, timeoutMs) <= 0)
        return false;
    char buf[4096];
    ssize_t n = ::read(m_master, buf, sizeof buf);
    if (n <= 0)
        return false;  // EIO once the program and its terminal are gone
    m_output.append(buf, static_cast<std::size_t>(n));
    m_screen.Feed(std::string_view(buf, static_cast<std::size_t>(n)));
    return true;
}

void PtyProcess::Send(std::string_view bytes)
{
    while (!bytes.empty()) {
        ssize_t n = ::write(m_master, bytes.data(), bytes.size());
        if (n < 0 && errno == EAGAIN) {
            ReadSome(10);
            continue;
        }
        if (n <= 0)
            return;
        bytes.remove_prefix(static_cast<std::size_t>(n));
    }
}

bool PtyProcess::WaitFor(const std::function<bool(const vt::Screen&)>& done, std::chrono::milliseconds limit)
{
    auto end = std::chrono::steady_clock::now() + limit;
    while (!done(m_screen)) {
        auto left = std::chrono::duration_cast<std::chrono::milliseconds>(end - std::chrono::steady_clock::now());
        if (left.count() <= 0)
            return false;
        ReadSome(static_cast<int>(std::min<long long>(left.count(), 100)));
    }
    // The rest of the same screen update, so that what the caller looks at next is whole.
    while (ReadSome(kSettleMs)) {
    }
    return true;
}

std::size_t PtyProcess::Drain(std::chrono::milliseconds period)
{
    std::size_t before = m_output.size();
    auto end = std::chrono::steady_clock::now() + period;
    for (;;) {
        auto left = std::chrono::duration_cast<std::chrono::milliseconds>(end - std::chrono::steady_clock::now());
        if (left.count() <= 0)
            break;
        ReadSome(static_cast<int>(left.count()));
    }
    return m_output.size() - before;
}

void PtyProcess::Resize(int rows, int cols)
{
    struct winsize ws {};
    ws.ws_row = static_cast<unsigned short>(rows);
    ws.ws_col = static_cast<unsigned short>(cols);
    m_screen.Resize(rows, cols);
    ::ioctl(m_master, TIOCSWINSZ, &ws);  // the terminal sends the program SIGWINCH
}

void PtyProcess::Kill(int sig) { ::kill(m_pid, sig); }

void PtyProcess::HangUp()
{
    // The test's own copy of the program's side would keep the terminal alive.
    ::close(m_slave);
    m_slave = -1;
    ::close(m_master);
    m_master = -1;
}

bool PtyProcess::WaitStopped(std::chrono::milliseconds limit)
{
    auto end = std::chrono::steady_clock::now() + limit;
    for (;;) {
        int status = 0;
        pid_t r = ::waitpid(m_pid, &status, WNOHANG | WUNTRACED);
        if (r == m_pid && WIFSTOPPED(status)) {
            // What it wrote before it stopped may still be in the terminal.
            while (ReadSome(50)) {
            }
            return true;
        }
        if (r == m_pid) {
            m_status = status;
            return false;
        }
        if (std::chrono::steady_clock::now() > end)
            return false;
        ReadSome(20);
    }
}

termios PtyProcess::Modes() const
{
    termios t{};
    ::tcgetattr(m_slave >= 0 ? m_slave : m_master, &t);
    return t;
}

std::chrono::microseconds PtyProcess::CpuTime() const
{
    auto us = [](const timeval& t) { return std::chrono::seconds(t.tv_sec) + std::chrono::microseconds(t.tv_usec); };
    return us(m_usage.ru_utime) + us(m_usage.ru_stime);
}

std::optional<int> PtyProcess::WaitExit(std::chrono::milliseconds limit)
{
    auto end = std::chrono::steady_clock::now() + limit;
    while (!m_status) {
        int status = 0;
        if (::wait4(m_pid, &status, WNOHANG, &m_usage) == m_pid) {
            m_status = status;
            break;
        }
        if (std::chrono::steady_clock::now() > end)
            return std::nullopt;
        ReadSome(20);
    }
    while (ReadSome(50)) {
    }
    return m_status;
}

}  // namespace ptytest
