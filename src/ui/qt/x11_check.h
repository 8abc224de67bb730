// Whether an X display accepts us, asked the way Qt's xcb platform will ask it.
#pragma once

#include <optional>
#include <string>

#include "ui/qt/deadline.h"
#include "ui/qt/x11_socket.h"

namespace ui::qt {

// The X connection setup with `display` (a DISPLAY value): reached as libxcb reaches it, with the
// user's authorisation, and with a check that the screen number exists. A server on this machine
// is asked at once, when the object is made, and answers while the caller does other work; the
// answer is read by `Result`, on the caller's thread, no later than its deadline. A server that
// accepts the socket and never answers is given up on then, and nothing is left behind.
//
// An accepted connection is kept open until the object goes: an X server whose last client
// leaves resets itself, dropping the clients that arrive meanwhile (Qt would end the program for
// it), or, started with -terminate, ends. The owner keeps the object until Qt has connected.
class X11Handshake {
public:
    explicit X11Handshake(std::string display);
    ~X11Handshake();
    X11Handshake(const X11Handshake&) = delete;
    X11Handshake& operator=(const X11Handshake&) = delete;

    // Empty when the display accepts us, else why not, in words fit for one line after the
    // program's name. Waits no later than `deadline`; asked again, says the same.
    const std::string& Result(const Deadline& deadline);

private:
    // Connects and sends the request; false with m_result said when the display cannot be reached.
    bool Open(const Deadline& deadline);
    void Collect(const Deadline& deadline);
    void Close();

    std::string m_display;
    std::optional<x11::DisplayName> m_name;
    int m_fd = -1;
    std::string m_unsent;      // the part of the request not yet taken by the socket
    std::string m_received;
    std::string m_result;
    bool m_done = false;
};

}  // namespace ui::qt
