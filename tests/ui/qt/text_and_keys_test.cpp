// Single-byte text between the model and the widgets, and which keys go to the framework.
#include <QKeyEvent>
#include <QLineEdit>
#include <QtTest/QTest>
#include <gtest/gtest.h>

#include "afx/dialog.h"
#include "afx/input.h"
#include "afx/msgloop.h"
#include "qt_harness.h"
#include "res/styles.h"
#include "ui/qt/control_factory.h"
#include "ui/qt/key_filter.h"
#include "ui/qt/latin1.h"

namespace qttest {
namespace {

TEST(Latin1Test, TypedCharactersBecomeOneByteEach)
{
    struct Case { QString typed; std::string bytes; };
    const Case cases[] = {
        {QStringLiteral("3c"), "3c"},
        {QString::fromUtf8("\xC3\xA9\xC2\xB5"), "\xE9\xB5"},  // é µ
        {QString::fromUtf8("a\xE2\x82\xAC"), "a?"},           // a €
        {QString::fromUtf8("\xF0\x9F\x98\x80" "1"), "?1"},    // one character beyond the basic plane
        {QString(), ""},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(ui::qt::ToModel(c.typed), c.bytes) << c.typed.toStdString();
        if (c.bytes.find('?') == std::string::npos) {
            EXPECT_EQ(ui::qt::FromModel(c.bytes), c.typed) << "and back";
        }
    }
}

TEST(Latin1Test, StaticTextsHideTheAccessKeyMarkUnlessTheyHaveNoPrefix)
{
    struct Case { const char* text; DWORD style; const char* shown; };
    const Case cases[] = {
        {"&About", 0, "About"},
        {"Fish && Chips", 0, "Fish & Chips"},
        {"R&&D", 0x80, "R&&D"},  // SS_NOPREFIX
        {"Busy(11)", 0, "Busy(11)"},
    };
    for (const Case& c : cases) {
        afx::Window w;
        w.kind = afx::Kind::StaticText;
        w.text = c.text;
        w.style = c.style;
        EXPECT_EQ(ui::qt::StaticText(w), QString::fromLatin1(c.shown)) << c.text;
    }
}

// A dialog with one edit and no handlers, built at run time.
constexpr res::ControlItem kEditOnly[] = {
    {100, res::ControlKind::Edit, res::styles::kChild | res::styles::kWsTabStop | res::styles::kWsBorder, "", {10, 10, 80, 14}, 0},
};
const res::DialogTemplate kEditDialog{1, "Edit", res::styles::kWsPopup | res::styles::kWsCaption | res::styles::kWsSysMenu, 0,
                                      {0, 0, 100, 40}, "MS Sans Serif", 8, kEditOnly};

TEST(Latin1Test, TheEditTypesAndShowsBytes)
{
    PanelRun p;  // application, scratch directory
    CDialog dlg(kEditDialog);
    auto edit = [&] { return static_cast<QLineEdit*>(p.ui.WidgetOf(dlg.GetDlgItem(100))); };
    p.ui.Then([&] {
        for (QString typed : {QStringLiteral("a"), QString::fromUtf8("\xC3\xA9"), QString::fromUtf8("\xE2\x82\xAC")})  // a é €
            QTest::sendKeyEvent(QTest::Click, edit(), Qt::Key_unknown, typed, Qt::NoModifier);
    });
    p.ui.Then([&] {
        EXPECT_EQ(dlg.GetDlgItem(100)->text, "a\xE9?");
        afx::SendMessage(dlg.GetDlgItem(100), WM_SETTEXT, 0, reinterpret_cast<LPARAM>("\xB5" "5"));
        EXPECT_EQ(edit()->text(), QString::fromUtf8("\xC2\xB5" "5"));
        QTest::keyClick(edit(), Qt::Key_Escape);
    });
    EXPECT_EQ(dlg.DoModal(), IDCANCEL);
}

TEST(KeyRoutingTest, AltWithACharacterLeavesTheFieldAsItWas)
{
    PanelRun p;
    CDialog dlg(kEditDialog);
    auto edit = [&] { return static_cast<QLineEdit*>(p.ui.WidgetOf(dlg.GetDlgItem(100))); };
    p.ui.Then([&] { QTest::keyClicks(edit(), "AA"); });
    p.ui.Then([&] {
        // As a window system sends them: with the character the key would type.
        QTest::sendKeyEvent(QTest::Click, edit(), Qt::Key_D, QStringLiteral("d"), Qt::AltModifier);
        QTest::sendKeyEvent(QTest::Click, edit(), Qt::Key_C, QStringLiteral("c"), Qt::AltModifier);
        QTest::sendKeyEvent(QTest::Click, edit(), Qt::Key_Period, QStringLiteral("."), Qt::AltModifier);
    });
    p.ui.Then([&] {
        EXPECT_EQ(dlg.GetDlgItem(100)->text, "AA");
        EXPECT_EQ(edit()->text(), QStringLiteral("AA"));
        QTest::keyClick(edit(), Qt::Key_Escape);
    });
    EXPECT_EQ(dlg.DoModal(), IDCANCEL);
}

TEST(KeyRoutingTest, DialogKeysGoToTheFrameworkAndEditingKeysStay)
{
    EnsureApplication();  // key events belong to the application's keyboard
    struct Case {
        Qt::Key key;
        Qt::KeyboardModifiers mods;
        afx::Kind receiver;
        UINT vk;
        bool blank;
    };
    using K = afx::Kind;
    const Case cases[] = {
        {Qt::Key_Tab, Qt::NoModifier, K::Edit, VK_TAB, false},
        {Qt::Key_Backtab, Qt::ShiftModifier, K::PushButton, VK_TAB, false},
        {Qt::Key_Return, Qt::NoModifier, K::Edit, VK_RETURN, false},
        {Qt::Key_Enter, Qt::KeypadModifier, K::Edit, VK_RETURN, false},
        {Qt::Key_Escape, Qt::NoModifier, K::DropDownList, VK_ESCAPE, false},
        {Qt::Key_F1, Qt::NoModifier, K::BitmapButton, VK_F1, false},
        {Qt::Key_F10, Qt::NoModifier, K::Dialog, VK_F10, false},
        {Qt::Key_F4, Qt::AltModifier, K::Edit, VK_F4, false},
        {Qt::Key_F4, Qt::NoModifier, K::DropDownList, 0, false},  // the list drops down
        {Qt::Key_Space, Qt::AltModifier, K::Edit, VK_SPACE, false},
        {Qt::Key_Space, Qt::NoModifier, K::BitmapButton, 0, true},
        {Qt::Key_Space, Qt::NoModifier, K::AutoCheckBox, 0, true},
        {Qt::Key_Space, Qt::NoModifier, K::Edit, 0, false},  // typed into the text
        {Qt::Key_Space, Qt::NoModifier, K::DropDownList, 0, false},  // the list drops down
        {Qt::Key_Down, Qt::NoModifier, K::DropDownList, VK_DOWN, false},
        {Qt::Key_Up, Qt::NoModifier, K::DropDownList, VK_UP, false},
        {Qt::Key_Home, Qt::NoModifier, K::DropDownList, VK_HOME, false},
        {Qt::Key_End, Qt::NoModifier, K::DropDownList, VK_END, false},
        {Qt::Key_Down, Qt::AltModifier, K::DropDownList, 0, false},  // the list drops down
        {Qt::Key_Left, Qt::NoModifier, K::Edit, 0, false},
        {Qt::Key_Home, Qt::NoModifier, K::Edit, 0, false},
        {Qt::Key_A, Qt::NoModifier, K::Edit, 0, false},
        // Alt with a letter or digit: the framework's access-key rule, never typed.
        {Qt::Key_D, Qt::AltModifier, K::Edit, 'D', false},
        {Qt::Key_7, Qt::AltModifier, K::Edit, '7', false},
        {Qt::Key_O, Qt::AltModifier | Qt::ShiftModifier, K::BitmapButton, 'O', false},
        {Qt::Key_Tab, Qt::ControlModifier, K::Edit, 0, false},
    };
    for (const Case& c : cases) {
        QKeyEvent e(QEvent::KeyPress, c.key, c.mods);
        ui::qt::RoutedKey r = ui::qt::RouteKey(e, c.receiver);
        EXPECT_EQ(r.vk, c.vk) << "key " << c.key << " mods " << c.mods.toInt() << " on kind " << static_cast<int>(c.receiver);
        EXPECT_EQ(r.blank, c.blank) << "key " << c.key << " on kind " << static_cast<int>(c.receiver);
    }
}

}  // namespace
}  // namespace qttest
