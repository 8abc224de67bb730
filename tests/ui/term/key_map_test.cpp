// Keys as curses reports them, and what the framework is handed for each.
#include <gtest/gtest.h>

#include "ui/term/key_map.h"

namespace {

using ui::term::KeyInput;
using ui::term::MapAltKey;
using ui::term::MapKey;
using K = KeyInput::Kind;

struct Case {
    const char* name;
    bool function;
    wint_t code;
    KeyInput expected;
};

KeyInput Vk(UINT vk, bool shift = false, bool alt = false) { return {K::Key, vk, shift, alt, 0}; }
KeyInput Byte(unsigned char c) { return {K::Char, 0, false, false, c}; }

const Case kKeys[] = {
    {"Tab", false, L'\t', Vk(VK_TAB)},
    {"ShiftTab", true, KEY_BTAB, Vk(VK_TAB, true)},
    {"CarriageReturn", false, L'\r', Vk(VK_RETURN)},
    {"LineFeed", false, L'\n', Vk(VK_RETURN)},
    {"KeypadEnter", true, KEY_ENTER, Vk(VK_RETURN)},
    {"Escape", false, 0x1B, Vk(VK_ESCAPE)},
    {"Up", true, KEY_UP, Vk(VK_UP)},
    {"Down", true, KEY_DOWN, Vk(VK_DOWN)},
    {"Left", true, KEY_LEFT, Vk(VK_LEFT)},
    {"Right", true, KEY_RIGHT, Vk(VK_RIGHT)},
    {"Home", true, KEY_HOME, Vk(VK_HOME)},
    {"End", true, KEY_END, Vk(VK_END)},
    {"BackspaceKey", true, KEY_BACKSPACE, Vk(VK_BACK)},
    {"DeleteByte", false, 0x7F, Vk(VK_BACK)},
    {"ControlH", false, 0x08, Vk(VK_BACK)},
    {"Delete", true, KEY_DC, Vk(VK_DELETE)},
    {"F1", true, KEY_F(1), Vk(VK_F1)},
    {"F10", true, KEY_F(10), Vk(VK_F10)},
    {"Space", false, L' ', Byte(' ')},
    {"HexDigit", false, L'c', Byte('c')},
    {"Latin1", false, 0xE9, Byte(0xE9)},
    {"BeyondLatin1", false, 0x20AC, Byte('?')},  // not a hex digit, so the field refuses it
    {"OtherControl", false, 0x01, {}},
    {"C1Control", false, 0x85, {}},
    {"UnknownFunctionKey", true, KEY_F(5), {}},
};

void PrintTo(const Case& c, std::ostream* os) { *os << c.name; }

class KeyMap : public ::testing::TestWithParam<Case> {};

TEST_P(KeyMap, MapsToTheFrameworksKey)
{
    const Case& c = GetParam();
    EXPECT_EQ(MapKey(c.function, c.code), c.expected);
}

INSTANTIATE_TEST_SUITE_P(Keys, KeyMap, ::testing::ValuesIn(kKeys), [](const auto& info) { return std::string(info.param.name); });

TEST(AltKeys, OnlyTheChordsTheFrameworkKnowsAreAltChords)
{
    EXPECT_EQ(MapAltKey(false, L' '), Vk(VK_SPACE, false, true));
    EXPECT_EQ(MapAltKey(true, KEY_F(4)), Vk(VK_F4, false, true));
    // Alt with a letter or digit goes to the dialog as that key, which is an access key or
    // nothing there; in particular not Escape, which would cancel the panel, nor a character.
    EXPECT_EQ(MapAltKey(false, L'o'), Vk('O', false, true));
    EXPECT_EQ(MapAltKey(false, L'D'), Vk('D', false, true));
    EXPECT_EQ(MapAltKey(false, L'7'), Vk('7', false, true));
    EXPECT_EQ(MapAltKey(false, L'.').kind, K::None);
    EXPECT_EQ(MapAltKey(true, KEY_F(10)).kind, K::None);
}

}  // namespace
