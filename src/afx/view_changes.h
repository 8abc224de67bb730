// How changes to window records reach the front-end: while a message is handled they are
// collected, and once the outermost handler has returned each changed property is reported once,
// in the order it first changed, and only if it differs from what the front-end was last shown.
// A lamp set to one image and back within one refresh is then neither painted nor announced,
// while the model itself still takes every image the refresh gives it.
#pragma once

#include "afx/window.h"

namespace afx {

// Held while a message is handled; the outermost one reports the net changes when it ends.
class ChangeBatch {
public:
    ChangeBatch();
    ~ChangeBatch();
    ChangeBatch(const ChangeBatch&) = delete;
    ChangeBatch& operator=(const ChangeBatch&) = delete;
};

// A property of a window changed: reported now outside a batch, at the batch's end inside one.
void ReportChange(Window* w, What what);
// Reports what has been collected so far; before the front-end is asked to do anything else
// (build a view, wait for input, tear a view down) it must show the model as it stands.
void FlushChanges();
// The front-end has just built its view of `top` from the records: that is what it shows now.
void ViewBuilt(Window* top);
// The view of `top` is gone: forget what it showed and drop its pending changes.
void ViewGone(Window* top);
// The front-end's own editor may show something else than the model (it applied the user's
// edit itself): the property is reported at the batch's end whatever it was before.
void ViewMayDiffer(Window* w, What what);

}  // namespace afx
