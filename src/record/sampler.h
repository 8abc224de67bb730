// Samples the registers of one port as fast as the way to it allows, or at a given rate, stamps
// each sample with the clock as soon as it is read and hands every change to a sink. It keeps the sample before and
// the statistics of the intervals, nothing else, however long it runs.
#pragma once

#include "io/bus.h"
#include "record/clock.h"
#include "record/interval_stats.h"
#include "record/sink.h"

#include <atomic>
#include <chrono>
#include <cstdint>
#include <functional>
#include <optional>

namespace record {

// An interval longer than this many times the median is a gap.
inline constexpr int kGapFactor = 10;

struct SamplerOptions {
    std::optional<std::chrono::nanoseconds> duration;  // until stopped when none
    std::optional<std::chrono::nanoseconds> period;    // as fast as possible when none
    // How often the port is offered to a driver waiting for it.
    std::chrono::nanoseconds yieldEvery = std::chrono::milliseconds(10);
    // How often the progress is reported, in recording time.
    std::chrono::nanoseconds progressEvery = std::chrono::milliseconds(250);
};

struct Progress {
    std::chrono::nanoseconds elapsed{0};  // the last sample's time
    std::int64_t samples = 0;
    std::int64_t changes = 0;   // samples that differed from the one before
    std::int64_t lentGaps = 0;  // times the port was lent to another driver
    std::chrono::nanoseconds longest{0};      // the longest interval between two samples
    std::chrono::nanoseconds longestFrom{0};  // where it began
    std::chrono::nanoseconds median{0};       // the median interval
    std::int64_t longGaps = 0;  // intervals longer than kGapFactor times the median

    // Samples per second reached; 0 before the second sample.
    double Rate() const;
};

class Sampler {
public:
    // bus, clock and sink must outlive the sampler.
    Sampler(io::Bus& bus, std::uint16_t base, Clock& clock, Sink& sink, SamplerOptions options);

    // Called every progressEvery, between two samples.
    void OnProgress(std::function<void(const Progress&)> report) { m_report = std::move(report); }

    // Records until the duration is reached, stop is set (from a signal handler, say), or the
    // sink fails; then ends the sink. Returns what was recorded.
    Progress Run(const std::atomic<bool>& stop);

private:
    // The counts with the figures of the intervals brought up to date.
    Progress Summed(Progress progress) const;
    // The longest interval that is no gap; none until the median can be trusted.
    std::optional<std::chrono::nanoseconds> GapLimit();

    io::Bus& m_bus;
    std::uint16_t m_base;
    Clock& m_clock;
    Sink& m_sink;
    SamplerOptions m_options;
    std::function<void(const Progress&)> m_report;
    IntervalStats m_intervals;
    std::optional<std::chrono::nanoseconds> m_gapLimit;
    std::int64_t m_limitSetAt = 0;
};

}  // namespace record
