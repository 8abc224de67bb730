// The input API: how front-ends and tests hand the user's actions to the framework. Each call
// queues the action; the modal loop applies the control's rules and notifies the dialog.
// Actions on a disabled window (an owner while its modal box runs) are dropped.
#pragma once

#include <string>
#include <string_view>

#include "afx/window.h"

namespace afx::input {

void Click(Window* ctl);
// A typed byte, to the focused control of the top-level window.
void Char(Window* top, unsigned char ch);
void Type(Window* top, std::string_view text);
void Key(Window* top, UINT vk, bool shift = false, bool alt = false);
// The whole text of an edit after an edit made in a native editor (paste, delete, typing).
void EditText(Window* edit, std::string text);
void Pick(Window* list, int index);
void Focus(Window* ctl);
void Close(Window* top);
void SysCommand(Window* top, UINT nID);
void OpenSystemMenu(Window* top);

}  // namespace afx::input
