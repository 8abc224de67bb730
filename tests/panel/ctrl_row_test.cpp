// The output row: the polarity of each slot, pending against written bytes, and the lamps.
#include <random>

#include <gtest/gtest.h>

#include "support/panel_session.h"

using namespace testsupport;
namespace input = afx::input;

namespace {

struct ClickCase {
    const char* name;
    int button;
    int pendingByte;   // after one click from the start byte 0x24
    std::size_t slot;  // position of the button and its lamp in kCtrlButtons / kCtrlLamps
};

void PrintTo(const ClickCase& c, std::ostream* os) { *os << c.name; }

const ClickCase kClicks[] = {
    {"Strobe", IDC_CTRL_STROBE, 0x25, 4},
    {"Auto", IDC_CTRL_AUTO, 0x26, 3},
    {"Init", IDC_CTRL_INIT, 0x20, 2},
    {"Input", IDC_CTRL_INPUT, 0x2C, 1},
    {"TriState", IDC_CTRL_TRISTATE, 0x04, 0},
};

class ControlClick : public testing::TestWithParam<ClickCase> {};

// Without Continous a click changes only the pending byte and the face; Set Data writes it and
// only then does the lamp follow.
TEST_P(ControlClick, ChangesThePendingByteUntilSetDataWritesIt)
{
    const ClickCase& c = GetParam();
    PanelSession s;
    s.ui.Sleep(afx::Duration(300));
    s.ui.Then([&] {
        s.rec.Clear();
        input::Click(s.Item(c.button));
    });
    s.ui.Sleep(afx::Duration(300));
    s.ui.Then([&] {
        EXPECT_EQ(s.dlg.m_nCtrlByte, c.pendingByte);
        EXPECT_EQ(s.dlg.m_nCtrlWritten, 0x24);
        EXPECT_EQ(s.Writes(), std::vector<int>{});
        EXPECT_EQ(s.Images(kCtrlButtons)[c.slot], '0');
        EXPECT_EQ(s.Images(kCtrlLamps), "11111");  // lamps show the byte written, not the pending one
        EXPECT_EQ(s.dlg.m_nCtrlBitState[4], 1);    // slot 4 is never reached
        input::Click(s.Item(IDC_SET_CTRL));
    });
    s.ui.Then([&] {
        EXPECT_EQ(s.Writes(0x37A), std::vector<int>{c.pendingByte});
        EXPECT_EQ(s.dlg.m_nCtrlWritten, c.pendingByte);
        std::string lamps = "11111";
        lamps[c.slot] = '0';
        EXPECT_EQ(s.Images(kCtrlLamps), lamps);
    });
    s.Run();
}

INSTANTIATE_TEST_SUITE_P(Panel, ControlClick, testing::ValuesIn(kClicks),
                         [](const testing::TestParamInfo<ClickCase>& i) { return std::string(i.param.name); });

TEST(ControlRow, AllFiveButtonsGive0BAndASecondClickUndoesOne)
{
    PanelSession s;
    s.ui.Then([&] {
        for (int id = IDC_CTRL_STROBE; id <= IDC_CTRL_TRISTATE; ++id)
            input::Click(s.Item(id));
    });
    s.ui.Then([&] {
        EXPECT_EQ(s.dlg.m_nCtrlByte, 0x0B);
        EXPECT_EQ(s.Images(kCtrlButtons), "00000");
        input::Click(s.Item(IDC_CTRL_INIT));
    });
    s.ui.Then([&] { EXPECT_EQ(s.dlg.m_nCtrlByte, 0x0F); });
    s.Run();
}

TEST(ControlRow, ContinousWritesEveryClickAndTheLampFollowsAtOnce)
{
    PanelSession s;
    s.ui.Then([&] {
        s.rec.Clear();
        input::Click(s.Item(IDC_CONT_CTRL));  // writes the pending byte at once
        input::Click(s.Item(IDC_CTRL_AUTO));
    });
    s.ui.Then([&] {
        EXPECT_EQ(s.Writes(0x37A), (std::vector<int>{0x24, 0x26}));
        EXPECT_EQ(s.Images(kCtrlLamps), "11101");
        s.rec.Clear();
        input::Click(s.Item(IDC_CONT_CTRL));  // off: nothing at all happens
    });
    s.ui.Then([&] {
        EXPECT_TRUE(s.rec.Log().empty());
        EXPECT_EQ(s.Images(kCtrlLamps), "11101");
        EXPECT_EQ(s.dlg.m_nCtrlByte, 0x26);
    });
    s.Run();
}

TEST(ControlRow, SetDataWritesTheSameByteEachTime)
{
    PanelSession s;
    s.ui.Then([&] {
        s.rec.Clear();
        input::Click(s.Item(IDC_SET_CTRL));
        input::Click(s.Item(IDC_SET_CTRL));
    });
    s.Run();
    EXPECT_EQ(s.Writes(0x37A), (std::vector<int>{0x24, 0x24}));
}

// Whatever the user does, bits 4, 6 and 7 of the control register are never written as 1, and
// the control lamps always show the last byte written.
TEST(ControlRow, EveryControlByteWrittenKeepsBits4To7ClearAndLampsShowIt)
{
    PanelSession s;
    std::mt19937 rng(7);
    const int buttons[] = {IDC_CTRL_STROBE, IDC_CTRL_AUTO, IDC_CTRL_INIT, IDC_CTRL_INPUT,
                           IDC_CTRL_TRISTATE, IDC_SET_CTRL, IDC_CONT_CTRL};
    for (int step = 0; step < 200; ++step) {
        s.ui.Then([&] { input::Click(s.Item(buttons[rng() % std::size(buttons)])); });
        s.ui.Then([&] {
            std::vector<int> w = s.Writes(0x37A);
            int written = w.back();
            EXPECT_EQ(s.dlg.m_nCtrlWritten, written);
            std::string lamps;
            lamps += (written & 0x20) ? '1' : '0';  // TriState
            lamps += (written & 0x08) ? '0' : '1';  // Input
            lamps += (written & 0x04) ? '1' : '0';  // Init
            lamps += (written & 0x02) ? '0' : '1';  // Auto
            lamps += (written & 0x01) ? '0' : '1';  // Strobe
            EXPECT_EQ(s.Images(kCtrlLamps), lamps);
        });
    }
    s.Run();
    std::vector<int> writes = s.Writes(0x37A);
    ASSERT_GT(writes.size(), 20u);
    for (int v : writes) {
        EXPECT_EQ(v & 0xD0, 0) << v;
    }
}

}  // namespace
