// Clocks that play a script, so that recordings are the same at every run.
#pragma once

#include "record/clock.h"

#include <chrono>
#include <cstdint>
#include <functional>
#include <stdexcept>

namespace recordtest {

using namespace std::chrono_literals;

// Call i of Now() answers at(i): the times of the samples, as a table or a rule. Nothing here
// sleeps; a sampler that asks to is a fault.
class ScheduleClock : public record::Clock {
public:
    explicit ScheduleClock(std::function<std::chrono::nanoseconds(std::int64_t)> at) : m_at(std::move(at)) {}

    std::chrono::nanoseconds Now() override { return m_at(m_calls++); }
    void SleepUntil(std::chrono::nanoseconds) override { throw std::logic_error("no sleep expected"); }

    // The time it is: what the next call will answer. A sample is stamped right after its reads,
    // so the waveforms are played at the time its stamp will say.
    std::chrono::nanoseconds Current() const { return m_at(m_calls); }

private:
    std::function<std::chrono::nanoseconds(std::int64_t)> m_at;
    std::int64_t m_calls = 0;
};

// Each look at the clock takes `cost`; a sleep wakes `late` after the time asked for.
class SleepingClock : public record::Clock {
public:
    SleepingClock(std::chrono::nanoseconds cost, std::chrono::nanoseconds late) : m_cost(cost), m_late(late) {}

    std::chrono::nanoseconds Now() override
    {
        const std::chrono::nanoseconds now = m_now;
        m_now += m_cost;
        return now;
    }
    void SleepUntil(std::chrono::nanoseconds t) override
    {
        ++sleeps;
        if (t > m_now)
            m_now = t + m_late;
    }
    std::chrono::nanoseconds Current() const { return m_now; }

    int sleeps = 0;

private:
    std::chrono::nanoseconds m_now{0};
    std::chrono::nanoseconds m_cost, m_late;
};

}  // namespace recordtest
