// The drop-down list's own rules. Closed, the arrows step its selection. F4, Alt+Down and Space
// open it; open, the arrows mark an entry, Enter picks the marked entry and Escape closes it
// without a pick, before either reaches the dialog, as a desktop drop-down list does. A click
// opens or closes it, and it closes when the focus leaves it.
#pragma once

#include "afx/window.h"

namespace afx::list {

// Adds an entry at its sorted place (case-blind) and returns its index.
int AddSorted(Window* list, const char* text);
// Selects an entry (CB_ERR or an index out of range selects none); only a user's choice
// notifies the parent.
void Select(Window* list, int index, bool notify);
// The user chose an entry: it is selected, the parent hears of it, and an open list closes.
void Pick(Window* list, int index);
void Open(Window* list);
void Close(Window* list);
bool IsOpen(const Window* w);
// A key that the dialog passed to the focused list; lParam's modifiers as with AFXM_KEY.
void Key(Window* list, UINT vk, LPARAM modifiers);
void Clicked(Window* list);

}  // namespace afx::list
