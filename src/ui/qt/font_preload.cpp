#include "ui/qt/font_preload.h"

#include <dlfcn.h>
#include <sys/resource.h>
#include <system_error>
#include <unistd.h>

namespace ui::qt {

FontConfigPreload::FontConfigPreload(std::shared_future<void> startAfter, std::chrono::steady_clock::time_point notAfter)
{
    // Looked up rather than linked: Qt's GUI library brings fontconfig into the process where Qt
    // uses it. FcInit loads the default configuration once per process; a second caller, Qt's,
    // then finds it loaded (or, still loading, loads its own and one is dropped: nothing shared
    // is half made).
    using Init = int (*)();
    auto init = reinterpret_cast<Init>(dlsym(RTLD_DEFAULT, "FcInit"));
    if (!init)
        return;
    try {
        m_thread = std::thread([init, startAfter = std::move(startAfter), notAfter] {
            // Only this thread: on Linux a thread's nice value is its own.
            setpriority(PRIO_PROCESS, static_cast<id_t>(gettid()), 19);
            if (startAfter.valid())
                startAfter.wait_until(notAfter);
            init();
        });
    } catch (const std::system_error&) {
        // No thread: Qt loads the configuration itself, as it always could.
    }
}

FontConfigPreload::~FontConfigPreload()
{
    if (m_thread.joinable())
        m_thread.join();
}

}  // namespace ui::qt
