// vellix: the panel in a desktop window when a display can be opened, else in the terminal.
#include <cstdio>
#include <utility>

#include "cli/run.h"
#include "cli/std_streams.h"
#include "cli/startup.h"
#include "ui/qt/display_probe.h"
#include "ui/qt/qt_frontend_run.h"
#include "ui/term/term_frontend_run.h"

int main(int argc, char** argv)
{
    cli::OpenClosedStandardStreams();
    const cli::Program program{"vellix", [] { return cli::InstallPortBus("vellix"); }, [argv] {
        ui::qt::DisplayChoice display = ui::qt::ChooseDisplay();
        if (!display.platform.empty())
            return ui::qt::RunApplication(argv[0], std::move(display));
        // A display that is there but refuses us is worth a word; no display at all is the
        // terminal's ordinary case.
        if (ui::term::TerminalAvailable()) {
            if (!display.problem.empty())
                std::fprintf(stderr, "vellix: %s; using the terminal\n", display.problem.c_str());
            return ui::term::RunApplication();
        }
        if (display.problem.empty())
            std::fprintf(stderr, "vellix: no display to open a window on (DISPLAY and WAYLAND_DISPLAY are unset) "
                                 "and no terminal on standard input and output\n");
        else
            std::fprintf(stderr, "vellix: %s, and there is no terminal on standard input and output\n",
                         display.problem.c_str());
        return 1;
    }, [](const io::ChooseOptions& options) { return cli::ChooseBusFor("vellix", options); }};
    return cli::Run(program, argc, argv, stdout, stderr);
}
