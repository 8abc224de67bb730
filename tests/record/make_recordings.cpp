// Writes one recording of known signals as VCD and CSV, for the programs that no one here wrote
// to read, and beside them what those programs must find: the level of every wire at every
// microsecond, worked out from the signals played, not from the recording.
// Usage: make_recordings <out dir>
// Writes: recording.vcd, recording.csv, expected_levels.csv (one row per microsecond, the wires
// in the file's order, as sigrok-cli prints them), expected_edges.txt ("<us> <wire> <0|1>").
#include "io/register_map.h"
#include "io/simulated_port.h"
#include "io/waveform_inputs.h"
#include "record/csv_sink.h"
#include "record/sampler.h"
#include "record/vcd_sink.h"
#include "record/wires.h"
#include "test_clock.h"

#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

namespace {

using namespace std::chrono_literals;
using std::chrono::nanoseconds;
namespace lpt = io::lpt;

constexpr std::uint16_t kBase = 0x378;
constexpr nanoseconds kEnd = 400us;

// Samples every microsecond, none from 199 us until 300 us: a gap.
nanoseconds SampleTime(std::int64_t i)
{
    return i <= 199 ? i * 1us : 300us + (i - 200) * 1us;
}

// What another program writes to the port, and when.
struct Write {
    nanoseconds at;
    std::uint16_t port;
    std::uint8_t value;
};

const std::vector<Write> kWrites = {
    {20us, kBase, 0x41},      {30us, kBase + 2, 0x0D},  {32us, kBase + 2, 0x0C}, {60us, kBase, 0xFF},
    {61us, kBase, 0x00},      {150us, kBase + 2, 0x0E}, {250us, kBase, 0x55},    {251us, kBase, 0x00},
    {260us, kBase, 0x80},     {320us, kBase + 2, 0x04}, {399us, kBase, 0x01},
};

const std::vector<io::Waveform> kWaveforms = {
    {lpt::kAck, true, {10us, 12us, 100us, 101us, 230us, 240us, 350us}},
    {lpt::kBusy, false, {40us, 45us, 270us}},
    {lpt::kPaperEnd, false, {5us, 395us}},
};

// The port as another program leaves it by the time the clock last told: every write made by then.
class WrittenPort : public io::Bus {
public:
    WrittenPort(io::Bus& inner, const recordtest::ScheduleClock& clock) : m_inner(inner), m_clock(clock) {}
    std::uint8_t In(std::uint16_t port) override
    {
        while (m_next < kWrites.size() && kWrites[m_next].at <= m_clock.Current()) {
            m_inner.Out(kWrites[m_next].port, kWrites[m_next].value);
            ++m_next;
        }
        return m_inner.In(port);
    }
    void Out(std::uint16_t, std::uint8_t) override
    {
        std::fprintf(stderr, "make_recordings: the recorder wrote to the port\n");
        std::exit(1);
    }
    std::string Name() const override { return m_inner.Name(); }

private:
    io::Bus& m_inner;
    const recordtest::ScheduleClock& m_clock;
    std::size_t m_next = 0;
};

// The levels a sample at time t reads, from the tables alone.
record::Registers PortAt(nanoseconds t)
{
    io::SimulatedPort port({kBase});
    for (const Write& write : kWrites)
        if (write.at <= t)
            port.Out(write.port, write.value);
    io::WaveformInputs inputs(port, kBase, kWaveforms, [t] { return t; });
    return {inputs.In(kBase), inputs.In(kBase + 1), inputs.In(kBase + 2)};
}

bool Record(const std::string& dir)
{
    std::FILE* vcd = std::fopen((dir + "/recording.vcd").c_str(), "w");
    std::FILE* csv = std::fopen((dir + "/recording.csv").c_str(), "w");
    if (vcd == nullptr || csv == nullptr)
        return false;
    for (std::FILE* out : {vcd, csv}) {
        recordtest::ScheduleClock clock(SampleTime);
        io::SimulatedPort simulated({kBase});
        WrittenPort written(simulated, clock);
        io::WaveformInputs inputs(written, kBase, kWaveforms, [&] { return clock.Current(); });
        record::VcdSink vcdSink(out, {"Fri Dec 11 00:35:17 2026", "Vellix test recording", "simulated port at 0x0378"});
        record::CsvSink csvSink(out);
        record::Sink& sink = out == vcd ? static_cast<record::Sink&>(vcdSink) : csvSink;
        record::SamplerOptions options;
        options.duration = kEnd;
        record::Sampler sampler(inputs, kBase, clock, sink, options);
        const std::atomic<bool> stop{false};
        sampler.Run(stop);
        if (sink.Error() != 0)
            return false;
    }
    return std::fclose(vcd) == 0 && std::fclose(csv) == 0;
}

bool Expect(const std::string& dir)
{
    std::FILE* levels = std::fopen((dir + "/expected_levels.csv").c_str(), "w");
    std::FILE* edges = std::fopen((dir + "/expected_edges.txt").c_str(), "w");
    if (levels == nullptr || edges == nullptr)
        return false;
    // Between samples a wire holds what the sample before it read; the gap wire is high from the
    // sample before the gap to the one after it.
    std::int64_t sample = 0;
    record::Registers before = PortAt(0us);
    for (nanoseconds t = 0us; t < kEnd; t += 1us) {
        while (SampleTime(sample + 1) <= t)
            ++sample;
        const record::Registers regs = PortAt(SampleTime(sample));
        const bool gap = SampleTime(sample) == 199us;
        std::string row;
        for (const record::Wire& wire : record::Wires()) {
            row += record::High(wire, regs) ? "1," : "0,";
            if (record::High(wire, regs) != record::High(wire, before) && SampleTime(sample) == t)
                std::fprintf(edges, "%lld %.*s %d\n", static_cast<long long>(t.count() / 1000),
                             static_cast<int>(wire.name.size()), wire.name.data(), record::High(wire, regs) ? 1 : 0);
        }
        std::fprintf(levels, "%s%d\n", row.c_str(), gap ? 1 : 0);
        before = regs;
    }
    return std::fclose(levels) == 0 && std::fclose(edges) == 0;
}

}  // namespace

int main(int argc, char** argv)
{
    if (argc != 2) {
        std::fprintf(stderr, "usage: make_recordings <out dir>\n");
        return 2;
    }
    if (!Record(argv[1]) || !Expect(argv[1])) {
        std::perror("make_recordings");
        return 1;
    }
    return 0;
}
