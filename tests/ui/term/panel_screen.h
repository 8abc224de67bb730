// Reads the register panel off a terminal screen the way a user's eye does: lamps next to or
// above their labels, bit buttons under their lamps, the Data Value field, the Base Addr list.
#pragma once

#include <optional>
#include <string>
#include <vector>

#include "vt_screen.h"

namespace panelscreen {

// How lamps and bit-button faces look in one kind of terminal.
struct Look {
    const char* name;
    char32_t lit, unlit;  // lamp glyphs
    int litFg, unlitFg;   // their colours, -1 for none
    char32_t set, clear;  // glyph in the middle of a bit button
};

// One lamp or face read off the screen: '1' lit/set, '0' unlit/clear, '?' something else.
char Lamp(const vt::Screen& s, vt::Screen::Pos at, const Look& look);
char Face(const vt::Screen& s, vt::Screen::Pos middle, const Look& look);

struct Panel {
    // Where things are, found on the screen; empty when the panel is not (all) there.
    std::vector<vt::Screen::Pos> dataLamps, dataFaces;      // D7 .. D0
    std::vector<vt::Screen::Pos> statusLamps;               // Busy, Ack, PEnd, Select, Error
    std::vector<vt::Screen::Pos> ctrlLamps, ctrlFaces;      // TriState, Input, Init, Auto, Strobe
    vt::Screen::Pos edit, list;                              // their opening '['
    bool complete = false;
};

Panel Locate(const vt::Screen& s);

// A row of lamps or faces as a string of '1', '0' and '?'.
std::string Lamps(const vt::Screen& s, const std::vector<vt::Screen::Pos>& at, const Look& look);
std::string Faces(const vt::Screen& s, const std::vector<vt::Screen::Pos>& at, const Look& look);
// The text between a field's brackets, blanks at its end and the list's drop mark taken off.
std::string FieldText(const vt::Screen& s, vt::Screen::Pos open);
// A byte as the string of lamps D7 .. D0 would show it.
std::string Bits(int byte, int count = 8);

// Whether any cell of [col, col + width) on that row is drawn in reverse video: the focus.
bool Reversed(const vt::Screen& s, vt::Screen::Pos at, int width);

}  // namespace panelscreen
