// vellix: the panel in a desktop window when a display can be opened, else in the terminal.
#include <cstdio>
#include <unistd.h>

#include "afx/winapp.h"
#include "startup.h"
#include "ui/qt/qt_frontend_run.h"
#include "ui/term/term_frontend_run.h"

int main(int argc, char** argv)
{
    (void)argc;  // the program takes nothing from its command line
    auto bus = vellix::InstallPortBus();
    if (ui::qt::DisplayAvailable())
        return ui::qt::RunApplication(argv[0]);
    if (ui::term::TerminalAvailable())
        return ui::term::RunApplication();
    std::fprintf(stderr, "vellix: no display to open a window on (DISPLAY and WAYLAND_DISPLAY are unset or unreachable) "
                         "and no terminal on standard input and output\n");
    return 1;
}
