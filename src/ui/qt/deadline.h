// The one deadline the display check runs to: every server it asks shares it, so that two
// silent servers cost one wait, not two.
#pragma once

#include <chrono>
#include <string>

namespace ui::qt {

struct Deadline {
    std::chrono::steady_clock::time_point end;
    std::chrono::milliseconds total;  // what the whole check was given, for the message

    static Deadline After(std::chrono::milliseconds timeout);
    // "did not answer within 500 ms"
    std::string Missed() const;
};

// Waits until `fd` is ready for `events` (poll's POLLIN, POLLOUT), the peer hangs up, or the
// deadline passes; a signal does not end the wait. 1 when ready, 0 when time is up, -1 on error
// (errno says which).
int WaitFor(int fd, short events, const Deadline& deadline);

// WaitFor with POLLIN: until `fd` can be read.
int WaitReadable(int fd, const Deadline& deadline);

}  // namespace ui::qt
