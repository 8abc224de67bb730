#include "record/watch_sink.h"

#include "record/quantities.h"
#include "record/wires.h"

#include <cinttypes>
#include <string>

namespace record {
namespace {

std::string Stamp(std::chrono::nanoseconds t)
{
    char text[32];
    std::snprintf(text, sizeof text, "%9" PRId64 " us", static_cast<std::int64_t>(t.count() / 1000));
    return text;
}

}  // namespace

void WatchSink::Begin(const Registers& first)
{
    Print("%s  data 0x%02X  status 0x%02X  control 0x%02X\n", Stamp(std::chrono::nanoseconds{0}).c_str(), first.data,
          first.status, first.control);
    Flush();
}

void WatchSink::Record(const Event& event)
{
    const std::string stamp = Stamp(event.time);
    if (event.gap && (event.gap->lent || event.time - event.gap->from >= m_shownGap)) {
        Print("%s  unseen for %s since %" PRId64 " us%s\n", stamp.c_str(),
              FormatDuration(event.time - event.gap->from).c_str(),
              static_cast<std::int64_t>(event.gap->from.count() / 1000),
              event.gap->lent ? ": lent to another driver" : "");
    }
    constexpr io::lpt::Offset kRegisters[] = {io::lpt::kData, io::lpt::kStatus, io::lpt::kControl};
    constexpr const char* kNames[] = {"data", "status", "control"};
    for (int r = 0; r < 3; ++r) {
        const std::uint8_t before = event.before.At(kRegisters[r]), after = event.after.At(kRegisters[r]);
        if (before == after)
            continue;
        std::string line = stamp + "  " + kNames[r];
        char values[32];
        std::snprintf(values, sizeof values, " 0x%02X -> 0x%02X", before, after);
        line += values;
        const char* separator = "  ";
        for (const Wire& wire : Wires()) {
            if (wire.reg != kRegisters[r] || High(wire, event.before) == High(wire, event.after))
                continue;
            line += separator + std::string(wire.name) + (High(wire, event.after) ? " rose" : " fell");
            separator = ", ";
        }
        Write(line + "\n");
    }
    // Someone is watching: each change is theirs as soon as it is seen.
    if (event.before != event.after || event.gap)
        Flush();
}

void WatchSink::End(std::chrono::nanoseconds last)
{
    (void)last;
    Flush();
}

}  // namespace record
