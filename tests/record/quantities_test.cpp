// Durations and rates as typed, the figures as told, and the interval statistics the summary
// is made of.
#include "record/interval_stats.h"
#include "record/quantities.h"

#include <gtest/gtest.h>

#include <optional>
#include <string>
#include <vector>

namespace {

using namespace std::chrono_literals;
using std::chrono::nanoseconds;

TEST(Quantities, DurationsTakeANumberAndAUnit)
{
    const std::vector<std::pair<const char*, std::optional<nanoseconds>>> cases = {
        {"500ms", 500ms}, {"10s", 10s}, {"2m", 2min}, {"1.5h", 90min}, {"250us", 250us}, {"100ns", 100ns},
        {"0.5ms", 500us}, {"2.ms", 2ms}, {"1.25s", 1250ms}, {"0.000000002s", 2ns},
        {"", std::nullopt}, {"10", std::nullopt}, {"ms", std::nullopt}, {"-1s", std::nullopt},
        {"0s", std::nullopt}, {"0.1ns", std::nullopt}, {"1.2.3s", std::nullopt}, {"10 s", std::nullopt},
        {"10S", std::nullopt}, {"1e3ms", std::nullopt}, {"1min", std::nullopt}, {"101y", std::nullopt},
        {"876601h", std::nullopt}, {"876582h", 876582h}, {"99999999999999999999s", std::nullopt},
    };
    for (const auto& [text, expected] : cases)
        EXPECT_EQ(record::ParseDuration(text), expected) << "'" << text << "'";
}

TEST(Quantities, RatesTakeANumberWithThousandsOrMillions)
{
    const std::vector<std::pair<const char*, std::optional<double>>> cases = {
        {"1000", 1000.0}, {"50k", 50e3}, {"2.5kHz", 2500.0}, {"1M", 1e6}, {"10Hz", 10.0}, {"0.5", 0.5},
        {"", std::nullopt}, {"k", std::nullopt}, {"0", std::nullopt}, {"-5", std::nullopt}, {"5G", std::nullopt},
        {"2000M", std::nullopt}, {"10hz", std::nullopt}, {"1 k", std::nullopt},
    };
    for (const auto& [text, expected] : cases)
        EXPECT_EQ(record::ParseRate(text), expected) << "'" << text << "'";
    EXPECT_EQ(record::PeriodOf(1000.0), 1ms);
    EXPECT_EQ(record::PeriodOf(3.0), 333333333ns);
    EXPECT_EQ(record::PeriodOf(1e9), 1ns);
}

TEST(Quantities, FiguresAreToldInTheirOwnScale)
{
    EXPECT_EQ(record::FormatDuration(850ns), "850 ns");
    EXPECT_EQ(record::FormatDuration(12345ns), "12.3 us");
    EXPECT_EQ(record::FormatDuration(1250us), "1.25 ms");
    EXPECT_EQ(record::FormatDuration(2500ms), "2.500 s");
    EXPECT_EQ(record::FormatDuration(182500ms), "3 min 2.5 s");
    EXPECT_EQ(record::FormatRate(850.0), "850 Hz");
    EXPECT_EQ(record::FormatRate(12345.0), "12.3 kHz");
    EXPECT_EQ(record::FormatRate(1.25e6), "1.25 MHz");
}

TEST(IntervalStats, MedianExactBelow512NanosecondsAndWithin1In256Above)
{
    struct Case {
        std::vector<std::int64_t> intervals;
        std::int64_t median;
    };
    const std::vector<Case> cases = {
        {{}, 0},
        {{7}, 7},
        {{3, 1, 2}, 2},
        {{100, 200, 300, 400}, 200},
        {{511, 511, 1}, 511},
        {{1000, 1000, 1000, 999999}, 1000},
        {{3000, 3001, 3002}, 3000},  // 3000..3007 share a step of 8
        {{123456789}, 123207680},  // a step of 262144 ns
    };
    for (const Case& c : cases) {
        record::IntervalStats stats;
        for (std::int64_t interval : c.intervals)
            stats.Add(nanoseconds(interval), 1s);
        EXPECT_EQ(stats.Median(), nanoseconds(c.median)) << c.intervals.size();
        if (!c.intervals.empty()) {
            EXPECT_LE(stats.Median().count(), c.median);
            EXPECT_GT(static_cast<double>(stats.Median().count()), c.median * (1 - 1.0 / 256) - 1);
        }
    }
}

TEST(IntervalStats, LongestAndWhereAndTheCountAboveALimit)
{
    record::IntervalStats stats;
    std::chrono::nanoseconds t{0};
    for (int i = 0; i < 1000; ++i) {
        const nanoseconds interval = i == 500 ? 80us : i % 100 == 7 ? 12us : 1us;
        t += interval;
        stats.Add(interval, t);
    }
    EXPECT_EQ(stats.Count(), 1000);
    EXPECT_EQ(stats.Longest(), 80us);
    EXPECT_EQ(stats.LongestFrom(), 500 * 1us + 5 * 11us);
    EXPECT_EQ(stats.Median(), 1us);
    EXPECT_EQ(stats.CountLongerThan(10us), 11);
    EXPECT_EQ(stats.CountLongerThan(20us), 1);
    EXPECT_EQ(stats.CountLongerThan(100us), 0);
    // Intervals of an hour count as the longest the histogram keeps, and are still counted.
    stats.Add(3600s, t + 3600s);
    EXPECT_EQ(stats.Longest(), 3600s);
    EXPECT_EQ(stats.CountLongerThan(20us), 2);
}

}  // namespace
