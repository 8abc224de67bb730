// The contract between the framework and a front-end: the front-end mirrors the window model and
// delivers user input through the input API; the framework owns windows, messages and time.
#pragma once

#include <chrono>

#include "afx/window.h"

namespace afx {

using Duration = std::chrono::milliseconds;

class Frontend {
public:
    virtual ~Frontend() = default;
    // A top-level window and its children exist: build the view. False when it cannot be shown.
    virtual bool Created(Window* top) = 0;
    // One property of one window changed: update that widget only.
    virtual void Changed(Window* w, What what) = 0;
    // The window is going away: tear its view down.
    virtual void Destroyed(Window* top) = 0;
    // Deliver pending user input through the input API, blocking at most `limit`.
    virtual void Wait(Duration limit) = 0;
    // A message was queued. A front-end whose Wait sleeps in a loop of its own ends that sleep,
    // so that input handed over from inside the loop (a widget's signal) is dispatched at once.
    virtual void Posted() {}
    // Open the window's system menu; a choice comes back as Input::SysCommand.
    virtual void ShowSystemMenu(Window* top) { (void)top; }
    // Whether the user can move top-level windows here; the system menu offers "Move" only then.
    virtual bool MovesWindows() const { return false; }
    // Hand moving the window to the window system, which follows the pointer or the keys.
    virtual void BeginMove(Window* top) { (void)top; }
    // The clock the framework's timers run on.
    virtual Duration Now();
};

// The installed front-end (not owned); null when none is installed.
Frontend* CurrentFrontend();
void InstallFrontend(Frontend* f);

}  // namespace afx
