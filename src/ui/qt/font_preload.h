// The font configuration, loaded beside the display check instead of on Qt's main thread.
#pragma once

#include <chrono>
#include <future>
#include <thread>

namespace ui::qt {

// Qt reads fontconfig's configuration (some fifty XML files and the font caches, about 5 ms of
// CPU) on the main thread, the first time it needs a font. Made while the display is checked,
// this object loads it on a thread of its own, at the lowest priority so that it takes only a
// core the start leaves idle, and Qt finds it loaded. Where fontconfig is not in the process
// (a Qt without it), nothing is done. The load is waited for when the object goes.
class FontConfigPreload {
public:
    // The load begins once `startAfter` is ready (at once when it holds nothing), and no later
    // than `notAfter`: fontconfig may write warnings to standard error, which must not be taken
    // for what an X server said while the X check reads standard error.
    explicit FontConfigPreload(std::shared_future<void> startAfter = {},
                               std::chrono::steady_clock::time_point notAfter = std::chrono::steady_clock::now());
    ~FontConfigPreload();
    FontConfigPreload(const FontConfigPreload&) = delete;
    FontConfigPreload& operator=(const FontConfigPreload&) = delete;

    // Whether the thread was started: fontconfig is in the process and a thread could be made.
    bool Started() const { return m_thread.joinable(); }

private:
    std::thread m_thread;
};

}  // namespace ui::qt
