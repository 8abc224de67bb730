// The one user-interface thread's message queue, timers and modal loop.
#pragma once

#include <deque>
#include <functional>
#include <string>
#include <vector>

#include "afx/frontend.h"

namespace afx {

struct Msg {
    Window* hwnd;
    UINT message;
    WPARAM wParam;
    LPARAM lParam;
    std::string text;  // payload of a text edit made in a front-end's native editor
};

// Sends a message to a window at once: its framework object's map, else the control's own rules.
LRESULT SendMessage(Window* hwnd, UINT message, WPARAM wParam = 0, LPARAM lParam = 0);
// Queues a message for the modal loop.
void PostMessage(Window* hwnd, UINT message, WPARAM wParam = 0, LPARAM lParam = 0, std::string text = {});

void SetTimer(Window* hwnd, UINT nIDEvent, UINT nElapse);
void KillTimers(Window* hwnd);
// Drops every queued message for a window that is going away.
void ForgetWindow(Window* hwnd);

// Runs the modal loop until `done` is true: dispatch queued messages, post due timer messages
// (at most one pending per timer), then let the front-end wait for input until the next is due.
void RunModalLoop(const std::function<bool()>& done);

// Dispatches what is queued and due now, without waiting; for tests that step the loop.
void PumpPending();

// Optional observer of every message dispatched or sent, for tests.
using MessageSpy = std::function<void(const Msg&)>;
void SetMessageSpy(MessageSpy spy);

}  // namespace afx
