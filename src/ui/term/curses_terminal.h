// The terminal while the program owns it: curses started in the modes the front-end needs, and
// put back the way it was on every way out: a normal end, an error that unwinds, exit(), any
// signal whose default is to end the program, and, as far as a signal handler can, a crash.
#pragma once

#include <termios.h>

#include <string>

namespace ui::term {

class CursesTerminal {
public:
    // Starts curses on standard input and output; throws std::runtime_error if it cannot.
    CursesTerminal();
    ~CursesTerminal();
    CursesTerminal(const CursesTerminal&) = delete;
    CursesTerminal& operator=(const CursesTerminal&) = delete;

    // Gives the terminal back. Safe to call more than once.
    void End();

    // Readable when a signal has arrived that the front-end must act on.
    int SignalFd() const { return m_pipe[0]; }
    struct Signals {
        int end = 0;         // the first signal that asks the program to end, 0 if none
        bool resized = false;  // or resumed: the size is to be read again
    };
    Signals TakeSignals();

    // Gives the terminal back and ends the process by `sig`, as if the program had not caught
    // it: its exit status tells the signal, and nothing the program does at a normal end runs.
    [[noreturn]] void EndBy(int sig);

private:
    void InstallHandlers();
    void RestoreHandlers();

    int m_pipe[2] = {-1, -1};
    bool m_active = false;
};

}  // namespace ui::term
