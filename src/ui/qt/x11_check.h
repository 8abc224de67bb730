// Whether an X display accepts us, asked the way Qt's xcb platform will ask it.
#pragma once

#include <csignal>
#include <string>
#include <sys/types.h>

#include "ui/qt/deadline.h"

namespace ui::qt {

// The X handshake with `display` (a DISPLAY value), run by libxcb with the user's authorisation,
// which also checks that the screen number exists. xcb_connect has no deadline, and a server
// that accepts the socket but never answers would hold the program forever: the handshake runs
// in a child that can be abandoned. It starts when the object is made, so it runs while other
// displays are asked, and the answer is collected by `Result`.
class X11Handshake {
public:
    explicit X11Handshake(std::string display);
    ~X11Handshake();  // a child not collected is ended and reaped
    X11Handshake(const X11Handshake&) = delete;
    X11Handshake& operator=(const X11Handshake&) = delete;

    // Empty when the display accepts us, else why not, in words fit for one line after the
    // program's name. Waits for the child no later than `deadline`; asked again, says the same.
    const std::string& Result(const Deadline& deadline);

private:
    void Collect(const Deadline& deadline);

    std::string m_display;
    std::string m_result;
    bool m_done = false;
    pid_t m_child = -1;
    int m_fd = -1;  // the child's standard error
    struct sigaction m_previous {};  // SIGCHLD as it was before the child, put back once reaped
};

}  // namespace ui::qt
