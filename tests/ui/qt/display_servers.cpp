#include "display_servers.h"

#include <chrono>
#include <csignal>
#include <fcntl.h>
#include <fstream>
#include <random>
#include <poll.h>
#include <spawn.h>
#include <sys/wait.h>
#include <thread>
#include <unistd.h>
#include <vector>

extern char** environ;

namespace displaytest {
namespace {

// Starts `args` with standard output and error discarded, and `keepFd` left open for it.
pid_t Spawn(std::vector<std::string> args, int keepFd = -1)
{
    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    posix_spawn_file_actions_addopen(&actions, STDOUT_FILENO, "/dev/null", O_WRONLY, 0);
    posix_spawn_file_actions_addopen(&actions, STDERR_FILENO, "/dev/null", O_WRONLY, 0);
    std::vector<char*> argv;
    for (std::string& a : args)
        argv.push_back(a.data());
    argv.push_back(nullptr);
    if (keepFd >= 0)
        fcntl(keepFd, F_SETFD, 0);
    pid_t pid = -1;
    if (posix_spawnp(&pid, argv[0], &actions, nullptr, argv.data(), environ) != 0)
        pid = -1;
    posix_spawn_file_actions_destroy(&actions);
    return pid;
}

void Stop(pid_t pid)
{
    if (pid <= 0)
        return;
    kill(pid, SIGTERM);
    int status = 0;
    waitpid(pid, &status, 0);
}

}  // namespace

void WriteCookieEntry(const std::filesystem::path& path, const std::string& cookie, unsigned family,
                      const std::string& address, const std::string& number)
{
    // Each field is a big-endian length and its bytes, after the big-endian address family.
    std::string entry{static_cast<char>(family >> 8), static_cast<char>(family & 0xFF)};
    auto field = [&](const std::string& bytes) {
        entry += static_cast<char>(bytes.size() >> 8);
        entry += static_cast<char>(bytes.size() & 0xFF);
        entry += bytes;
    };
    field(address);
    field(number);
    field("MIT-MAGIC-COOKIE-1");
    field(cookie);
    std::ofstream(path, std::ios::binary) << entry;
}

std::string WriteCookieFile(const std::filesystem::path& path)
{
    std::string cookie;
    std::random_device random;
    for (int i = 0; i < 16; ++i)
        cookie += static_cast<char>(random() & 0xFF);
    WriteCookieEntry(path, cookie, 0xFFFF, "", "");  // 0xFFFF: any server
    return cookie;
}

XServer::XServer(const std::filesystem::path& authFile, Lifetime lifetime, Reach reach)
{
    int fds[2];
    if (pipe2(fds, O_CLOEXEC) != 0)
        return;
    // The server picks a free display number and writes it to the pipe once it accepts clients.
    std::vector<std::string> args = {"Xvfb", "-displayfd", std::to_string(fds[1]), "-screen", "0", "320x240x24",
                                     reach == Reach::Local ? "-nolisten" : "-listen", "tcp", lifetime == Lifetime::Stays ? "-noreset" : "-terminate"};
    if (!authFile.empty())
        args.insert(args.end(), {"-auth", authFile.string()});
    m_pid = Spawn(args, fds[1]);
    close(fds[1]);
    std::string number;
    pollfd p{fds[0], POLLIN, 0};
    char ch;
    while (m_pid > 0 && poll(&p, 1, 15000) == 1 && read(fds[0], &ch, 1) == 1 && ch != '\n')
        number += ch;
    close(fds[0]);
    if (!number.empty())
        m_display = ":" + number;
}

XServer::~XServer() { Stop(m_pid); }

bool XServer::Running()
{
    if (m_pid > 0 && waitpid(m_pid, nullptr, WNOHANG) == m_pid)
        m_pid = -1;
    return m_pid > 0;
}

Compositor::Compositor(const std::filesystem::path& runtimeDir, const std::string& socket)
{
    std::string old = getenv("XDG_RUNTIME_DIR") ? getenv("XDG_RUNTIME_DIR") : "";
    setenv("XDG_RUNTIME_DIR", runtimeDir.c_str(), 1);
    m_pid = Spawn({"weston", "--backend=headless-backend.so", "--socket=" + socket, "--no-config", "--idle-time=0"});
    old.empty() ? unsetenv("XDG_RUNTIME_DIR") : setenv("XDG_RUNTIME_DIR", old.c_str(), 1);
    // weston makes its socket when it is ready for clients.
    for (int i = 0; i < 150 && m_pid > 0 && !m_ok; ++i) {
        std::this_thread::sleep_for(std::chrono::milliseconds(100));
        m_ok = std::filesystem::exists(runtimeDir / socket) && waitpid(m_pid, nullptr, WNOHANG) == 0;
    }
}

Compositor::~Compositor() { Stop(m_pid); }

}  // namespace displaytest
