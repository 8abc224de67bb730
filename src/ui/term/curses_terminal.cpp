#include "ui/term/curses_terminal.h"

#include "ui/term/curses_api.h"
#include <fcntl.h>
#include <signal.h>
#include <term.h>
#include <unistd.h>

#include <cerrno>
#include <cstdlib>
#include <cstring>
#include <stdexcept>

namespace ui::term {
namespace {

// Every signal whose default is to end the program and that can come from outside: each is
// turned into a byte on the pipe, so that the loop gives the terminal back before ending by it.
constexpr int kEndSignals[] = {
    SIGINT, SIGTERM, SIGHUP, SIGQUIT, SIGUSR1, SIGUSR2, SIGALRM, SIGPIPE, SIGVTALRM, SIGPROF, SIGXCPU, SIGXFSZ, SIGIO,
#ifdef SIGSTKFLT
    SIGSTKFLT,
#endif
#ifdef SIGPWR
    SIGPWR,
#endif
};
// Signals that may stop the program where it stands (a fault, abort()), or that a debugger
// trap or a forbidden system call raises: the handler itself resets the terminal.
constexpr int kCrashSignals[] = {SIGSEGV, SIGBUS, SIGFPE, SIGILL, SIGABRT, SIGTRAP, SIGSYS};

// The end signals above and the real-time ones, whose numbers the C library decides at run time.
template <class F>
void ForEachEndSignal(F f)
{
    for (int sig : kEndSignals)
        f(sig);
    for (int sig = SIGRTMIN; sig <= SIGRTMAX; ++sig)
        f(sig);
}
constexpr int kEscDelayMs = 25;  // long enough for an escape sequence, short enough for Escape

// Shared with the signal handlers, which may touch only these.
int g_signalPipe = -1;
volatile sig_atomic_t g_cursesActive = 0;
struct termios g_savedModes;
bool g_haveSavedModes = false;
// What a crash handler writes to leave the alternate screen and reset the modes, made ready
// while curses runs, since a handler cannot ask terminfo.
char g_crashReset[256];
std::size_t g_crashResetLength = 0;
struct sigaction g_previous[NSIG];

void OnSignal(int sig)
{
    int saved = errno;
    auto byte = static_cast<unsigned char>(sig);
    if (g_signalPipe >= 0)
        (void)!::write(g_signalPipe, &byte, 1);
    errno = saved;
}

void OnCrash(int sig)
{
    if (g_cursesActive) {
        (void)!::write(STDOUT_FILENO, g_crashReset, g_crashResetLength);
        if (g_haveSavedModes)
            ::tcsetattr(STDIN_FILENO, TCSANOW, &g_savedModes);
    }
    ::signal(sig, SIG_DFL);
    ::raise(sig);
}

void AtExit()
{
    if (g_cursesActive) {
        g_cursesActive = 0;
        endwin();
    }
}

bool Present(const char* s) { return s && s != reinterpret_cast<const char*>(-1); }

void AppendText(const char* s)
{
    if (!s)
        return;
    std::size_t n = std::strlen(s);
    if (g_crashResetLength + n < sizeof g_crashReset) {
        std::memcpy(g_crashReset + g_crashResetLength, s, n);
        g_crashResetLength += n;
    }
}

}  // namespace

CursesTerminal::CursesTerminal()
{
    g_haveSavedModes = ::tcgetattr(STDIN_FILENO, &g_savedModes) == 0;
    if (::pipe2(m_pipe, O_CLOEXEC | O_NONBLOCK) != 0)
        throw std::runtime_error(std::string("cannot make a pipe: ") + std::strerror(errno));
    g_signalPipe = m_pipe[1];
    // Our own handler for SIGWINCH, installed before curses starts, keeps curses from putting
    // in one that only a blocked read would notice.
    InstallHandlers();

    auto giveUp = [this](const std::string& why) {
        RestoreHandlers();
        g_signalPipe = -1;
        for (int& fd : m_pipe)
            ::close(fd);
        throw std::runtime_error(why);
    };
    SCREEN* screen = newterm(nullptr, stdout, stdin);
    if (!screen)
        giveUp("cannot start the terminal (is TERM set to a known terminal?)");
    // A terminal that cannot place the cursor would show a blank screen that still takes keys.
    if (!Present(tigetstr("cup"))) {
        const char* term = std::getenv("TERM");
        endwin();
        delscreen(screen);
        giveUp(std::string("cannot start the terminal: ") + (term && *term ? term : "it") +
               " cannot place the cursor (set TERM to the terminal in use, such as xterm or linux)");
    }
    m_active = true;
    g_cursesActive = 1;
    static bool registered = false;
    if (!registered)
        registered = std::atexit(AtExit) == 0;

    cbreak();
    noecho();
    nonl();
    intrflush(stdscr, FALSE);
    keypad(stdscr, TRUE);
    nodelay(stdscr, TRUE);
    set_escdelay(kEscDelayMs);
    // Shift+Tab as xterm and its kin send it, also where the terminal's description omits it.
    if (key_defined("\033[Z") == 0)
        define_key("\033[Z", KEY_BTAB);
    curs_set(0);
    mousemask(BUTTON1_PRESSED | BUTTON1_RELEASED | BUTTON1_CLICKED, nullptr);
    mouseinterval(0);

    g_crashResetLength = 0;
    for (const char* cap : {"sgr0", "cnorm", "rmkx"})
        if (const char* s = tigetstr(cap); Present(s))
            AppendText(s);
    // Mouse reports off: xterm's own way where terminfo tells it, else the classic one.
    if (const char* xm = tigetstr("XM"); Present(xm))
        AppendText(tiparm(xm, 0));
    else if (Present(tigetstr("kmous")))
        AppendText("\033[?1000l");
    if (const char* s = tigetstr("rmcup"); Present(s))
        AppendText(s);
}

CursesTerminal::~CursesTerminal()
{
    End();
    // A signal to end that came after the last wait is not lost: it takes effect now, with the
    // handlers it would have met without us.
    int late = TakeSignals().end;
    RestoreHandlers();
    g_signalPipe = -1;
    for (int& fd : m_pipe)
        if (fd >= 0)
            ::close(fd);
    if (late)
        ::raise(late);
}

void CursesTerminal::End()
{
    if (!m_active)
        return;
    m_active = false;
    g_cursesActive = 0;
    mousemask(0, nullptr);
    endwin();
    std::fflush(stdout);
}

void CursesTerminal::InstallHandlers()
{
    struct sigaction sa {};
    sigemptyset(&sa.sa_mask);
    sa.sa_handler = OnSignal;
    ForEachEndSignal([&](int sig) {
        ::sigaction(sig, &sa, &g_previous[sig]);
        // A signal the caller chose to ignore (nohup, a background job) stays ignored.
        if (g_previous[sig].sa_handler == SIG_IGN)
            ::sigaction(sig, &g_previous[sig], nullptr);
    });
    // The size may have changed while the program was stopped, when the SIGWINCH went to the
    // shell in the foreground: a resume asks for the size again.
    for (int sig : {SIGWINCH, SIGCONT})
        ::sigaction(sig, &sa, &g_previous[sig]);
    sa.sa_handler = OnCrash;
    sa.sa_flags = SA_RESETHAND;
    for (int sig : kCrashSignals)
        ::sigaction(sig, &sa, &g_previous[sig]);
}

void CursesTerminal::RestoreHandlers()
{
    ForEachEndSignal([](int sig) { ::sigaction(sig, &g_previous[sig], nullptr); });
    for (int sig : {SIGWINCH, SIGCONT})
        ::sigaction(sig, &g_previous[sig], nullptr);
    for (int sig : kCrashSignals)
        ::sigaction(sig, &g_previous[sig], nullptr);
}

CursesTerminal::Signals CursesTerminal::TakeSignals()
{
    Signals s;
    unsigned char buf[64];
    ssize_t n;
    while ((n = ::read(m_pipe[0], buf, sizeof buf)) > 0) {
        for (ssize_t i = 0; i < n; ++i) {
            if (buf[i] == SIGWINCH || buf[i] == SIGCONT)
                s.resized = true;
            else if (!s.end)
                s.end = buf[i];
        }
    }
    return s;
}

void CursesTerminal::EndBy(int sig)
{
    End();
    ::signal(sig, SIG_DFL);
    sigset_t set;
    sigemptyset(&set);
    sigaddset(&set, sig);
    ::sigprocmask(SIG_UNBLOCK, &set, nullptr);
    ::raise(sig);
    std::_Exit(128 + sig);  // a signal whose default is to be ignored
}

}  // namespace ui::term
