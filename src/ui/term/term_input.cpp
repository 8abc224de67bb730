// The input half of the terminal front-end: waiting for keys, clicks and signals, and handing
// them to the framework.
#include <poll.h>
#include <sys/ioctl.h>

#include <algorithm>
#include <cerrno>
#include <climits>
#include <csignal>

#include "afx/input.h"
#include "afx/list_control.h"
#include "ui/term/term_frontend.h"

namespace ui::term {
namespace {

// How many times the windows still open are closed for a terminal that has gone before the
// program gives up on them and ends as a hang-up would.
constexpr int kHangUpCloses = 100;

// The terminal has gone: hung up, in error, or readable with nothing to read (end of file).
bool TerminalGone(const pollfd& p)
{
    if (p.revents & (POLLHUP | POLLERR | POLLNVAL))
        return true;
    int pending = 0;
    return (p.revents & POLLIN) && (::ioctl(p.fd, FIONREAD, &pending) != 0 || pending == 0);
}

}  // namespace

void TermFrontend::Wait(afx::Duration limit)
{
    if (m_hungUp) {
        CloseForHangUp();
        return;
    }
    Flush();
    int timeout = -1;
    if (limit != afx::Duration::max())
        timeout = static_cast<int>(std::clamp<afx::Duration::rep>(limit.count(), 0, INT_MAX));
    pollfd fds[2] = {{0, POLLIN, 0}, {m_terminal.SignalFd(), POLLIN, 0}};
    int n = ::poll(fds, 2, timeout);
    if (n < 0 && errno != EINTR)
        return;
    if (n > 0 && (fds[1].revents & POLLIN)) {
        CursesTerminal::Signals s = m_terminal.TakeSignals();
        if (s.end)
            m_terminal.EndBy(s.end);
        if (s.resized)
            Resize();
    }
    // Without a terminal there is no one to choose: the run ends as Cancel would, with nothing
    // saved. Polling on would only spin, since a gone terminal stays readable.
    if (n > 0 && TerminalGone(fds[0])) {
        m_hungUp = true;
        CloseForHangUp();
        return;
    }
    if (n > 0 && (fds[0].revents & POLLIN))
        ReadInput();
}

void TermFrontend::CloseForHangUp()
{
    if (++m_hangUpCloses > kHangUpCloses)
        m_terminal.EndBy(SIGHUP);  // a window that will not close: end as a hang-up would
    m_menu.Close();
    if (afx::Window* top = Active())
        afx::input::Close(top);
}

void TermFrontend::ReadInput()
{
    // Everything curses has, so that nothing waits in its buffer while we poll the descriptor.
    for (;;) {
        wint_t code = 0;
        int r = wget_wch(stdscr, &code);
        if (r == ERR)
            return;
        bool function = r == KEY_CODE_YES;
        if (function && code == KEY_RESIZE) {
            Resize();
        } else if (!AllFit()) {
            // The windows are not on the screen: a key or click must not act on what the user
            // cannot see. Ctrl+C still ends the program, as a signal.
            MEVENT ev{};
            if (function && code == KEY_MOUSE)
                getmouse(&ev);
            m_pressed = {};
        } else if (function && code == KEY_MOUSE) {
            MEVENT ev{};
            if (getmouse(&ev) == OK)
                OnMouse(ev);
        } else if (!function && code == kEscape) {
            // Escape alone, or the first half of an Alt chord sent in the same burst.
            wint_t next = 0;
            int r2 = wget_wch(stdscr, &next);
            if (r2 == ERR)
                OnKey(MapKey(false, kEscape));
            else if (KeyInput alt = MapAltKey(r2 == KEY_CODE_YES, next); alt.kind != KeyInput::Kind::None)
                OnKey(alt);
        } else {
            OnKey(MapKey(function, code));
        }
    }
}

void TermFrontend::FinishMenuStep(afx::Window* owner, const MenuOverlay::Outcome& o)
{
    m_menuDirty = true;
    if (o.close) {
        m_menu.Close();
        m_screenDirty = true;
    }
    // The command goes out last: it may open a dialog that must find the menu closed.
    if (o.command)
        afx::input::SysCommand(owner, *o.command);
}

void TermFrontend::OnKey(const KeyInput& key)
{
    if (key.kind == KeyInput::Kind::None)
        return;
    if (m_menu.IsOpen()) {
        afx::Window* owner = m_menu.Owner();
        FinishMenuStep(owner, m_menu.OnKey(key));
        return;
    }
    afx::Window* top = Active();
    if (!top)
        return;
    if (key.kind == KeyInput::Kind::Char)
        afx::input::Char(top, key.ch);
    else
        afx::input::Key(top, key.vk, key.shift, key.alt);
}

TermFrontend::Target TermFrontend::HitTest(int row, int col) const
{
    using K = Target::Kind;
    if (m_menu.IsOpen() && m_menuWin) {
        int y = getbegy(m_menuWin), x = getbegx(m_menuWin);
        int entry = row - y - 1;
        bool inside = row >= y && row < y + getmaxy(m_menuWin) && col >= x && col < x + getmaxx(m_menuWin);
        if (inside && entry >= 0 && entry < static_cast<int>(m_menu.Entries().size()))
            return {K::MenuEntry, m_menu.Owner(), entry};
        return {inside ? K::None : K::Outside, m_menu.Owner(), -1};
    }
    // Only the active window takes input; the framework would drop the rest anyway.
    if (m_views.empty() || !m_views.back()->Fits())
        return {};
    const TopView& v = *m_views.back();
    if (v.top->style & WS_SYSMENU) {
        if (v.MenuBox().Contains(col, row))
            return {K::MenuBox, v.top, -1};
        if (v.CloseBox().Contains(col, row))
            return {K::CloseBox, v.top, -1};
    }
    if (const afx::Window* f = v.top->focus; afx::list::IsOpen(f)) {
        int index = v.IndexOf(f);
        Cell open = v.DropDown(index);
        if (open.Contains(col, row) && row < open.row + open.height - 1 && col > open.col && col < open.col + open.width - 1)
            return {K::Entry, v.top->children[static_cast<std::size_t>(index)].get(), row - open.row};
    }
    // Controls that take clicks win over the labels and frames they sit in.
    for (std::size_t i = 0; i < v.top->children.size(); ++i) {
        afx::Window* c = v.top->children[i].get();
        bool clickable = c->kind != afx::Kind::StaticText && c->kind != afx::Kind::GroupBox &&
                         c->kind != afx::Kind::BitmapStatic && c->kind != afx::Kind::IconStatic;
        if (clickable && (c->style & WS_VISIBLE) && v.ScreenCell(static_cast<int>(i)).Contains(col, row))
            return {K::Control, c, -1};
    }
    return {};
}

void TermFrontend::OnMouse(const MEVENT& ev)
{
    Target t = HitTest(ev.y, ev.x);
    if (ev.bstate & BUTTON1_PRESSED) {
        m_pressed = t;
        return;
    }
    // A click counts where the button came up over what it went down on.
    if (ev.bstate & BUTTON1_RELEASED) {
        bool same = t == m_pressed;
        m_pressed = {};
        if (!same)
            return;
    } else if (!(ev.bstate & BUTTON1_CLICKED)) {
        return;
    }
    Act(t);
}

void TermFrontend::Act(const Target& t)
{
    using K = Target::Kind;
    switch (t.kind) {
    case K::MenuBox: afx::input::OpenSystemMenu(t.window); break;
    case K::CloseBox: afx::input::Close(t.window); break;
    case K::Control: afx::input::Click(t.window); break;
    case K::Entry:
        if (t.index < static_cast<int>(t.window->items.size()))
            afx::input::Pick(t.window, t.index);
        break;
    case K::MenuEntry:
    case K::Outside: {
        afx::Window* owner = m_menu.Owner();
        FinishMenuStep(owner, m_menu.OnClick(t.kind == K::Outside ? std::nullopt : std::optional<int>(t.index)));
        break;
    }
    case K::None: break;
    }
}

}  // namespace ui::term
