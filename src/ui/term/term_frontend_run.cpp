#include "ui/term/term_frontend_run.h"

#include <unistd.h>

#include <cerrno>
#include <clocale>
#include <cstdio>
#include <exception>

#include "afx/winapp.h"
#include "ui/term/term_frontend.h"

namespace ui::term {
namespace {

// Installs the front-end for as long as it lives, and takes it out again however the run ends.
class Installed {
public:
    explicit Installed(afx::Frontend* f) { afx::InstallFrontend(f); }
    ~Installed() { afx::InstallFrontend(nullptr); }
    Installed(const Installed&) = delete;
    Installed& operator=(const Installed&) = delete;
};

}  // namespace

bool TerminalAvailable() { return ::isatty(STDIN_FILENO) && ::isatty(STDOUT_FILENO); }

int RunApplication()
{
    // Only the character set, which curses needs to draw UTF-8 glyphs where the locale has
    // them; number formats and the like stay those of the C locale.
    std::setlocale(LC_CTYPE, "");
    try {
        CursesTerminal terminal;
        TermFrontend frontend(terminal);
        Installed installed(&frontend);
        int result = AfxWinMain();
        terminal.End();
        return result;
    } catch (const std::exception& e) {
        // The terminal has been given back by now, so the message lands on a sane screen.
        std::fprintf(stderr, "%s: %s\n", program_invocation_short_name, e.what());
        return 1;
    }
}

}  // namespace ui::term
