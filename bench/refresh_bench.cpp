// One refresh of the panel (the tick handler with its lamp repaint) in the window model, with
// the headless front-end: the whole steady load of the program.
#include <benchmark/benchmark.h>

#include "afx/headless.h"
#include "all_lamps_flip.h"
#include "io/simulated_port.h"
#include "panel/LptPanelDlg.h"
#include "port/portio.h"

namespace {

// Exposes the tick handler so that it can be timed without the loop around it.
class TimedPanel : public CLptPanelDlg {
public:
    using CLptPanelDlg::OnTimer;
};

void RunInsidePanel(benchmark::State& state, bool lampsChange)
{
    io::SimulatedPort sim;
    port::InstallBus(&sim);
    afx::HeadlessFrontend ui;
    TimedPanel dlg;
    ui.Then([&] {
        int i = 0;
        for (auto _ : state) {
            if (lampsChange)
                bench::SetLampState(sim, dlg, (i++ & 1) != 0);
            dlg.OnTimer(1);
        }
    });
    dlg.DoModal();
    port::InstallBus(nullptr);
}

void Refresh_Headless_Steady(benchmark::State& state) { RunInsidePanel(state, false); }
BENCHMARK(Refresh_Headless_Steady);

void Refresh_Headless_Changing(benchmark::State& state) { RunInsidePanel(state, true); }
BENCHMARK(Refresh_Headless_Changing);

}  // namespace

BENCHMARK_MAIN();
