#include "ui/qt/wayland_check.h"

#include <cerrno>
#include <cstdarg>
#include <cstring>
#include <dlfcn.h>
#include <string>
#include <type_traits>
#include <wayland-client.h>

namespace ui::qt {
namespace {

// The library's functions that the check calls, each declared and looked up from this one list.
#define VELLIX_WAYLAND_ENTRIES(X)                                                                   \
    X(wl_display_connect) X(wl_display_disconnect) X(wl_display_get_fd) X(wl_display_prepare_read) \
    X(wl_display_dispatch_pending) X(wl_display_flush) X(wl_display_cancel_read)                   \
    X(wl_display_read_events) X(wl_log_set_handler_client) X(wl_proxy_marshal_flags)              \
    X(wl_proxy_add_listener) X(wl_proxy_destroy) X(wl_proxy_get_version)

// libwayland-client, loaded when a Wayland display is to be asked and not at every start: on X
// it would stay resident unused (with libffi, about 100 KiB). On Wayland, Qt's platform plugin
// loads the same library, so nothing is paid twice. The header's inline requests are spelled out
// below on the library's own entry points, which are part of its stable ABI.
class WaylandClient {
public:
    static const WaylandClient& Get()
    {
        static const WaylandClient client;
        return client;
    }

    // Empty when loaded, else why not.
    const std::string& Problem() const { return m_problem; }

#define VELLIX_WL_ENTRY(name) decltype(&::name) name = nullptr;
    VELLIX_WAYLAND_ENTRIES(VELLIX_WL_ENTRY)
#undef VELLIX_WL_ENTRY
    const wl_interface* registryInterface = nullptr;
    const wl_interface* callbackInterface = nullptr;

    wl_proxy* GetRegistry(wl_display* display) const
    {
        auto* proxy = reinterpret_cast<wl_proxy*>(display);
        return wl_proxy_marshal_flags(proxy, WL_DISPLAY_GET_REGISTRY, registryInterface,
                                      wl_proxy_get_version(proxy), 0, nullptr);
    }
    wl_proxy* Sync(wl_display* display) const
    {
        auto* proxy = reinterpret_cast<wl_proxy*>(display);
        return wl_proxy_marshal_flags(proxy, WL_DISPLAY_SYNC, callbackInterface, wl_proxy_get_version(proxy), 0,
                                      nullptr);
    }

private:
    WaylandClient()
    {
        // Never unloaded: Qt's plugin may hold the same library afterwards.
        void* library = dlopen("libwayland-client.so.0", RTLD_NOW | RTLD_LOCAL);
        if (!library) {
            const char* why = dlerror();
            m_problem = "the Wayland client library cannot be loaded (" +
                        std::string(why ? why : "libwayland-client.so.0") + ")";
            return;
        }
        bool all = true;
        auto find = [&](auto& entry, const char* name) {
            entry = reinterpret_cast<std::remove_reference_t<decltype(entry)>>(dlsym(library, name));
            all = all && entry;
        };
#define VELLIX_WL_FIND(name) find(name, #name);
        VELLIX_WAYLAND_ENTRIES(VELLIX_WL_FIND)
#undef VELLIX_WL_FIND
        registryInterface = static_cast<const wl_interface*>(dlsym(library, "wl_registry_interface"));
        callbackInterface = static_cast<const wl_interface*>(dlsym(library, "wl_callback_interface"));
        if (!all || !registryInterface || !callbackInterface)
            m_problem = "the Wayland client library libwayland-client.so.0 is too old (it lacks "
                        "wl_proxy_marshal_flags, which Qt needs as well)";
    }

    std::string m_problem;
};

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
bool AwaitAnswer(const WaylandClient& wl, wl_display* display, const Answer& answer, const Deadline& deadline,
                 bool& timedOut)
{
    timedOut = false;
    while (!answer.done) {
        while (wl.wl_display_prepare_read(display) != 0)
            if (wl.wl_display_dispatch_pending(display) < 0)
                return false;
        if (wl.wl_display_flush(display) < 0 && errno != EAGAIN) {
            wl.wl_display_cancel_read(display);
            return false;
        }
        int ready = WaitReadable(wl.wl_display_get_fd(display), deadline);
        if (ready <= 0) {
            wl.wl_display_cancel_read(display);
            timedOut = ready == 0;
            return false;
        }
        if (wl.wl_display_read_events(display) < 0 || wl.wl_display_dispatch_pending(display) < 0)
            return false;
    }
    return true;
}

}  // namespace

std::string CheckWaylandDisplay(const std::string& path, const std::string& shown, const Deadline& deadline)
{
    const WaylandClient& wl = WaylandClient::Get();
    if (!wl.Problem().empty())
        return wl.Problem() + ", so the Wayland display " + shown + " cannot be used";
    wl.wl_log_set_handler_client(Quiet);
    wl_display* display = wl.wl_display_connect(path.c_str());
    if (!display)
        return "the Wayland display " + shown + " cannot be reached (" + std::strerror(errno) + ")";
    Answer answer;
    wl_proxy* registry = wl.GetRegistry(display);
    wl.wl_proxy_add_listener(registry, reinterpret_cast<void (**)()>(const_cast<wl_registry_listener*>(&kRegistry)),
                             &answer);
    wl_proxy* sync = wl.Sync(display);
    wl.wl_proxy_add_listener(sync, reinterpret_cast<void (**)()>(const_cast<wl_callback_listener*>(&kSync)), &answer);
    bool timedOut = false;
    bool answered = AwaitAnswer(wl, display, answer, deadline, timedOut);
    wl.wl_proxy_destroy(sync);
    wl.wl_proxy_destroy(registry);
    wl.wl_display_disconnect(display);
    if (answered && answer.compositor)
        return "";
    if (timedOut)
        return "the Wayland display " + shown + " " + deadline.Missed();
    return "the Wayland display " + shown + " is not a Wayland compositor";
}

}  // namespace ui::qt
