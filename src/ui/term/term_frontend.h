// The terminal front-end: mirrors the framework's windows into character cells with curses and
// hands keys and mouse clicks to the framework's input API. The rules of the controls are the
// framework's; this only shows the model and passes the user's actions on.
#pragma once

#include <memory>
#include <optional>
#include <vector>

#include "afx/frontend.h"
#include "ui/term/menu_overlay.h"
#include "ui/term/painter.h"
#include "ui/term/screen_style.h"
#include "ui/term/curses_terminal.h"
#include "ui/term/top_view.h"

namespace ui::term {

class TermFrontend : public afx::Frontend {
public:
    explicit TermFrontend(CursesTerminal& terminal);
    ~TermFrontend() override;
    TermFrontend(const TermFrontend&) = delete;
    TermFrontend& operator=(const TermFrontend&) = delete;

    bool Created(afx::Window* top) override;
    void Changed(afx::Window* w, afx::What what) override;
    void Destroyed(afx::Window* top) override;
    void Wait(afx::Duration limit) override;
    void ShowSystemMenu(afx::Window* top) override;

private:
    // What a mouse button went down on, to act when it comes up on the same thing.
    struct Target {
        enum class Kind { None, MenuBox, CloseBox, Control, Entry, MenuEntry, Outside } kind = Kind::None;
        afx::Window* window = nullptr;  // the top-level window or the control
        int index = -1;                 // list or menu entry
        friend bool operator==(const Target&, const Target&) = default;
    };

    TopView* ViewOf(const afx::Window* top);
    afx::Window* Active() const;
    void Arrange(TopView& v);
    void Resize();
    void Flush();
    void PlaceMenu();
    void PlaceCursor();
    bool AllFit() const;
    void ShowTooSmall();

    // Closes the active window, as the close box would, for a terminal that has gone.
    void CloseForHangUp();
    void ReadInput();
    void OnKey(const KeyInput& key);
    // After a key or click went to the open system menu: redraw, close it, send its choice.
    void FinishMenuStep(afx::Window* owner, const MenuOverlay::Outcome& o);
    void OnMouse(const MEVENT& ev);
    Target HitTest(int row, int col) const;
    void Act(const Target& t);

    CursesTerminal& m_terminal;
    ScreenStyle m_style;
    Painter m_painter{m_style};
    std::vector<std::unique_ptr<TopView>> m_views;  // in the order they opened: the last is on top
    MenuOverlay m_menu;
    WINDOW* m_menuWin = nullptr;
    bool m_menuDirty = false;
    bool m_screenDirty = true;  // clear the screen and draw every window again
    bool m_tooSmallShown = false;
    int m_cursorShown = 0;
    int m_lines, m_cols;  // the screen size the windows are arranged for
    Target m_pressed;
    bool m_hungUp = false;
    int m_hangUpCloses = 0;
};

}  // namespace ui::term
