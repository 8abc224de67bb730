#include "afx/window.h"

#include "afx/view_changes.h"

namespace afx {

Window* Window::Child(int nID) const
{
    for (const auto& c : children)
        if (c->id == nID)
            return c.get();
    return nullptr;
}

bool Window::IsButtonLike() const
{
    return kind == Kind::PushButton || kind == Kind::DefPushButton || kind == Kind::BitmapButton;
}

void Changed(Window* w, What what) { ReportChange(w, what); }

}  // namespace afx
