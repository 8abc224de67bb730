// One refresh of the panel in the real Qt front-end on the offscreen platform, against the
// simulated port. What one iteration counts: the tick handler (port reads, lamp images set in
// the window model, data exchange), the Qt widgets told of each changed image, and one pass of
// Qt's event processing, in which the changed widgets paint into the window's backing store and
// the backing store is flushed to the platform. The lamp_paints counter (paint events of lamps
// per iteration) shows that the repaint really happened inside the timed loop.
#include <benchmark/benchmark.h>

#include <QApplication>
#include <QEvent>
#include <QObject>
#include <QWidget>

#include "all_lamps_flip.h"
#include "io/simulated_port.h"
#include "panel/LptPanelDlg.h"
#include "port/portio.h"
#include "qt_step_frontend.h"
#include "ui/qt/widgets.h"

namespace {

// Exposes the tick handler so that it can be timed without the loop around it.
class TimedPanel : public CLptPanelDlg {
public:
    using CLptPanelDlg::OnTimer;
};

// Counts paint events that reach the lamps.
class PaintCounter : public QObject {
public:
    long long paints = 0;

protected:
    bool eventFilter(QObject* watched, QEvent* event) override
    {
        if (event->type() == QEvent::Paint)
            ++paints;
        return QObject::eventFilter(watched, event);
    }
};

void RefreshInQt(benchmark::State& state, bool lampsChange)
{
    io::SimulatedPort sim;
    port::InstallBus(&sim);
    TimedPanel dlg;
    PaintCounter counter;
    bench::QtStepFrontend ui([&] {
        QWidget* frame = ui.WidgetOf(dlg.m_hWnd);
        if (!frame) {
            state.SkipWithError("the panel has no Qt window");
            return;
        }
        // ImageWidget has no meta-object of its own, so it is told apart from other widgets by type.
        for (QWidget* w : frame->findChildren<QWidget*>())
            if (dynamic_cast<ui::qt::ImageWidget*>(w))
                w->installEventFilter(&counter);
        // The first frame is painted before the clock starts.
        for (int i = 0; i < 3; ++i)
            QCoreApplication::processEvents();
        counter.paints = 0;
        int i = 0;
        for (auto _ : state) {
            if (lampsChange)
                bench::SetLampState(sim, dlg, (i++ & 1) != 0);
            dlg.OnTimer(1);
            QCoreApplication::processEvents();
        }
        state.counters["lamp_paints"] =
            benchmark::Counter(static_cast<double>(counter.paints), benchmark::Counter::kAvgIterations);
    });
    dlg.DoModal();
    port::InstallBus(nullptr);
}

void Refresh_Qt_Steady(benchmark::State& state) { RefreshInQt(state, false); }
BENCHMARK(Refresh_Qt_Steady);

void Refresh_Qt_Changing(benchmark::State& state) { RefreshInQt(state, true); }
BENCHMARK(Refresh_Qt_Changing);

}  // namespace

int main(int argc, char** argv)
{
    // Real widgets, never on the developer's screen.
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    QApplication::setQuitOnLastWindowClosed(false);  // as the program has it
    benchmark::Initialize(&argc, argv);
    if (benchmark::ReportUnrecognizedArguments(argc, argv))
        return 1;
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
