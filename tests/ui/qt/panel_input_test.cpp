// Real clicks and keys on the panel's widgets reach the framework, and what the panel does
// comes back into the widgets: the port is written, lamps and faces change, the edit shows the
// panel's text, the focus moves in template order, and only the framework ends the dialog.
#include <QApplication>
#include <QComboBox>
#include <QLineEdit>
#include <QListView>
#include <QPushButton>
#include <QtTest/QTest>
#include <gtest/gtest.h>

#include "afx/input.h"
#include "qt_harness.h"
#include "res/resources.h"

namespace qttest {
namespace {

QPoint Centre(QWidget* w) { return w->rect().center(); }

int GrabDiff(PanelRun& p, int id, int bitmapId)
{
    QWidget* w = p.Widget(id);
    const res::Bitmap* bmp = res::FindBitmap(bitmapId);
    QImage grab = w->grab().toImage();
    QPoint origin((w->width() - bmp->width) / 2, (w->height() - bmp->height) / 2);
    return PixelsDiffering(grab, origin, *bmp);
}

TEST(PanelInputTest, BitClickWritesThePortAndTheLampFollowsTheNextTick)
{
    PanelRun p;
    // Data lines driven (TriState off), then both rows in Continous mode, as a user would set up.
    p.ui.Then([&] { QTest::mouseClick(p.Widget(IDC_CONT_CTRL), Qt::LeftButton, {}, Centre(p.Widget(IDC_CONT_CTRL))); });
    p.ui.Then([&] { QTest::mouseClick(p.Widget(IDC_CTRL_TRISTATE), Qt::LeftButton); });
    p.ui.Then([&] { QTest::mouseClick(p.Widget(IDC_CONT_DATA), Qt::LeftButton, {}, Centre(p.Widget(IDC_CONT_DATA))); });
    p.ui.Then([&] {
        EXPECT_TRUE(static_cast<QAbstractButton*>(p.Widget(IDC_CONT_DATA))->isChecked());
        EXPECT_EQ(p.Writes(0x37A).back(), 0x04) << "TriState off";
        EXPECT_EQ(p.dlg.m_nDataByte, 0xAA) << "the byte the detection probe left";
        EXPECT_EQ(GrabDiff(p, IDC_DATA_LAMP3, IDB_LAMP_ON), 0);
        EXPECT_EQ(GrabDiff(p, IDC_DATA_BIT3, IDB_BUTTON_SET), 0);
        p.rec.Clear();
        QTest::mouseClick(p.Widget(IDC_DATA_BIT3), Qt::LeftButton);
    });
    p.ui.Then([&] {
        EXPECT_EQ(p.Writes(0x378), std::vector<int>{0xA2}) << "bit 3 cleared and written at once";
        EXPECT_EQ(GrabDiff(p, IDC_DATA_BIT3, IDB_BUTTON_CLEAR), 0);
        EXPECT_EQ(GrabDiff(p, IDC_DATA_LAMP3, IDB_LAMP_OFF), 0);
        // Someone else drives the data lines: the lamp shows it from the next tick on.
        p.sim.Out(0x378, 0xFF);
        p.rec.Clear();
    });
    p.ui.Then([&] { EXPECT_EQ(GrabDiff(p, IDC_DATA_LAMP3, IDB_LAMP_OFF), 0) << "no tick yet"; });
    p.ui.Sleep(afx::Duration(300));
    p.ui.Then([&] {
        EXPECT_FALSE(p.rec.Log().empty()) << "the tick read the port";
        EXPECT_EQ(GrabDiff(p, IDC_DATA_LAMP3, IDB_LAMP_ON), 0);
        EXPECT_EQ(GrabDiff(p, IDC_DATA_BIT3, IDB_BUTTON_CLEAR), 0) << "the face keeps the panel's own bit";
    });
    p.ui.Then([&] { QTest::keyClick(p.Widget(IDC_DATA_VALUE), Qt::Key_Escape); });
    p.Run();
    EXPECT_EQ(p.result, IDCANCEL);
}

TEST(PanelInputTest, TypingHexDigitsGivesTheUpperCaseByte)
{
    PanelRun p;
    p.ui.Then([&] { QTest::mouseClick(p.Widget(IDC_CONT_DATA), Qt::LeftButton, {}, Centre(p.Widget(IDC_CONT_DATA))); });
    // Back to the edit with Shift+Tab, which selects its text, and type over it.
    p.ui.Then([&] { QTest::keyClick(p.Frame()->focusWidget(), Qt::Key_Backtab, Qt::ShiftModifier); });
    p.ui.Then([&] {
        ASSERT_EQ(p.Frame()->focusWidget(), p.Widget(IDC_DATA_VALUE));
        EXPECT_EQ(static_cast<QLineEdit*>(p.Widget(IDC_DATA_VALUE))->selectedText(), QStringLiteral("AA"));
        p.rec.Clear();
        QTest::keyClicks(p.Frame()->focusWidget(), QStringLiteral("3c"));
    });
    p.ui.Then([&] {
        EXPECT_EQ(static_cast<QLineEdit*>(p.Widget(IDC_DATA_VALUE))->text(), QStringLiteral("3C"));
        EXPECT_EQ(p.Item(IDC_DATA_VALUE)->text, "3C");
        EXPECT_EQ(p.dlg.m_nDataByte, 0x3C);
        EXPECT_EQ(p.Writes(0x378), std::vector<int>{0x3C});
        // The edit keeps to the model's two characters.
        QTest::keyClick(p.Widget(IDC_DATA_VALUE), Qt::Key_End);
        QTest::keyClicks(p.Widget(IDC_DATA_VALUE), QStringLiteral("f"));
    });
    p.ui.Then([&] {
        EXPECT_EQ(static_cast<QLineEdit*>(p.Widget(IDC_DATA_VALUE))->text(), QStringLiteral("3C"));
        EXPECT_EQ(static_cast<QLineEdit*>(p.Widget(IDC_DATA_VALUE))->maxLength(), 2);
        QTest::keyClick(p.Widget(IDC_DATA_VALUE), Qt::Key_Escape);
    });
    p.Run();
}

// A digit typed over itself leaves the text as it was; it is still an edit, and the panel hears
// of it like of any other (with Continous on, the byte is written again).
TEST(PanelInputTest, RetypingTheSelectedDigitNotifiesThePanel)
{
    PanelRun p;
    p.ui.Then([&] { QTest::mouseClick(p.Widget(IDC_CONT_DATA), Qt::LeftButton, {}, Centre(p.Widget(IDC_CONT_DATA))); });
    p.ui.Then([&] { QTest::keyClick(p.Frame()->focusWidget(), Qt::Key_Backtab, Qt::ShiftModifier); });
    p.ui.Then([&] {
        auto* edit = static_cast<QLineEdit*>(p.Widget(IDC_DATA_VALUE));
        ASSERT_EQ(p.Frame()->focusWidget(), edit);
        ASSERT_EQ(edit->text(), QStringLiteral("AA"));
        edit->setSelection(1, 1);  // the second digit, as a user drags over it
        p.rec.Clear();
        QTest::keyClicks(edit, QStringLiteral("A"));
    });
    p.ui.Then([&] {
        EXPECT_EQ(static_cast<QLineEdit*>(p.Widget(IDC_DATA_VALUE))->text(), QStringLiteral("AA"));
        EXPECT_EQ(p.Writes(0x378), std::vector<int>{0xAA}) << "the panel handled the edit";
        QTest::keyClick(p.Widget(IDC_DATA_VALUE), Qt::Key_Escape);
    });
    p.Run();
}

int FocusedId(PanelRun& p)
{
    QWidget* focus = p.Frame()->focusWidget();
    for (auto& c : p.dlg.m_hWnd->children)
        if (p.ui.WidgetOf(c.get()) == focus)
            return c->id;
    return 0;
}

TEST(PanelInputTest, TabMovesTheFocusInTemplateOrder)
{
    const std::vector<int> order = {IDC_DATA_VALUE, IDC_CONT_DATA, IDC_SET_DATA, IDC_CONT_CTRL, IDC_SET_CTRL, IDOK, IDCANCEL,
                                    1012, 1013, 1014, 1015, 1016, 1017, 1018, 1019,
                                    1048, 1049, 1050, 1051, 1052, IDC_BASE_ADDR, IDC_DATA_VALUE};
    PanelRun p;
    std::vector<int> seen;
    p.ui.Sleep(afx::Duration(600));  // ticks exchange the data with the edit again and again
    p.ui.Then([&] {
        seen.push_back(FocusedId(p));
        EXPECT_EQ(static_cast<QLineEdit*>(p.Widget(IDC_DATA_VALUE))->selectedText(), QStringLiteral("AA")) << "focused by the keyboard, so selected";
    });
    for (std::size_t i = 1; i < order.size(); ++i) {
        p.ui.Then([&] { QTest::keyClick(p.Frame()->focusWidget(), Qt::Key_Tab); });
        p.ui.Then([&] {
            seen.push_back(FocusedId(p));
            EXPECT_EQ(p.dlg.m_hWnd->focus, p.Item(seen.back())) << "the model and the widgets agree";
        });
    }
    p.ui.Then([&] { QTest::keyClick(p.Frame()->focusWidget(), Qt::Key_Backtab, Qt::ShiftModifier); });
    p.ui.Then([&] { seen.push_back(FocusedId(p)); });
    p.ui.Then([&] { QTest::keyClick(p.Frame()->focusWidget(), Qt::Key_Escape); });
    p.Run();
    std::vector<int> want = order;
    want.push_back(IDC_BASE_ADDR);
    EXPECT_EQ(seen, want);
}

TEST(PanelInputTest, AMouseClickMovesTheModelFocus)
{
    PanelRun p;
    p.ui.Then([&] { QTest::keyClick(p.Widget(IDC_DATA_VALUE), Qt::Key_Tab); });
    p.ui.Then([&] {
        ASSERT_EQ(p.dlg.m_hWnd->focus, p.Item(IDC_CONT_DATA));
        QTest::mouseClick(p.Widget(IDC_DATA_VALUE), Qt::LeftButton);
    });
    p.ui.Then([&] {
        EXPECT_EQ(p.dlg.m_hWnd->focus, p.Item(IDC_DATA_VALUE));
        QTest::keyClick(p.Widget(IDC_DATA_VALUE), Qt::Key_Escape);
    });
    p.Run();
}

TEST(PanelInputTest, SpaceOnAFocusedButtonClicksItOnce)
{
    PanelRun p;
    // Tab from the edit to "Continous" (data row), then press the bar.
    p.ui.Then([&] { QTest::keyClick(p.Widget(IDC_DATA_VALUE), Qt::Key_Tab); });
    p.ui.Then([&] { QTest::keyClick(p.Widget(IDC_CONT_DATA), Qt::Key_Space); });
    p.ui.Then([&] {
        EXPECT_EQ(p.dlg.m_bContinuousData, 1);
        EXPECT_TRUE(static_cast<QAbstractButton*>(p.Widget(IDC_CONT_DATA))->isChecked());
        QTest::keyClick(p.Widget(IDC_CONT_DATA), Qt::Key_Escape);
    });
    p.Run();
}

// Only the framework ends the panel; each of these reaches it as input.
TEST(PanelInputTest, KeysAndTheCloseBoxEndThePanelThroughTheFramework)
{
    struct Case {
        const char* name;
        std::function<void(PanelRun&)> act;
        int result;
    };
    const Case cases[] = {
        {"Enter in the edit", [](PanelRun& p) { QTest::keyClick(p.Widget(IDC_DATA_VALUE), Qt::Key_Return); }, IDOK},
        {"keypad Enter", [](PanelRun& p) { QTest::keyClick(p.Widget(IDC_DATA_VALUE), Qt::Key_Enter, Qt::KeypadModifier); }, IDOK},
        {"Escape", [](PanelRun& p) { QTest::keyClick(p.Widget(IDC_DATA_VALUE), Qt::Key_Escape); }, IDCANCEL},
        {"Alt+F4", [](PanelRun& p) { QTest::keyClick(p.Widget(IDC_DATA_VALUE), Qt::Key_F4, Qt::AltModifier); }, IDCANCEL},
        {"close box", [](PanelRun& p) { EXPECT_FALSE(p.Frame()->close()) << "the window stays until the dialog ends"; }, IDCANCEL},
        {"Cancel clicked", [](PanelRun& p) { QTest::mouseClick(p.Widget(IDCANCEL), Qt::LeftButton); }, IDCANCEL},
        {"OK clicked", [](PanelRun& p) { QTest::mouseClick(p.Widget(IDOK), Qt::LeftButton); }, IDOK},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        PanelRun p;
        p.ui.Then([&] { c.act(p); });
        p.Run();
        EXPECT_EQ(p.result, c.result);
        EXPECT_TRUE(p.ui.Open().empty());
        int visible = 0;
        for (QWidget* w : QApplication::topLevelWidgets())
            visible += w->isVisible();
        EXPECT_EQ(visible, 0) << "the window is gone";
    }
}

TEST(PanelInputTest, AnEntryPickedFromTheDroppedListIsSelected)
{
    PanelRun p({0x278, 0x378});
    auto list = [&] { return static_cast<QComboBox*>(p.Widget(IDC_BASE_ADDR)); };
    p.ui.Then([&] {
        ASSERT_EQ(list()->count(), 2);
        EXPECT_EQ(list()->itemText(0), QStringLiteral("0x0278"));
        EXPECT_EQ(list()->itemText(1), QStringLiteral("0x0378"));
        EXPECT_EQ(list()->currentIndex(), -1) << "nothing saved, nothing selected";
        QTest::mouseClick(list(), Qt::LeftButton);  // focuses the list and drops it down
    });
    // Close it and drop it down again from the keyboard: Escape and F4 stay the list's own.
    p.ui.Then([&] {
        ASSERT_TRUE(list()->view()->isVisible());
        QTest::keyClick(list()->view(), Qt::Key_Escape);
    });
    p.ui.Then([&] {
        ASSERT_FALSE(list()->view()->isVisible());
        EXPECT_EQ(p.result, 0) << "Escape closed the list, not the panel";
        QTest::keyClick(list(), Qt::Key_F4);
    });
    p.ui.Then([&] {
        QAbstractItemView* view = list()->view();
        ASSERT_TRUE(view->isVisible());
        QPoint entry = view->visualRect(view->model()->index(1, 0)).center();
        QTest::mouseMove(view->viewport(), entry);  // the pointer comes to rest on the entry first
        QTest::mouseClick(view->viewport(), Qt::LeftButton, {}, entry);
    });
    p.ui.Then([&] {
        EXPECT_EQ(p.Item(IDC_BASE_ADDR)->sel, 1);
        EXPECT_EQ(std::string(p.dlg.m_strBaseAddr), "0x0378");
        EXPECT_EQ(p.dlg.m_nBaseAddr, 0x378);
        EXPECT_EQ(p.dlg.m_hWnd->focus, p.Item(IDC_BASE_ADDR)) << "clicked, so focused";
        // The arrow keys are the framework's list rule.
        QTest::keyClick(list(), Qt::Key_Up);
    });
    p.ui.Then([&] {
        EXPECT_EQ(list()->currentIndex(), 0);
        EXPECT_EQ(std::string(p.dlg.m_strBaseAddr), "0x0278");
        QTest::keyClick(list(), Qt::Key_Return);
    });
    p.Run();
    EXPECT_EQ(p.result, IDOK);
}

}  // namespace
}  // namespace qttest
