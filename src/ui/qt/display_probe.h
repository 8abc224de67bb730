// Which Qt platform the desktop window can open on, found before Qt starts: Qt ends the process
// with an abort when none of the platforms it tries can be opened, so we try them first.
#pragma once

#include <chrono>
#include <memory>
#include <string>

namespace ui::qt {

struct DisplayChoice {
    // The platform to start Qt on, as a QT_QPA_PLATFORM entry ("xcb", "wayland",
    // "offscreen:size=640x480"); empty when none can be used.
    std::string platform;
    // Why the displays that are there cannot be used, in one line; empty when there is none.
    std::string problem;
    // On X, the check's own connection to the server, to be kept until Qt has made its own: an
    // X server whose last client leaves resets itself, or ends if started with -terminate.
    std::shared_ptr<void> serverHeld;
    // The font configuration, loading on a thread of its own while the display was checked, so
    // that Qt finds it loaded; to be kept until Qt has started.
    std::shared_ptr<void> fontsLoading;
};

// The platforms tried are those QT_QPA_PLATFORM lists, in its order; without it, a Wayland
// display (WAYLAND_DISPLAY, or wayland-0 in XDG_RUNTIME_DIR) and then an X display (DISPLAY), as
// Qt tries them. Each platform's Qt plugin must load; X and Wayland servers are connected to for
// real, all within the one `timeout` for servers that never answer; linuxfb needs its frame
// buffer and eglfs a DRM device; offscreen, minimal and vnc need nothing more. Any other
// platform is refused, since Qt would abort where it cannot start.
DisplayChoice ChooseDisplay(std::chrono::milliseconds timeout = std::chrono::seconds(5));

}  // namespace ui::qt
