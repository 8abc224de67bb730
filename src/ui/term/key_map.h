// A key as curses reads it, turned into what the framework's input API takes: a virtual key
// with its modifiers, or a typed byte.
#pragma once

#include "ui/term/curses_api.h"

#include "afx/afxdefs.h"

namespace ui::term {

struct KeyInput {
    enum class Kind { None, Key, Char };
    Kind kind = Kind::None;
    UINT vk = 0;
    bool shift = false;
    bool alt = false;
    unsigned char ch = 0;

    friend bool operator==(const KeyInput&, const KeyInput&) = default;
};

inline constexpr wint_t kEscape = 0x1B;

// One key from get_wch: a function key (KEY_CODE_YES) or a character.
KeyInput MapKey(bool function, wint_t code);
// The key that followed an Escape in the same burst: the terminal's way of sending Alt with it.
KeyInput MapAltKey(bool function, wint_t code);

}  // namespace ui::term
