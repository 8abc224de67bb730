#include "ui/term/control_shape.h"

#include <algorithm>

#include "ui/term/cell_layout.h"

namespace ui::term {

Shape ShapeOf(const afx::Window& c)
{
    int text = static_cast<int>(DisplayText(c).size());
    switch (c.kind) {
    // A label of a few characters names the column it stands in (D0 under its bit button) and
    // is centred there; a longer text starts where the template starts it.
    case afx::Kind::StaticText: return {text <= 3 ? Anchor::Centre : Anchor::Left, std::max(1, text), 1};
    case afx::Kind::GroupBox: return {Anchor::Stretch, text > 0 ? text + 6 : 2, 1};  // "┌─ text ─┐"
    case afx::Kind::BitmapStatic: return {Anchor::Centre, 1, 1};
    case afx::Kind::IconStatic: return {Anchor::Centre, 8, 4};  // 32 x 32 pixels, 4 x 8 a cell
    case afx::Kind::PushButton:
    case afx::Kind::DefPushButton: return {Anchor::Left, text + 4, 1};  // "< text >"
    case afx::Kind::BitmapButton: return {Anchor::Centre, 3, 1};        // "[•]"
    case afx::Kind::AutoCheckBox: return {Anchor::Left, text + 4, 1};   // "[x] text"
    case afx::Kind::Edit: return {Anchor::Stretch, 4, 1};
    case afx::Kind::DropDownList: return {Anchor::Stretch, 10, 1};      // "[0x0378 ▾]"
    case afx::Kind::Dialog: break;
    }
    return {Anchor::Left, 1, 1};
}

double Middle(const afx::Window& c, int cells)
{
    // A static's text starts at its left edge and takes about four units a character.
    if (c.kind == afx::Kind::StaticText)
        return c.rect.x + std::min(c.rect.cx, 4 * cells) / 2.0;
    return c.rect.x + c.rect.cx / 2.0;
}

bool Shown(const afx::Window& c) { return (c.style & WS_VISIBLE) != 0; }

}  // namespace ui::term
