#include "afx/msgloop.h"

#include <algorithm>
#include <limits>

#include "afx/cwnd.h"
#include "afx/controlproc.h"
#include "afx/view_changes.h"

namespace afx {
namespace {

struct Timer {
    Window* hwnd;
    UINT id;
    Duration interval;
    Duration due;
    bool pending;  // a WM_TIMER for it is queued and not yet dispatched
};

struct LoopState {
    std::deque<Msg> queue;
    std::vector<Timer> timers;
    MessageSpy spy;
};

LoopState& State()
{
    static LoopState state;
    return state;
}

Duration Now()
{
    Frontend* f = CurrentFrontend();
    return f ? f->Now() : std::chrono::duration_cast<Duration>(std::chrono::steady_clock::now().time_since_epoch());
}

void Dispatch(const Msg& m)
{
    if (m.message == WM_TIMER) {
        for (Timer& t : State().timers)
            if (t.hwnd == m.hwnd && t.id == m.wParam)
                t.pending = false;
    }
    if (m.message == AFXM_EDITTEXT)
        SendMessage(m.hwnd, m.message, m.wParam, reinterpret_cast<LPARAM>(&m.text));
    else
        SendMessage(m.hwnd, m.message, m.wParam, m.lParam);
}

bool DispatchOne()
{
    auto& q = State().queue;
    if (q.empty())
        return false;
    Msg m = q.front();
    q.pop_front();
    Dispatch(m);
    return true;
}

// Timer messages come only when nothing else is queued, like the window system's.
bool PostDueTimers()
{
    bool posted = false;
    Duration now = Now();
    for (Timer& t : State().timers) {
        if (!t.pending && t.due <= now) {
            t.pending = true;
            t.due = now + t.interval;
            State().queue.push_back({t.hwnd, WM_TIMER, t.id, 0, {}});
            posted = true;
        }
    }
    return posted;
}

Duration UntilNextTimer()
{
    Duration next = Duration::max();
    Duration now = Now();
    for (const Timer& t : State().timers)
        if (!t.pending)
            next = std::min(next, std::max(Duration::zero(), t.due - now));
    return next;
}

}  // namespace

LRESULT SendMessage(Window* hwnd, UINT message, WPARAM wParam, LPARAM lParam)
{
    if (!hwnd)
        return 0;
    // The front-end hears of the changes a handler made once it has returned.
    ChangeBatch batch;
    if (State().spy)
        State().spy({hwnd, message, wParam, lParam, {}});
    if (hwnd->wnd)
        return hwnd->wnd->WindowProc(message, wParam, lParam);
    return ControlProc(hwnd, message, wParam, lParam);
}

void PostMessage(Window* hwnd, UINT message, WPARAM wParam, LPARAM lParam, std::string text)
{
    State().queue.push_back({hwnd, message, wParam, lParam, std::move(text)});
    if (Frontend* f = CurrentFrontend())
        f->Posted();
}

void SetTimer(Window* hwnd, UINT nIDEvent, UINT nElapse)
{
    auto& timers = State().timers;
    std::erase_if(timers, [&](const Timer& t) { return t.hwnd == hwnd && t.id == nIDEvent; });
    Duration interval{nElapse};
    timers.push_back({hwnd, nIDEvent, interval, Now() + interval, false});
}

void KillTimers(Window* hwnd)
{
    std::erase_if(State().timers, [&](const Timer& t) { return t.hwnd == hwnd; });
}

void ForgetWindow(Window* hwnd)
{
    KillTimers(hwnd);
    std::erase_if(State().queue, [&](const Msg& m) { return m.hwnd == hwnd || (m.hwnd && m.hwnd->parent == hwnd); });
}

void RunModalLoop(const std::function<bool()>& done)
{
    while (!done()) {
        if (DispatchOne())
            continue;
        if (PostDueTimers())
            continue;
        Frontend* f = CurrentFrontend();
        if (!f)
            return;
        FlushChanges();
        f->Wait(UntilNextTimer());
    }
}

void PumpPending()
{
    for (;;) {
        if (DispatchOne())
            continue;
        if (!PostDueTimers())
            return;
    }
}

void SetMessageSpy(MessageSpy spy) { State().spy = std::move(spy); }

namespace {
Frontend* g_frontend = nullptr;
}

Frontend* CurrentFrontend() { return g_frontend; }
void InstallFrontend(Frontend* f) { g_frontend = f; }

Duration Frontend::Now()
{
    return std::chrono::duration_cast<Duration>(std::chrono::steady_clock::now().time_since_epoch());
}

}  // namespace afx
