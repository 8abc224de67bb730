#include "record/clock.h"

#include <thread>

namespace record {
namespace {

// A sleep ends this late or later; what is left after it is waited out awake.
constexpr std::chrono::microseconds kSleepSlack{100};

}  // namespace

std::chrono::nanoseconds SteadyClock::Now()
{
    return std::chrono::steady_clock::now().time_since_epoch();
}

void SteadyClock::SleepUntil(std::chrono::nanoseconds t)
{
    const std::chrono::nanoseconds early = t - kSleepSlack;
    if (Now() < early)
        std::this_thread::sleep_until(std::chrono::steady_clock::time_point(
            std::chrono::duration_cast<std::chrono::steady_clock::duration>(early)));
    while (Now() < t) {
    }
}

}  // namespace record
