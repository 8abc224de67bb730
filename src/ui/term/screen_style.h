// What the terminal can show, decided once at start: UTF-8 glyphs or plain ASCII, colours or
// none, and the colour pairs handed out so far.
#pragma once

#include "ui/term/curses_api.h"

#include <map>
#include <string_view>
#include <utility>

namespace ui::term {

struct Glyphs {
    const wchar_t* lampLit;
    const wchar_t* lampUnlit;
    const wchar_t* dot;        // the set face of a bit button
    const wchar_t* dropMark;   // the arrow of a drop-down list
    const wchar_t* menuBox;    // the system-menu box on a window's caption
    const wchar_t* closeBox;
    const wchar_t* checkMark;
};

class ScreenStyle {
public:
    // Reads the locale and the terminal; call after curses has started.
    ScreenStyle();
    ScreenStyle(bool utf8, bool colour) : m_utf8(utf8), m_colour(colour) {}

    bool Utf8() const { return m_utf8; }
    bool Colour() const { return m_colour; }
    const Glyphs& Glyph() const;

    // The attribute that draws in palette colours (the 16 colours of the program's images,
    // index order as in the terminal's own first 16); -1 is the terminal's default.
    attr_t Colours(int fg, int bg);

    // Lines and corners: Unicode box drawing where it can be shown, else the alternate set.
    void HLine(WINDOW* w, int y, int x, int n, attr_t a = A_NORMAL) const;
    void VLine(WINDOW* w, int y, int x, int n, attr_t a = A_NORMAL) const;
    enum Corner { TopLeft, TopRight, BottomLeft, BottomRight, LeftTee, RightTee };
    void PutCorner(WINDOW* w, int y, int x, Corner c, attr_t a = A_NORMAL) const;

    // Single-byte text as the window model holds it, each byte read as Latin-1.
    void Text(WINDOW* w, int y, int x, std::string_view bytes, attr_t a = A_NORMAL) const;
    void Glyph(WINDOW* w, int y, int x, const wchar_t* glyph, attr_t a = A_NORMAL) const;

private:
    bool m_utf8 = false;
    bool m_colour = false;
    bool m_defaultBackground = false;
    std::map<std::pair<int, int>, attr_t> m_pairs;
    int m_nextPair = 1;
};

}  // namespace ui::term
