// The simulated port's inputs playing waveforms: levels at and between edges, Busy inverted by
// the port, the other inputs and registers left to the port behind.
#include "io/waveform_inputs.h"

#include "io/register_map.h"
#include "io/simulated_port.h"

#include <gtest/gtest.h>

namespace {

using namespace std::chrono_literals;
namespace lpt = io::lpt;

TEST(WaveformInputs, StatusReadsEachWaveformsLevelAtTheClocksTime)
{
    io::SimulatedPort port({0x378});
    port.Out(0x37A, 0x04);  // Init high: the loopback plug holds nAck (pin 10) high
    std::chrono::nanoseconds now{0};
    io::WaveformInputs inputs(port, 0x378,
                              {{lpt::kSelect, false, {10us, 20us}}, {lpt::kBusy, true, {5us}}},
                              [&] { return now; });
    struct Case {
        std::chrono::nanoseconds at;
        bool select;  // pin 13
        bool busy;    // pin 11
    };
    for (const Case& c : {Case{0us, false, true}, Case{4999ns, false, true}, Case{5us, false, false},
                          Case{10us, true, false}, Case{19us, true, false}, Case{20us, false, false}}) {
        now = c.at;
        const std::uint8_t status = inputs.In(0x379);
        EXPECT_EQ((status & lpt::kSelect) != 0, c.select) << c.at.count();
        EXPECT_EQ((status & lpt::kBusy) == 0, c.busy) << c.at.count();
        EXPECT_NE(status & lpt::kAck, 0) << "an input without a waveform is the port's";
    }
    inputs.Out(0x378, 0x5A);
    EXPECT_EQ(inputs.In(0x378), 0x5A);
    EXPECT_EQ(inputs.In(0x279), 0xFF) << "another base is the port's";
}

}  // namespace
