// vellix-term: the panel in the terminal, always.
#include <cstdio>

#include "cli/run.h"
#include "cli/std_streams.h"
#include "startup.h"
#include "ui/term/term_frontend_run.h"

int main(int argc, char** argv)
{
    cli::OpenClosedStandardStreams();
    const cli::Program program{"vellix-term", [] { return vellix::InstallPortBus("vellix-term"); }, [] {
        if (!ui::term::TerminalAvailable()) {
            std::fprintf(stderr, "vellix-term: standard input and output must be a terminal\n");
            return 1;
        }
        return ui::term::RunApplication();
    }, [](const io::ChooseOptions& options) { return vellix::ChooseBusFor("vellix-term", options); }};
    return cli::Run(program, argc, argv, stdout, stderr);
}
