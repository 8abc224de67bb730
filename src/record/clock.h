// The time a recording is stamped with, behind an interface so that tests play a script of
// sample times instead of waiting.
#pragma once

#include <chrono>

namespace record {

class Clock {
public:
    virtual ~Clock() = default;
    // Monotonic time since a fixed point: never goes back, never jumps with the wall clock.
    virtual std::chrono::nanoseconds Now() = 0;
    // Returns once Now() has reached t; at once if it has.
    virtual void SleepUntil(std::chrono::nanoseconds t) = 0;
};

// The system's monotonic clock.
class SteadyClock : public Clock {
public:
    std::chrono::nanoseconds Now() override;
    void SleepUntil(std::chrono::nanoseconds t) override;
};

}  // namespace record
