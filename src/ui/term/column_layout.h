// The horizontal pass of the cell layout. A group box and the controls inside it are placed in
// two steps: the box among its neighbours, then its controls within it on a scale of their
// own, so that a crowded row in one box does not bend the columns of another.
#pragma once

#include <cstddef>
#include <limits>
#include <vector>

#include "afx/window.h"
#include "ui/term/cell_layout.h"

namespace ui::term {

inline constexpr std::size_t kNoBox = std::numeric_limits<std::size_t>::max();

class Columns {
public:
    // `firstRow`/`lastRow` per child from the vertical pass; children not `shown` take no part.
    Columns(const afx::Window& top, std::vector<int> firstRow, std::vector<int> lastRow, std::vector<bool> shown);

    // Cells the whole window needs across, at the least.
    int LeastWidth() const { return LeastWidth(kNoBox); }
    // Cells it takes across in at most `room`: the classic scale if room allows.
    int Width(int room) const;
    // Gives every shown child its columns in a window `width` cells across.
    void Place(int width, std::vector<Cell>& cells) const;

private:
    struct Span;
    class Solver;
    // The controls whose innermost group box is `box` (kNoBox: none).
    const std::vector<std::size_t>& Members(std::size_t box) const;
    int LeastWidth(std::size_t box) const;
    void Place(std::size_t box, int col, int width, std::vector<Cell>& cells) const;

    const afx::Window& m_top;
    std::vector<int> m_firstRow, m_lastRow;
    std::vector<bool> m_shown;
    std::vector<std::size_t> m_boxOf;                     // innermost group box of each child
    std::vector<std::vector<std::size_t>> m_members;     // by box; the last entry is kNoBox's
};

}  // namespace ui::term
