// One widget per kind of control, placed at its template rectangle, with its native signals
// turned into framework input. Its content (text, image, check, items ...) is filled in by the
// view from the model, the same way as every later change.
#pragma once

#include <QWidget>

#include "afx/window.h"
#include "ui/qt/dialog_units.h"

namespace ui::qt {

QWidget* CreateControl(afx::Window* ctl, QWidget* parent, const DialogUnits& units);

// Text as a static or group box shows it, by the framework's access-key rule.
QString StaticText(const afx::Window& ctl);

}  // namespace ui::qt
