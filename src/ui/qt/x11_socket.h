// Where an X display listens, reached the way libxcb (and so Qt's xcb platform) reaches it, and
// the authorisation the user holds for it. Sockets are made non-blocking and close-on-exec.
#pragma once

#include <optional>
#include <string>

#include "ui/qt/deadline.h"
#include "ui/qt/x11_setup.h"

namespace ui::qt::x11 {

// DISPLAY taken apart: "[protocol/][host]:number[.screen]".
struct DisplayName {
    std::string protocol;  // "" (any), "unix", "tcp", "inet" or "inet6"
    std::string host;      // "" or "unix" for this machine's socket
    int number = 0;
    int screen = 0;
};

// Nothing when `display` is not an X display name.
std::optional<DisplayName> ParseDisplayName(const std::string& display);

// Whether the display is reached over the network rather than this machine's socket.
bool OverNetwork(const DisplayName& name);

// A socket connected to this machine's server for `name` (/tmp/.X11-unix/X<number>, first
// under that name in the abstract namespace); -1 with errno when there is none. EAGAIN: the
// server has not taken the clients already waiting, and more cannot queue.
int ConnectLocal(const DisplayName& name);

// The connection over the network: the host looked up and connected to (port 6000 + number)
// within `deadline`. -1 with why not in `problem` when it cannot be made, or with `problem`
// empty when the deadline passed first.
int ConnectNetwork(const DisplayName& name, const Deadline& deadline, std::string& problem);

// The MIT-MAGIC-COOKIE-1 the user's authority file (XAUTHORITY, else ~/.Xauthority) holds for
// the server at the other end of `fd`, or none. A server that accepts only XDM-AUTHORIZATION-1
// (which desktops stopped setting up long ago) is not offered it and says so by refusing.
Authorization AuthorizationFor(int fd, int number);

}  // namespace ui::qt::x11
