// The view of one top-level window: where its frame sits on the screen, its cell layout, the
// curses window it is drawn into, and what needs drawing again.
#pragma once

#include "ui/term/curses_api.h"

#include <set>

#include "afx/window.h"
#include "ui/term/cell_layout.h"

namespace ui::term {

struct TopView {
    afx::Window* top = nullptr;
    CellLayout layout;
    bool boxed = false;  // owned windows are boxes with a border; the main window has a caption bar
    bool hint = false;   // a line of key hints under the client area
    int y = 0, x = 0, rows = 0, cols = 0;  // the frame on the screen
    int clientY = 0, clientX = 0;          // the client area inside the frame
    WINDOW* win = nullptr;

    bool whole = true;                       // draw everything again
    std::set<const afx::Window*> dirty;      // controls to draw again
    const afx::Window* shownFocus = nullptr; // the control drawn with the focus
    const afx::Window* shownHint = nullptr;  // the control whose hint the hint line shows
    bool shownHintListOpen = false;          // ... and whether it was an open list then

    // Lays the window out for a screen of `lines` x `columns`, over `owner` if it has one.
    void Arrange(const TopView* owner, int lines, int columns);
    bool Fits() const { return layout.fits; }

    int IndexOf(const afx::Window* c) const;
    // The cells of a child on the screen.
    Cell ScreenCell(int index) const;
    // The open list of a focused drop-down list, on the screen: entries and bottom edge.
    Cell DropDown(int index) const;
    // Where the system-menu box and the close box sit on the frame, on the screen.
    Cell MenuBox() const { return {x + (boxed ? 1 : 0), y, 3, 1}; }
    Cell CloseBox() const { return {x + cols - 3 - (boxed ? 1 : 0), y, 3, 1}; }
};

}  // namespace ui::term
