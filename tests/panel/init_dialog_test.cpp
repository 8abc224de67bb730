// The panel's OnInitDialog: which port accesses it makes, in which order, and the state it leaves.
#include <gtest/gtest.h>

#include "support/panel_session.h"

using namespace testsupport;
using io::Access;
using Kind = io::Access::Kind;

namespace {

Access W(std::uint16_t port, std::uint8_t v) { return {Kind::Write, port, v}; }
Access R(std::uint16_t port, std::uint8_t v) { return {Kind::Read, port, v}; }

TEST(PanelStartup, AccessesFollowTheProbeThenOneDataReadThenOneControlWrite)
{
    PanelSession s;  // only 0x378 has a port
    std::vector<Access> log;
    s.ui.Then([&] { log = s.rec.Log(); });
    s.Run();

    const std::vector<Access> expected = {
        R(0x27A, 0xFF), W(0x278, 0xAA), W(0x27A, 0x00), R(0x278, 0xFF),
        R(0x302, 0xFF), W(0x300, 0xAA), W(0x302, 0x00), R(0x300, 0xFF),
        R(0x37A, 0xCC), W(0x378, 0xAA), W(0x37A, 0x00), R(0x378, 0xAA),
        R(0x3BE, 0xFF), W(0x3BC, 0xAA), W(0x3BE, 0x00), R(0x3BC, 0xFF),
        W(0x27A, 0xFF), W(0x302, 0xFF), W(0x3BE, 0xFF),  // the ports not in use get their control back
        R(0x378, 0xAA),   // the data byte, still the probe's pattern
        W(0x37A, 0x24),   // the starting control byte, the last access of the start-up
    };
    EXPECT_EQ(log, expected);
}

TEST(PanelStartup, LeavesThePanelInItsStartingState)
{
    PanelSession s;
    s.ui.Then([&] {
        CLptPanelDlg& d = s.dlg;
        EXPECT_EQ(d.m_nBaseAddr, 0x378);  // nothing saved: the default base
        EXPECT_EQ(d.m_nDataByte, 0xAA);
        EXPECT_EQ(d.m_strDataValue, "AA");
        EXPECT_EQ(s.Item(IDC_DATA_VALUE)->text, "AA");
        EXPECT_EQ(s.Item(IDC_DATA_VALUE)->limit, 2);
        EXPECT_EQ(s.Images(kDataButtons), "10101010");
        EXPECT_EQ(s.Images(kCtrlButtons), "11111");
        EXPECT_EQ(d.m_nCtrlByte, 0x24);
        EXPECT_EQ(d.m_nCtrlWritten, 0x24);
        for (int state : d.m_nCtrlBitState)
            EXPECT_EQ(state, 1);
        // Until the first tick every lamp shows the lit image of the template.
        EXPECT_EQ(s.Images(kDataLamps) + s.Images(kStatusLamps) + s.Images(kCtrlLamps), std::string(18, '1'));
        EXPECT_EQ(s.Item(IDC_CONT_DATA)->check, BST_UNCHECKED);
        EXPECT_EQ(s.Item(IDC_CONT_CTRL)->check, BST_UNCHECKED);
        EXPECT_EQ(s.Top()->focus, s.Item(IDC_DATA_VALUE));
        for (int i = 0; i < 8; ++i) {
            EXPECT_EQ(d.m_nSetMask[i], 1 << i);
            EXPECT_EQ(d.m_nClearMask[i], 0xFF & ~(1 << i));
        }
    });
    s.Run();
}

// The data byte read at start-up decides the hex text and the faces.
TEST(PanelStartup, DataByteReadAtStartIsShownInHexAndOnTheButtons)
{
    struct Case { std::uint8_t read; const char* text; const char* faces; } cases[] = {
        {0x00, "0", "00000000"}, {0x0A, "A", "00001010"}, {0xFF, "FF", "11111111"}, {0x5C, "5C", "01011100"},
    };
    for (const Case& c : cases) {
        PanelSession s;
        s.forced.forced[0x378] = c.read;  // the probe then finds no port: the default base stays
        s.ui.Then([&] {
            EXPECT_EQ(s.dlg.m_strDataValue, c.text);
            EXPECT_EQ(s.Images(kDataButtons), c.faces);
            EXPECT_EQ(s.dlg.m_cbBaseAddr.GetCount(), c.read == 0xAA ? 1 : 0);
        });
        s.Run();
    }
}

TEST(PanelStartup, TimerStartsAtThreeHundredMilliseconds)
{
    PanelSession s;
    s.ui.Sleep(afx::Duration(299));
    s.ui.Then([&] { EXPECT_EQ(s.rec.Log().size(), 21u); });  // no tick yet
    s.ui.Sleep(afx::Duration(1));
    s.ui.Then([&] { EXPECT_EQ(s.rec.Log().size(), 23u); });  // one tick: two reads
    s.Run();
}

}  // namespace
