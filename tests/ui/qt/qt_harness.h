// A dialog run in real Qt widgets on the offscreen platform, driven by a script of user steps.
// Each step runs when the framework's loop waits, i.e. once everything queued is handled; time
// is a virtual clock that only Sleep moves, so timer ticks come exactly when a script says.
#pragma once

#include <QImage>
#include <QWidget>
#include <deque>
#include <functional>
#include <variant>
#include <vector>

#include "app/LptApp.h"
#include "io/recording_bus.h"
#include "io/simulated_port.h"
#include "panel/LptPanelDlg.h"
#include "support/panel_session.h"
#include "ui/qt/qt_frontend.h"

namespace qttest {

// The one QApplication of the test program, on the offscreen platform.
void EnsureApplication();

class ScriptedQt : public ui::qt::QtFrontend {
public:
    ScriptedQt();
    ~ScriptedQt() override;

    void Then(std::function<void()> step);
    // Lets virtual time pass, with every timer that falls due in it delivered on time.
    void Sleep(afx::Duration d);

    // Top-level windows open now, in the order they were created.
    const std::vector<afx::Window*>& Open() const { return m_open; }
    afx::Window* Active() const { return m_open.empty() ? nullptr : m_open.back(); }
    bool ScriptDone() const { return m_script.empty(); }

    bool Created(afx::Window* top) override;
    void Destroyed(afx::Window* top) override;
    void Wait(afx::Duration limit) override;
    afx::Duration Now() override { return m_now; }

private:
    using Step = std::variant<std::function<void()>, afx::Duration>;
    std::deque<Step> m_script;
    afx::Duration m_now{0};
    std::vector<afx::Window*> m_open;
    int m_overruns = 0;
    afx::Frontend* m_previous;
};

// The register panel against a recorded simulated port at 0x378, with the application object
// that makes it the main window (the owner of its about box).
struct PanelRun {
    explicit PanelRun(std::vector<std::uint16_t> bases = {0x378}) : sim(std::move(bases)) {}
    ~PanelRun();

    struct Application {
        Application() { EnsureApplication(); }
    } qt;  // first: every widget below needs it
    testsupport::TempWorkDir dir;  // no config.ovm of the developer's is read or written
    CLptApp app;
    ScriptedQt ui;
    io::SimulatedPort sim;
    io::RecordingBus rec{sim};
    CLptPanelDlg dlg;
    int result = 0;

    void Run();
    HWND Item(int id) const { return dlg.GetDlgItem(id); }
    QWidget* Widget(int id) const { return ui.WidgetOf(Item(id)); }
    QWidget* Frame() const { return ui.WidgetOf(dlg.m_hWnd); }
    // Writes to one port number, in order.
    std::vector<int> Writes(std::uint16_t port) const;
};

// The resource bitmap a control shows in the model, or null.
const res::Bitmap* ModelBitmap(const afx::Window* ctl);
// How many pixels of `grab` at `origin` differ from the bitmap (0 when they match exactly).
int PixelsDiffering(const QImage& grab, QPoint origin, const res::Bitmap& bitmap);

}  // namespace qttest
