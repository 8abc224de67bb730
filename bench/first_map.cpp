// Start-up of a desktop program as its X server sees it: the milliseconds from just before the
// program is started to the server mapping its top-level window whose title matches, and the CPU
// milliseconds the program had used by then. The map is taken from the server's own event rather
// than by polling from outside: a poller rounds the figure up to its period (a process per poll
// and a pause, about 10 ms) and takes a core from the program it measures. The CPU time is the
// kernel's task clock counted over every thread and child the program made, including those that
// have already ended: the threads listed under /proc at the map leave out a helper thread that
// did its work and finished, which flatters a program that moves work off its main thread.
// The program is ended once its window is seen.
//
// Usage: first_map TITLE_REGEX PROGRAM [ARGUMENTS...]
// Prints "<milliseconds, one decimal> <CPU milliseconds>"; exits 1 if the program ends, or 30 s
// pass, before such a window is mapped, or if the kernel does not let us count its CPU time
// (kernel.perf_event_paranoid above 2). The program's own output goes to /dev/null.
#include <linux/perf_event.h>
#include <sys/syscall.h>
#include <xcb/xcb.h>

#include <cerrno>
#include <chrono>
#include <csignal>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <fcntl.h>
#include <memory>
#include <optional>
#include <poll.h>
#include <regex>
#include <string>
#include <sys/wait.h>
#include <unistd.h>

namespace {

using Clock = std::chrono::steady_clock;

template <typename T>
using Reply = std::unique_ptr<T, decltype(&std::free)>;

xcb_atom_t Atom(xcb_connection_t* c, const char* name)
{
    Reply<xcb_intern_atom_reply_t> r(xcb_intern_atom_reply(c, xcb_intern_atom(c, 0, std::strlen(name), name), nullptr),
                                     &std::free);
    return r ? r->atom : xcb_atom_t{XCB_ATOM_NONE};
}

std::optional<std::string> Property(xcb_connection_t* c, xcb_window_t w, xcb_atom_t property)
{
    Reply<xcb_get_property_reply_t> r(
        xcb_get_property_reply(c, xcb_get_property(c, 0, w, property, XCB_GET_PROPERTY_TYPE_ANY, 0, 1024), nullptr),
        &std::free);
    if (!r || r->type == XCB_ATOM_NONE)
        return std::nullopt;
    return std::string(static_cast<const char*>(xcb_get_property_value(r.get())),
                       static_cast<std::size_t>(xcb_get_property_value_length(r.get())));
}

// A counter of the CPU time of `pid` and of every thread and process it goes on to make; it
// keeps the time of those that end. Opened while the child waits, before it runs anything.
int OpenTaskClock(pid_t pid)
{
    perf_event_attr attr{};
    attr.size = sizeof attr;
    attr.type = PERF_TYPE_SOFTWARE;
    attr.config = PERF_COUNT_SW_TASK_CLOCK;
    attr.inherit = 1;
    // The task clock counts kernel time all the same; asking to leave the kernel out is what
    // lets an unprivileged user count their own program.
    attr.exclude_kernel = 1;
    attr.exclude_hv = 1;
    return static_cast<int>(syscall(SYS_perf_event_open, &attr, pid, -1, -1, 0));
}

long long Nanoseconds(int counter)
{
    unsigned long long ns = 0;
    return read(counter, &ns, sizeof ns) == static_cast<ssize_t>(sizeof ns) ? static_cast<long long>(ns) : -1;
}

struct Started {
    pid_t pid;
    int go;  // written once to let the child run the program
};

// The child waits on a pipe until its counter is open, then runs the program.
Started Start(char** argv)
{
    int gate[2];
    if (pipe2(gate, O_CLOEXEC) != 0)
        return {-1, -1};
    pid_t pid = fork();
    if (pid == 0) {
        // Only first_map keeps the write end: should it die before the word, the read ends.
        close(gate[1]);
        char go = 0;
        if (read(gate[0], &go, 1) != 1)
            _exit(127);
        int null = open("/dev/null", O_WRONLY);
        dup2(null, STDOUT_FILENO);
        dup2(null, STDERR_FILENO);
        execvp(argv[0], argv);
        _exit(127);
    }
    close(gate[0]);
    return {pid, gate[1]};
}

void End(pid_t pid)
{
    kill(pid, SIGTERM);
    int status = 0;
    while (waitpid(pid, &status, 0) < 0 && errno == EINTR) {
    }
}

}  // namespace

