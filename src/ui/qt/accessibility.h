// What screen readers hear of a window, through Qt's accessibility: the panel and the about box
// as dialogs, group boxes as groupings, bit buttons as check boxes whose checked state is the
// set face, the port list named with its chosen entry, lamps as images named with their state, and every control named and placed in its
// group. Nothing of this changes what the window shows.
#pragma once

#include <QWidget>
#include <functional>

#include "afx/window.h"

namespace ui::qt {

// Before the first window: tells Qt which accessible interface each of our widgets has.
void InstallAccessibility();

using WidgetLookup = std::function<QWidget*(const afx::Window*)>;
// The name, label and description a control keeps while its window lives.
void DescribeControl(QWidget* w, const afx::Window& ctl, const WidgetLookup& widgetOf);
// The control shows another image: what screen readers hear of its state follows it.
void ShowImageState(QWidget* w, const afx::Window& ctl);
// The list shows another entry (or other entries): its spoken name says the chosen one.
void ShowListChoice(QWidget* w, const afx::Window& ctl);

}  // namespace ui::qt
