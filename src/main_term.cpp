// vellix-term: the panel in the terminal, always.
#include <cstdio>

#include "startup.h"
#include "ui/term/term_frontend_run.h"

int main()
{
    auto bus = vellix::InstallPortBus();
    if (!ui::term::TerminalAvailable()) {
        std::fprintf(stderr, "vellix-term: standard input and output must be a terminal\n");
        return 1;
    }
    return ui::term::RunApplication();
}
