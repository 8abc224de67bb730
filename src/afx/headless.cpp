#include "afx/headless.h"

#include <algorithm>
#include <cstdlib>

#include "afx/input.h"

namespace afx {

HeadlessFrontend::HeadlessFrontend() : m_previous(CurrentFrontend()) { InstallFrontend(this); }

HeadlessFrontend::~HeadlessFrontend() { InstallFrontend(m_previous); }

void HeadlessFrontend::Then(std::function<void()> step) { m_script.emplace_back(std::move(step)); }

void HeadlessFrontend::Sleep(Duration d) { m_script.emplace_back(d); }

Window* HeadlessFrontend::Item(int id) const
{
    return Active() ? Active()->Child(id) : nullptr;
}

int HeadlessFrontend::Changes(Window* w, What what) const
{
    auto it = m_changes.find({w, what});
    return it == m_changes.end() ? 0 : it->second;
}

bool HeadlessFrontend::Created(Window* top)
{
    if (m_failCreation)
        return false;
    ++m_created;
    m_open.push_back(top);
    return true;
}

void HeadlessFrontend::Changed(Window* w, What what) { ++m_changes[{w, what}]; }

void HeadlessFrontend::Destroyed(Window* top)
{
    std::erase(m_open, top);
    std::erase_if(m_changes, [&](const auto& e) { return e.first.first == top || e.first.first->parent == top; });
}

void HeadlessFrontend::Wait(Duration limit)
{
    if (m_script.empty()) {
        // The script is over but a window is still open: close it, as a user leaving would.
        if (++m_overruns > 100)
            std::abort();  // a window that will not close would hang the test run
        if (Active())
            input::Close(Active());
        return;
    }
    Step& step = m_script.front();
    if (auto* d = std::get_if<Duration>(&step)) {
        Duration advance = std::min(*d, limit);
        m_now += advance;
        *d -= advance;
        if (*d <= Duration::zero())
            m_script.pop_front();
        return;
    }
    auto fn = std::move(std::get<std::function<void()>>(step));
    m_script.pop_front();
    fn();
}

void HeadlessFrontend::ShowSystemMenu(Window*) {}

}  // namespace afx
