#include "panel_screen.h"

#include <cstdlib>

namespace panelscreen {
namespace {

const char* const kDataLabels[] = {"D7", "D6", "D5", "D4", "D3", "D2", "D1", "D0"};
const char* const kStatusLabels[] = {"Busy(11)", "Ack(10)", "PEnd(12)", "Select(13)", "Error(15)"};
const char* const kCtrlLabels[] = {"TriState", "Input(17)", "Init(16)", "Auto(14)", "Strobe(1)"};

// The first cell that is not blank right of `from` on its row.
vt::Screen::Pos NextInk(const vt::Screen& s, int row, int from)
{
    for (int c = from; c < s.Cols(); ++c)
        if (s.At(row, c).ch != U' ')
            return {row, c};
    return {};
}

// The nearest cell with ink in that column, stepping `step` rows from `row` (exclusive).
vt::Screen::Pos InkAlong(const vt::Screen& s, int row, int col, int step)
{
    for (int r = row + step; r >= 0 && r < s.Rows() && std::abs(r - row) <= 3; r += step)
        if (s.At(r, col).ch != U' ')
            return {r, col};
    return {};
}

// The middle of the nearest bit button ("[x]") centred on that column, stepping from `row`.
vt::Screen::Pos FaceAlong(const vt::Screen& s, int row, int col, int step)
{
    if (col < 1 || col + 1 >= s.Cols())
        return {};
    for (int r = row + step; r >= 0 && r < s.Rows() && std::abs(r - row) <= 3; r += step)
        if (s.At(r, col - 1).ch == U'[' && s.At(r, col + 1).ch == U']')
            return {r, col};
    return {};
}

}  // namespace

char Lamp(const vt::Screen& s, vt::Screen::Pos at, const Look& look)
{
    if (!at.Found())
        return '?';
    const vt::Cell& c = s.At(at.row, at.col);
    if (c.ch == look.lit && c.fg == look.litFg)
        return '1';
    if (c.ch == look.unlit && c.fg == look.unlitFg)
        return '0';
    return '?';
}

char Face(const vt::Screen& s, vt::Screen::Pos middle, const Look& look)
{
    if (!middle.Found() || middle.col < 1 || middle.col + 1 >= s.Cols())
        return '?';
    if (s.At(middle.row, middle.col - 1).ch != U'[' || s.At(middle.row, middle.col + 1).ch != U']')
        return '?';
    char32_t ch = s.At(middle.row, middle.col).ch;
    return ch == look.set ? '1' : ch == look.clear ? '0' : '?';
}

Panel Locate(const vt::Screen& s)
{
    Panel p;
    for (const char* label : kDataLabels) {
        vt::Screen::Pos at = s.Find(label);
        if (!at.Found() || at.row < 2)
            return p;
        // A lamp stands over the middle of its bit button, and the label starts under it.
        vt::Screen::Pos face = FaceAlong(s, at.row, at.col, -1);
        if (!face.Found())
            return p;
        p.dataFaces.push_back(face);
        p.dataLamps.push_back(InkAlong(s, face.row, face.col, -1));
    }
    for (const char* label : kStatusLabels) {
        vt::Screen::Pos at = s.Find(label);
        if (!at.Found())
            return p;
        p.statusLamps.push_back(NextInk(s, at.row, at.col + static_cast<int>(std::string(label).size())));
    }
    for (const char* label : kCtrlLabels) {
        vt::Screen::Pos at = s.Find(label);
        if (!at.Found())
            return p;
        vt::Screen::Pos lamp = NextInk(s, at.row, at.col + static_cast<int>(std::string(label).size()));
        if (!lamp.Found())
            return p;
        p.ctrlLamps.push_back(lamp);
        p.ctrlFaces.push_back(FaceAlong(s, lamp.row, lamp.col, 1));
    }
    // The Data Value field follows the last data lamp on its row; the list ends the status row.
    vt::Screen::Pos d0 = p.dataLamps.back();
    if (!d0.Found())
        return p;
    for (int c = d0.col + 1; c < s.Cols() && !p.edit.Found(); ++c)
        if (s.At(d0.row, c).ch == U'[')
            p.edit = {d0.row, c};
    vt::Screen::Pos error = p.statusLamps.back();
    for (int c = error.col + 1; c < s.Cols() && !p.list.Found(); ++c)
        if (s.At(error.row, c).ch == U'[')
            p.list = {error.row, c};
    p.complete = p.edit.Found() && p.list.Found();
    return p;
}

std::string Lamps(const vt::Screen& s, const std::vector<vt::Screen::Pos>& at, const Look& look)
{
    std::string out;
    for (const auto& p : at)
        out.push_back(Lamp(s, p, look));
    return out;
}

std::string Faces(const vt::Screen& s, const std::vector<vt::Screen::Pos>& at, const Look& look)
{
    std::string out;
    for (const auto& p : at)
        out.push_back(Face(s, p, look));
    return out;
}

std::string FieldText(const vt::Screen& s, vt::Screen::Pos open)
{
    if (!open.Found())
        return "?";
    std::u32string text;
    for (int c = open.col + 1; c < s.Cols() && s.At(open.row, c).ch != U']'; ++c)
        text.push_back(s.At(open.row, c).ch);
    // A list ends in its drop mark, one glyph after a blank.
    if (text.size() >= 2 && text[text.size() - 2] == U' ' && (text.back() == U'\u25BE' || text.back() == U'v'))
        text.resize(text.size() - 2);
    while (!text.empty() && text.back() == U' ')
        text.pop_back();
    std::string out;
    for (char32_t c : text)
        out.push_back(c < 0x80 ? static_cast<char>(c) : '?');
    return out;
}

std::string Bits(int byte, int count)
{
    std::string out;
    for (int i = count - 1; i >= 0; --i)
        out.push_back((byte >> i) & 1 ? '1' : '0');
    return out;
}

bool Reversed(const vt::Screen& s, vt::Screen::Pos at, int width)
{
    if (!at.Found())
        return false;
    for (int c = at.col; c < at.col + width && c < s.Cols(); ++c)
        if (s.At(at.row, c).reverse)
            return true;
    return false;
}

}  // namespace panelscreen
