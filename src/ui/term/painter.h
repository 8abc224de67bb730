// Draws a top-level window's view into its curses window: the frame, each control as the window
// model describes it, and the open list of a drop-down list the user has opened.
#pragma once

#include "ui/term/menu_overlay.h"
#include "ui/term/screen_style.h"
#include "ui/term/top_view.h"

namespace ui::term {

class Painter {
public:
    explicit Painter(ScreenStyle& style) : m_style(style) {}

    // Everything: frame, controls, open list.
    void Whole(TopView& v);
    // One control, and the open list again if it lies over it.
    void Control(TopView& v, int index);
    void Frame(TopView& v);
    // The line of hints under the client area, for the focused control.
    void Hint(TopView& v);
    // The open system menu, into a curses window of its own.
    void Menu(WINDOW* w, const MenuOverlay& menu);

private:
    void Draw(TopView& v, int index);
    void OpenListOver(TopView& v);
    void Group(TopView& v, const afx::Window& c, const Cell& at);
    void Lamp(TopView& v, const afx::Window& c, const Cell& at);
    void BitButton(TopView& v, const afx::Window& c, const Cell& at, bool focus);
    void Edit(TopView& v, const afx::Window& c, const Cell& at, bool focus);
    void List(TopView& v, const afx::Window& c, const Cell& at, bool focus);
    void Icon(TopView& v, const afx::Window& c, const Cell& at);
    void OpenList(TopView& v, int index);
    Cell Local(const TopView& v, int index) const;  // a child's cells inside the curses window

    ScreenStyle& m_style;
};

}  // namespace ui::term
