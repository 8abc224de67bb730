// The window's system menu as the framework keeps it, shown as a pop-up menu: the window
// managers give no menu of their own that an application could add its about entry to.
#pragma once

#include <QMenu>
#include <QPoint>

#include "afx/window.h"

namespace ui::qt {

// Rebuilds `menu` from the model's entries and pops it up at `at` (global coordinates) without
// blocking; a chosen entry reaches the framework as a system command.
void PopupSystemMenu(QMenu& menu, afx::Window* top, QPoint at);

}  // namespace ui::qt
