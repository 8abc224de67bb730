#include "record/clock.h"

#include <thread>

namespace record {
std::chrono::nanoseconds SteadyClock::Now()
{
    return std::chrono::steady_clock::now().time_since_epoch();
}

void SteadyClock::SleepUntil(std::chrono::nanoseconds t)
{
    const std::chrono::nanoseconds early = t - m_awake;
    if (Now() < early)
        std::this_thread::sleep_until(std::chrono::steady_clock::time_point(
            std::chrono::duration_cast<std::chrono::steady_clock::duration>(early)));
    while (Now() < t) {
    }
}

}  // namespace record
