// The rules of the dialog framework that the program relies on, each shown once in a scripted
// session against the headless front-end.
#include <algorithm>
#include <functional>

#include <gtest/gtest.h>

#include "afx/input.h"
#include "test_dialog.h"

using namespace afxtest;
using afx::Duration;
namespace input = afx::input;

namespace {

class CTestApp : public CWinApp {
public:
    CTestApp() : CWinApp("test") {}
    int m_nHelp = 0;

protected:
    void OnHelpCommand() { ++m_nHelp; }
    DECLARE_MESSAGE_MAP()
};

BEGIN_MESSAGE_MAP(CTestApp, CWinApp)
    ON_COMMAND(ID_HELP, OnHelpCommand)
END_MESSAGE_MAP()

struct Session {
    CTestApp app;
    afx::HeadlessFrontend ui;
    CTestDlg dlg;
    int result = 0;

    HWND Item(int id) { return dlg.GetDlgItem(id); }
    HWND Top() { return dlg.m_hWnd; }
    void Run()
    {
        app.m_pMainWnd = &dlg;
        result = dlg.DoModal();
    }
};

struct RuleCase {
    const char* name;
    std::function<void(Session&)> script;  // queues the user's steps
    std::function<void(Session&)> check;   // after the dialog has ended
};

void PrintTo(const RuleCase& c, std::ostream* os) { *os << c.name; }

const RuleCase kRules[] = {
    {"AutoCheckBoxFlipsItselfBeforeItNotifies",
     [](Session& s) { s.ui.Then([&] { input::Click(s.Item(IDC_T_CHECK)); }); },
     [](Session& s) {
         EXPECT_EQ(s.dlg.m_nCheckSeen, BST_CHECKED);
         EXPECT_EQ(s.dlg.m_events, (std::vector<std::string>{"check"}));
     }},
    {"SetCurSelNotifiesNobodyButAUserPickDoes",
     [](Session& s) {
         s.ui.Then([&] {
             EXPECT_EQ(s.Item(IDC_T_LIST)->items, (std::vector<std::string>{"a", "b", "c"}));
             s.dlg.m_cbList.SetCurSel(1);
             input::Pick(s.Item(IDC_T_LIST), 2);
         });
     },
     [](Session& s) { EXPECT_EQ(s.dlg.m_events, (std::vector<std::string>{"list:2"})); }},
    {"NoNotificationIsDispatchedWhileAnExchangeRuns",
     [](Session& s) { s.ui.Then([&] { input::Click(s.Item(IDC_T_PUSH)); }); },
     [](Session& s) {
         EXPECT_EQ(s.dlg.m_events, (std::vector<std::string>{"push"}));
         EXPECT_EQ(s.Item(IDC_T_EDIT), nullptr);  // the window is gone after the run
     }},
    {"ExchangeReplacesAnEditsTextOnlyWhereItDiffers",
     [](Session& s) {
         s.ui.Then([&] {
             HWND edit = s.Item(IDC_T_EDIT);
             s.ui.ResetChanges();
             s.dlg.UpdateData(FALSE);
             EXPECT_EQ(s.ui.Changes(edit, afx::What::Text), 0);
             s.dlg.m_strText = "q";
             s.dlg.UpdateData(FALSE);
             EXPECT_EQ(s.ui.Changes(edit, afx::What::Text), 1);
             EXPECT_EQ(edit->text, "q");
         });
     },
     [](Session& s) { EXPECT_TRUE(s.dlg.m_events.empty()); }},
    {"EditRefusesCharactersPastItsLimit",
     [](Session& s) {
         s.ui.Then([&] { input::Type(s.Top(), "abcd"); });
         s.ui.Then([&] { EXPECT_EQ(s.Item(IDC_T_EDIT)->text, "abc"); });
     },
     [](Session& s) {
         EXPECT_EQ(s.dlg.m_events, (std::vector<std::string>{"change:a", "change:ab", "change:abc"}));
     }},
    {"EnterInAnEditPressesTheDefaultButton",
     [](Session& s) { s.ui.Then([&] { input::Key(s.Top(), VK_RETURN); }); },
     [](Session& s) { EXPECT_EQ(s.result, IDOK); }},
    {"EnterOnAPushButtonPressesThatButton",
     [](Session& s) {
         s.ui.Then([&] {
             input::Key(s.Top(), VK_TAB);
             input::Key(s.Top(), VK_TAB);  // edit -> check box -> push button
             input::Key(s.Top(), VK_RETURN);
         });
         s.ui.Then([&] { input::Key(s.Top(), VK_ESCAPE); });
     },
     [](Session& s) {
         EXPECT_EQ(s.dlg.m_events, (std::vector<std::string>{"push"}));
         EXPECT_EQ(s.result, IDCANCEL);
     }},
    {"AltWithALetterIsAnAccessKeyOrNothing",
     [](Session& s) {
         s.ui.Then([&] {
             input::Type(s.Top(), "ab");
             // No control has D or 7 for its access key: nothing at all, not "abd".
             input::Key(s.Top(), 'D', false, true);
             input::Key(s.Top(), '7', false, true);
         });
         s.ui.Then([&] {
             EXPECT_EQ(s.Item(IDC_T_EDIT)->text, "ab");
             EXPECT_EQ(s.Top()->focus, s.Item(IDC_T_EDIT));
             input::Key(s.Top(), 'B', false, true);  // "&Box": clicks the check box
         });
         s.ui.Then([&] {
             EXPECT_EQ(s.Top()->focus, s.Item(IDC_T_CHECK));
             input::Key(s.Top(), 'L', false, true);  // "&Label": the field it names
         });
         s.ui.Then([&] {
             EXPECT_EQ(s.Top()->focus, s.Item(IDC_T_EDIT));
             input::Key(s.Top(), VK_ESCAPE);
         });
     },
     [](Session& s) {
         EXPECT_EQ(s.dlg.m_events, (std::vector<std::string>{"change:a", "change:ab", "check"}));
         EXPECT_EQ(s.dlg.m_nCheckSeen, BST_CHECKED);
     }},
    {"EscapeEndsWithCancel",
     [](Session& s) { s.ui.Then([&] { input::Key(s.Top(), VK_ESCAPE); }); },
     [](Session& s) { EXPECT_EQ(s.result, IDCANCEL); }},
    {"CloseBoxEndsWithCancel",
     [](Session& s) { s.ui.Then([&] { input::Close(s.Top()); }); },
     [](Session& s) { EXPECT_EQ(s.result, IDCANCEL); }},
    {"TicksComeBetweenMessagesAndNeverPileUp",
     [](Session& s) {
         s.ui.Then([&] { s.dlg.SetTimer(1, 300, nullptr); });
         s.ui.Sleep(Duration(950));  // three periods pass: three ticks
         s.ui.Then([&] {
             // Busy for several periods while a click waits: the click first, then one tick.
             s.ui.Advance(Duration(1000));
             input::Click(s.Item(IDC_T_PUSH));
         });
     },
     [](Session& s) {
         EXPECT_EQ(s.dlg.m_events,
                   (std::vector<std::string>{"tick:1", "tick:1", "tick:1", "push", "tick:1"}));
         EXPECT_FALSE(s.dlg.m_bTickInsideHandler);
     }},
    {"CommandRangePassesTheClickedId",
     [](Session& s) { s.ui.Then([&] { input::Click(s.Item(IDC_T_BIT2)); }); },
     [](Session& s) { EXPECT_EQ(s.dlg.m_events, (std::vector<std::string>{"bit:22"})); }},
    {"HelpKeyReachesTheApplicationsHelpHandler",
     [](Session& s) { s.ui.Then([&] { input::Key(s.Top(), VK_F1); }); },
     [](Session& s) { EXPECT_EQ(s.app.m_nHelp, 1); }},
    {"TabVisitsTabStopsInTemplateOrderAndWraps",
     [](Session& s) {
         s.ui.Then([&] {
             std::vector<int> seen{s.Top()->focus->id};
             for (int i = 0; i < 9; ++i) {
                 input::Key(s.Top(), VK_TAB);
                 afx::PumpPending();
                 seen.push_back(s.Top()->focus->id);
             }
             input::Key(s.Top(), VK_TAB, /*shift=*/true);
             afx::PumpPending();
             seen.push_back(s.Top()->focus->id);
             EXPECT_EQ(seen, (std::vector<int>{IDC_T_EDIT, IDC_T_CHECK, IDC_T_PUSH, IDC_T_LIST, 20, 21, 22, IDOK,
                                               IDCANCEL, IDC_T_EDIT, IDCANCEL}));
         });
     },
     [](Session&) {}},
    {"SpacePressesTheFocusedCheckBox",
     [](Session& s) {
         s.ui.Then([&] {
             input::Key(s.Top(), VK_TAB);
             input::Char(s.Top(), ' ');
         });
     },
     [](Session& s) { EXPECT_EQ(s.dlg.m_events, (std::vector<std::string>{"check"})); }},
    {"EveryUserEditNotifiesAlsoOneThatKeepsTheText",
     [](Session& s) {
         s.ui.Then([&] {
             input::EditText(s.Item(IDC_T_EDIT), "7");
             input::EditText(s.Item(IDC_T_EDIT), "7");  // the digit typed over itself
         });
     },
     [](Session& s) { EXPECT_EQ(s.dlg.m_events, (std::vector<std::string>{"change:7", "change:7"})); }},
    {"F4AltDownAndSpaceOpenAFocusedListAndEscapeOnlyClosesIt",
     [](Session& s) {
         const std::vector<std::function<void()>> openers = {
             [&] { input::Key(s.Top(), VK_F4); },
             [&] { input::Key(s.Top(), VK_DOWN, false, /*alt=*/true); },
             [&] { input::Char(s.Top(), ' '); },
         };
         s.ui.Then([&] { input::Focus(s.Item(IDC_T_LIST)); });
         for (std::size_t i = 0; i < openers.size(); ++i) {
             s.ui.Then([&s, open = openers[i], i] {
                 EXPECT_FALSE(s.Item(IDC_T_LIST)->dropped) << "closed until opened, opener " << i;
                 open();
             });
             s.ui.Then([&s, i] {
                 EXPECT_TRUE(s.Item(IDC_T_LIST)->dropped) << "opener " << i;
                 input::Key(s.Top(), VK_DOWN);
                 input::Key(s.Top(), VK_ESCAPE);
             });
         }
         s.ui.Then([&] {
             EXPECT_FALSE(s.Item(IDC_T_LIST)->dropped);
             EXPECT_EQ(s.Item(IDC_T_LIST)->sel, CB_ERR) << "nothing picked";
             input::Key(s.Top(), VK_ESCAPE);  // the list is closed: this one cancels
         });
     },
     [](Session& s) {
         EXPECT_TRUE(s.dlg.m_events.empty());
         EXPECT_EQ(s.result, IDCANCEL);
     }},
    {"EnterInAnOpenListPicksTheMarkedEntryAndLeavesTheDialogOpen",
     [](Session& s) {
         s.ui.Then([&] {
             s.dlg.m_cbList.SetCurSel(0);
             input::Focus(s.Item(IDC_T_LIST));
             input::Key(s.Top(), VK_F4);
             input::Key(s.Top(), VK_DOWN);
             input::Key(s.Top(), VK_DOWN);
         });
         s.ui.Then([&] {
             EXPECT_EQ(s.Item(IDC_T_LIST)->marked, 2);
             EXPECT_EQ(s.Item(IDC_T_LIST)->sel, 0) << "marking is not picking";
             input::Key(s.Top(), VK_RETURN);
         });
         s.ui.Then([&] {
             EXPECT_FALSE(s.Item(IDC_T_LIST)->dropped);
             EXPECT_EQ(s.Item(IDC_T_LIST)->sel, 2);
             input::Key(s.Top(), VK_DOWN);  // closed again: the arrows step the selection
         });
         s.ui.Then([&] { input::Key(s.Top(), VK_ESCAPE); });
     },
     [](Session& s) {
         EXPECT_EQ(s.dlg.m_events, (std::vector<std::string>{"list:2"})) << "the last entry stays";
         EXPECT_EQ(s.result, IDCANCEL) << "Enter did not end the dialog";
     }},
    {"AClickOpensAndClosesAListAndAPickClosesIt",
     [](Session& s) {
         s.ui.Then([&] { input::Click(s.Item(IDC_T_LIST)); });
         s.ui.Then([&] {
             EXPECT_TRUE(s.Item(IDC_T_LIST)->dropped);
             EXPECT_EQ(s.Top()->focus, s.Item(IDC_T_LIST));
             input::Click(s.Item(IDC_T_LIST));
         });
         s.ui.Then([&] {
             EXPECT_FALSE(s.Item(IDC_T_LIST)->dropped);
             input::Click(s.Item(IDC_T_LIST));
         });
         s.ui.Then([&] { input::Pick(s.Item(IDC_T_LIST), 1); });
         s.ui.Then([&] {
             EXPECT_FALSE(s.Item(IDC_T_LIST)->dropped);
             input::Key(s.Top(), VK_ESCAPE);
         });
     },
     [](Session& s) {
         EXPECT_EQ(s.dlg.m_events, (std::vector<std::string>{"list:1"}));
         EXPECT_EQ(s.result, IDCANCEL);
     }},
    {"AnOpenListClosesUnpickedWhenTheFocusLeaves",
     [](Session& s) {
         s.ui.Then([&] {
             input::Focus(s.Item(IDC_T_LIST));
             input::Key(s.Top(), VK_F4);
             input::Key(s.Top(), VK_DOWN);
             input::Key(s.Top(), VK_TAB);
         });
         s.ui.Then([&] {
             EXPECT_FALSE(s.Item(IDC_T_LIST)->dropped);
             EXPECT_NE(s.Top()->focus, s.Item(IDC_T_LIST));
             input::Key(s.Top(), VK_ESCAPE);
         });
     },
     [](Session& s) {
         EXPECT_TRUE(s.dlg.m_events.empty());
         EXPECT_EQ(s.result, IDCANCEL);
     }},
    {"MoveIsOfferedAndHandedOnWhereWindowsMove",
     [](Session& s) {
         s.ui.AllowMoving(true);
         s.ui.Then([&] {
             EXPECT_EQ(s.Top()->sysMenu.Items().front().id, SC_MOVE);
             EXPECT_FALSE(s.Top()->sysMenu.Items().front().flags & MF_GRAYED);
             input::SysCommand(s.Top(), SC_MOVE);
         });
         s.ui.Then([&] { input::Key(s.Top(), VK_ESCAPE); });
     },
     [](Session& s) {
         EXPECT_EQ(s.ui.MovesBegun(), 1);
         EXPECT_EQ(s.result, IDCANCEL) << "moving ends nothing";
     }},
    {"MoveIsGrayedWhereWindowsCannotMove",
     [](Session& s) {
         s.ui.Then([&] {
             EXPECT_TRUE(s.Top()->sysMenu.Items().front().flags & MF_GRAYED);
             input::Key(s.Top(), VK_ESCAPE);
         });
     },
     [](Session& s) { EXPECT_EQ(s.ui.MovesBegun(), 0); }},
};

class FrameworkRule : public testing::TestWithParam<RuleCase> {};

TEST_P(FrameworkRule, Holds)
{
    Session s;
    GetParam().script(s);
    s.Run();
    EXPECT_TRUE(s.ui.ScriptDone());
    GetParam().check(s);
}

INSTANTIATE_TEST_SUITE_P(Afx, FrameworkRule, testing::ValuesIn(kRules),
                         [](const testing::TestParamInfo<RuleCase>& i) { return std::string(i.param.name); });

// A dialog opened without a parent belongs to the main window, which takes no input meanwhile;
// the main window's timer goes on.
TEST(AfxModal, ParentlessDialogIsOwnedByTheMainWindowAndDisablesIt)
{
    Session s;
    CTestDlg child;
    int childResult = 0;
    s.ui.Then([&] { s.dlg.SetTimer(1, 300, nullptr); });
    s.ui.Then([&] { childResult = child.DoModal(); });
    s.ui.Then([&] {
        EXPECT_EQ(child.m_hWnd->owner, s.Top());
        EXPECT_FALSE(s.Top()->enabled);
        input::Click(s.Item(IDC_T_PUSH));  // dropped: the owner is disabled
    });
    s.ui.Sleep(Duration(600));
    s.ui.Then([&] { input::Key(child.m_hWnd, VK_ESCAPE); });
    s.ui.Then([&] { EXPECT_TRUE(s.Top()->enabled); });
    s.Run();
    EXPECT_EQ(childResult, IDCANCEL);
    EXPECT_GE(s.dlg.m_nTicks, 2);
    EXPECT_EQ(std::count(s.dlg.m_events.begin(), s.dlg.m_events.end(), "push"), 0);
}

TEST(AfxModal, DoModalReturnsMinusOneWhenTheWindowCannotBeCreated)
{
    Session s;
    s.ui.FailCreation(true);
    s.Run();
    EXPECT_EQ(s.result, -1);
    EXPECT_EQ(s.ui.WindowsCreated(), 0);
}

// The code a run asks to end with is what the entry point returns, and the next run starts
// without it.
TEST(AfxRun, AfxPostQuitMessageSetsTheExitCodeOfThatRunOnly)
{
    struct CFailingApp : CWinApp {
        CFailingApp() : CWinApp("test") {}
        bool m_bFail = true;
        BOOL InitInstance() override
        {
            if (m_bFail)
                AfxPostQuitMessage(1);
            return FALSE;
        }
    } app;
    EXPECT_EQ(AfxWinMain(), 1);
    app.m_bFail = false;
    EXPECT_EQ(AfxWinMain(), 0);
}

}  // namespace
