// Keyboard focus shows on every kind of control that takes it, in every style: a keyboard user
// must see which control Space or Enter will reach. Fusion draws no focus on buttons and check
// boxes, and no style marks a button that draws only an image.
#include <QApplication>
#include <QStyle>
#include <QStyleFactory>
#include <gtest/gtest.h>
#include <iterator>
#include <vector>

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
        // The steps run once the loop below has queued them all: each keeps its own copies.
        std::vector<QImage> unfocused(std::size(kinds));
        for (std::size_t i = 0; i < std::size(kinds); ++i) {
            const Kind k = kinds[i];
            // Away from it (to the edit, or to Cancel for the edit itself), then to it.
            int elsewhere = k.id == IDC_DATA_VALUE ? IDCANCEL : IDC_DATA_VALUE;
            p.ui.Then([&p, elsewhere] {
                p.Frame()->activateWindow();
                QApplication::setActiveWindow(p.Frame());
                afx::input::Focus(p.Item(elsewhere));
            });
            p.ui.Then([&p, &unfocused, i, k] {
                unfocused[i] = p.Widget(k.id)->grab().toImage();
                afx::input::Focus(p.Item(k.id));
            });
            p.ui.Then([&p, &unfocused, i, k, style] {
                EXPECT_TRUE(p.Widget(k.id)->hasFocus()) << style << ", " << k.name;
                EXPECT_NE(unfocused[i], p.Widget(k.id)->grab().toImage())
                    << style << ": a focused " << k.name << " looks as it did unfocused";
            });
        }
        p.ui.Then([&] { afx::input::Key(p.dlg.m_hWnd, VK_ESCAPE); });
        p.Run();
    }
}

}  // namespace
}  // namespace qttest
