// A recording as a value change dump (IEEE 1364), which GTKWave and PulseView open: one wire
// per pin named by signal and pin, its level the pin's, and a wire "gap" that is 1 while the
// port went unseen. Times are in microseconds; a change that falls within the same microsecond
// as the one before is written one microsecond later, so that no edge is lost.
#pragma once

#include "record/stream_sink.h"

#include <cstdint>
#include <string>

namespace record {

struct VcdHeader {
    std::string date;     // when the recording began, in words
    std::string version;  // the program that wrote it
    std::string comment;  // the port, the way to it and the rate asked for
};

class VcdSink : public StreamSink {
public:
    VcdSink(std::FILE* out, VcdHeader header);

    void Begin(const Registers& first) override;
    void Record(const Event& event) override;
    void End(std::chrono::nanoseconds last) override;

    // The name of the wire that marks gaps.
    static constexpr std::string_view kGapWire = "gap";

private:
    // Starts the block of changes at t, unless it is the current one.
    void At(std::chrono::nanoseconds t);
    void Value(bool high, char code);
    void CloseGap();

    VcdHeader m_header;
    bool m_stamped = false;
    std::chrono::nanoseconds m_blockTime{0};
    std::uint64_t m_blockStamp = 0;
    bool m_gapOpen = false;
    std::chrono::nanoseconds m_gapEnd{0};
};

}  // namespace record
