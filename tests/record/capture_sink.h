// A sink that keeps what it is given, for tests to look at.
#pragma once

#include "record/sink.h"

#include <vector>

namespace recordtest {

class CaptureSink : public record::Sink {
public:
    void Begin(const record::Registers& regs) override { first = regs; }
    void Record(const record::Event& event) override { events.push_back(event); }
    void End(std::chrono::nanoseconds last) override { end = last; }
    int Error() const override { return error; }

    record::Registers first;
    std::vector<record::Event> events;
    std::optional<std::chrono::nanoseconds> end;
    int error = 0;
};

}  // namespace recordtest
