// Fixed-size windows (the panel, the about box, message boxes) offer no maximize, and a request
// for a maximized or full-screen state, from a title bar or a window manager, is refused: the
// window keeps its size and the dialog keeps running.
#include <QApplication>
#include <QMessageBox>
#include <QTimer>
#include <QWindow>
#include <gtest/gtest.h>

#include "afx/input.h"
#include "qt_harness.h"
#include "res/resource.h"
#include "ui/qt/fixed_size_windows.h"

namespace {

using qttest::PanelRun;

// What a title bar's maximize button does: toggle the state on the native window.
void AskFor(QWidget* top, Qt::WindowState state)
{
    QWindow* window = top->windowHandle();
    ASSERT_NE(window, nullptr);
    window->setWindowStates(window->windowStates() ^ state);
}

void ExpectFixed(QWidget* top, QSize size, const char* what)
{
    EXPECT_FALSE(top->windowFlags() & Qt::WindowMaximizeButtonHint) << what;
    EXPECT_FALSE(top->windowFlags() & Qt::WindowFullscreenButtonHint) << what;
    EXPECT_EQ(top->minimumSize(), top->maximumSize()) << what << ": fixed size";
    EXPECT_EQ(top->size(), size) << what;
    EXPECT_FALSE(top->windowHandle()->windowStates() & (Qt::WindowMaximized | Qt::WindowFullScreen)) << what;
}

TEST(FixedSizeTest, MaximizeAndFullScreenRequestsAreRefusedByThePanelAndTheAboutBox)
{
    PanelRun p;
    ui::qt::FixedSizeWindows guard;
    qApp->installEventFilter(&guard);
    QSize panel, about;
    QWidget* box = nullptr;
    for (Qt::WindowState state : {Qt::WindowMaximized, Qt::WindowFullScreen}) {
        p.ui.Then([&, state] {
            panel = p.Frame()->size();
            ExpectFixed(p.Frame(), panel, "panel before");
            AskFor(p.Frame(), state);
        });
        p.ui.Then([] {});  // the refusal is queued behind the request
        p.ui.Then([&] { ExpectFixed(p.Frame(), panel, "panel after"); });
    }
    p.ui.Then([&] { afx::input::SysCommand(p.dlg.m_hWnd, IDM_ABOUT); });
    p.ui.Then([&] {
        ASSERT_EQ(p.ui.Open().size(), 2u);
        box = p.ui.WidgetOf(p.ui.Active());
        about = box->size();
        ExpectFixed(box, about, "about box before");
        AskFor(box, Qt::WindowMaximized);
    });
    p.ui.Then([] {});
    p.ui.Then([&] {
        ExpectFixed(box, about, "about box after");
        afx::input::Close(p.ui.Active());
    });
    p.ui.Then([&] {
        EXPECT_EQ(p.ui.Open().size(), 1u);
        // Minimizing is allowed and ends nothing.
        AskFor(p.Frame(), Qt::WindowMinimized);
    });
    p.ui.Then([&] {
        EXPECT_TRUE(p.dlg.m_hWnd->minimized);
        p.Frame()->showNormal();
    });
    p.ui.Then([&] { afx::input::Close(p.dlg.m_hWnd); });
    p.Run();
    EXPECT_EQ(p.result, IDCANCEL) << "only closing ended the panel";
    qApp->removeEventFilter(&guard);
}

TEST(FixedSizeTest, AMessageBoxKeepsItsSizeToo)
{
    qttest::EnsureApplication();
    ui::qt::FixedSizeWindows guard;
    qApp->installEventFilter(&guard);
    QMessageBox box(QMessageBox::Warning, "Vellix", "config.ovm could not be written");
    bool checked = false;
    QTimer::singleShot(0, [&] {
        QSize size = box.size();
        ExpectFixed(&box, size, "message box before");
        AskFor(&box, Qt::WindowMaximized);
        QTimer::singleShot(50, [&, size] {
            ExpectFixed(&box, size, "message box after");
            checked = true;
            box.accept();
        });
    });
    box.exec();
    EXPECT_TRUE(checked);
    qApp->removeEventFilter(&guard);
}

}  // namespace
