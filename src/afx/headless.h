// A front-end without a screen, for tests and benchmarks: a virtual clock and a script of
// user actions that runs inside the modal loop, as a user's session would.
#pragma once

#include <deque>
#include <functional>
#include <map>
#include <utility>
#include <variant>
#include <vector>

#include "afx/frontend.h"

namespace afx {

class HeadlessFrontend : public Frontend {
public:
    HeadlessFrontend();
    ~HeadlessFrontend() override;

    // Script: a step runs when the loop next waits, i.e. once everything queued is handled.
    void Then(std::function<void()> step);
    // Lets virtual time pass, with every timer that falls due in it delivered on time.
    void Sleep(Duration d);
    // Moves the clock at once, as if the program had been busy that long.
    void Advance(Duration d) { m_now += d; }
    bool ScriptDone() const { return m_script.empty(); }

    // The window opened last and still open, and the first one (the main window).
    Window* Active() const { return m_open.empty() ? nullptr : m_open.back(); }
    Window* Main() const { return m_open.empty() ? nullptr : m_open.front(); }
    Window* Item(int id) const;  // a control of the active window
    const std::vector<Window*>& Open() const { return m_open; }

    // How often the view was told of a change, per window and property.
    int Changes(Window* w, What what) const;
    void ResetChanges() { m_changes.clear(); }
    int WindowsCreated() const { return m_created; }
    void FailCreation(bool fail) { m_failCreation = fail; }
    // Pretend to be a desktop whose windows the user can move, and count the moves begun.
    void AllowMoving(bool allow) { m_allowMoving = allow; }
    int MovesBegun() const { return m_movesBegun; }

    bool Created(Window* top) override;
    void Changed(Window* w, What what) override;
    void Destroyed(Window* top) override;
    void Wait(Duration limit) override;
    void ShowSystemMenu(Window* top) override;
    bool MovesWindows() const override { return m_allowMoving; }
    void BeginMove(Window*) override { ++m_movesBegun; }
    Duration Now() override { return m_now; }

private:
    using Step = std::variant<std::function<void()>, Duration>;
    std::deque<Step> m_script;
    Duration m_now{0};
    std::vector<Window*> m_open;
    std::map<std::pair<Window*, What>, int> m_changes;
    int m_overruns = 0;  // waits that found the script empty
    int m_created = 0;
    bool m_failCreation = false;
    bool m_allowMoving = false;
    int m_movesBegun = 0;
    Frontend* m_previous;
};

}  // namespace afx
