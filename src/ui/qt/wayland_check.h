// Whether a Wayland display is a compositor that answers, asked the way Qt's Wayland platform
// will ask it.
#pragma once

#include <string>

#include "ui/qt/deadline.h"

namespace ui::qt {

// Connects to the socket at `path` with libwayland-client and waits for the compositor to list
// its globals, which must include a wl_compositor, before `deadline`. `shown` names the display in the message.
// Empty when it answers as a compositor, else why not, in words fit for one line.
std::string CheckWaylandDisplay(const std::string& path, const std::string& shown, const Deadline& deadline);

}  // namespace ui::qt
