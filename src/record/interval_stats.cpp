#include "record/interval_stats.h"

#include <algorithm>
#include <bit>

namespace record {

std::size_t IntervalStats::Bucket(std::int64_t ns)
{
    const auto value = static_cast<std::uint64_t>(std::max<std::int64_t>(ns, 0));
    if (value < static_cast<std::uint64_t>(2 * kSteps))
        return static_cast<std::size_t>(value);
    const int shift = std::min(static_cast<int>(std::bit_width(value)) - 1 - kStepBits, kLargestShift);
    const std::uint64_t step = std::min<std::uint64_t>(value >> shift, 2 * kSteps - 1);
    return static_cast<std::size_t>(kSteps * shift + static_cast<std::int64_t>(step));
}

std::int64_t IntervalStats::LowestIn(std::size_t bucket)
{
    const auto index = static_cast<std::int64_t>(bucket);
    if (index < 2 * kSteps)
        return index;
    const std::int64_t shift = index / kSteps - 1;
    return (index - kSteps * shift) << shift;
}

void IntervalStats::Add(std::chrono::nanoseconds interval, std::chrono::nanoseconds end)
{
    ++m_counts[Bucket(interval.count())];
    ++m_count;
    if (interval > m_longest) {
        m_longest = interval;
        m_longestFrom = end - interval;
    }
}

std::chrono::nanoseconds IntervalStats::Median() const
{
    if (m_count == 0)
        return std::chrono::nanoseconds{0};
    const std::int64_t middle = (m_count + 1) / 2;
    std::int64_t seen = 0;
    for (std::size_t bucket = 0; bucket < kBuckets; ++bucket) {
        seen += m_counts[bucket];
        if (seen >= middle)
            return std::chrono::nanoseconds{LowestIn(bucket)};
    }
    return m_longest;
}

std::int64_t IntervalStats::CountLongerThan(std::chrono::nanoseconds limit) const
{
    std::int64_t count = 0;
    for (std::size_t bucket = Bucket(limit.count()) + 1; bucket < kBuckets; ++bucket)
        count += m_counts[bucket];
    return count;
}

}  // namespace record
