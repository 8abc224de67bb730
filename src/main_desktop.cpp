// vellix: the panel in a desktop window when a display can be opened, else in the terminal.
#include <cstdio>

#include "afx/winapp.h"
#include "cli/run.h"
#include "startup.h"
#include "ui/qt/qt_frontend_run.h"
#include "ui/term/term_frontend_run.h"

int main(int argc, char** argv)
{
    const cli::Program program{"vellix", [] { return vellix::InstallPortBus("vellix"); }, [argv] {
        if (ui::qt::DisplayAvailable())
            return ui::qt::RunApplication(argv[0]);
        if (ui::term::TerminalAvailable())
            return ui::term::RunApplication();
        std::fprintf(stderr, "vellix: no display to open a window on (DISPLAY and WAYLAND_DISPLAY are unset or "
                             "unreachable) and no terminal on standard input and output\n");
        return 1;
    }};
    return cli::Run(program, argc, argv, stdout, stderr);
}
