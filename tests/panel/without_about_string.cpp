// A string table without the about entry's text, linked in place of the program's own: the panel
// must then leave its system menu as the framework made it.
#include <gtest/gtest.h>

#include "res/catalog.h"
#include "res/resource.h"
#include "support/panel_session.h"

namespace res {

std::span<const StringEntry> catalog::Strings()
{
    static constexpr StringEntry kStrings[] = {{IDS_HELP, "help"}};
    return kStrings;
}

}  // namespace res

namespace {

TEST(SystemMenuWithoutAboutText, GetsNeitherSeparatorNorAboutEntry)
{
    testsupport::PanelSession s;
    s.ui.Then([&] {
        for (const afx::MenuItem& item : s.Top()->sysMenu.Items()) {
            EXPECT_NE(item.flags, MF_SEPARATOR);
            EXPECT_NE(item.id, 0x0010u);
        }
        EXPECT_FALSE(s.Top()->sysMenu.Items().empty()) << "the standard entries stay";
        EXPECT_NE(s.dlg.m_hIcon, nullptr) << "the icon steps after it still run";
        EXPECT_EQ(s.Top()->bigIcon, s.dlg.m_hIcon);
        s.PressEnter();
    });
    s.Run();
    EXPECT_EQ(s.result, IDOK);
}

}  // namespace
