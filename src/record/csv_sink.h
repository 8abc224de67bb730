// A recording as comma-separated values: a header, then one row for the first sample and for
// each change or gap. Columns: time_us (microseconds since the first sample, to the nanosecond),
// data, status, control (as 0x hex), unseen_us (how long the port went unseen before this row,
// 0 if it did not), lent (1 when it was lent to another driver then), then one column per pin
// with its level, 0 or 1.
#pragma once

#include "record/stream_sink.h"

namespace record {

class CsvSink : public StreamSink {
public:
    explicit CsvSink(std::FILE* out) : StreamSink(out) {}

    void Begin(const Registers& first) override;
    void Record(const Event& event) override;
    void End(std::chrono::nanoseconds last) override;

private:
    void Row(std::chrono::nanoseconds time, const Registers& regs, std::chrono::nanoseconds unseen, bool lent);
};

}  // namespace record
