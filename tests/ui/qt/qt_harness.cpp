#include "qt_harness.h"

#include <QApplication>
#include <QCoreApplication>
#include <cstdlib>
#include <memory>
#include <gtest/gtest.h>

#include "afx/input.h"
#include "port/portio.h"

namespace qttest {

namespace {

int g_argc = 1;
char g_name[] = "ui_qt_tests";
char* g_argv[] = {g_name, nullptr};

// Owns the application for the whole run and ends it before the program's static objects go,
// which Qt needs.
class QtEnvironment : public testing::Environment {
public:
    QApplication& App()
    {
        if (!m_app) {
            // Real widgets, but never on the developer's screen.
            qputenv("QT_QPA_PLATFORM", "offscreen");
            m_app = std::make_unique<QApplication>(g_argc, g_argv);
            QApplication::setQuitOnLastWindowClosed(false);  // as the program has it
        }
        return *m_app;
    }
    void TearDown() override { m_app.reset(); }

private:
    std::unique_ptr<QApplication> m_app;
};

QtEnvironment* const g_qt = static_cast<QtEnvironment*>(testing::AddGlobalTestEnvironment(new QtEnvironment));

}  // namespace

void EnsureApplication() { g_qt->App(); }

ScriptedQt::ScriptedQt() : m_previous(afx::CurrentFrontend()) { afx::InstallFrontend(this); }

ScriptedQt::~ScriptedQt() { afx::InstallFrontend(m_previous); }

void ScriptedQt::Then(std::function<void()> step) { m_script.emplace_back(std::move(step)); }

void ScriptedQt::Sleep(afx::Duration d) { m_script.emplace_back(d); }

bool ScriptedQt::Created(afx::Window* top)
{
    if (!QtFrontend::Created(top))
        return false;
    m_open.push_back(top);
    return true;
}

void ScriptedQt::Destroyed(afx::Window* top)
{
    std::erase(m_open, top);
    QtFrontend::Destroyed(top);
}

void ScriptedQt::Wait(afx::Duration limit)
{
    ShowPendingWindows();
    QtFrontend::Wait(afx::Duration::zero());
    if (m_script.empty()) {
        // A script that ends with a window open closes it, as a user leaving would.
        if (++m_overruns > 50)
            std::abort();
        ADD_FAILURE() << "the script ended while a window was still open";
        if (Active())
            afx::input::Close(Active());
        return;
    }
    Step& step = m_script.front();
    if (auto* d = std::get_if<afx::Duration>(&step)) {
        afx::Duration advance = std::min(*d, limit);
        m_now += advance;
        *d -= advance;
        if (*d <= afx::Duration::zero())
            m_script.pop_front();
        return;
    }
    auto fn = std::move(std::get<std::function<void()>>(step));
    m_script.pop_front();
    fn();
    // What the step did to the widgets reaches the framework before the next step.
    QtFrontend::Wait(afx::Duration::zero());
}

PanelRun::~PanelRun() { port::InstallBus(nullptr); }

void PanelRun::Run()
{
    port::InstallBus(&rec);
    app.m_pMainWnd = &dlg;
    result = dlg.DoModal();
    app.m_pMainWnd = nullptr;
    port::InstallBus(nullptr);
    EXPECT_TRUE(ui.ScriptDone()) << "the panel closed before the script ended";
}

std::vector<int> PanelRun::Writes(std::uint16_t port) const { return testsupport::WritesIn(rec, port); }

const res::Bitmap* ModelBitmap(const afx::Window* ctl)
{
    return ctl && ctl->image ? ctl->image->bitmap : nullptr;
}

int PixelsDiffering(const QImage& grab, QPoint origin, const res::Bitmap& bitmap)
{
    int differing = 0;
    for (int y = 0; y < bitmap.height; ++y)
        for (int x = 0; x < bitmap.width; ++x) {
            res::Rgb want = bitmap.At(x, y);
            QRgb got = grab.pixel(origin.x() + x, origin.y() + y);
            if (qRed(got) != want.r || qGreen(got) != want.g || qBlue(got) != want.b)
                ++differing;
        }
    return differing;
}

}  // namespace qttest
