// The intervals between samples: how many, the longest and where, and their median, kept in a
// histogram of fixed size, so that hours of recording take no more memory than a second.
#pragma once

#include <array>
#include <chrono>
#include <cstdint>

namespace record {

class IntervalStats {
public:
    // An interval that ended at `end`, measured from the start of the recording.
    void Add(std::chrono::nanoseconds interval, std::chrono::nanoseconds end);

    std::int64_t Count() const { return m_count; }
    std::chrono::nanoseconds Longest() const { return m_longest; }
    // Where the longest interval began.
    std::chrono::nanoseconds LongestFrom() const { return m_longestFrom; }
    // The middle interval, exact below 512 ns and to within 1/256 above; zero while none is kept.
    std::chrono::nanoseconds Median() const;
    // Intervals longer than limit, to within the median's precision.
    std::int64_t CountLongerThan(std::chrono::nanoseconds limit) const;

private:
    // Values below 2 * kSteps are kept exactly; above, each power of two is split into kSteps.
    static constexpr int kStepBits = 8;
    static constexpr std::int64_t kSteps = std::int64_t{1} << kStepBits;
    // Up to 2^40 ns (18 minutes); a longer interval counts as that.
    static constexpr int kLargestShift = 40 - kStepBits;
    static constexpr std::size_t kBuckets = kSteps * (kLargestShift + 1) + kSteps;

    static std::size_t Bucket(std::int64_t ns);
    static std::int64_t LowestIn(std::size_t bucket);

    std::array<std::int64_t, kBuckets> m_counts{};
    std::int64_t m_count = 0;
    std::chrono::nanoseconds m_longest{0};
    std::chrono::nanoseconds m_longestFrom{0};
};

}  // namespace record