int main(int argc, char** argv)
{
    if (argc < 3) {
        std::fprintf(stderr, "usage: first_map TITLE_REGEX PROGRAM [ARGUMENTS...]\n");
        return 2;
    }
    const std::regex title(argv[1]);
    xcb_connection_t* c = xcb_connect(nullptr, nullptr);
    if (xcb_connection_has_error(c)) {
        std::fprintf(stderr, "first_map: cannot connect to the X display\n");
        return 1;
    }
    const xcb_window_t root = xcb_setup_roots_iterator(xcb_get_setup(c)).data->root;
    const xcb_atom_t netName = Atom(c, "_NET_WM_NAME");
    const uint32_t mask = XCB_EVENT_MASK_SUBSTRUCTURE_NOTIFY;
    // Checked, so that the server has taken the mask before the program starts.
    if (Reply<xcb_generic_error_t> e(xcb_request_check(c, xcb_change_window_attributes_checked(c, root, XCB_CW_EVENT_MASK, &mask)),
                                     &std::free);
        e) {
        std::fprintf(stderr, "first_map: cannot watch the root window (X error %d)\n", e->error_code);
        return 1;
    }

    const auto [pid, go] = Start(argv + 2);
    if (pid < 0) {
        std::fprintf(stderr, "first_map: cannot start %s: %s\n", argv[2], std::strerror(errno));
        return 1;
    }
    const int counter = OpenTaskClock(pid);
    if (counter < 0) {
        std::fprintf(stderr, "first_map: cannot count the CPU time of %s (perf_event_open: %s; see kernel.perf_event_paranoid)\n",
                     argv[2], std::strerror(errno));
        End(pid);
        return 1;
    }
    const Clock::time_point start = Clock::now();
    if (write(go, "", 1) != 1) {
        std::fprintf(stderr, "first_map: cannot start %s: %s\n", argv[2], std::strerror(errno));
        End(pid);
        return 1;
    }
    close(go);
    const Clock::time_point giveUp = start + std::chrono::seconds(30);
    pollfd fd{xcb_get_file_descriptor(c), POLLIN, 0};
    while (Clock::now() < giveUp) {
        while (xcb_generic_event_t* raw = xcb_poll_for_event(c)) {
            Reply<xcb_generic_event_t> event(raw, &std::free);
            if ((event->response_type & 0x7f) != XCB_MAP_NOTIFY)
                continue;
            const Clock::time_point mapped = Clock::now();
            const long long cpu = Nanoseconds(counter);
            if (cpu < 0) {
                std::fprintf(stderr, "first_map: cannot read the CPU time of %s: %s\n", argv[2], std::strerror(errno));
                End(pid);
                return 1;
            }
            auto window = reinterpret_cast<xcb_map_notify_event_t*>(event.get())->window;
            std::optional<std::string> name = Property(c, window, netName);
            if (!name)
                name = Property(c, window, XCB_ATOM_WM_NAME);
            if (!name || !std::regex_search(*name, title))
                continue;
            End(pid);
            std::printf("%.1f %lld\n", std::chrono::duration<double, std::milli>(mapped - start).count(), cpu / 1'000'000);
            xcb_disconnect(c);
            return 0;
        }
        if (xcb_connection_has_error(c))
            break;
        int status = 0;
        if (waitpid(pid, &status, WNOHANG) == pid) {
            std::fprintf(stderr, "first_map: %s ended before a window matching '%s' was mapped\n", argv[2], argv[1]);
            return 1;
        }
        poll(&fd, 1, 100);
    }
    std::fprintf(stderr, "first_map: no window matching '%s' was mapped\n", argv[1]);
    End(pid);
    return 1;
}
