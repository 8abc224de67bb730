#include "ui/term/top_view.h"

#include <algorithm>

namespace ui::term {

void TopView::Arrange(const TopView* owner, int lines, int columns)
{
    boxed = owner != nullptr || top->owner != nullptr;
    if (boxed) {
        layout = LayOut(*top, columns - 2, lines - 2);
        hint = false;
        rows = layout.height + 2;
        cols = layout.width + 2;
        clientY = 1;
        clientX = 1;
        // Centred over the owner, as a modal box is, and kept on the screen.
        int cy = owner ? owner->y + owner->rows / 2 : lines / 2;
        int cx = owner ? owner->x + owner->cols / 2 : columns / 2;
        y = std::clamp(cy - rows / 2, 0, std::max(0, lines - rows));
        x = std::clamp(cx - cols / 2, 0, std::max(0, columns - cols));
        return;
    }
    // The main window: a caption bar, the client area and, if a line is left, the key hints.
    layout = LayOut(*top, columns, lines - 2);
    hint = layout.fits;
    if (!hint)
        layout = LayOut(*top, columns, lines - 1);
    rows = 1 + layout.height + (hint ? 1 : 0);
    cols = layout.width;
    clientY = 1;
    clientX = 0;
    y = std::max(0, (lines - rows) / 2);
    x = std::max(0, (columns - cols) / 2);
}

int TopView::IndexOf(const afx::Window* c) const
{
    for (std::size_t i = 0; i < top->children.size(); ++i)
        if (top->children[i].get() == c)
            return static_cast<int>(i);
    return -1;
}

Cell TopView::ScreenCell(int index) const
{
    Cell c = layout.cells[static_cast<std::size_t>(index)];
    c.col += x + clientX;
    c.row += y + clientY;
    return c;
}

Cell TopView::DropDown(int index) const
{
    const afx::Window& list = *top->children[static_cast<std::size_t>(index)];
    Cell at = ScreenCell(index);
    int below = y + rows - (at.row + 1);  // rows left in the frame under the closed list
    int entries = std::clamp(static_cast<int>(list.items.size()), 1, std::max(1, below - 1));
    return {at.col, at.row + 1, at.width, entries + 1};
}

}  // namespace ui::term
