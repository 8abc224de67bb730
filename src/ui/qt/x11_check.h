// Whether an X display accepts us, asked the way Qt's xcb platform will ask it.
#pragma once

#include <chrono>
#include <string>

namespace ui::qt {

// Connects to `display` (a DISPLAY value) with libxcb, which runs the X handshake with the
// user's authorisation and checks that the screen number exists. Empty when the display accepts
// us, else why not, in words fit for one line after the program's name.
std::string CheckX11Display(const std::string& display, std::chrono::milliseconds timeout);

}  // namespace ui::qt
