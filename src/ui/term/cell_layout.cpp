#include "ui/term/cell_layout.h"

#include <algorithm>
#include <cmath>

#include "afx/access_key.h"
#include "ui/term/axis_solver.h"
#include "ui/term/column_layout.h"
#include "ui/term/control_shape.h"

namespace ui::term {
namespace {

constexpr double kRowMerge = 3.0;    // units: tops this close are one line
constexpr double kAboveSlack = 1.0;  // units a control may reach into the one below it
constexpr int kListLineUnits = 14;   // a drop-down list's closed height; its rect is the dropped one

// One line of a control on the vertical axis; a group box has two, its top and bottom edge.
struct Line {
    std::size_t child;
    int anchor;
    int rows;
    double top, reach;   // units: where it starts and how far down it reaches
    double left, right;  // units: its horizontal extent, to see what lies above what
};

std::vector<Line> VerticalLines(const afx::Window& top, AxisSolver& ys)
{
    std::vector<Line> lines;
    for (std::size_t i = 0; i < top.children.size(); ++i) {
        const afx::Window& c = *top.children[i];
        if (!Shown(c))
            continue;
        double x0 = c.rect.x, x1 = c.rect.x + c.rect.cx;
        if (c.kind == afx::Kind::GroupBox) {
            double y0 = c.rect.y, y1 = c.rect.y + c.rect.cy;
            lines.push_back({i, ys.Anchor(y0), 1, y0, y0, x0, x1});
            lines.push_back({i, ys.Anchor(y1), 1, y1, y1, x0, x1});
            continue;
        }
        int tall = c.kind == afx::Kind::DropDownList ? std::min(c.rect.cy, kListLineUnits) : c.rect.cy;
        lines.push_back({i, ys.Anchor(c.rect.y), ShapeOf(c).height, double(c.rect.y), double(c.rect.y + tall), x0, x1});
    }
    return lines;
}

bool Overlap(double a0, double a1, double b0, double b1) { return a0 < b1 && b0 < a1; }

}  // namespace

std::string DisplayText(const afx::Window& w) { return afx::ShownText(w); }

int CaptionCells(const afx::Window& top) { return static_cast<int>(top.text.size()) + 8; }

CellLayout LayOut(const afx::Window& top, int cols, int rows)
{
    CellLayout out;
    std::size_t n = top.children.size();
    out.cells.resize(n);

    // Rows first: which controls share a row decides what must sit side by side.
    AxisSolver ys(kRowMerge);
    int yTop = ys.Anchor(0), yBottom = ys.Anchor(top.rect.cy);
    std::vector<Line> lines = VerticalLines(top, ys);
    for (const Line& a : lines) {
        ys.Require(yTop, a.anchor, 0);
        ys.Require(a.anchor, yBottom, a.rows);
        for (const Line& b : lines)
            if (a.top < b.top && a.reach <= b.top + kAboveSlack && Overlap(a.left, a.right, b.left, b.right))
                ys.Require(a.anchor, b.anchor, a.rows);
    }
    double rowScale = ys.LargestScale(rows, kMostRowsPerUnit);
    int height = static_cast<int>(std::floor(ys.Extent(std::max(0.0, rowScale)) + 1e-9));
    std::vector<double> y = ys.Solve(std::max(0.0, rowScale));
    std::vector<int> firstRow(n, 0), lastRow(n, 0);
    std::vector<bool> seen(n, false);
    for (const Line& l : lines) {
        int r = static_cast<int>(std::floor(y[static_cast<std::size_t>(l.anchor)] + 1e-9));
        if (!seen[l.child]) {
            firstRow[l.child] = r;
            lastRow[l.child] = r + l.rows - 1;
            seen[l.child] = true;
        } else {
            lastRow[l.child] = r;  // a group box's bottom edge
        }
    }

    Columns columns(top, firstRow, lastRow, seen);
    int least = std::max(CaptionCells(top), columns.LeastWidth());
    out.fits = rowScale >= 0 && least <= cols;
    out.width = out.fits ? std::max(least, columns.Width(cols)) : least;
    out.height = height;
    columns.Place(out.width, out.cells);
    for (std::size_t i = 0; i < n; ++i) {
        out.cells[i].row = firstRow[i];
        out.cells[i].height = seen[i] ? lastRow[i] - firstRow[i] + 1 : 0;
        if (!seen[i])
            out.cells[i].width = 0;
    }
    return out;
}

}  // namespace ui::term
