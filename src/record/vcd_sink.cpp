#include "record/vcd_sink.h"

#include "record/wires.h"

#include <cinttypes>

namespace record {
namespace {

// Identifier codes: a letter per wire from A, and the gap's. Letters only, although the format
// allows any printable character: '#' and '$' would confuse readers that look for timestamps
// and keywords in the wrong place.
char Code(std::size_t wire)
{
    return static_cast<char>('A' + wire);
}

char GapCode()
{
    return 'Z';
}

}  // namespace

VcdSink::VcdSink(std::FILE* out, VcdHeader header) : StreamSink(out), m_header(std::move(header))
{
}

void VcdSink::Value(bool high, char code)
{
    const char line[] = {high ? '1' : '0', code, '\n'};
    Write(std::string_view(line, sizeof line));
}

void VcdSink::Begin(const Registers& first)
{
    Write("$date\n\t" + m_header.date + "\n$end\n");
    Write("$version\n\t" + m_header.version + "\n$end\n");
    if (!m_header.comment.empty())
        Write("$comment\n\t" + m_header.comment + "\n$end\n");
    Write("$timescale 1 us $end\n$scope module lpt $end\n");
    for (std::size_t i = 0; i < Wires().size(); ++i)
        Print("$var wire 1 %c %.*s $end\n", Code(i), static_cast<int>(Wires()[i].name.size()), Wires()[i].name.data());
    Print("$var wire 1 %c %.*s $end\n", GapCode(), static_cast<int>(kGapWire.size()), kGapWire.data());
    Write("$upscope $end\n$enddefinitions $end\n");
    At(std::chrono::nanoseconds{0});
    Write("$dumpvars\n");
    for (std::size_t i = 0; i < Wires().size(); ++i)
        Value(High(Wires()[i], first), Code(i));
    Value(false, GapCode());
    Write("$end\n");
}

void VcdSink::At(std::chrono::nanoseconds t)
{
    if (m_stamped && t == m_blockTime)
        return;
    const auto micros = static_cast<std::uint64_t>(t.count() / 1000);
    m_blockStamp = m_stamped && micros <= m_blockStamp ? m_blockStamp + 1 : micros;
    m_blockTime = t;
    m_stamped = true;
    Print("#%" PRIu64 "\n", m_blockStamp);
}

void VcdSink::CloseGap()
{
    // The gap ended with the sample recorded last, whose block is still the current one.
    At(m_gapEnd);
    Value(false, GapCode());
    m_gapOpen = false;
}

void VcdSink::Record(const Event& event)
{
    const bool continues = m_gapOpen && event.gap && event.gap->from == m_gapEnd;
    if (m_gapOpen && !continues)
        CloseGap();
    if (event.gap && !continues) {
        At(event.gap->from);
        Value(true, GapCode());
    }
    At(event.time);
    for (std::size_t i = 0; i < Wires().size(); ++i) {
        const bool high = High(Wires()[i], event.after);
        if (high != High(Wires()[i], event.before))
            Value(high, Code(i));
    }
    if (event.gap) {
        m_gapOpen = true;
        m_gapEnd = event.time;
    }
}

void VcdSink::End(std::chrono::nanoseconds last)
{
    if (m_gapOpen)
        CloseGap();
    // The file ends with a time, so that a viewer gives the last values their length: when the
    // last block already stands at the end (a gap closed by the last sample), one microsecond on.
    if (m_stamped && last <= m_blockTime)
        Print("#%" PRIu64 "\n", m_blockStamp + 1);
    else
        At(last);
    Flush();
}

}  // namespace record
