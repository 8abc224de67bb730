#include "ui/qt/deadline.h"

#include <algorithm>
#include <cerrno>
#include <poll.h>

namespace ui::qt {

Deadline Deadline::After(std::chrono::milliseconds timeout)
{
    return {std::chrono::steady_clock::now() + timeout, timeout};
}

std::string Deadline::Missed() const
{
    return "did not answer within " + std::to_string(total.count()) + " ms";
}

int WaitReadable(int fd, const Deadline& deadline) { return WaitFor(fd, POLLIN, deadline); }

int WaitFor(int fd, short events, const Deadline& deadline)
{
    for (;;) {
        auto left = std::chrono::ceil<std::chrono::milliseconds>(deadline.end - std::chrono::steady_clock::now());
        pollfd p{fd, events, 0};
        int ready = poll(&p, 1, static_cast<int>(std::max<long long>(left.count(), 0)));
        if (ready < 0 && errno == EINTR)
            continue;
        return ready;
    }
}

}  // namespace ui::qt
