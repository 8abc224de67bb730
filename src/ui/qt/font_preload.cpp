#include "ui/qt/font_preload.h"

#include <condition_variable>
#include <dlfcn.h>
#include <mutex>
#include <sys/resource.h>
#include <system_error>
#include <unistd.h>

namespace ui::qt {

struct FontConfigPreload::Gate {
    enum class State { Waiting, Begun, Dropped };
    std::mutex mutex;
    std::condition_variable changed;
    State state = State::Waiting;

    // Moves on from Waiting only: a load begun stays begun, one dropped stays dropped.
    void Settle(State to)
    {
        {
            std::lock_guard lock(mutex);
            if (state != State::Waiting)
                return;
            state = to;
        }
        changed.notify_all();
    }
};

FontConfigPreload::FontConfigPreload() : m_gate(std::make_shared<Gate>())
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
        m_thread = std::thread([init, gate = m_gate] {
            // Only this thread: on Linux a thread's nice value is its own.
            setpriority(PRIO_PROCESS, static_cast<id_t>(gettid()), 19);
            std::unique_lock lock(gate->mutex);
            gate->changed.wait(lock, [&] { return gate->state != Gate::State::Waiting; });
            const bool begun = gate->state == Gate::State::Begun;
            lock.unlock();
            if (begun)
                init();
        });
    } catch (const std::system_error&) {
        // No thread: Qt loads the configuration itself, as it always could.
    }
}

FontConfigPreload::~FontConfigPreload()
{
    m_gate->Settle(Gate::State::Dropped);
    if (m_thread.joinable())
        m_thread.join();
}

void FontConfigPreload::Begin() { m_gate->Settle(Gate::State::Begun); }

}  // namespace ui::qt
