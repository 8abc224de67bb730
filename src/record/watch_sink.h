// A recording as lines for a person: the registers as found, then one line per register that
// changed, with the microseconds since the start, the old and new value and each pin that rose
// or fell, and a line for each gap at least as long as shownGap and each time the port was lent:
//        0 us  data 0x00  status 0x7F  control 0x0C
//     1520 us  status 0x7F -> 0x3F  nAck_pin10 fell
//     2001 us  unseen for 1.2 ms since 801 us: lent to another driver
#pragma once

#include "record/stream_sink.h"

namespace record {

class WatchSink : public StreamSink {
public:
    // Each line is written out as it is made. A short gap is not worth a line: writing that line
    // to a terminal takes longer than the sampler's median interval, so that every line would
    // bring on the next one.
    explicit WatchSink(std::FILE* out, std::chrono::nanoseconds shownGap = std::chrono::milliseconds(1))
        : StreamSink(out), m_shownGap(shownGap)
    {
    }

    void Begin(const Registers& first) override;
    void Record(const Event& event) override;
    void End(std::chrono::nanoseconds last) override;

private:
    std::chrono::nanoseconds m_shownGap;
};

}  // namespace record
