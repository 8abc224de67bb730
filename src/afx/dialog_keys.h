// The dialog manager: keyboard navigation and the keys every dialog understands.
#pragma once

#include "afx/window.h"

class CWnd;

namespace afx {

void FocusFirstTabStop(Window* top);

// What Enter does with the focus where it is: closes an open list on its marked entry, presses
// the focused button, or presses the default button (OK). Key handling and the key hints both
// ask this.
enum class EnterAction { PickInList, PressFocus, PressDefault };
EnterAction WhatEnterDoes(const Window* focus);
// Tab and Shift+Tab, Enter, Escape, F1, Alt+Space and F10, Alt+F4, Alt with an access key (and
// Alt with any other letter or digit, which does nothing); other keys go to the focus.
void DialogKey(CWnd* pDlg, UINT vk, LPARAM modifiers);
// A typed byte: into the focused edit; a blank presses the focused button or check box.
void DialogChar(CWnd* pDlg, unsigned char ch);
// What the window does with a system command that the application passes on.
LRESULT DefaultSysCommand(CWnd* pDlg, UINT nID);

}  // namespace afx
