// A program run in a pseudo-terminal, as a user at a terminal would run it: its output goes
// into a screen model, keys and mouse reports go to its input, and the terminal can be resized
// or the program signalled.
#pragma once

#include <sys/types.h>

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
    // Starts `program` in `dir` with exactly `env` (NAME=value entries) on a terminal of
    // `rows` x `cols`.
    PtyProcess(const std::string& program, const std::filesystem::path& dir, const std::vector<std::string>& env,
               int rows, int cols);
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
    // The wait status once the program has ended, with all its output read; nullopt if it has
    // not ended within `limit`.
    std::optional<int> WaitExit(std::chrono::milliseconds limit = 10s);

    const vt::Screen& Screen() const { return m_screen; }
    const std::string& Output() const { return m_output; }

private:
    bool ReadSome(int timeoutMs);

    int m_master = -1;
    pid_t m_pid = -1;
    std::optional<int> m_status;
    vt::Screen m_screen;
    std::string m_output;
};

}  // namespace ptytest
