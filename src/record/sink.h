// Where a recording goes: the first sample, then every change and every gap, then the end.
#pragma once

#include "record/registers.h"

#include <chrono>
#include <optional>

namespace record {

// A stretch in which the port was not looked at.
struct Gap {
    std::chrono::nanoseconds from;  // the sample before it
    // The port was lent to another driver that waited for it (a print job); otherwise the
    // interval was far longer than the rest (the program was not running).
    bool lent = false;
};

// A sample that differs from the one before, or that ends a gap, or both.
struct Event {
    std::chrono::nanoseconds time;  // since the first sample
    Registers before;
    Registers after;
    std::optional<Gap> gap;  // the gap that ends with this sample
};

class Sink {
public:
    virtual ~Sink() = default;
    // The first sample, at time 0.
    virtual void Begin(const Registers& first) = 0;
    virtual void Record(const Event& event) = 0;
    // The last sample was taken at `last`; nothing follows.
    virtual void End(std::chrono::nanoseconds last) = 0;
    // A write failed: the errno value of the first that did; 0 while none has.
    virtual int Error() const = 0;
};

}  // namespace record
