#include "ui/term/term_frontend.h"

#include <sys/ioctl.h>
#include <unistd.h>

#include <algorithm>
#include <string>

#include "afx/list_control.h"

namespace ui::term {

TermFrontend::TermFrontend(CursesTerminal& terminal) : m_terminal(terminal), m_lines(LINES), m_cols(COLS) {}

TermFrontend::~TermFrontend()
{
    for (auto& v : m_views)
        if (v->win)
            delwin(v->win);
    if (m_menuWin)
        delwin(m_menuWin);
}

TopView* TermFrontend::ViewOf(const afx::Window* top)
{
    for (auto& v : m_views)
        if (v->top == top)
            return v.get();
    return nullptr;
}

afx::Window* TermFrontend::Active() const { return m_views.empty() ? nullptr : m_views.back()->top; }

void TermFrontend::Arrange(TopView& v)
{
    v.Arrange(v.top->owner ? ViewOf(v.top->owner) : nullptr, LINES, COLS);
    if (v.win)
        delwin(v.win);
    v.win = v.Fits() ? newwin(v.rows, v.cols, v.y, v.x) : nullptr;
    v.whole = true;
}

bool TermFrontend::Created(afx::Window* top)
{
    auto view = std::make_unique<TopView>();
    view->top = top;
    view->shownFocus = top->focus;
    m_views.push_back(std::move(view));
    Arrange(*m_views.back());
    return true;
}

void TermFrontend::Destroyed(afx::Window* top)
{
    if (m_menu.Owner() == top) {
        m_menu.Close();
        if (m_menuWin)
            delwin(m_menuWin);
        m_menuWin = nullptr;
    }
    auto it = std::find_if(m_views.begin(), m_views.end(), [&](const auto& v) { return v->top == top; });
    if (it == m_views.end())
        return;
    if ((*it)->win)
        delwin((*it)->win);
    m_views.erase(it);
    m_screenDirty = true;  // what the window covered shows again
}

void TermFrontend::Changed(afx::Window* w, afx::What what)
{
    TopView* v = ViewOf(w->Top());
    if (!v)
        return;
    using afx::What;
    if (w->IsTopLevel()) {
        switch (what) {
        case What::Focus: {
            const afx::Window* before = v->shownFocus;
            v->shownFocus = w->focus;
            if (before)
                v->dirty.insert(before);
            if (w->focus)
                v->dirty.insert(w->focus);
            break;
        }
        case What::Menu:
            if (m_menu.Owner() == w) {
                m_menu.Reload();
                PlaceMenu();
            }
            break;
        case What::Text:
        case What::Minimized: v->whole = true; break;
        default: break;  // icons and the enabled state of a whole window show nothing here
        }
        return;
    }
    if (what == What::Limit)
        return;
    // An open list lies over its neighbours: opening, closing or changing it redraws them.
    if (w->kind == afx::Kind::GroupBox || what == What::Dropped || afx::list::IsOpen(w))
        v->whole = true;
    else
        v->dirty.insert(w);
}

void TermFrontend::ShowSystemMenu(afx::Window* top)
{
    m_menu.Open(top);
    PlaceMenu();
}

void TermFrontend::PlaceMenu()
{
    if (m_menuWin)
        delwin(m_menuWin);
    m_menuWin = nullptr;
    TopView* v = ViewOf(m_menu.Owner());
    if (!v || !v->Fits() || m_menu.Entries().empty()) {
        m_menu.Close();
        return;
    }
    // Under the system-menu box of its window, as far as the screen allows.
    int rows = std::min(static_cast<int>(m_menu.Entries().size()) + 2, LINES);
    int cols = std::min(m_menu.Width() + 2, COLS);
    Cell box = v->MenuBox();
    int y = std::clamp(box.row + 1, 0, LINES - rows);
    int x = std::clamp(box.col, 0, COLS - cols);
    m_menuWin = newwin(rows, cols, y, x);
    m_menuDirty = true;
}

void TermFrontend::Resize()
{
    // curses answers its own resize with a KEY_RESIZE, which lands here again: only a size
    // that differs from what curses has is passed on.
    struct winsize ws {};
    if (::ioctl(STDOUT_FILENO, TIOCGWINSZ, &ws) == 0 && ws.ws_row > 0 && ws.ws_col > 0 &&
        is_term_resized(ws.ws_row, ws.ws_col))
        resizeterm(ws.ws_row, ws.ws_col);
    if (LINES == m_lines && COLS == m_cols)
        return;
    m_lines = LINES;
    m_cols = COLS;
    for (auto& v : m_views)
        Arrange(*v);
    if (m_menu.IsOpen())
        PlaceMenu();
    clearok(curscr, TRUE);  // what the terminal shows after a resize is not to be trusted
    m_screenDirty = true;
}

bool TermFrontend::AllFit() const
{
    return std::all_of(m_views.begin(), m_views.end(), [](const auto& v) { return v->Fits(); });
}

void TermFrontend::ShowTooSmall()
{
    // The smallest room each window can take, not its layout in this room: an axis that fits
    // is laid out at its ease, which is more than it needs.
    int cols = 0, rows = 0;
    for (const auto& v : m_views) {
        const CellLayout least = LayOut(*v->top, 0, 0);
        int frame = v->boxed ? 2 : 0;
        cols = std::max(cols, least.width + frame);
        rows = std::max(rows, least.height + (v->boxed ? 2 : 1));
    }
    std::string need = std::to_string(cols) + " x " + std::to_string(rows);
    // The longest form that fits the line, so the sizes are never cut off.
    std::string text = "Vellix needs a terminal of at least " + need + " (this one is " + std::to_string(COLS) +
                       " x " + std::to_string(LINES) + ")";
    if (static_cast<int>(text.size()) > COLS)
        text = "Vellix needs a terminal of at least " + need;
    if (static_cast<int>(text.size()) > COLS)
        text = "Needs " + need;
    werase(stdscr);
    m_style.Text(stdscr, 0, 0, text.substr(0, static_cast<std::size_t>(std::max(0, COLS))));
    wnoutrefresh(stdscr);
}

void TermFrontend::Flush()
{
    bool pending = m_screenDirty || m_menuDirty ||
                   std::any_of(m_views.begin(), m_views.end(), [](const auto& v) { return v->whole || !v->dirty.empty(); });
    if (!pending)
        return;
    if (!AllFit()) {
        if (m_screenDirty || !m_tooSmallShown)
            ShowTooSmall();
        m_tooSmallShown = true;
        m_screenDirty = m_menuDirty = false;
        for (auto& v : m_views) {
            v->whole = true;  // drawn in full once the screen is large enough again
            v->dirty.clear();
        }
        PlaceCursor();
        doupdate();
        return;
    }
    // Bottom to top: a window drawn again is drawn over by every window above it.
    bool below = false;
    if (m_screenDirty || m_tooSmallShown) {
        m_tooSmallShown = false;
        werase(stdscr);
        wnoutrefresh(stdscr);
        below = true;
        m_screenDirty = false;
    }
    for (auto& v : m_views) {
        // The focus moved, or the focused list opened or closed.
        bool hintStale = v->hint && (v->shownHint != v->top->focus ||
                                     v->shownHintListOpen != afx::list::IsOpen(v->top->focus));
        bool drew = v->whole || !v->dirty.empty() || hintStale;
        if (v->whole || below) {
            m_painter.Whole(*v);
        } else {
            for (const afx::Window* c : v->dirty)
                if (int i = v->IndexOf(c); i >= 0)
                    m_painter.Control(*v, i);
            v->dirty.clear();
            if (hintStale)
                m_painter.Hint(*v);
        }
        if (drew || below) {
            wnoutrefresh(v->win);
            below = true;
        }
    }
    if (m_menu.IsOpen() && m_menuWin && (below || m_menuDirty)) {
        m_painter.Menu(m_menuWin, m_menu);
        wnoutrefresh(m_menuWin);
    }
    m_menuDirty = false;
    PlaceCursor();
    doupdate();
}

// The caret shows in the focused edit of the active window, and nowhere else.
void TermFrontend::PlaceCursor()
{
    TopView* v = m_views.empty() ? nullptr : m_views.back().get();
    const afx::Window* f = v ? v->top->focus : nullptr;
    bool show = f && f->kind == afx::Kind::Edit && v->Fits() && v->win && !m_menu.IsOpen();
    if (show) {
        Cell at = v->layout.cells[static_cast<std::size_t>(v->IndexOf(f))];
        int inner = std::max(1, at.width - 2);
        int shift = std::max(0, static_cast<int>(f->text.size()) - inner + 1);
        int col = std::clamp(f->selEnd - shift, 0, inner - 1);
        wmove(v->win, v->clientY + at.row, v->clientX + at.col + 1 + col);
        wnoutrefresh(v->win);
    }
    if (show != (m_cursorShown != 0)) {
        m_cursorShown = show ? 1 : 0;
        curs_set(m_cursorShown);
    }
}

}  // namespace ui::term
