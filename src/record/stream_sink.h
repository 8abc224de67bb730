// A sink that writes text to a stream, remembering the first write that failed.
#pragma once

#include "record/sink.h"

#include <cstdio>
#include <string_view>

namespace record {

class StreamSink : public Sink {
public:
    int Error() const override { return m_error; }

protected:
    // out must stay open as long as the sink is used; the sink never closes it.
    explicit StreamSink(std::FILE* out) : m_out(out) {}

    void Write(std::string_view text);
    // printf-style, for one line or less.
    [[gnu::format(printf, 2, 3)]] void Print(const char* format, ...);
    void Flush();

private:
    std::FILE* m_out;
    int m_error = 0;
};

}  // namespace record
