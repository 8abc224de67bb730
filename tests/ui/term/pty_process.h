// A program run in a pseudo-terminal, as a user at a terminal would run it: its output goes
// into a screen model, keys and mouse reports go to its input, and the terminal can be resized
// or the program signalled.
#pragma once

#include <sys/resource.h>
#include <sys/types.h>
#include <termios.h>

#include <chrono>
#include <filesystem>
#include <functional>
#include <optional>
#include <string>
#include <vector>

#include "vt_screen.h"

namespace ptytest {

using namespace std::chrono_literals;

class PtyProcess {
public:
    struct Options {
        // The terminal is the program's controlling terminal, as in a shell: keys such as Ctrl+C
        // and a resize or hang-up send it signals. Without, it is not, and those signals reach
        // nobody, as for a program started with setsid or for a job stopped in the background.
        bool controlling = true;
        std::vector<int> ignored;  // signals the program starts with ignored, as under nohup
    };

    // Starts `program` in `dir` with exactly `env` (NAME=value entries) on a terminal of
    // `rows` x `cols`.
    PtyProcess(const std::string& program, const std::filesystem::path& dir, const std::vector<std::string>& env,
               int rows, int cols, const Options& options);
    PtyProcess(const std::string& program, const std::filesystem::path& dir, const std::vector<std::string>& env,
               int rows, int cols)
        : PtyProcess(program, dir, env, rows, cols, Options{})
    {
    }
    ~PtyProcess();
    PtyProcess(const PtyProcess&) = delete;
    PtyProcess& operator=(const PtyProcess&) = delete;

    void Send(std::string_view bytes);
    // Reads output until `done` holds; false if it still does not after `limit`.
    bool WaitFor(const std::function<bool(const vt::Screen&)>& done, std::chrono::milliseconds limit = 10s);
    // Reads output for `period` and returns how many bytes came.
    std::size_t Drain(std::chrono::milliseconds period);
    void Resize(int rows, int cols);
    void Kill(int sig);
    // Closes the terminal's other end, as closing the terminal window does.
    void HangUp();
    // Waits until the program has stopped (SIGTSTP); false if it has not within `limit`.
    bool WaitStopped(std::chrono::milliseconds limit = 10s);
    // The terminal's modes now, and as they were before the program started.
    termios Modes() const;
    const termios& InitialModes() const { return m_initialModes; }
    // The processor time the ended program used, user and system.
    std::chrono::microseconds CpuTime() const;
    // The wait status once the program has ended, with all its output read; nullopt if it has
    // not ended within `limit`.
    std::optional<int> WaitExit(std::chrono::milliseconds limit = 10s);

    const vt::Screen& Screen() const { return m_screen; }
    const std::string& Output() const { return m_output; }

private:
    bool ReadSome(int timeoutMs);

    int m_master = -1;
    int m_slave = -1;  // kept open so that the terminal's modes can be read after the program ends
    pid_t m_pid = -1;
    termios m_initialModes{};
    rusage m_usage{};
    std::optional<int> m_status;
    vt::Screen m_screen;
    std::string m_output;
};

}  // namespace ptytest
