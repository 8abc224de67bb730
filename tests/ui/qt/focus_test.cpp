// Keyboard focus shows on every kind of control that takes it, in every style: a keyboard user
// must see which control Space or Enter will reach. Fusion draws no focus on buttons and check
// boxes, and no style marks a button that draws only an image.
#include <QApplication>
#include <QStyle>
#include <QStyleFactory>
#include <gtest/gtest.h>
#include <memory>

#include "afx/input.h"
#include "qt_harness.h"
#include "res/resources.h"

namespace qttest {
namespace {

// Puts the application's style back however the test ends.
class StyleFor {
public:
    explicit StyleFor(const QString& name) : m_saved((EnsureApplication(), QApplication::style()->name()))
    {
        QApplication::setStyle(QStyleFactory::create(name));
    }
    ~StyleFor() { QApplication::setStyle(QStyleFactory::create(m_saved)); }

private:
    QString m_saved;
};

TEST(FocusTest, EveryFocusableKindLooksDifferentWhenFocused)
{
    struct Kind { const char* name; int id; };
    const Kind kinds[] = {
        {"check box", IDC_CONT_DATA},  {"push button", IDC_SET_DATA}, {"default push button", IDOK},
        {"bit button", IDC_DATA_BIT0}, {"drop-down list", IDC_BASE_ADDR}, {"edit", IDC_DATA_VALUE},
    };
    for (const char* style : {"Fusion", "Windows"}) {
        StyleFor look(style);
        PanelRun p;
        for (const Kind& k : kinds) {
            // Away from it (the Cancel button, or the edit for Cancel's own neighbours), then to it.
            int elsewhere = k.id == IDC_DATA_VALUE ? IDCANCEL : IDC_DATA_VALUE;
            QImage before, after;
            p.ui.Then([&] {
                p.Frame()->activateWindow();
                QApplication::setActiveWindow(p.Frame());
                afx::input::Focus(p.Item(elsewhere));
            });
            p.ui.Then([&] {
                before = p.Widget(k.id)->grab().toImage();
                afx::input::Focus(p.Item(k.id));
            });
            p.ui.Then([&] {
                EXPECT_TRUE(p.Widget(k.id)->hasFocus()) << style << ", " << k.name;
                after = p.Widget(k.id)->grab().toImage();
                EXPECT_NE(before, after) << style << ": a focused " << k.name << " looks as it did unfocused";
            });
        }
        p.ui.Then([&] { afx::input::Key(p.dlg.m_hWnd, VK_ESCAPE); });
        p.Run();
    }
}

}  // namespace
}  // namespace qttest
