#include "cli/stop_signals.h"

namespace cli {
namespace {

constexpr int kStopping[] = {SIGINT, SIGTERM, SIGHUP};

std::atomic<bool> g_stop{false};
std::atomic<int> g_received{0};
static_assert(std::atomic<bool>::is_always_lock_free && std::atomic<int>::is_always_lock_free,
              "set from a signal handler");

struct sigaction g_previous[3];
struct sigaction g_previousPipe;

void OnStop(int signal)
{
    if (g_stop.exchange(true)) {
        // Asked twice: the recording did not end in time, so end as the signal would.
        std::signal(signal, SIG_DFL);
        std::raise(signal);
        return;
    }
    g_received = signal;
}

}  // namespace

StopSignals::StopSignals()
{
    g_stop = false;
    g_received = 0;
    struct sigaction action {};
    action.sa_handler = OnStop;
    sigemptyset(&action.sa_mask);
    for (int i = 0; i < 3; ++i)
        sigaction(kStopping[i], &action, &g_previous[i]);
    struct sigaction ignore {};
    ignore.sa_handler = SIG_IGN;
    sigemptyset(&ignore.sa_mask);
    sigaction(SIGPIPE, &ignore, &g_previousPipe);
}

StopSignals::~StopSignals()
{
    for (int i = 0; i < 3; ++i)
        sigaction(kStopping[i], &g_previous[i], nullptr);
    sigaction(SIGPIPE, &g_previousPipe, nullptr);
}

const std::atomic<bool>& StopSignals::Flag() const
{
    return g_stop;
}

int StopSignals::Received() const
{
    return g_received;
}

}  // namespace cli
