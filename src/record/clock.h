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

// The system's monotonic clock. A sleep wakes late by up to the kernel's timer slack and the
// time it takes to be scheduled again, so it is cut short by `awake` and the rest is waited out
// looking at the clock: more is exact, less leaves the processor to others.
class SteadyClock : public Clock {
public:
    explicit SteadyClock(std::chrono::nanoseconds awake = std::chrono::microseconds(200)) : m_awake(awake) {}

    std::chrono::nanoseconds Now() override;
    void SleepUntil(std::chrono::nanoseconds t) override;

private:
    std::chrono::nanoseconds m_awake;
};

}  // namespace record
