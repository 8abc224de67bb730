// Start-up of a desktop program as its X server sees it: the milliseconds from just before the
// program is started to the server mapping its top-level window whose title matches, and the CPU
// milliseconds the program's threads had used by then. The map is taken from the server's own
// event rather than by polling from outside: a poller rounds the figure up to its period (a
// process per poll and a pause, about 10 ms) and takes a core from the program it measures.
// The program is ended once its window is seen.
//
// Usage: first_map TITLE_REGEX PROGRAM [ARGUMENTS...]
// Prints "<milliseconds, one decimal> <CPU milliseconds>"; exits 1 if the program ends, or 30 s
// pass, before such a window is mapped. The program's own output goes to /dev/null.
#include <xcb/xcb.h>

#include <cerrno>
#include <chrono>
#include <csignal>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <dirent.h>
#include <fcntl.h>
#include <fstream>
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

// The scheduler's own account of the CPU time of every thread of `pid`, in nanoseconds.
long long CpuNanoseconds(pid_t pid)
{
    std::string tasks = "/proc/" + std::to_string(pid) + "/task";
    long long sum = 0;
    if (DIR* dir = opendir(tasks.c_str())) {
        while (dirent* entry = readdir(dir)) {
            if (entry->d_name[0] == '.')
                continue;
            std::ifstream stat(tasks + "/" + entry->d_name + "/schedstat");
            long long ns = 0;
            if (stat >> ns)
                sum += ns;
        }
        closedir(dir);
    }
    return sum;
}

pid_t Start(char** argv)
{
    pid_t pid = fork();
    if (pid == 0) {
        int null = open("/dev/null", O_WRONLY);
        dup2(null, STDOUT_FILENO);
        dup2(null, STDERR_FILENO);
        execvp(argv[0], argv);
        _exit(127);
    }
    return pid;
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

    const Clock::time_point start = Clock::now();
    const pid_t pid = Start(argv + 2);
    if (pid < 0) {
        std::fprintf(stderr, "first_map: cannot start %s: %s\n", argv[2], std::strerror(errno));
        return 1;
    }
    const Clock::time_point giveUp = start + std::chrono::seconds(30);
    pollfd fd{xcb_get_file_descriptor(c), POLLIN, 0};
    while (Clock::now() < giveUp) {
        while (xcb_generic_event_t* raw = xcb_poll_for_event(c)) {
            Reply<xcb_generic_event_t> event(raw, &std::free);
            if ((event->response_type & 0x7f) != XCB_MAP_NOTIFY)
                continue;
            const Clock::time_point mapped = Clock::now();
            const long long cpu = CpuNanoseconds(pid);
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
