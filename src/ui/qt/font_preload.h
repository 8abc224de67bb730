// The font configuration, loaded beside the display check instead of on Qt's main thread.
#pragma once

#include <memory>
#include <thread>

namespace ui::qt {

// Qt reads fontconfig's configuration (some fifty XML files and the font caches, about 5 ms of
// CPU) on the main thread, the first time it needs a font. Made while the display is checked,
// this object loads it on a thread of its own, at the lowest priority so that it takes only a
// core the start leaves idle, and Qt finds it loaded. Where fontconfig is not in the process
// (a Qt without it), nothing is done.
//
// The load waits to be begun: once a display has accepted us, Qt is about to start and will need
// the fonts; where none does, the terminal takes over and needs none. The load is waited for when
// the object goes; one not begun by then is not made at all.
class FontConfigPreload {
public:
    FontConfigPreload();
    ~FontConfigPreload();
    FontConfigPreload(const FontConfigPreload&) = delete;
    FontConfigPreload& operator=(const FontConfigPreload&) = delete;

    // Lets the load begin; asked again, does nothing.
    void Begin();
    // Whether a thread was made: fontconfig is in the process and a thread could be made.
    bool Started() const { return m_thread.joinable(); }

private:
    struct Gate;  // what the thread and this object share
    std::shared_ptr<Gate> m_gate;
    std::thread m_thread;
};

}  // namespace ui::qt
