// The sampler against the simulated port playing known waveforms on its inputs: every edge is
// found at the first sample at or after it, gaps are marked and counted, nothing is written.
#include "record/sampler.h"

#include "capture_sink.h"
#include "io/recording_bus.h"
#include "io/register_map.h"
#include "io/simulated_port.h"
#include "io/waveform_inputs.h"
#include "record/wires.h"
#include "test_clock.h"

#include <gtest/gtest.h>

#include <ostream>
#include <string>
#include <vector>

namespace {

using namespace recordtest;
using std::chrono::nanoseconds;
namespace lpt = io::lpt;

constexpr std::uint16_t kBase = 0x378;

// One pin's level changing at a time, as a recording shows it.
struct Edge {
    nanoseconds time;
    std::string wire;
    bool high;
    friend bool operator==(const Edge&, const Edge&) = default;
};

std::ostream& operator<<(std::ostream& os, const Edge& edge)
{
    return os << edge.time.count() << " ns " << edge.wire << (edge.high ? " rose" : " fell");
}

std::vector<Edge> Edges(const std::vector<record::Event>& events)
{
    std::vector<Edge> edges;
    for (const record::Event& event : events)
        for (const record::Wire& wire : record::Wires())
            if (record::High(wire, event.before) != record::High(wire, event.after))
                edges.push_back({event.time, std::string(wire.name), record::High(wire, event.after)});
    return edges;
}

// The simulated port with waveforms on nAck and Busy, every access logged, sampled on a script.
class Recording : public testing::Test {
protected:
    Recording()
    {
        // nAck: a 2 us low pulse, a fall at 100 us, a pulse inside the gap of the gap schedule,
        // an edge at 260 us inside the gap, one at 350 us after it. Busy: a 1 us high pulse.
        m_waveforms = {
            {lpt::kAck, true, {5us, 7us, 100us, 120us, 250us, 251us, 260us, 350us}},
            {lpt::kBusy, false, {50us, 51us}},
        };
    }

    record::Progress Record(std::function<nanoseconds(std::int64_t)> schedule, record::SamplerOptions options)
    {
        ScheduleClock clock(std::move(schedule));
        io::WaveformInputs inputs(m_port, kBase, m_waveforms, [&] { return clock.Current(); });
        io::RecordingBus logged(inputs);
        record::Sampler sampler(logged, kBase, clock, sink, options);
        const record::Progress progress = sampler.Run(m_stop);
        for (const io::Access& access : logged.Log())
            m_writes += access.kind == io::Access::Kind::Write ? 1 : 0;
        return progress;
    }

    static record::SamplerOptions For(nanoseconds duration)
    {
        record::SamplerOptions options;
        options.duration = duration;
        return options;
    }

