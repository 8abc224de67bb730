#include "ui/term/screen_style.h"

#include <langinfo.h>

#include <cstring>

namespace ui::term {
namespace {

// With colours a lamp is one disc, lit yellow or unlit grey; without them (or without UTF-8)
// the glyphs alone must tell lit from unlit.
constexpr Glyphs kUnicode{L"\u25CF", L"\u25CF", L"\u2022", L"\u25BE", L"\u2261", L"\u00D7", L"x"};
constexpr Glyphs kAscii{L"*", L".", L"o", L"v", L"=", L"x", L"x"};

// A cell of one glyph; the colour pair travels apart from the other attributes.
cchar_t Cell(const wchar_t* glyph, attr_t a)
{
    cchar_t c{};
    setcchar(&c, glyph, a & ~A_COLOR, static_cast<short>(PAIR_NUMBER(a)), nullptr);
    return c;
}

}  // namespace

ScreenStyle::ScreenStyle()
{
    const char* codeset = nl_langinfo(CODESET);
    m_utf8 = codeset && (std::strcmp(codeset, "UTF-8") == 0 || std::strcmp(codeset, "utf8") == 0);
    if (has_colors() && start_color() == OK && COLORS >= 8 && COLOR_PAIRS >= 16) {
        m_colour = true;
        m_defaultBackground = use_default_colors() == OK;
    }
}

const Glyphs& ScreenStyle::Glyph() const { return m_utf8 && m_colour ? kUnicode : kAscii; }

attr_t ScreenStyle::Colours(int fg, int bg)
{
    if (!m_colour)
        return A_NORMAL;
    auto key = std::make_pair(fg, bg);
    if (auto it = m_pairs.find(key); it != m_pairs.end())
        return it->second;
    // On an eight-colour terminal the bright half of the palette is the dark half in bold.
    attr_t extra = A_NORMAL;
    auto map = [&](int c, bool foreground) {
        if (c < 0)
            return m_defaultBackground ? -1 : (foreground ? COLOR_WHITE : COLOR_BLACK);
        if (c < COLORS)
            return c;
        if (foreground && c >= 8)
            extra = A_BOLD;
        return c & 7;
    };
    short f = static_cast<short>(map(fg, true));
    short b = static_cast<short>(map(bg, false));
    if (m_nextPair >= COLOR_PAIRS || init_pair(static_cast<short>(m_nextPair), f, b) != OK)
        return m_pairs[key] = extra;
    attr_t a = COLOR_PAIR(m_nextPair++) | extra;
    return m_pairs[key] = a;
}

void ScreenStyle::HLine(WINDOW* w, int y, int x, int n, attr_t a) const
{
    if (n <= 0)
        return;
    if (m_utf8) {
        cchar_t c = Cell(L"\u2500", a);
        mvwhline_set(w, y, x, &c, n);
    } else {
        mvwhline(w, y, x, ACS_HLINE | a, n);
    }
}

void ScreenStyle::VLine(WINDOW* w, int y, int x, int n, attr_t a) const
{
    if (n <= 0)
        return;
    if (m_utf8) {
        cchar_t c = Cell(L"\u2502", a);
        mvwvline_set(w, y, x, &c, n);
    } else {
        mvwvline(w, y, x, ACS_VLINE | a, n);
    }
}

void ScreenStyle::PutCorner(WINDOW* w, int y, int x, Corner corner, attr_t a) const
{
    static const wchar_t* const kWide[] = {L"\u250C", L"\u2510", L"\u2514", L"\u2518", L"\u251C", L"\u2524"};
    if (m_utf8) {
        cchar_t c = Cell(kWide[corner], a);
        mvwadd_wch(w, y, x, &c);
        return;
    }
    const chtype acs[] = {ACS_ULCORNER, ACS_URCORNER, ACS_LLCORNER, ACS_LRCORNER, ACS_LTEE, ACS_RTEE};
    mvwaddch(w, y, x, acs[corner] | a);
}

void ScreenStyle::Text(WINDOW* w, int y, int x, std::string_view bytes, attr_t a) const
{
    int width = getmaxx(w);
    for (std::size_t i = 0; i < bytes.size() && x + static_cast<int>(i) < width; ++i) {
        auto b = static_cast<unsigned char>(bytes[i]);
        wchar_t ch[2] = {L'?', 0};
        // Latin-1 is the first 256 code points; outside UTF-8 only ASCII is sure to show.
        if (b >= 0x20 && b != 0x7F && (b < 0x80 || (m_utf8 && b >= 0xA0)))
            ch[0] = static_cast<wchar_t>(b);
        cchar_t c = Cell(ch, a);
        mvwadd_wch(w, y, x + static_cast<int>(i), &c);
    }
}

void ScreenStyle::Glyph(WINDOW* w, int y, int x, const wchar_t* glyph, attr_t a) const
{
    cchar_t c = Cell(glyph, a);
    mvwadd_wch(w, y, x, &c);
}

}  // namespace ui::term
