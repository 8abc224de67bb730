#include "ui/term/cell_layout.h"

#include <algorithm>
#include <cmath>

#include "ui/term/axis_solver.h"

namespace ui::term {
namespace {

constexpr DWORD kSsNoPrefix = 0x80;  // a static that shows '&' as it is
constexpr double kRowMerge = 3.0;    // units: tops this close are one line
constexpr double kColMerge = 1.0;    // units: centres this close are one column
constexpr double kAboveSlack = 1.0;  // units a control may reach into the one below it
constexpr int kListLineUnits = 14;   // a drop-down list's closed height; its rect is the dropped one

// Left: the first cell at the control's left edge. Centre: the control centred on the middle of
// what it shows, so lamps, bit buttons and short labels stacked in a column stay in line.
// Stretch: both edges follow the template.
enum class Anchor { Left, Centre, Stretch };

struct Shape {
    Anchor anchor;
    int width;   // cells; the least width for a stretching control
    int height;  // rows
};

Shape ShapeOf(const afx::Window& c)
{
    int text = static_cast<int>(DisplayText(c).size());
    switch (c.kind) {
    case afx::Kind::StaticText: return {Anchor::Centre, std::max(1, text), 1};
    case afx::Kind::GroupBox: return {Anchor::Stretch, text > 0 ? text + 6 : 2, 1};
    case afx::Kind::BitmapStatic: return {Anchor::Centre, 1, 1};
    case afx::Kind::IconStatic: return {Anchor::Centre, 4, 2};
    case afx::Kind::PushButton:
    case afx::Kind::DefPushButton: return {Anchor::Left, text + 4, 1};
    case afx::Kind::BitmapButton: return {Anchor::Centre, 3, 1};
    case afx::Kind::AutoCheckBox: return {Anchor::Left, text + 4, 1};
    case afx::Kind::Edit: return {Anchor::Stretch, 4, 1};
    case afx::Kind::DropDownList: return {Anchor::Stretch, 10, 1};
    case afx::Kind::Dialog: break;
    }
    return {Anchor::Left, 1, 1};
}

// Units: the middle of what a control shows. A static's text starts at its left edge and, in
// the dialog font, takes about four units a character.
double Middle(const afx::Window& c, int cells)
{
    if (c.kind == afx::Kind::StaticText)
        return c.rect.x + std::min(c.rect.cx, 4 * cells) / 2.0;
    return c.rect.x + c.rect.cx / 2.0;
}

bool Shown(const afx::Window& c) { return (c.style & WS_VISIBLE) != 0; }

// One line of a control on the vertical axis; a group box has two, its top and bottom edge.
struct Line {
    std::size_t child;
    int anchor;
    int rows;
    double top, reach;   // units: where it starts and how far down it reaches
    double left, right;  // units: its horizontal extent, to see what lies above what
};

// A control on the horizontal axis, on the rows the vertical pass gave it.
struct Span {
    std::size_t child;
    int leftAnchor, rightAnchor;
    double leftOffset, rightOffset;  // cells from the anchors to the first and past the last cell
    int firstRow, lastRow;
    double left, right;  // units
    bool box;
};

bool Overlap(double a0, double a1, double b0, double b1) { return a0 < b1 && b0 < a1; }

std::vector<Line> VerticalLines(const afx::Window& top, AxisSolver& ys)
{
    std::vector<Line> lines;
    for (std::size_t i = 0; i < top.children.size(); ++i) {
        const afx::Window& c = *top.children[i];
        if (!Shown(c))
            continue;
        double x0 = c.rect.x, x1 = c.rect.x + c.rect.cx;
        if (c.kind == afx::Kind::GroupBox) {
            lines.push_back({i, ys.Anchor(c.rect.y), 1, double(c.rect.y), double(c.rect.y), x0, x1});
            double bottom = c.rect.y + c.rect.cy;
            lines.push_back({i, ys.Anchor(bottom), 1, bottom, bottom, x0, x1});
            continue;
        }
        int tall = c.kind == afx::Kind::DropDownList ? std::min(c.rect.cy, kListLineUnits) : c.rect.cy;
        lines.push_back({i, ys.Anchor(c.rect.y), ShapeOf(c).height, double(c.rect.y), double(c.rect.y + tall), x0, x1});
    }
    return lines;
}

}  // namespace

std::string DisplayText(const afx::Window& w)
{
    bool prefix = w.kind != afx::Kind::Edit && !(w.kind == afx::Kind::StaticText && (w.style & kSsNoPrefix));
    if (!prefix)
        return w.text;
    std::string out;
    for (std::size_t i = 0; i < w.text.size(); ++i) {
        if (w.text[i] == '&' && i + 1 < w.text.size())
            ++i;
        out.push_back(w.text[i]);
    }
    return out;
}

int CaptionCells(const afx::Window& top) { return static_cast<int>(top.text.size()) + 8; }

CellLayout LayOut(const afx::Window& top, int cols, int rows)
{
    CellLayout out;
    out.cells.resize(top.children.size());

    // Rows first: which controls share a row decides what must sit side by side.
    AxisSolver ys(kRowMerge);
    int yTop = ys.Anchor(0), yBottom = ys.Anchor(top.rect.cy);
    std::vector<Line> lines = VerticalLines(top, ys);
    for (const Line& a : lines) {
        ys.Require(yTop, a.anchor, 0);
        ys.Require(a.anchor, yBottom, a.rows);
        for (const Line& b : lines)
            if (&a != &b && a.reach <= b.top + kAboveSlack && a.top < b.top && Overlap(a.left, a.right, b.left, b.right))
                ys.Require(a.anchor, b.anchor, a.rows);
    }
    double rowScale = ys.LargestScale(rows, kMostRowsPerUnit);
    std::vector<double> yCell = ys.Solve(std::max(0.0, rowScale));
    out.height = static_cast<int>(std::floor(yCell[static_cast<std::size_t>(yBottom)] + 1e-9));
    std::vector<int> firstRow(top.children.size(), 0), lastRow(top.children.size(), 0);
    std::vector<bool> seen(top.children.size(), false);
    for (const Line& l : lines) {
        int r = static_cast<int>(std::floor(yCell[static_cast<std::size_t>(l.anchor)] + 1e-9));
        if (!seen[l.child]) {
            firstRow[l.child] = r;
            lastRow[l.child] = r + l.rows - 1;
            seen[l.child] = true;
        } else {
            lastRow[l.child] = r;  // a group box's bottom edge
        }
    }

    Columns columns(top, firstRow, lastRow, seen);
    Region whole{0, static_cast<double>(top.rect.cx), columns.Inside(kNoBox)};
    int least = std::max(CaptionCells(top), columns.LeastWidth(whole));
    out.fits = rowScale >= 0 && least <= cols;
    out.width = out.fits ? std::max(least, std::min(cols, columns.Natural(whole, least))) : least;
    columns.Place(whole, 0, out.width, out.cells);
    for (std::size_t i = 0; i < top.children.size(); ++i) {
        out.cells[i].row = firstRow[i];
        out.cells[i].height = seen[i] ? lastRow[i] - firstRow[i] + 1 : 0;
        if (!seen[i])
            out.cells[i].width = 0;
    }
    return out;
}

}  // namespace ui::term
