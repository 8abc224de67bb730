// The system menu overlay: entries as shown, the marked entry moving over separators, and what
// each key or click chooses.
#include <gtest/gtest.h>

#include "res/resource.h"
#include "ui/term/menu_overlay.h"

namespace {

using ui::term::KeyInput;
using ui::term::MenuOverlay;

KeyInput Vk(UINT vk) { return {KeyInput::Kind::Key, vk, false, false, 0}; }
KeyInput Byte(unsigned char c) { return {KeyInput::Kind::Char, 0, false, false, c}; }

afx::Window PanelMenu()
{
    afx::Window top;
    top.sysMenu.Append({MF_STRING, SC_MOVE, "&Move"});
    top.sysMenu.Append({MF_STRING, SC_CLOSE, "&Close\tAlt+F4"});
    top.sysMenu.Append({MF_SEPARATOR, 0, ""});
    top.sysMenu.Append({MF_STRING, IDM_ABOUT, "&About Vellix..."});
    return top;
}

TEST(MenuOverlay, ShowsLabelsWithoutAmpersandsAndShortcutsApart)
{
    afx::Window top = PanelMenu();
    MenuOverlay m;
    m.Open(&top);
    ASSERT_EQ(m.Entries().size(), 4u);
    EXPECT_EQ(m.Entries()[0].label, "Move");
    EXPECT_EQ(m.Entries()[1].label, "Close");
    EXPECT_EQ(m.Entries()[1].shortcut, "Alt+F4");
    EXPECT_TRUE(m.Entries()[2].separator);
    EXPECT_EQ(m.Entries()[3].label, "About Vellix...");
    EXPECT_EQ(m.Entries()[3].accessAt, 0);
    EXPECT_EQ(m.Marked(), 0);
    EXPECT_GE(m.Width(), static_cast<int>(std::string("Close   Alt+F4").size()));
}

struct Step {
    const char* name;
    std::vector<KeyInput> keys;  // the last one decides
    int marked;                  // marked entry before the last key
    bool closes;
    std::optional<UINT> command;
};

void PrintTo(const Step& c, std::ostream* os) { *os << c.name; }

class MenuKeys : public ::testing::TestWithParam<Step> {};

TEST_P(MenuKeys, MoveOverSeparatorsAndChoose)
{
    const Step& s = GetParam();
    afx::Window top = PanelMenu();
    MenuOverlay m;
    m.Open(&top);
    MenuOverlay::Outcome o;
    for (std::size_t i = 0; i < s.keys.size(); ++i) {
        if (i + 1 == s.keys.size()) {
            EXPECT_EQ(m.Marked(), s.marked);
        }
        o = m.OnKey(s.keys[i]);
        if (i + 1 < s.keys.size()) {
            ASSERT_FALSE(o.close) << "closed early at key " << i;
        }
    }
    EXPECT_EQ(o.close, s.closes);
    EXPECT_EQ(o.command, s.command);
}

INSTANTIATE_TEST_SUITE_P(
    Steps, MenuKeys,
    ::testing::Values(Step{"EnterChoosesTheFirst", {Vk(VK_RETURN)}, 0, true, SC_MOVE},
                      Step{"DownSkipsTheSeparator", {Vk(VK_DOWN), Vk(VK_DOWN), Vk(VK_RETURN)}, 3, true, IDM_ABOUT},
                      Step{"UpWrapsToTheLast", {Vk(VK_UP), Vk(VK_RETURN)}, 3, true, IDM_ABOUT},
                      Step{"DownWrapsToTheFirst", {Vk(VK_END), Vk(VK_DOWN), Vk(VK_RETURN)}, 0, true, SC_MOVE},
                      Step{"HomeAndEnd", {Vk(VK_END), Vk(VK_HOME), Vk(VK_RETURN)}, 0, true, SC_MOVE},
                      Step{"AccessKeyChoosesAtOnce", {Byte('a')}, 0, true, IDM_ABOUT},
                      Step{"AccessKeyIgnoresCase", {Byte('C')}, 0, true, SC_CLOSE},
                      Step{"OtherLettersDoNothing", {Byte('z')}, 0, false, std::nullopt},
                      Step{"EscapeClosesWithoutChoice", {Vk(VK_DOWN), Vk(VK_ESCAPE)}, 1, true, std::nullopt},
                      Step{"F10ClosesAsItOpened", {Vk(VK_F10)}, 0, true, std::nullopt}),
    [](const auto& info) { return std::string(info.param.name); });

TEST(MenuOverlay, GrayedEntriesAreSkippedAndCannotBeChosen)
{
    afx::Window top;
    top.sysMenu.Append({MF_STRING | MF_GRAYED, SC_MOVE, "&Move"});
    top.sysMenu.Append({MF_STRING, SC_CLOSE, "&Close"});
    MenuOverlay m;
    m.Open(&top);
    EXPECT_EQ(m.Marked(), 1);
    EXPECT_FALSE(m.OnKey(Byte('m')).command.has_value());
    EXPECT_FALSE(m.OnClick(0).command.has_value());
    EXPECT_EQ(m.OnClick(1).command, std::optional<UINT>(SC_CLOSE));
    EXPECT_TRUE(m.OnClick(std::nullopt).close) << "a click outside closes it";
}

TEST(MenuOverlay, ReloadTakesEntriesAddedWhileOpen)
{
    afx::Window top;
    top.sysMenu.Append({MF_STRING, SC_CLOSE, "&Close"});
    MenuOverlay m;
    m.Open(&top);
    top.sysMenu.Append({MF_STRING, IDM_ABOUT, "&About Vellix..."});
    m.Reload();
    EXPECT_EQ(m.OnKey(Byte('a')).command, std::optional<UINT>(IDM_ABOUT));
}

}  // namespace
