#include "ui/qt/wayland_check.h"

#include <cerrno>
#include <cstdarg>
#include <cstring>
#include <wayland-client.h>

namespace ui::qt {
namespace {

struct Answer {
    bool compositor = false;  // a wl_compositor global was listed
    bool done = false;        // the compositor has answered our sync request
};

void OnGlobal(void* data, wl_registry*, uint32_t, const char* interface, uint32_t)
{
    if (std::strcmp(interface, "wl_compositor") == 0)
        static_cast<Answer*>(data)->compositor = true;
}

void OnGlobalRemove(void*, wl_registry*, uint32_t) {}

void OnDone(void* data, wl_callback*, uint32_t)
{
    static_cast<Answer*>(data)->done = true;
}

const wl_registry_listener kRegistry = {OnGlobal, OnGlobalRemove};
const wl_callback_listener kSync = {OnDone};

// libwayland reports connection trouble on standard error by itself; the caller says it once.
void Quiet(const char*, va_list) {}

// Reads and dispatches events until the answer is complete, the connection fails or time is up.
// False on failure or timeout, with `timedOut` telling which.
bool AwaitAnswer(wl_display* display, const Answer& answer, const Deadline& deadline, bool& timedOut)
{
    timedOut = false;
    while (!answer.done) {
        while (wl_display_prepare_read(display) != 0)
            if (wl_display_dispatch_pending(display) < 0)
                return false;
        if (wl_display_flush(display) < 0 && errno != EAGAIN) {
            wl_display_cancel_read(display);
            return false;
        }
        int ready = WaitReadable(wl_display_get_fd(display), deadline);
        if (ready <= 0) {
            wl_display_cancel_read(display);
            timedOut = ready == 0;
            return false;
        }
        if (wl_display_read_events(display) < 0 || wl_display_dispatch_pending(display) < 0)
            return false;
    }
    return true;
}

}  // namespace

std::string CheckWaylandDisplay(const std::string& path, const std::string& shown, const Deadline& deadline)
{
    wl_log_set_handler_client(Quiet);
    wl_display* display = wl_display_connect(path.c_str());
    if (!display)
        return "the Wayland display " + shown + " cannot be reached (" + std::strerror(errno) + ")";
    Answer answer;
    wl_registry* registry = wl_display_get_registry(display);
    wl_registry_add_listener(registry, &kRegistry, &answer);
    wl_callback* sync = wl_display_sync(display);
    wl_callback_add_listener(sync, &kSync, &answer);
    bool timedOut = false;
    bool answered = AwaitAnswer(display, answer, deadline, timedOut);
    wl_callback_destroy(sync);
    wl_registry_destroy(registry);
    wl_display_disconnect(display);
    if (answered && answer.compositor)
        return "";
    if (timedOut)
        return "the Wayland display " + shown + " " + deadline.Missed();
    return "the Wayland display " + shown + " is not a Wayland compositor";
}

}  // namespace ui::qt
