#include "vt_screen.h"

#include <algorithm>

namespace vt {
namespace {

// The DEC special graphics set, for the characters curses draws lines with.
char32_t Graphic(char32_t c)
{
    switch (c) {
    case U'j': return U'\u2518';
    case U'k': return U'\u2510';
    case U'l': return U'\u250C';
    case U'm': return U'\u2514';
    case U'n': return U'\u253C';
    case U'q': return U'\u2500';
    case U't': return U'\u251C';
    case U'u': return U'\u2524';
    case U'v': return U'\u2534';
    case U'w': return U'\u252C';
    case U'x': return U'\u2502';
    case U'a': return U'\u2592';
    case U'`': return U'\u25C6';
    case U'~': return U'\u00B7';
    default: return c;
    }
}

void AppendUtf8(std::string& out, char32_t c)
{
    if (c < 0x80) {
        out.push_back(static_cast<char>(c));
    } else if (c < 0x800) {
        out.push_back(static_cast<char>(0xC0 | (c >> 6)));
        out.push_back(static_cast<char>(0x80 | (c & 0x3F)));
    } else if (c < 0x10000) {
        out.push_back(static_cast<char>(0xE0 | (c >> 12)));
        out.push_back(static_cast<char>(0x80 | ((c >> 6) & 0x3F)));
        out.push_back(static_cast<char>(0x80 | (c & 0x3F)));
    } else {
        out.push_back(static_cast<char>(0xF0 | (c >> 18)));
        out.push_back(static_cast<char>(0x80 | ((c >> 12) & 0x3F)));
        out.push_back(static_cast<char>(0x80 | ((c >> 6) & 0x3F)));
        out.push_back(static_cast<char>(0x80 | (c & 0x3F)));
    }
}

}  // namespace

Screen::Screen(int rows, int cols) : m_rows(rows), m_cols(cols), m_bottom(rows - 1)
{
    m_main.assign(static_cast<std::size_t>(rows), std::vector<Cell>(static_cast<std::size_t>(cols)));
    m_alt = m_main;
}

void Screen::Resize(int rows, int cols)
{
    for (Grid* g : {&m_main, &m_alt}) {
        g->resize(static_cast<std::size_t>(rows));
        for (auto& line : *g)
            line.resize(static_cast<std::size_t>(cols));
    }
    m_rows = rows;
    m_cols = cols;
    m_top = 0;
    m_bottom = rows - 1;
    m_row = std::min(m_row, rows - 1);
    m_col = std::min(m_col, cols - 1);
    m_wrapPending = false;
}

const Cell& Screen::At(int row, int col) const
{
    const Grid& g = m_alternate ? m_alt : m_main;
    return g[static_cast<std::size_t>(row)][static_cast<std::size_t>(col)];
}

std::string Screen::Row(int row) const
{
    std::string out;
    for (int c = 0; c < m_cols; ++c)
        AppendUtf8(out, At(row, c).ch);
    return out;
}

std::string Screen::Text() const
{
    std::string out;
    for (int r = 0; r < m_rows; ++r)
        out += Row(r) + "\n";
    return out;
}

Screen::Pos Screen::Find(std::string_view text, int fromRow) const
{
    // Compare code point by code point, so that columns count cells, not bytes.
    std::u32string want;
    for (std::size_t i = 0; i < text.size();) {
        auto b = static_cast<unsigned char>(text[i]);
        int len = b < 0x80 ? 1 : b < 0xE0 ? 2 : b < 0xF0 ? 3 : 4;
        char32_t c = len == 1 ? b : len == 2 ? (b & 0x1F) : len == 3 ? (b & 0x0F) : (b & 0x07);
        for (int k = 1; k < len && i + static_cast<std::size_t>(k) < text.size(); ++k)
            c = (c << 6) | (static_cast<unsigned char>(text[i + static_cast<std::size_t>(k)]) & 0x3F);
        want.push_back(c);
        i += static_cast<std::size_t>(len);
    }
    int n = static_cast<int>(want.size());
    for (int r = std::max(0, fromRow); r < m_rows; ++r)
        for (int c = 0; c + n <= m_cols; ++c) {
            int k = 0;
            while (k < n && At(r, c + k).ch == want[static_cast<std::size_t>(k)])
                ++k;
            if (k == n)
                return {r, c};
        }
    return {};
}

Cell Screen::Blank() const
{
    Cell b;
    b.bg = m_pen.bg;  // erasing fills with the current background, as xterm does
    return b;
}

void Screen::Feed(std::string_view bytes)
{
    for (char ch : bytes) {
        auto c = static_cast<unsigned char>(ch);
        switch (m_state) {
        case State::Ground:
            if (m_utf8Left > 0 && (c & 0xC0) == 0x80) {
                m_utf8 = (m_utf8 << 6) | (c & 0x3F);
                if (--m_utf8Left == 0)
                    Print(m_utf8);
                continue;
            }
            m_utf8Left = 0;
            if (c == 0x1B) {
                m_state = State::Esc;
            } else if (c < 0x20 || c == 0x7F) {
                Control(c);
            } else if (c >= 0xC0) {
                m_utf8Left = c < 0xE0 ? 1 : c < 0xF0 ? 2 : 3;
                m_utf8 = c & (c < 0xE0 ? 0x1F : c < 0xF0 ? 0x0F : 0x07);
            } else {
                Print(c);
            }
            break;
        case State::Esc: Escape(c); break;
        case State::EscCharset:
            (m_charsetSlot == '(' ? m_g0Graphics : m_g1Graphics) = c == '0';
            m_state = State::Ground;
            break;
        case State::Csi:
            if (c >= 0x40 && c <= 0x7E) {
                m_args.clear();
                std::size_t start = 0;
                for (;;) {
                    std::size_t end = m_params.find_first_of(";:", start);
                    std::string part = m_params.substr(start, end == std::string::npos ? std::string::npos : end - start);
                    m_args.push_back(part.empty() ? -1 : std::stoi(part));
                    if (end == std::string::npos)
                        break;
                    start = end + 1;
                }
                Csi(c);
                m_state = State::Ground;
            } else if (c >= 0x3C && c <= 0x3F && m_params.empty()) {
                m_private = static_cast<char>(c);
            } else if (c >= 0x20 && c <= 0x2F) {
                m_intermediate.push_back(static_cast<char>(c));
            } else if (c < 0x20) {
                Control(c);
            } else {
                m_params.push_back(static_cast<char>(c));
            }
            break;
        case State::Osc:
            if (c == 0x07)
                m_state = State::Ground;
            else if (c == 0x1B)
                m_state = State::OscEsc;
            break;
        case State::OscEsc: m_state = c == '\\' ? State::Ground : State::Osc; break;
        }
    }
}

void Screen::Print(char32_t ch)
{
    if ((m_shiftOut ? m_g1Graphics : m_g0Graphics) && ch < 0x80)
        ch = Graphic(ch);
    if (m_wrapPending) {
        m_col = 0;
        LineFeed();
        m_wrapPending = false;
    }
    Grid& g = m_alternate ? m_alt : m_main;
    Cell cell = m_pen;
    cell.ch = ch;
    g[static_cast<std::size_t>(m_row)][static_cast<std::size_t>(m_col)] = cell;
    m_last = ch;
    if (m_col == m_cols - 1)
        m_wrapPending = true;
    else
        ++m_col;
}

void Screen::Control(unsigned char c)
{
    switch (c) {
    case '\r': m_col = 0; m_wrapPending = false; break;
    case '\n':
    case 0x0B:
    case 0x0C: LineFeed(); break;
    case '\b': m_col = std::max(0, m_col - 1); m_wrapPending = false; break;
    case '\t': m_col = std::min(m_cols - 1, (m_col / 8 + 1) * 8); break;
    case 0x0E: m_shiftOut = true; break;
    case 0x0F: m_shiftOut = false; break;
    default: break;
    }
}

void Screen::LineFeed()
{
    m_wrapPending = false;
    if (m_row == m_bottom)
        ScrollUp(m_top, m_bottom, 1);
    else if (m_row < m_rows - 1)
        ++m_row;
}

void Screen::Escape(unsigned char c)
{
    m_state = State::Ground;
    switch (c) {
    case '[':
        m_state = State::Csi;
        m_params.clear();
        m_intermediate.clear();
        m_private = 0;
        break;
    case ']': m_state = State::Osc; break;
    case '(':
    case ')':
        m_charsetSlot = static_cast<char>(c);
        m_state = State::EscCharset;
        break;
    case '7': m_saved = {m_row, m_col, m_pen}; break;
    case '8':
        m_row = m_saved.row;
        m_col = m_saved.col;
        m_pen = m_saved.pen;
        m_wrapPending = false;
        break;
    case 'D': LineFeed(); break;
    case 'E': m_col = 0; LineFeed(); break;
    case 'M':
        if (m_row == m_top)
            ScrollDown(m_top, m_bottom, 1);
        else if (m_row > 0)
            --m_row;
        break;
    case 'c': *this = Screen(m_rows, m_cols); break;
    default: break;  // keypad modes and the like change nothing on the screen
    }
}

int Screen::Param(std::size_t i, int fallback) const
{
    return i < m_args.size() && m_args[i] >= 0 ? m_args[i] : fallback;
}

void Screen::EraseCells(int row, int from, int to)
{
    Grid& g = m_alternate ? m_alt : m_main;
    for (int c = std::max(0, from); c < std::min(to, m_cols); ++c)
        g[static_cast<std::size_t>(row)][static_cast<std::size_t>(c)] = Blank();
}

void Screen::ScrollUp(int top, int bottom, int n)
{
    Grid& g = m_alternate ? m_alt : m_main;
    for (int k = 0; k < n; ++k) {
        g.erase(g.begin() + top);
        g.insert(g.begin() + bottom, std::vector<Cell>(static_cast<std::size_t>(m_cols), Blank()));
    }
}

void Screen::ScrollDown(int top, int bottom, int n)
{
    Grid& g = m_alternate ? m_alt : m_main;
    for (int k = 0; k < n; ++k) {
        g.erase(g.begin() + bottom);
        g.insert(g.begin() + top, std::vector<Cell>(static_cast<std::size_t>(m_cols), Blank()));
    }
}

void Screen::SetMode(bool on)
{
    for (std::size_t i = 0; i < m_args.size(); ++i) {
        int m = Param(i, 0);
        if (m_private != '?')
            continue;
        if (on)
            m_modes.insert(m);
        else
            m_modes.erase(m);
        if (m == 25)
            m_cursorVisible = on;
        if ((m == 1049 || m == 47 || m == 1047) && on != m_alternate) {
            if (m == 1049 && on)
                m_saved = {m_row, m_col, m_pen};
            m_alternate = on;
            if (on)
                for (auto& line : m_alt)
                    std::fill(line.begin(), line.end(), Cell{});
            if (m == 1049 && !on) {
                m_row = m_saved.row;
                m_col = m_saved.col;
                m_pen = m_saved.pen;
            }
        }
    }
}

void Screen::Csi(unsigned char f)
{
    if (!m_intermediate.empty() || (m_private && f != 'h' && f != 'l'))
        return;  // soft reset, queries and the like
    int n = std::max(1, Param(0, 1));
    Grid& g = m_alternate ? m_alt : m_main;
    auto& line = g[static_cast<std::size_t>(m_row)];
    m_wrapPending = m_wrapPending && (f == 'm' || f == 'h' || f == 'l');
    switch (f) {
    case 'A': m_row = std::max(m_row < m_top ? 0 : m_top, m_row - n); break;
    case 'B': m_row = std::min(m_row > m_bottom ? m_rows - 1 : m_bottom, m_row + n); break;
    case 'C': m_col = std::min(m_cols - 1, m_col + n); break;
    case 'D': m_col = std::max(0, m_col - n); break;
    case 'E': m_row = std::min(m_rows - 1, m_row + n); m_col = 0; break;
    case 'F': m_row = std::max(0, m_row - n); m_col = 0; break;
    case 'G':
    case '`': m_col = std::clamp(n - 1, 0, m_cols - 1); break;
    case 'd': m_row = std::clamp(n - 1, 0, m_rows - 1); break;
    case 'H':
    case 'f':
        m_row = std::clamp(Param(0, 1) - 1, 0, m_rows - 1);
        m_col = std::clamp(Param(1, 1) - 1, 0, m_cols - 1);
        break;
    case 'J': {
        int mode = Param(0, 0);
        if (mode == 0) {
            EraseCells(m_row, m_col, m_cols);
            for (int r = m_row + 1; r < m_rows; ++r)
                EraseCells(r, 0, m_cols);
        } else if (mode == 1) {
            EraseCells(m_row, 0, m_col + 1);
            for (int r = 0; r < m_row; ++r)
                EraseCells(r, 0, m_cols);
        } else if (mode == 2) {
            for (int r = 0; r < m_rows; ++r)
                EraseCells(r, 0, m_cols);
        }
        break;
    }
    case 'K': {
        int mode = Param(0, 0);
        EraseCells(m_row, mode == 0 ? m_col : 0, mode == 1 ? m_col + 1 : m_cols);
        break;
    }
    case 'X': EraseCells(m_row, m_col, m_col + n); break;
    case '@':
        for (int k = 0; k < n; ++k) {
            line.insert(line.begin() + m_col, Blank());
            line.pop_back();
        }
        break;
    case 'P':
        for (int k = 0; k < n; ++k) {
            line.erase(line.begin() + m_col);
            line.push_back(Blank());
        }
        break;
    case 'L':
        if (m_row >= m_top && m_row <= m_bottom)
            ScrollDown(m_row, m_bottom, n);
        break;
    case 'M':
        if (m_row >= m_top && m_row <= m_bottom)
            ScrollUp(m_row, m_bottom, n);
        break;
    case 'S': ScrollUp(m_top, m_bottom, n); break;
    case 'T': ScrollDown(m_top, m_bottom, n); break;
    case 'b':
        for (int k = 0; k < n; ++k)
            Print(m_last);
        break;
    case 'r':
        m_top = std::clamp(Param(0, 1) - 1, 0, m_rows - 1);
        m_bottom = std::clamp(Param(1, m_rows) - 1, m_top, m_rows - 1);
        m_row = 0;
        m_col = 0;
        break;
    case 's': m_saved = {m_row, m_col, m_pen}; break;
    case 'u':
        m_row = m_saved.row;
        m_col = m_saved.col;
        break;
    case 'h': SetMode(true); break;
    case 'l': SetMode(false); break;
    case 'm': Sgr(); break;
    default: break;
    }
}

void Screen::Sgr()
{
    for (std::size_t i = 0; i < m_args.size(); ++i) {
        int p = Param(i, 0);
        switch (p) {
        case 0: m_pen = Cell{}; break;
        case 1: m_pen.bold = true; break;
        case 2: m_pen.dim = true; break;
        case 4: m_pen.underline = true; break;
        case 7: m_pen.reverse = true; break;
        case 22: m_pen.bold = m_pen.dim = false; break;
        case 24: m_pen.underline = false; break;
        case 27: m_pen.reverse = false; break;
        case 39: m_pen.fg = -1; break;
        case 49: m_pen.bg = -1; break;
        case 38:
        case 48: {
            int& target = p == 38 ? m_pen.fg : m_pen.bg;
            if (Param(i + 1, 0) == 5) {
                target = Param(i + 2, 0);
                i += 2;
            } else if (Param(i + 1, 0) == 2) {
                i += 4;  // direct colours: not used by the program
            }
            break;
        }
        default:
            if (p >= 30 && p <= 37)
                m_pen.fg = p - 30;
            else if (p >= 40 && p <= 47)
                m_pen.bg = p - 40;
            else if (p >= 90 && p <= 97)
                m_pen.fg = p - 90 + 8;
            else if (p >= 100 && p <= 107)
                m_pen.bg = p - 100 + 8;
            break;
        }
    }
}

}  // namespace vt
