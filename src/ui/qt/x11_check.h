// Whether an X display accepts us, asked the way Qt's xcb platform will ask it.
#pragma once

#include <functional>
#include <memory>
#include <string>
#include <thread>

#include "ui/qt/deadline.h"
#include "ui/qt/stderr_capture.h"

namespace ui::qt {

// The X handshake with `display` (a DISPLAY value), run by libxcb with the user's authorisation,
// which also checks that the screen number exists. It starts when the object is made, on a thread
// of its own, so it runs while other displays are asked; the answer is collected by `Result`.
// xcb_connect has no deadline: a server that accepts the socket but never answers leaves the
// thread waiting, and it is abandoned. libxcb writes a refusing server's reason to standard
// error, which is captured until the answer is in.
//
// An accepted connection is kept open until the object goes: an X server whose last client
// leaves resets itself, dropping the clients that arrive meanwhile (Qt would end the program for
// it), or, started with -terminate, ends. The owner keeps the object until Qt has connected.
class X11Handshake {
public:
    // `onAnswer`, when given, is called on the handshake's thread once the server has answered,
    // with whether it accepted us; from then on, what is written to standard error is not taken
    // for the server's words. It is not called when the handshake cannot start or the server
    // keeps silent.
    explicit X11Handshake(std::string display, std::function<void(bool accepted)> onAnswer = {});
    ~X11Handshake();
    X11Handshake(const X11Handshake&) = delete;
    X11Handshake& operator=(const X11Handshake&) = delete;

    // Empty when the display accepts us, else why not, in words fit for one line after the
    // program's name. Waits no later than `deadline`; asked again, says the same.
    const std::string& Result(const Deadline& deadline);

    struct Attempt;  // what the thread and this object share

private:
    void Collect(const Deadline& deadline);

    std::string m_display;
    int m_screen = 0;  // the screen number DISPLAY names
    std::string m_result;
    bool m_done = false;
    StderrCapture m_capture;
    std::shared_ptr<Attempt> m_attempt;
    std::thread m_thread;
};

}  // namespace ui::qt
