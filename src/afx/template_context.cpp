#include "afx/template_context.h"

#include <algorithm>
#include <climits>

namespace afx {
namespace {

// A drop-down list's template height includes its dropped list; what sits beside it on the
// dialog is the closed box, about one line of text high.
constexpr int kClosedListHeight = 12;
// How far a label may sit from what it labels, in dialog units.
constexpr int kLabelReach = 6;

res::Rect Outline(const Window& w)
{
    res::Rect r = w.rect;
    if (w.kind == Kind::DropDownList)
        r.cy = std::min(r.cy, kClosedListHeight);
    return r;
}

// The gap between two ranges [a, a + la) and [b, b + lb); negative when they overlap.
int Gap(int a, int la, int b, int lb) { return std::max(b - (a + la), a - (b + lb)); }

}  // namespace

const Window* LabelOf(const Window& ctl)
{
    if ((ctl.kind != Kind::Edit && ctl.kind != Kind::DropDownList) || !ctl.parent)
        return nullptr;
    res::Rect c = Outline(ctl);
    const Window* group = GroupOf(ctl);
    const Window* best = nullptr;
    int bestGap = INT_MAX;
    for (const auto& s : ctl.parent->children) {
        if (s->kind != Kind::StaticText || s->text.empty() || GroupOf(*s) != group)
            continue;
        res::Rect r = s->rect;
        int gx = Gap(c.x, c.cx, r.x, r.cx), gy = Gap(c.y, c.cy, r.y, r.cy);
        int gap = INT_MAX;
        if (gx < 0 && gy >= 0)
            gap = gy;  // above or below
        else if (gy < 0 && gx >= 0 && r.x < c.x)
            gap = gx;  // to the left
        if (gap <= kLabelReach && gap < bestGap) {
            best = s.get();
            bestGap = gap;
        }
    }
    return best;
}

const Window* GroupOf(const Window& ctl)
{
    if (!ctl.parent || ctl.kind == Kind::GroupBox)
        return nullptr;
    res::Rect c = Outline(ctl);
    int cx = c.x + c.cx / 2, cy = c.y + c.cy / 2;
    const Window* best = nullptr;
    for (const auto& g : ctl.parent->children) {
        if (g->kind != Kind::GroupBox)
            continue;
        const res::Rect& r = g->rect;
        bool holds = cx >= r.x && cx < r.x + r.cx && cy >= r.y && cy < r.y + r.cy;
        if (holds && (!best || r.cx * r.cy < best->rect.cx * best->rect.cy))
            best = g.get();
    }
    return best;
}

}  // namespace afx
