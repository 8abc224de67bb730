// One refresh: the two registers it reads and what every lamp shows afterwards.
#include <gtest/gtest.h>

#include "support/panel_session.h"

using namespace testsupport;

namespace {

struct RefreshCase {
    const char* name;
    std::uint8_t data, status;
    int ctrlWritten;
    const char* dataLamps;    // D7 .. D0
    const char* statusLamps;  // Busy, Ack, PEnd, Select, Error
    const char* ctrlLamps;    // TriState, Input, Init, Auto, Strobe
};

void PrintTo(const RefreshCase& c, std::ostream* os) { *os << c.name; }

const RefreshCase kCases[] = {
    {"DataA5", 0xA5, 0x00, 0x24, "10100101", "00000", "11111"},
    {"Status78", 0x00, 0x78, 0x24, "00000000", "01111", "11111"},
    {"StatusLowBitsAreNotShown", 0x00, 0x07, 0x24, "00000000", "00000", "11111"},
    {"StatusBusyAlone", 0x00, 0x80, 0x24, "00000000", "10000", "11111"},
    {"Control0B", 0xFF, 0xFF, 0x0B, "11111111", "11111", "00000"},
    {"Control04", 0x00, 0x00, 0x04, "00000000", "00000", "01111"},
    {"ControlBit4DoesNotLightTriState", 0x00, 0x00, 0x10, "00000000", "00000", "01011"},
    {"ControlBit4BesideStartByteChangesNothing", 0x00, 0x00, 0x34, "00000000", "00000", "11111"},
};

class Refresh : public testing::TestWithParam<RefreshCase> {};

TEST_P(Refresh, ReadsDataAndStatusAndPaintsEveryLamp)
{
    const RefreshCase& c = GetParam();
    PanelSession s;
    int imageMessages = 0;
    s.ui.Then([&] {
        s.forced.forced[0x378] = c.data;
        s.forced.forced[0x379] = c.status;
        s.dlg.m_nCtrlWritten = c.ctrlWritten;
        s.rec.Clear();
        afx::SetMessageSpy([&](const afx::Msg& m) { imageMessages += m.message == STM_SETIMAGE; });
    });
    s.ui.Sleep(afx::Duration(300));
    s.ui.Then([&] {
        afx::SetMessageSpy(nullptr);
        const std::vector<io::Access> expected = {{io::Access::Kind::Read, 0x378, c.data},
                                                  {io::Access::Kind::Read, 0x379, c.status}};
        EXPECT_EQ(s.rec.Log(), expected);
        EXPECT_EQ(imageMessages, 19);
        EXPECT_EQ(s.Images(kDataLamps), c.dataLamps);
        EXPECT_EQ(s.Images(kStatusLamps), c.statusLamps);
        EXPECT_EQ(s.Images(kCtrlLamps), c.ctrlLamps);
    });
    s.Run();
}

INSTANTIATE_TEST_SUITE_P(Panel, Refresh, testing::ValuesIn(kCases),
                         [](const testing::TestParamInfo<RefreshCase>& i) { return std::string(i.param.name); });

// With the loopback plug the status lamps answer the control lines the panel writes.
TEST(RefreshLoopback, StatusLampsFollowTheControlLinesThroughThePlug)
{
    PanelSession s;
    std::string before, after;
    s.ui.Sleep(afx::Duration(300));
    s.ui.Then([&] {
        before = s.Images(kStatusLamps);
        afx::input::Click(s.Item(IDC_CONT_CTRL));    // writes 0x24 again
        afx::input::Click(s.Item(IDC_CTRL_STROBE));  // 0x25: pin 1 low, so Select (pin 13) reads 0
    });
    s.ui.Then([&] { after = s.Images(kStatusLamps); });
    s.Run();
    EXPECT_NE(before, after);
    EXPECT_EQ(before[3], '1');  // Select lit while Strobe's pin is high
    EXPECT_EQ(after[3], '0');
}

// A tick exchanges the three members with their controls but never runs the hex handler.
TEST(RefreshTick, LeavesTheFieldAndBoxesAndNeverRunsTheHexHandler)
{
    PanelSession s;
    s.ui.Then([&] {
        HWND edit = s.Item(IDC_DATA_VALUE);
        edit->text = "3c";  // what a handler run would upper-case and take as a byte
        s.Item(IDC_CONT_CTRL)->check = BST_CHECKED;
        s.rec.Clear();
    });
    s.ui.Sleep(afx::Duration(300));
    s.ui.Then([&] {
        EXPECT_EQ(s.Item(IDC_DATA_VALUE)->text, "3c");
        EXPECT_EQ(s.dlg.m_strDataValue, "3c");
        EXPECT_EQ(s.dlg.m_nDataByte, 0xAA);
        EXPECT_EQ(s.dlg.m_bContinuousCtrl, 1);
        EXPECT_EQ(s.Item(IDC_CONT_CTRL)->check, BST_CHECKED);
        EXPECT_EQ(s.Item(IDC_CONT_DATA)->check, BST_UNCHECKED);
        EXPECT_TRUE(s.Writes().empty());
    });
    s.Run();
}

}  // namespace
