// The system menu with its about entry, the about box, and the icon of the minimized panel.
#include <gtest/gtest.h>

#include "support/panel_session.h"

using namespace testsupport;
namespace input = afx::input;

namespace {

TEST(SystemMenu, EndsWithASeparatorAndTheAboutEntry)
{
    PanelSession s;
    s.ui.Then([&] {
        const auto& items = s.Top()->sysMenu.Items();
        ASSERT_GE(items.size(), 2u);
        EXPECT_EQ(items[items.size() - 2].flags, MF_SEPARATOR);
        EXPECT_EQ(items.back().flags, MF_STRING);
        EXPECT_EQ(items.back().id, 0x0010u);
        EXPECT_EQ(items.back().text, "&About Vellix...");
        EXPECT_EQ(s.Top()->bigIcon, s.dlg.m_hIcon);
        EXPECT_EQ(s.Top()->smallIcon, s.dlg.m_hIcon);
        EXPECT_NE(s.dlg.m_hIcon, nullptr);
        EXPECT_EQ(reinterpret_cast<HICON>(s.dlg.SendMessage(WM_QUERYDRAGICON)), s.dlg.m_hIcon);
    });
    s.Run();
}

struct SysCommandCase {
    UINT nID;
    bool opensAbout;
};

class SystemCommand : public testing::TestWithParam<SysCommandCase> {};

// Only the low four bits are free: 0x10..0x1F all mean the about entry.
TEST_P(SystemCommand, AboutRangeOpensTheAboutBoxOthersGoToTheDefault)
{
    const SysCommandCase& c = GetParam();
    PanelSession s;
    bool aboutOpen = false;
    s.ui.Then([&] { input::SysCommand(s.Top(), c.nID); });
    s.ui.Then([&] {
        aboutOpen = s.ui.Active() != s.Top();
        if (aboutOpen) {
            EXPECT_EQ(s.ui.Active()->text, "About Vellix");
            EXPECT_EQ(s.ui.Active()->owner, s.Top());
            input::Key(s.ui.Active(), VK_RETURN);  // OK, the about box's default button
        }
    });
    s.ui.Then([&] { EXPECT_EQ(s.ui.Active(), s.Top()); });
    s.ui.Then([&] { input::Key(s.Top(), VK_ESCAPE); });
    s.Run();
    EXPECT_EQ(aboutOpen, c.opensAbout) << std::hex << c.nID;
    EXPECT_EQ(s.result, IDCANCEL);
}

INSTANTIATE_TEST_SUITE_P(Panel, SystemCommand,
                         testing::Values(SysCommandCase{0x0010, true}, SysCommandCase{0x0011, true},
                                         SysCommandCase{0x001F, true}, SysCommandCase{0x0020, false},
                                         SysCommandCase{0x0000, false}, SysCommandCase{SC_MOVE, false}));

TEST(AboutBox, ClosesTheSameWayByOkEscapeOrCloseBoxWhileTheLampsGoOn)
{
    for (int how = 0; how < 3; ++how) {
        PanelSession s;
        std::size_t readsBefore = 0;
        s.ui.Then([&] { input::SysCommand(s.Top(), IDM_ABOUT); });
        s.ui.Then([&] {
            readsBefore = s.rec.Log().size();
            HWND about = s.ui.Active();
            EXPECT_NE(about->Child(IDOK), nullptr);
            input::Click(s.Item(IDC_DATA_BIT0));  // the panel takes no input meanwhile
        });
        s.ui.Sleep(afx::Duration(900));
        s.ui.Then([&] {
            EXPECT_EQ(s.rec.Log().size(), readsBefore + 6);  // three ticks, two reads each
            EXPECT_EQ(s.dlg.m_nDataByte, 0xAA);
            HWND about = s.ui.Active();
            if (how == 0)
                input::Click(about->Child(IDOK));
            else if (how == 1)
                input::Key(about, VK_ESCAPE);
            else
                input::Close(about);
        });
        s.ui.Then([&] {
            EXPECT_EQ(s.ui.Active(), s.Top());
            EXPECT_TRUE(s.Top()->enabled);
            input::Click(s.Item(IDC_DATA_BIT0));
        });
        s.ui.Then([&] { EXPECT_EQ(s.dlg.m_nDataByte, 0xAB); });
        s.Run();
    }
}

TEST(MinimizedPanel, MinimizingPaintsTheIconBackgroundOnce)
{
    PanelSession s;
    int erased = 0;
    s.ui.Then([&] {
        afx::SetMessageSpy([&](const afx::Msg& m) { erased += m.message == WM_ICONERASEBKGND; });
        input::SysCommand(s.Top(), SC_MINIMIZE);
    });
    s.ui.Then([&] {
        afx::SetMessageSpy(nullptr);
        EXPECT_TRUE(s.Top()->minimized);
        EXPECT_EQ(erased, 1);
    });
    s.Run();
}

TEST(MinimizedPanel, NotMinimizedPaintingIsTheDefault)
{
    PanelSession s;
    int erased = 0;
    s.ui.Then([&] {
        afx::SetMessageSpy([&](const afx::Msg& m) { erased += m.message == WM_ICONERASEBKGND; });
        s.dlg.SendMessage(WM_PAINT);
    });
    s.ui.Then([&] {
        afx::SetMessageSpy(nullptr);
        EXPECT_EQ(erased, 0);
    });
    s.Run();
}

}  // namespace