    io::SimulatedPort m_port{{kBase}};
    std::vector<io::Waveform> m_waveforms;
    std::atomic<bool> m_stop{false};
    CaptureSink sink;
    int m_writes = 0;
};

TEST_F(Recording, EveryEdgeAtTheFirstSampleAtOrAfterIt)
{
    // A sample every microsecond, the first at 0: each edge is seen exactly at its time.
    const record::Progress progress = Record([](std::int64_t i) { return i * 1us; }, For(400us));
    const std::vector<Edge> expected = {
        {5us, "nAck_pin10", false},   {7us, "nAck_pin10", true},   {50us, "Busy_pin11", true},
        {51us, "Busy_pin11", false},  {100us, "nAck_pin10", false}, {120us, "nAck_pin10", true},
        {250us, "nAck_pin10", false}, {251us, "nAck_pin10", true},  {260us, "nAck_pin10", false},
        {350us, "nAck_pin10", true},
    };
    EXPECT_EQ(Edges(sink.events), expected);
    EXPECT_TRUE(record::High(record::Wires()[9], sink.first)) << "nAck starts high";
    EXPECT_EQ(progress.samples, 401);
    EXPECT_EQ(progress.changes, 10);
    EXPECT_EQ(progress.elapsed, 400us);
    EXPECT_DOUBLE_EQ(progress.Rate(), 1e6);
    EXPECT_EQ(sink.end, 400us);
    EXPECT_EQ(m_writes, 0) << "a recording never writes";
    for (const record::Event& event : sink.events)
        EXPECT_FALSE(event.gap) << event.time.count();
}

TEST_F(Recording, AGapHidesWhatHappenedInItAndIsMarkedAndCounted)
{
    // Samples every 3 us up to 198 us, then none until 300 us. Busy's 1 us pulse falls between
    // the samples at 48 and 51 us; nAck's pulse at 250 us is lost in the gap and its edge at
    // 260 us is seen late, at the first sample after it.
    const auto schedule = [](std::int64_t i) { return i <= 66 ? i * 3us : 300us + (i - 67) * 3us; };
    const record::Progress progress = Record(schedule, For(360us));
    const std::vector<Edge> expected = {
        {6us, "nAck_pin10", false},   {9us, "nAck_pin10", true},   {102us, "nAck_pin10", false},
        {120us, "nAck_pin10", true},  {300us, "nAck_pin10", false}, {351us, "nAck_pin10", true},
    };
    EXPECT_EQ(Edges(sink.events), expected);
    std::vector<nanoseconds> gapEnds;
    for (const record::Event& event : sink.events) {
        if (event.gap) {
            gapEnds.push_back(event.time);
            EXPECT_EQ(event.gap->from, 198us);
            EXPECT_FALSE(event.gap->lent);
        }
    }
    EXPECT_EQ(gapEnds, std::vector<nanoseconds>{300us});
    EXPECT_EQ(progress.longest, 102us);
    EXPECT_EQ(progress.longestFrom, 198us);
    EXPECT_EQ(progress.median, 3us);
    EXPECT_EQ(progress.longGaps, 1);
}

TEST_F(Recording, AGapWithoutAChangeIsStillRecorded)
{
    m_waveforms.clear();
    const auto schedule = [](std::int64_t i) { return i <= 100 ? i * 1us : 150us + (i - 101) * 1us; };
    Record(schedule, For(200us));
    ASSERT_EQ(sink.events.size(), 1u);
    EXPECT_EQ(sink.events[0].time, 150us);
    EXPECT_EQ(sink.events[0].before, sink.events[0].after);
    ASSERT_TRUE(sink.events[0].gap);
    EXPECT_EQ(sink.events[0].gap->from, 100us);
}

// A bus that lends the port to a waiting driver at its third yield.
class LendingBus : public io::Bus {
public:
    explicit LendingBus(io::Bus& inner) : m_inner(inner) {}
    std::uint8_t In(std::uint16_t port) override { return m_inner.In(port); }
    void Out(std::uint16_t port, std::uint8_t value) override { m_inner.Out(port, value); }
    std::string Name() const override { return "lending"; }
    bool Yield(std::uint16_t base) override
    {
        EXPECT_EQ(base, kBase);
        return ++yields == 3;
    }
    int yields = 0;

private:
    io::Bus& m_inner;
};

TEST_F(Recording, APortLentToAnotherDriverIsAGapHoweverShort)
{
    ScheduleClock clock([](std::int64_t i) { return i * 1us; });
    LendingBus lending(m_port);
    record::SamplerOptions options = For(100us);
    options.yieldEvery = 10us;
    record::Sampler sampler(lending, kBase, clock, sink, options);
    const record::Progress progress = sampler.Run(m_stop);
    // Yields after the samples at 10, 20 and 30 us; the third lent the port until the next one.
    EXPECT_EQ(lending.yields, 10);
    EXPECT_EQ(progress.lentGaps, 1);
    ASSERT_EQ(sink.events.size(), 1u);
    EXPECT_EQ(sink.events[0].time, 31us);
    ASSERT_TRUE(sink.events[0].gap);
    EXPECT_EQ(sink.events[0].gap->from, 30us);
    EXPECT_TRUE(sink.events[0].gap->lent);
}

TEST_F(Recording, AtARateSamplesOnScheduleAndEndsAtTheDuration)
{
    SleepingClock clock(100ns, 2us);
    io::WaveformInputs inputs(m_port, kBase, m_waveforms, [&] { return clock.Current(); });
    record::SamplerOptions options = For(1ms);
    options.period = 100us;
    record::Sampler sampler(inputs, kBase, clock, sink, options);
    const record::Progress progress = sampler.Run(m_stop);
    EXPECT_EQ(progress.samples, 11);
    EXPECT_GE(progress.elapsed, 1ms);
    EXPECT_LT(progress.elapsed, 1ms + 10us);
    // nAck's 2 us pulse at 5 us falls between two samples; the fall at 100 us is seen at the
    // sample after it.
    const std::vector<Edge> edges = Edges(sink.events);
    ASSERT_FALSE(edges.empty());
    EXPECT_EQ(edges[0].wire, "nAck_pin10");
    EXPECT_GE(edges[0].time, 100us);
    EXPECT_LT(edges[0].time, 110us);
}

TEST_F(Recording, StopsWhenAskedAndWhenTheSinkFails)
{
    ScheduleClock clock([](std::int64_t i) { return i * 1us; });
    record::SamplerOptions options;
    options.progressEvery = 10us;
    record::Sampler sampler(m_port, kBase, clock, sink, options);
    std::vector<std::int64_t> reported;
    sampler.OnProgress([&](const record::Progress& progress) {
        reported.push_back(progress.samples);
        if (progress.elapsed >= 50us)
            m_stop = true;
    });
    const record::Progress progress = sampler.Run(m_stop);
    EXPECT_EQ(progress.elapsed, 50us);
    EXPECT_EQ(reported, (std::vector<std::int64_t>{11, 21, 31, 41, 51}));
    EXPECT_EQ(sink.end, 50us);

    CaptureSink failing;
    failing.error = ENOSPC;
    m_stop = false;
    record::Sampler stopped(m_port, kBase, clock, failing, options);
    EXPECT_EQ(stopped.Run(m_stop).samples, 1);
}

}  // namespace
