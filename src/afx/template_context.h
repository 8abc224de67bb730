// What a control's place in its dialog's template says about it: the static text that labels it
// and the group box that frames it. Screen readers need both to tell like controls apart.
#pragma once

#include "afx/window.h"

namespace afx {

// The static text right beside an edit or list (above, below or to its left), or null.
const Window* LabelOf(const Window& ctl);
// The smallest group box that holds the control, or null.
const Window* GroupOf(const Window& ctl);

}  // namespace afx
