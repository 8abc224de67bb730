#include "ui/term/painter.h"

#include <algorithm>
#include <string>

#include "afx/dialog_keys.h"
#include "afx/gdi.h"
#include "afx/list_control.h"
#include "afx/pin_help.h"

namespace ui::term {
namespace {

constexpr int kDark = 0;  // palette: black, the lines the images draw in

// The palette index of one pixel of an image, or -1 without an image.
int Pixel(const afx::Window& c, int x, int y)
{
    if (!c.image || !c.image->bitmap)
        return -1;
    const res::Bitmap& b = *c.image->bitmap;
    return b.pixels[static_cast<std::size_t>(y * b.width + x)];
}

bool HasImage(const afx::Window& c) { return c.image && c.image->bitmap; }

std::string Fit(std::string s, int width)
{
    s.resize(static_cast<std::size_t>(std::max(0, width)), ' ');
    return s;
}

// The keys, widest first, for what Enter does where the focus is: picks in an open list, presses
// a focused button (OK and Cancel among them), and presses OK anywhere else.
const char* const kHints[] = {
    "Tab: next  Space: press  Enter: OK  Esc: cancel  F1: help  F10: menu",
    "F1: help  F10: menu",
};
const char* const kButtonHints[] = {
    "Tab: next  Space, Enter: press  Esc: cancel  F1: help  F10: menu",
    "F1: help  F10: menu",
};
const char* const kOpenListHints[] = {
    "Up, Down: mark  Enter: pick  Esc: close the list",
    "Enter: pick  Esc: close",
};

template <std::size_t N>
std::string Widest(const char* const (&hints)[N], int cols)
{
    for (const char* h : hints)
        if (static_cast<int>(std::string_view(h).size()) <= cols)
            return h;
    return {};
}

std::string KeyHint(const afx::Window* focus, int cols)
{
    switch (afx::WhatEnterDoes(focus)) {
    case afx::EnterAction::PickInList: return Widest(kOpenListHints, cols);
    case afx::EnterAction::PressFocus: return Widest(kButtonHints, cols);
    case afx::EnterAction::PressDefault: break;
    }
    return Widest(kHints, cols);
}

}  // namespace

Cell Painter::Local(const TopView& v, int index) const
{
    Cell c = v.layout.cells[static_cast<std::size_t>(index)];
    c.col += v.clientX;
    c.row += v.clientY;
    return c;
}

void Painter::Whole(TopView& v)
{
    werase(v.win);
    Frame(v);
    for (std::size_t i = 0; i < v.top->children.size(); ++i)
        Draw(v, static_cast<int>(i));
    OpenListOver(v);
    v.whole = false;
    v.dirty.clear();
}

void Painter::Frame(TopView& v)
{
    WINDOW* w = v.win;
    const Glyphs& g = m_style.Glyph();
    attr_t bar = v.boxed ? A_BOLD : A_REVERSE;
    if (v.boxed) {
        m_style.PutCorner(w, 0, 0, ScreenStyle::TopLeft);
        m_style.HLine(w, 0, 1, v.cols - 2);
        m_style.PutCorner(w, 0, v.cols - 1, ScreenStyle::TopRight);
        m_style.VLine(w, 1, 0, v.rows - 2);
        m_style.VLine(w, 1, v.cols - 1, v.rows - 2);
        m_style.PutCorner(w, v.rows - 1, 0, ScreenStyle::BottomLeft);
        m_style.HLine(w, v.rows - 1, 1, v.cols - 2);
        m_style.PutCorner(w, v.rows - 1, v.cols - 1, ScreenStyle::BottomRight);
    } else {
        m_style.Text(w, 0, 0, std::string(static_cast<std::size_t>(v.cols), ' '), bar);
    }
    int left = v.boxed ? 1 : 0;
    int right = v.cols - (v.boxed ? 1 : 0);
    if (v.top->style & WS_SYSMENU) {
        m_style.Text(w, 0, left, "[", bar);
        m_style.Glyph(w, 0, left + 1, g.menuBox, bar);
        m_style.Text(w, 0, left + 2, "]", bar);
        m_style.Text(w, 0, right - 3, "[", bar);
        m_style.Glyph(w, 0, right - 2, g.closeBox, bar);
        m_style.Text(w, 0, right - 1, "]", bar);
    }
    std::string caption = " " + v.top->text + " ";
    int room = right - left - 6;  // between the two boxes
    if (room > 2)
        m_style.Text(w, 0, left + 3, caption.substr(0, static_cast<std::size_t>(room)), bar);
    if (v.hint)
        Hint(v);
}

// The hint line under the client area: what the focused lamp or bit button stands for on the
// connector, as its tooltip says on the desktop, or else the keys.
void Painter::Hint(TopView& v)
{
    WINDOW* w = v.win;
    std::string text = v.top->focus ? afx::PinHelp(*v.top->focus, v.cols) : std::string();
    if (text.empty())
        text = KeyHint(v.top->focus, v.cols);
    m_style.Text(w, v.rows - 1, 0, std::string(static_cast<std::size_t>(v.cols), ' '));
    m_style.Text(w, v.rows - 1, (v.cols - static_cast<int>(text.size())) / 2, text, A_DIM);
    v.shownHint = v.top->focus;
    v.shownHintListOpen = afx::list::IsOpen(v.top->focus);
}

void Painter::Control(TopView& v, int index)
{
    Draw(v, index);
    OpenListOver(v);
}

// An open list lies over the controls under it.
void Painter::OpenListOver(TopView& v)
{
    const afx::Window* f = v.top->focus;
    if (afx::list::IsOpen(f) && (f->style & WS_VISIBLE))
        OpenList(v, v.IndexOf(f));
}

void Painter::Draw(TopView& v, int index)
{
    const afx::Window& c = *v.top->children[static_cast<std::size_t>(index)];
    Cell at = Local(v, index);
    if (at.width <= 0)
        return;
    bool focus = v.top->focus == &c;
    attr_t off = c.enabled ? A_NORMAL : A_DIM;
    attr_t mark = focus ? A_REVERSE : A_NORMAL;
    WINDOW* w = v.win;
    switch (c.kind) {
    case afx::Kind::StaticText:
        m_style.Text(w, at.row, at.col, Fit(DisplayText(c), at.width), off);
        break;
    case afx::Kind::GroupBox: Group(v, c, at); break;
    case afx::Kind::BitmapStatic: Lamp(v, c, at); break;
    case afx::Kind::IconStatic: Icon(v, c, at); break;
    case afx::Kind::PushButton:
    case afx::Kind::DefPushButton: {
        attr_t a = off | mark | (c.kind == afx::Kind::DefPushButton ? A_BOLD : A_NORMAL);
        m_style.Text(w, at.row, at.col, Fit("< " + DisplayText(c) + " >", at.width), a);
        break;
    }
    case afx::Kind::BitmapButton: BitButton(v, c, at, focus); break;
    case afx::Kind::AutoCheckBox: {
        m_style.Text(w, at.row, at.col, "[ ] ", off);
        if (c.check == BST_CHECKED)
            m_style.Glyph(w, at.row, at.col + 1, m_style.Glyph().checkMark, off | A_BOLD);
        m_style.Text(w, at.row, at.col + 4, Fit(DisplayText(c), at.width - 4), off | mark);
        break;
    }
    case afx::Kind::Edit: Edit(v, c, at, focus); break;
    case afx::Kind::DropDownList: List(v, c, at, focus); break;
    case afx::Kind::Dialog: break;
    }
}

void Painter::Group(TopView& v, const afx::Window& c, const Cell& at)
{
    WINDOW* w = v.win;
    int bottom = at.row + at.height - 1;
    m_style.PutCorner(w, at.row, at.col, ScreenStyle::TopLeft);
    m_style.HLine(w, at.row, at.col + 1, at.width - 2);
    m_style.PutCorner(w, at.row, at.col + at.width - 1, ScreenStyle::TopRight);
    m_style.VLine(w, at.row + 1, at.col, at.height - 2);
    m_style.VLine(w, at.row + 1, at.col + at.width - 1, at.height - 2);
    m_style.PutCorner(w, bottom, at.col, ScreenStyle::BottomLeft);
    m_style.HLine(w, bottom, at.col + 1, at.width - 2);
    m_style.PutCorner(w, bottom, at.col + at.width - 1, ScreenStyle::BottomRight);
    std::string title = DisplayText(c);
    if (!title.empty()) {
        std::string label = " ";
        label.append(title, 0, static_cast<std::size_t>(std::max(0, at.width - 6))).append(" ");
        m_style.Text(w, at.row, at.col + 2, label, c.enabled ? A_BOLD : A_DIM);
    }
}

void Painter::Lamp(TopView& v, const afx::Window& c, const Cell& at)
{
    if (!HasImage(c)) {
        m_style.Text(v.win, at.row, at.col, " ");
        return;
    }
    // The lamp glows in the colour of its image's face.
    const res::Bitmap& b = *c.image->bitmap;
    attr_t a = m_style.Colours(Pixel(c, b.width / 2, b.height / 2), -1);
    bool lit = afx::ShowsOn(c);
    const Glyphs& g = m_style.Glyph();
    m_style.Glyph(v.win, at.row, at.col, lit ? g.lampLit : g.lampUnlit, a | (lit ? A_BOLD : A_NORMAL));
}

void Painter::BitButton(TopView& v, const afx::Window& c, const Cell& at, bool focus)
{
    attr_t edge = (focus ? A_REVERSE : A_NORMAL) | (c.enabled ? A_NORMAL : A_DIM);
    m_style.Text(v.win, at.row, at.col, "[", edge);
    m_style.Text(v.win, at.row, at.col + 2, "]", edge);
    if (!HasImage(c)) {
        m_style.Text(v.win, at.row, at.col + 1, " ");
        return;
    }
    // The face in its image's colours: the dot in the middle pixel's, on the corner pixel's.
    const res::Bitmap& b = *c.image->bitmap;
    int face = Pixel(c, 1, 1);
    int middle = Pixel(c, b.width / 2, b.height / 2);
    attr_t a = m_style.Colours(middle == face ? kDark : middle, face);
    bool set = afx::ShowsOn(c);
    m_style.Glyph(v.win, at.row, at.col + 1, set ? m_style.Glyph().dot : L" ", a);
}

void Painter::Edit(TopView& v, const afx::Window& c, const Cell& at, bool focus)
{
    WINDOW* w = v.win;
    int inner = std::max(1, at.width - 2);
    attr_t field = A_UNDERLINE | (c.enabled ? A_NORMAL : A_DIM);
    m_style.Text(w, at.row, at.col, "[");
    m_style.Text(w, at.row, at.col + at.width - 1, "]");
    // A text longer than the field shows its end, where typing goes on.
    int shift = std::max(0, static_cast<int>(c.text.size()) - inner + 1);
    std::string shown = Fit(c.text.size() > static_cast<std::size_t>(shift) ? c.text.substr(static_cast<std::size_t>(shift)) : "", inner);
    int a = std::min(c.selStart, c.selEnd) - shift, b = std::max(c.selStart, c.selEnd) - shift;
    for (int i = 0; i < inner; ++i) {
        bool selected = focus && i >= a && i < b;
        m_style.Text(w, at.row, at.col + 1 + i, shown.substr(static_cast<std::size_t>(i), 1), field | (selected ? A_REVERSE : A_NORMAL));
    }
}

void Painter::List(TopView& v, const afx::Window& c, const Cell& at, bool focus)
{
    WINDOW* w = v.win;
    std::string chosen = c.sel >= 0 && c.sel < static_cast<int>(c.items.size()) ? c.items[static_cast<std::size_t>(c.sel)] : "";
    attr_t a = (focus ? A_REVERSE : A_NORMAL) | (c.enabled ? A_NORMAL : A_DIM);
    m_style.Text(w, at.row, at.col, "[");
    m_style.Text(w, at.row, at.col + 1, Fit(chosen, at.width - 4), a);
    m_style.Text(w, at.row, at.col + at.width - 3, " ", a);
    m_style.Glyph(w, at.row, at.col + at.width - 2, m_style.Glyph().dropMark, a);
    m_style.Text(w, at.row, at.col + at.width - 1, "]");
}

void Painter::OpenList(TopView& v, int index)
{
    const afx::Window& c = *v.top->children[static_cast<std::size_t>(index)];
    Cell at = v.DropDown(index);
    WINDOW* w = v.win;
    int row = at.row - v.y, col = at.col - v.x;
    int entries = at.height - 1;
    for (int i = 0; i < entries; ++i) {
        std::string text = i < static_cast<int>(c.items.size()) ? c.items[static_cast<std::size_t>(i)] : "";
        m_style.VLine(w, row + i, col, 1);
        m_style.Text(w, row + i, col + 1, Fit(text, at.width - 2), i == c.marked ? A_REVERSE : A_NORMAL);
        m_style.VLine(w, row + i, col + at.width - 1, 1);
    }
    m_style.PutCorner(w, row + entries, col, ScreenStyle::BottomLeft);
    m_style.HLine(w, row + entries, col + 1, at.width - 2);
    m_style.PutCorner(w, row + entries, col + at.width - 1, ScreenStyle::BottomRight);
}

void Painter::Menu(WINDOW* w, const MenuOverlay& menu)
{
    int rows = getmaxy(w), cols = getmaxx(w);
    werase(w);
    m_style.PutCorner(w, 0, 0, ScreenStyle::TopLeft);
    m_style.HLine(w, 0, 1, cols - 2);
    m_style.PutCorner(w, 0, cols - 1, ScreenStyle::TopRight);
    m_style.VLine(w, 1, 0, rows - 2);
    m_style.VLine(w, 1, cols - 1, rows - 2);
    m_style.PutCorner(w, rows - 1, 0, ScreenStyle::BottomLeft);
    m_style.HLine(w, rows - 1, 1, cols - 2);
    m_style.PutCorner(w, rows - 1, cols - 1, ScreenStyle::BottomRight);
    const auto& entries = menu.Entries();
    for (std::size_t i = 0; i < entries.size(); ++i) {
        const MenuOverlay::Entry& e = entries[i];
        int row = static_cast<int>(i) + 1;
        if (e.separator) {
            m_style.PutCorner(w, row, 0, ScreenStyle::LeftTee);
            m_style.HLine(w, row, 1, cols - 2);
            m_style.PutCorner(w, row, cols - 1, ScreenStyle::RightTee);
            continue;
        }
        attr_t a = (static_cast<int>(i) == menu.Marked() ? A_REVERSE : A_NORMAL) | (e.enabled ? A_NORMAL : A_DIM);
        int inner = cols - 2;
        std::string line = Fit(" " + e.label, inner);
        if (!e.shortcut.empty() && static_cast<int>(e.shortcut.size()) + 1 < inner)
            line.replace(static_cast<std::size_t>(inner) - e.shortcut.size() - 1, e.shortcut.size(), e.shortcut);
        m_style.Text(w, row, 1, line, a);
        // The access key underlined, where the '&' stood.
        if (e.accessAt >= 0)
            m_style.Text(w, row, 2 + e.accessAt, e.label.substr(static_cast<std::size_t>(e.accessAt), 1), a | A_UNDERLINE);
    }
}

void Painter::Icon(TopView& v, const afx::Window& c, const Cell& at)
{
    const res::IconImage* img = c.icon ? IconImageFor(c.icon, 32, 32) : nullptr;
    if (!img)
        return;
    if (!m_style.Utf8() || !m_style.Colour()) {
        // The connector shell with its pins, drawn in plain characters.
        static const char* const kShell[] = {"\\:::::/", " \\:::/", "  |||", "  |||"};
        for (int r = 0; r < at.height && r < 4; ++r)
            m_style.Text(v.win, at.row + r, at.col, Fit(kShell[r], at.width));
        return;
    }
    // Two pixels a cell, one above the other: the upper half block in the upper pixel's colour
    // on the lower one's. Transparent pixels show the screen behind.
    for (int r = 0; r < at.height; ++r) {
        for (int col = 0; col < at.width; ++col) {
            int px = col * img->width / at.width;
            int up = (2 * r) * img->height / (2 * at.height);
            int down = (2 * r + 1) * img->height / (2 * at.height);
            int fg = img->IsOpaque(px, up) ? img->pixels[static_cast<std::size_t>(up * img->width + px)] : -1;
            int bg = img->IsOpaque(px, down) ? img->pixels[static_cast<std::size_t>(down * img->width + px)] : -1;
            if (fg < 0)
                m_style.Glyph(v.win, at.row + r, at.col + col, bg < 0 ? L" " : L"\u2584", m_style.Colours(bg, -1));
            else
                m_style.Glyph(v.win, at.row + r, at.col + col, L"\u2580", m_style.Colours(fg, bg));
        }
    }
}

}  // namespace ui::term
