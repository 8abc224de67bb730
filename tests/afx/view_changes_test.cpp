// The front-end is told of the state a control has once a message has been handled: what a
// handler changes and changes back is neither painted nor announced, a net change is told once.
#include <functional>

#include <gtest/gtest.h>

#include "afx/gdi.h"
#include "afx/input.h"
#include "res/resource.h"
#include "test_dialog.h"

using namespace afxtest;
namespace input = afx::input;

namespace {

// A dialog whose push button runs a step given by the test, and whose edit takes no text.
class CStepDlg : public CDialog {
public:
    CStepDlg() : CDialog(TestTemplate()) {}
    std::function<void(CStepDlg&)> m_step;
    bool m_bRefuseText = false;

    HWND Item(int id) const { return GetDlgItem(id); }
    void Image(int id, HBITMAP bmp) { afx::SendMessage(Item(id), BM_SETIMAGE, IMAGE_BITMAP, reinterpret_cast<LPARAM>(bmp)); }
    void Check(int id, int state) { afx::SendMessage(Item(id), BM_SETCHECK, static_cast<WPARAM>(state)); }
    void Text(int id, const char* text) { afx::SendMessage(Item(id), WM_SETTEXT, 0, reinterpret_cast<LPARAM>(text)); }

protected:
    BOOL OnInitDialog() override
    {
        CDialog::OnInitDialog();
        Image(IDC_T_BIT0, m_bmpA);
        return TRUE;
    }
    void OnPush() { m_step(*this); }
    void OnEditChange()
    {
        // Like a field that cuts what it cannot take: back to the empty text at once.
        if (m_bRefuseText && !Item(IDC_T_EDIT)->text.empty())
            Text(IDC_T_EDIT, "");
    }

public:
    CBitmap m_bmpA, m_bmpB, m_bmpC;
    DECLARE_MESSAGE_MAP()
};

BEGIN_MESSAGE_MAP(CStepDlg, CDialog)
    ON_BN_CLICKED(IDC_T_PUSH, OnPush)
    ON_EN_CHANGE(IDC_T_EDIT, OnEditChange)
END_MESSAGE_MAP()

struct NetCase {
    const char* name;
    std::function<void(CStepDlg&)> step;  // what the push button's handler does
    int control;
    afx::What what;
    int reports;  // how often the view hears of that property after the one click
};

void PrintTo(const NetCase& c, std::ostream* os) { *os << c.name; }

const NetCase kNetCases[] = {
    {"ImageChangedAndBackIsNotReported",
     [](CStepDlg& d) { d.Image(IDC_T_BIT0, d.m_bmpB); d.Image(IDC_T_BIT0, d.m_bmpA); }, IDC_T_BIT0, afx::What::Image, 0},
    {"ImageChangedIsReportedOnce",
     [](CStepDlg& d) { d.Image(IDC_T_BIT0, d.m_bmpB); }, IDC_T_BIT0, afx::What::Image, 1},
    {"ImageChangedTwiceIsReportedOnce",
     [](CStepDlg& d) { d.Image(IDC_T_BIT0, d.m_bmpB); d.Image(IDC_T_BIT0, d.m_bmpC); }, IDC_T_BIT0, afx::What::Image, 1},
    {"CheckChangedAndBackIsNotReported",
     [](CStepDlg& d) { d.Check(IDC_T_CHECK, BST_CHECKED); d.Check(IDC_T_CHECK, BST_UNCHECKED); }, IDC_T_CHECK, afx::What::Check, 0},
    {"TextChangedAndBackIsNotReported",
     [](CStepDlg& d) { d.Text(IDC_T_PUSH, "Other"); d.Text(IDC_T_PUSH, "Push"); }, IDC_T_PUSH, afx::What::Text, 0},
    {"TextChangedIsReportedOnce",
     [](CStepDlg& d) { d.Text(IDC_T_PUSH, "Other"); d.Text(IDC_T_PUSH, "Again"); }, IDC_T_PUSH, afx::What::Text, 1},
};

class NetChange : public testing::TestWithParam<NetCase> {};

TEST_P(NetChange, ReachesTheViewOnceOrNotAtAll)
{
    const NetCase& c = GetParam();
    afx::HeadlessFrontend ui;
    CStepDlg dlg;
    ASSERT_TRUE(dlg.m_bmpA.LoadBitmap(IDB_LAMP_ON) && dlg.m_bmpB.LoadBitmap(IDB_LAMP_OFF) && dlg.m_bmpC.LoadBitmap(IDB_BUTTON_SET));
    dlg.m_step = c.step;
    HWND ctl = nullptr;
    ui.Then([&] {
        ctl = dlg.Item(c.control);
        ui.ResetChanges();
        input::Click(dlg.Item(IDC_T_PUSH));
    });
    ui.Then([&] {
        EXPECT_EQ(ui.Changes(ctl, c.what), c.reports);
        input::Key(dlg.m_hWnd, VK_ESCAPE);
    });
    dlg.DoModal();
    EXPECT_TRUE(ui.ScriptDone());
}

INSTANTIATE_TEST_SUITE_P(Afx, NetChange, testing::ValuesIn(kNetCases),
                         [](const testing::TestParamInfo<NetCase>& i) { return std::string(i.param.name); });

// The model keeps every change: sent as messages of their own, two image changes reach the view
// twice; made within one handler, the record takes each image while the view hears nothing.
TEST(AfxNetChange, EveryChangeIsKeptInTheModel)
{
    afx::HeadlessFrontend ui;
    CStepDlg dlg;
    dlg.m_bmpA.LoadBitmap(IDB_LAMP_ON);
    dlg.m_bmpB.LoadBitmap(IDB_LAMP_OFF);
    std::vector<HBITMAP> seen;  // the image the record holds after each change
    dlg.m_step = [&](CStepDlg& d) {
        d.Image(IDC_T_BIT0, d.m_bmpB);
        seen.push_back(d.Item(IDC_T_BIT0)->image);
        d.Image(IDC_T_BIT0, d.m_bmpA);
        seen.push_back(d.Item(IDC_T_BIT0)->image);
    };
    ui.Then([&] {
        ui.ResetChanges();
        dlg.Image(IDC_T_BIT0, dlg.m_bmpB);  // each a message of its own: told at once
        dlg.Image(IDC_T_BIT0, dlg.m_bmpA);
        EXPECT_EQ(ui.Changes(dlg.Item(IDC_T_BIT0), afx::What::Image), 2);
        input::Click(dlg.Item(IDC_T_PUSH));
    });
    ui.Then([&] {
        EXPECT_EQ(ui.Changes(dlg.Item(IDC_T_BIT0), afx::What::Image), 2) << "the click added none";
        input::Key(dlg.m_hWnd, VK_ESCAPE);
    });
    dlg.DoModal();
    EXPECT_EQ(seen, (std::vector<HBITMAP>{dlg.m_bmpB, dlg.m_bmpA}));
}

// A native editor shows the user's text before the model has it: when the handler cuts the text
// back to what it was, the view is told, so that it drops what it shows.
TEST(AfxNetChange, TextCutBackByTheHandlerReachesANativeEditor)
{
    afx::HeadlessFrontend ui;
    CStepDlg dlg;
    dlg.m_bRefuseText = true;
    HWND edit = nullptr;
    ui.Then([&] {
        edit = dlg.Item(IDC_T_EDIT);
        ui.ResetChanges();
        input::EditText(edit, "x");
    });
    ui.Then([&] {
        EXPECT_EQ(edit->text, "");
        EXPECT_EQ(ui.Changes(edit, afx::What::Text), 1);
        input::Key(dlg.m_hWnd, VK_ESCAPE);
    });
    dlg.DoModal();
}

}  // namespace
