// Builds the window records of a dialog from its template.
#pragma once

#include <memory>
#include <string>

#include "afx/window.h"

namespace afx {

Kind KindOf(res::ControlKind kind);
std::unique_ptr<Window> CreateDialogWindow(const res::DialogTemplate& tmpl, const std::string& captionSuffix);

}  // namespace afx
