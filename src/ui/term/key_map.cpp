#include "ui/term/key_map.h"

#include <cctype>

#include <term.h>  // tigetstr

namespace ui::term {
namespace {

KeyInput Key(UINT vk, bool shift = false, bool alt = false) { return {KeyInput::Kind::Key, vk, shift, alt, 0}; }

// A character as the single byte the window model holds: Latin-1 as it is, anything else a byte
// that no hex digit uses, so that it is refused where only hex digits are taken.
constexpr unsigned char kUnmappable = '?';

// The code curses gives a key that terminfo knows only by an extended name; never a code when
// the terminal does not define it (or no terminal is set up).
wint_t ExtendedKey(const char* name)
{
    const char* seq = tigetstr(name);
    if (!seq || seq == reinterpret_cast<const char*>(-1))
        return 0;
    int code = key_defined(seq);
    return code > 0 ? static_cast<wint_t>(code) : 0;
}

}  // namespace

KeyInput MapKey(bool function, wint_t code)
{
    if (function) {
        switch (code) {
        case KEY_BTAB: return Key(VK_TAB, true);
        case KEY_ENTER: return Key(VK_RETURN);
        case KEY_UP: return Key(VK_UP);
        case KEY_DOWN: return Key(VK_DOWN);
        case KEY_LEFT: return Key(VK_LEFT);
        case KEY_RIGHT: return Key(VK_RIGHT);
        case KEY_HOME: return Key(VK_HOME);
        case KEY_END: return Key(VK_END);
        case KEY_BACKSPACE: return Key(VK_BACK);
        case KEY_DC: return Key(VK_DELETE);
        case KEY_F(1): return Key(VK_F1);
        case KEY_F(4): return Key(VK_F4);
        case KEY_F(10): return Key(VK_F10);
        default:
            // Alt with an arrow comes as a key of its own that terminfo names ("kDN3").
            if (code == ExtendedKey("kDN3"))
                return Key(VK_DOWN, false, true);
            if (code == ExtendedKey("kUP3"))
                return Key(VK_UP, false, true);
            return {};
        }
    }
    switch (code) {
    case L'\t': return Key(VK_TAB);
    case L'\r':
    case L'\n': return Key(VK_RETURN);
    case kEscape: return Key(VK_ESCAPE);
    case 0x7F:
    case 0x08: return Key(VK_BACK);
    default: break;
    }
    if (code < 0x20 || (code >= 0x80 && code < 0xA0))
        return {};  // other control characters mean nothing to a dialog
    unsigned char byte = code <= 0xFF ? static_cast<unsigned char>(code) : kUnmappable;
    return {KeyInput::Kind::Char, 0, false, false, byte};
}

KeyInput MapAltKey(bool function, wint_t code)
{
    if (!function && code == L' ')
        return Key(VK_SPACE, false, true);
    if (function && code == static_cast<wint_t>(KEY_F(4)))
        return Key(VK_F4, false, true);
    // Alt+Down and Alt+Up open and close a drop-down list.
    if (function && (code == KEY_DOWN || code == KEY_UP))
        return Key(code == KEY_DOWN ? VK_DOWN : VK_UP, false, true);
    // Alt with a letter or digit is the dialog's: an access key, or nothing.
    if (!function && code < 0x80 && std::isalnum(static_cast<int>(code)))
        return Key(static_cast<UINT>(std::toupper(static_cast<int>(code))), false, true);
    return {};  // any other Alt chord means nothing to a dialog
}

}  // namespace ui::term
