// A dialog template's rectangles (dialog units) mapped to character cells. Each axis keeps the
// order of the template and as much of its proportions as the room allows, and gives every
// control the cells its text needs, so no text is ever cut or overlapped.
#pragma once

#include <string>
#include <vector>

#include "afx/window.h"

namespace ui::term {

struct Cell {
    int col = 0, row = 0, width = 0, height = 0;  // client cells; width 0: not shown
    bool Contains(int c, int r) const { return c >= col && c < col + width && r >= row && r < row + height; }
};

struct CellLayout {
    bool fits = false;         // false: even the tightest layout needs more than the room given
    int width = 0, height = 0; // client cells (the frame adds one all round); the minimum if !fits
    std::vector<Cell> cells;   // one per child, in child order
};

// Most cells per dialog unit: the classic 4 units a column; 9 a row, the pitch of lines of
// text in a dialog, so that stacked lines never get a blank row between them.
inline constexpr double kMostColsPerUnit = 1.0 / 4;
inline constexpr double kMostRowsPerUnit = 1.0 / 9;

// The text a control shows, by the framework's access-key rule.
std::string DisplayText(const afx::Window& w);
// The caption, system-menu box and close box on the top frame line need this many cells.
int CaptionCells(const afx::Window& top);

// Lays out the top-level window's children in at most `cols` x `rows` client cells.
CellLayout LayOut(const afx::Window& top, int cols, int rows);

}  // namespace ui::term
