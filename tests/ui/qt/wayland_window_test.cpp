// The panel in real windows on a Wayland compositor (run by tests/e2e/wayland_e2e.sh in a
// headless weston): what Qt's title bar offers there must not end the program. Its maximize
// button asks the compositor for a maximized state, which a fixed-size window would fail to
// obey, and the compositor would then disconnect us. A size imposed on the window is undone.
// Minimizing keeps the panel running, and closing, as the title bar's close button does it, ends
// the dialog as Cancel.
#include <QApplication>
#include <QTimer>
#include <QWidget>
#include <QWindow>
#include <functional>
#include <gtest/gtest.h>
#include <iostream>
#include <vector>

#include "afx/input.h"
#include "app/LptApp.h"
#include "io/simulated_port.h"
#include "panel/LptPanelDlg.h"
#include "port/portio.h"
#include "res/resource.h"
#include "support/temp_dir.h"
#include "ui/qt/fixed_size_windows.h"
#include "ui/qt/qt_frontend.h"

namespace {

constexpr Qt::WindowStates kLarge = Qt::WindowMaximized | Qt::WindowFullScreen;

// Steps on the real clock, each `gap` after the one before: the compositor answers in its time.
class Steps {
public:
    void Then(std::function<void()> step) { m_steps.push_back(std::move(step)); }
    void Start(int gapMs)
    {
        for (std::size_t i = 0; i < m_steps.size(); ++i)
            QTimer::singleShot(static_cast<int>(i + 1) * gapMs, qApp, [this, i] { m_steps[i](); ++m_done; });
    }
    std::size_t Done() const { return m_done; }
    std::size_t Count() const { return m_steps.size(); }

private:
    std::vector<std::function<void()>> m_steps;
    std::size_t m_done = 0;
};

void Toggle(QWidget* top, Qt::WindowState state)
{
    top->windowHandle()->setWindowStates(top->windowHandle()->windowStates() ^ state);
}

TEST(WaylandWindowTest, TitleBarRequestsLeaveThePanelAndTheAboutBoxRunningAtTheirSize)
{
    ui::qt::FixedSizeWindows guard;
    qApp->installEventFilter(&guard);
    ui::qt::QtFrontend ui;
    afx::Frontend* previous = afx::CurrentFrontend();
    afx::InstallFrontend(&ui);
    testsupport::TempWorkDir dir;
    io::SimulatedPort sim({0x378});
    port::InstallBus(&sim);
    CLptApp app;
    CLptPanelDlg dlg;
    app.m_pMainWnd = &dlg;

    QWidget* panel = nullptr;
    QWidget* box = nullptr;
    QSize panelSize, boxSize;
    auto expectAsBefore = [](QWidget* top, QSize size, const char* what) {
        EXPECT_EQ(top->size(), size) << what;
        EXPECT_EQ(top->minimumSize(), size) << what << ": the size is fixed again";
        EXPECT_EQ(top->maximumSize(), size) << what;
        EXPECT_FALSE(top->windowHandle()->windowStates() & kLarge) << what;
        EXPECT_TRUE(top->isVisible()) << what;
    };
    Steps steps;
    steps.Then([&] {
        panel = ui.WidgetOf(dlg.m_hWnd);
        ASSERT_NE(panel, nullptr);
        panelSize = panel->size();
        EXPECT_EQ(panel->minimumSize(), panel->maximumSize());
        Toggle(panel, Qt::WindowMaximized);
    });
    steps.Then([&] {
        expectAsBefore(panel, panelSize, "panel after maximize");
        Toggle(panel, Qt::WindowFullScreen);
    });
    steps.Then([&] {
        expectAsBefore(panel, panelSize, "panel after full screen");
        // A size given to the native window, as a compositor gives it at the end of a drag on
        // the frame's edge: the panel takes its own size back.
        panel->windowHandle()->resize(panelSize + QSize(120, 80));
    });
    steps.Then([&] {
        expectAsBefore(panel, panelSize, "panel after a larger size was imposed");
        afx::input::SysCommand(dlg.m_hWnd, IDM_ABOUT);
    });
    steps.Then([&] {
        ASSERT_TRUE(ui.WidgetOf(dlg.m_hWnd));
        for (QWidget* w : QApplication::topLevelWidgets())
            if (w != panel && w->isVisible() && w->windowTitle() == "About Vellix")
                box = w;
        ASSERT_NE(box, nullptr) << "the about box opened";
        boxSize = box->size();
        Toggle(box, Qt::WindowMaximized);
    });
    steps.Then([&] {
        expectAsBefore(box, boxSize, "about box after maximize");
        box->windowHandle()->close();  // the close button: the box ends, the panel stays
    });
    steps.Then([&] {
        EXPECT_TRUE(panel->isVisible());
        Toggle(panel, Qt::WindowMinimized);
    });
    steps.Then([&] {
        EXPECT_TRUE(dlg.m_hWnd) << "minimized, the panel runs on";
        panel->windowHandle()->close();  // the close button, as the compositor's close
    });
    steps.Start(1500);
    int result = dlg.DoModal();
    EXPECT_EQ(result, IDCANCEL);
    EXPECT_EQ(steps.Done(), steps.Count()) << "the panel ended before the last step";

    app.m_pMainWnd = nullptr;
    port::InstallBus(nullptr);
    afx::InstallFrontend(previous);
    qApp->removeEventFilter(&guard);
}

}  // namespace

int main(int argc, char** argv)
{
    QApplication app(argc, argv);
    QApplication::setQuitOnLastWindowClosed(false);
    if (!QGuiApplication::platformName().startsWith("wayland")) {
        std::cout << "SKIP: not on Wayland (" << QGuiApplication::platformName().toStdString() << ")\n";
        return 77;
    }
    testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}
