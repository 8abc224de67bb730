// A small model of an xterm-like terminal screen, enough to follow what curses sends: cursor
// movement, erasing, scrolling, colours and attributes, the alternate screen, the line-drawing
// character set and UTF-8. Tests feed it a program's output and read the cells back.
#pragma once

#include <set>
#include <string>
#include <string_view>
#include <vector>

namespace vt {

struct Cell {
    char32_t ch = U' ';
    int fg = -1, bg = -1;  // colour numbers, -1 for the default
    bool bold = false, dim = false, underline = false, reverse = false;
};

class Screen {
public:
    Screen(int rows, int cols);

    void Feed(std::string_view bytes);
    void Resize(int rows, int cols);

    int Rows() const { return m_rows; }
    int Cols() const { return m_cols; }
    const Cell& At(int row, int col) const;
    // One row as UTF-8 text, trailing blanks kept.
    std::string Row(int row) const;
    std::string Text() const;  // every row, one a line
    // The first place `text` starts, searching rows from the top; {-1, -1} if nowhere.
    struct Pos {
        int row = -1, col = -1;
        bool Found() const { return row >= 0; }
    };
    Pos Find(std::string_view text, int fromRow = 0) const;
    bool Contains(std::string_view text) const { return Find(text).Found(); }

    bool AlternateScreen() const { return m_alternate; }
    bool CursorVisible() const { return m_cursorVisible; }
    Pos Cursor() const { return {m_row, m_col}; }
    bool Mode(int privateMode) const { return m_modes.count(privateMode) != 0; }

private:
    using Grid = std::vector<std::vector<Cell>>;
    void Print(char32_t ch);
    void Control(unsigned char c);
    void Escape(unsigned char c);
    void Csi(unsigned char final);
    void Sgr();
    void LineFeed();
    void ScrollUp(int top, int bottom, int n);
    void ScrollDown(int top, int bottom, int n);
    void EraseCells(int row, int from, int to);
    void SetMode(bool on);
    int Param(std::size_t i, int fallback) const;
    Cell Blank() const;

    int m_rows, m_cols;
    Grid m_main, m_alt;
    bool m_alternate = false;
    int m_row = 0, m_col = 0;
    bool m_wrapPending = false;
    int m_top = 0, m_bottom = 0;  // scrolling region
    Cell m_pen;
    struct Saved {
        int row = 0, col = 0;
        Cell pen;
    } m_saved;
    bool m_g0Graphics = false, m_g1Graphics = false, m_shiftOut = false;
    bool m_cursorVisible = true;
    std::set<int> m_modes;
    char32_t m_last = U' ';

    enum class State { Ground, Esc, EscCharset, Csi, Osc, OscEsc } m_state = State::Ground;
    char m_charsetSlot = 0;
    std::string m_params;
    char m_private = 0;
    std::string m_intermediate;
    std::vector<int> m_args;
    char32_t m_utf8 = 0;
    int m_utf8Left = 0;
};

}  // namespace vt
