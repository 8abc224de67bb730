#include "ui/term/column_layout.h"

#include <algorithm>
#include <cmath>

#include "ui/term/axis_solver.h"
#include "ui/term/control_shape.h"

namespace ui::term {
namespace {

constexpr double kColMerge = 1.0;  // units: centres this close are one column
constexpr int kBoxMargin = 2;      // cells from a group box's edge to its controls: border, blank

}  // namespace

// A control on the horizontal axis: its cells run from its left anchor plus the left offset to
// its right anchor plus the right offset.
struct Columns::Span {
    std::size_t child;
    int leftAnchor, rightAnchor;
    int leftOffset, rightOffset;
};

// The demands of one region (the window, or the inside of a group box) on one solver.
class Columns::Solver {
public:
    Solver(const Columns& cols, std::size_t box) : m_xs(kColMerge)
    {
        const afx::Window* b = box == kNoBox ? nullptr : cols.m_top.children[box].get();
        double left = b ? b->rect.x : 0.0;
        double right = b ? b->rect.x + b->rect.cx : cols.m_top.rect.cx;
        m_left = m_xs.Anchor(left);
        m_right = m_xs.Anchor(right);
        for (std::size_t i : cols.Members(box)) {
            const afx::Window& c = *cols.m_top.children[i];
            Shape s = ShapeOf(c);
            Span sp{i, 0, 0, 0, 0};
            if (s.anchor == Anchor::Stretch) {
                sp.leftAnchor = m_xs.Anchor(c.rect.x);
                sp.rightAnchor = m_xs.Anchor(c.rect.x + c.rect.cx);
                int least = s.width;
                if (c.kind == afx::Kind::GroupBox && !cols.Members(i).empty())
                    least = std::max(least, cols.LeastWidth(i) + 2 * kBoxMargin);
                m_xs.Require(sp.leftAnchor, sp.rightAnchor, least);
            } else {
                sp.leftAnchor = sp.rightAnchor = m_xs.Anchor(s.anchor == Anchor::Centre ? Middle(c, s.width) : c.rect.x);
                // Whole offsets round stacked controls alike: a lamp sits over the middle of its
                // bit button, the label under it starts there.
                sp.leftOffset = s.anchor == Anchor::Centre ? -((s.width - 1) / 2) : 0;
                sp.rightOffset = sp.leftOffset + s.width;
            }
            m_xs.Require(m_left, sp.leftAnchor, -sp.leftOffset);
            m_xs.Require(sp.rightAnchor, m_right, sp.rightOffset);
            m_spans.push_back(sp);
        }
        // Controls that share a row keep their order with a blank cell between them.
        for (const Span& a : m_spans) {
            for (const Span& b : m_spans) {
                if (&a == &b || cols.m_lastRow[a.child] < cols.m_firstRow[b.child] ||
                    cols.m_lastRow[b.child] < cols.m_firstRow[a.child])
                    continue;
                const res::Rect& ra = cols.m_top.children[a.child]->rect;
                const res::Rect& rb = cols.m_top.children[b.child]->rect;
                if (ra.x < rb.x || (ra.x == rb.x && ra.cx < rb.cx))
                    m_xs.Require(a.rightAnchor, b.leftAnchor, a.rightOffset + 1 - b.leftOffset);
            }
        }
    }

    double Extent(double scale) const { return m_xs.Extent(scale); }
    double LargestScale(int room) const { return m_xs.LargestScale(room, kMostColsPerUnit); }

    void Place(const Columns& cols, int col, int width, std::vector<Cell>& cells) const
    {
        double scale = std::max(0.0, LargestScale(width));
        std::vector<double> x = m_xs.Solve(scale, width);
        auto at = [&](int anchor) { return static_cast<int>(std::floor(x[static_cast<std::size_t>(anchor)] + 1e-9)); };
        for (const Span& sp : m_spans) {
            Cell& cell = cells[sp.child];
            cell.col = col + at(sp.leftAnchor) + sp.leftOffset;
            cell.width = sp.leftAnchor == sp.rightAnchor ? sp.rightOffset - sp.leftOffset
                                                         : at(sp.rightAnchor) - at(sp.leftAnchor);
            if (!cols.Members(sp.child).empty())
                cols.Place(sp.child, cell.col + kBoxMargin, cell.width - 2 * kBoxMargin, cells);
        }
    }

private:
    AxisSolver m_xs;
    int m_left = 0, m_right = 0;
    std::vector<Span> m_spans;
};

Columns::Columns(const afx::Window& top, std::vector<int> firstRow, std::vector<int> lastRow, std::vector<bool> shown)
    : m_top(top), m_firstRow(std::move(firstRow)), m_lastRow(std::move(lastRow)), m_shown(std::move(shown))
{
    const auto& kids = top.children;
    m_boxOf.assign(kids.size(), kNoBox);
    m_members.resize(kids.size() + 1);
    for (std::size_t i = 0; i < kids.size(); ++i) {
        if (!m_shown[i])
            continue;
        const res::Rect& r = kids[i]->rect;
        // The innermost box that holds the control across and between its two edges.
        for (std::size_t b = 0; b < kids.size(); ++b) {
            const res::Rect& br = kids[b]->rect;
            bool holds = b != i && m_shown[b] && kids[b]->kind == afx::Kind::GroupBox && r.x >= br.x &&
                         r.x + r.cx <= br.x + br.cx + kColMerge && m_firstRow[b] < m_firstRow[i] &&
                         m_lastRow[i] < m_lastRow[b];
            if (holds && (m_boxOf[i] == kNoBox || br.cx < kids[m_boxOf[i]]->rect.cx))
                m_boxOf[i] = b;
        }
        m_members[m_boxOf[i] == kNoBox ? kids.size() : m_boxOf[i]].push_back(i);
    }
}

const std::vector<std::size_t>& Columns::Members(std::size_t box) const
{
    return m_members[box == kNoBox ? m_top.children.size() : box];
}

int Columns::LeastWidth(std::size_t box) const
{
    return static_cast<int>(std::ceil(Solver(*this, box).Extent(0.0) - 1e-9));
}

int Columns::Width(int room) const
{
    Solver s(*this, kNoBox);
    double scale = s.LargestScale(room);
    return static_cast<int>(std::floor(s.Extent(std::max(0.0, scale)) + 1e-9));
}

void Columns::Place(int width, std::vector<Cell>& cells) const { Place(kNoBox, 0, width, cells); }

void Columns::Place(std::size_t box, int col, int width, std::vector<Cell>& cells) const
{
    Solver(*this, box).Place(*this, col, width, cells);
}

}  // namespace ui::term
