// The built-in behaviour of the controls: what each kind does with the messages it receives.
#pragma once

#include "afx/window.h"

namespace afx {

// Input messages that the input API queues; they carry the user's action to its window.
constexpr UINT AFXM_CLICK = WM_LBUTTONUP;      // to a control
constexpr UINT AFXM_EDITTEXT = WM_USER + 0x100; // to an edit: replace the whole text (lParam: std::string*)
constexpr UINT AFXM_PICK = WM_USER + 0x101;     // to a list: the user picked entry wParam
constexpr UINT AFXM_FOCUS = WM_USER + 0x102;    // to a control: it takes the focus
constexpr UINT AFXM_KEY = WM_KEYDOWN;           // to a top-level window: key wParam, lParam = modifiers
constexpr UINT AFXM_CHAR = WM_CHAR;             // to a top-level window or an edit: one byte

constexpr LPARAM KEYMOD_SHIFT = 1;
constexpr LPARAM KEYMOD_ALT = 2;

LRESULT ControlProc(Window* hwnd, UINT message, WPARAM wParam, LPARAM lParam);

// Sends the control's parent a WM_COMMAND notification with the given code.
void NotifyParent(Window* ctl, UINT code);

// Moves the keyboard focus of a top-level window; an edit that gets it by keyboard selects all.
void SetFocusTo(Window* ctl, bool selectAll);

}  // namespace afx
