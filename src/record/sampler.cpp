#include "record/sampler.h"

#include <algorithm>

namespace record {
namespace {

using std::chrono::nanoseconds;

// The median is first trusted after this many intervals, and brought up to date this often.
constexpr std::int64_t kIntervalsBeforeLimit = 64;
constexpr std::int64_t kIntervalsPerLimit = 1024;
// A sleep towards the next sample is cut into pieces this long, so that a stop is seen soon.
constexpr nanoseconds kLongestSleep = std::chrono::milliseconds(50);

}  // namespace

double Progress::Rate() const
{
    if (samples < 2 || elapsed.count() <= 0)
        return 0.0;
    return static_cast<double>(samples - 1) * 1e9 / static_cast<double>(elapsed.count());
}

Sampler::Sampler(io::Bus& bus, std::uint16_t base, Clock& clock, Sink& sink, SamplerOptions options)
    : m_bus(bus), m_base(base), m_clock(clock), m_sink(sink), m_options(options)
{
}

std::optional<nanoseconds> Sampler::GapLimit()
{
    const std::int64_t count = m_intervals.Count();
    if (count >= kIntervalsBeforeLimit && (!m_gapLimit || count - m_limitSetAt >= kIntervalsPerLimit)) {
        m_gapLimit = kGapFactor * m_intervals.Median();
        m_limitSetAt = count;
    }
    return m_gapLimit;
}

Progress Sampler::Summed(Progress progress) const
{
    progress.longest = m_intervals.Longest();
    progress.longestFrom = m_intervals.LongestFrom();
    progress.median = m_intervals.Median();
    progress.longGaps = m_intervals.CountLongerThan(kGapFactor * progress.median);
    return progress;
}

Progress Sampler::Run(const std::atomic<bool>& stop)
{
    // Each sample is stamped once its registers are read: were the thread held up before the
    // reads, the values would otherwise be put at the start of that gap, where nobody saw them.
    Progress progress;
    Registers last = ReadRegisters(m_bus, m_base);
    const nanoseconds origin = m_clock.Now();
    m_sink.Begin(last);
    progress.samples = 1;

    nanoseconds previous{0};
    nanoseconds nextSample = m_options.period.value_or(nanoseconds{0});
    nanoseconds nextYield = m_options.yieldEvery;
    nanoseconds nextReport = m_options.progressEvery;
    bool lent = false;
    const auto stopped = [&] { return stop.load(std::memory_order_relaxed) || m_sink.Error() != 0; };
    while (!stopped() && !(m_options.duration && previous >= *m_options.duration)) {
        if (m_options.period) {
            const nanoseconds due = origin + std::min(nextSample, m_options.duration.value_or(nextSample));
            while (!stopped() && m_clock.Now() < due)
                m_clock.SleepUntil(std::min(due, m_clock.Now() + kLongestSleep));
            if (stopped())
                break;
        }
        const Registers regs = ReadRegisters(m_bus, m_base);
        const nanoseconds now = m_clock.Now() - origin;
        const nanoseconds interval = now - previous;
        m_intervals.Add(interval, now);
        ++progress.samples;

        Event event{now, last, regs, std::nullopt};
        if (lent)
            event.gap = Gap{previous, true};
        else if (const auto limit = GapLimit(); limit && interval > *limit)
            event.gap = Gap{previous, false};
        if (regs != last)
            ++progress.changes;
        if (regs != last || event.gap)
            m_sink.Record(event);
        last = regs;
        previous = progress.elapsed = now;

        if (m_options.period) {
            nextSample += *m_options.period;
            // Behind after a gap: go on from now rather than catch up in a burst.
            if (nextSample <= now)
                nextSample = now + *m_options.period;
        }
        lent = false;
        if (now >= nextYield) {
            lent = m_bus.Yield(m_base);
            progress.lentGaps += lent ? 1 : 0;
            nextYield = now + m_options.yieldEvery;
        }
        if (now >= nextReport) {
            if (m_report)
                m_report(Summed(progress));
            nextReport = now + m_options.progressEvery;
        }
    }
    m_sink.End(previous);
    return Summed(progress);
}

}  // namespace record
