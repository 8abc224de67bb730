// vellix-term: the panel in the terminal, always.
#include <cstdio>

#include "cli/run.h"
#include "cli/std_streams.h"
#include "cli/startup.h"
#include "ui/term/term_frontend_run.h"

int main(int argc, char** argv)
{
    cli::OpenClosedStandardStreams();
    const cli::Program program{"vellix-term", [] { return cli::InstallPortBus("vellix-term"); }, [] {
        if (!ui::term::TerminalAvailable()) {
            std::fprintf(stderr, "vellix-term: standard input and output must be a terminal\n");
            return 1;
        }
        return ui::term::RunApplication();
    }, [](const io::ChooseOptions& options) { return cli::ChooseBusFor("vellix-term", options); }};
    return cli::Run(program, argc, argv, stdout, stderr);
}
