// Ctrl+C, SIGTERM and a closed terminal end a recording in order, so that the file it writes is
// complete; a second one of them ends the program at once, as it would have without us.
#pragma once

#include <atomic>
#include <csignal>

namespace cli {

class StopSignals {
public:
    // While the object lives, SIGINT, SIGTERM and SIGHUP set the flag, and SIGPIPE is ignored, so
    // that a closed pipe shows as a write error rather than an end without a word. Only one
    // object may live at a time.
    StopSignals();
    ~StopSignals();
    StopSignals(const StopSignals&) = delete;
    StopSignals& operator=(const StopSignals&) = delete;

    const std::atomic<bool>& Flag() const;
    // The signal that set the flag, 0 if none did.
    int Received() const;
};

}  // namespace cli
