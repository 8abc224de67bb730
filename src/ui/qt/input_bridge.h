// The user's actions on widgets, handed to the framework's input API. Each call also wakes the
// front-end's wait, so the framework's loop dispatches the action without delay.
#pragma once

#include <string>

#include "afx/window.h"

namespace ui::qt::send {

void Click(afx::Window* ctl);
void Char(afx::Window* top, unsigned char ch);
void Key(afx::Window* top, UINT vk, bool shift = false, bool alt = false);
void EditText(afx::Window* edit, std::string text);
void Pick(afx::Window* list, int index);
void Focus(afx::Window* ctl);
void Close(afx::Window* top);
void SysCommand(afx::Window* top, UINT nID);
void OpenSystemMenu(afx::Window* top);
void ClientSize(afx::Window* top, int cx, int cy);

}  // namespace ui::qt::send
