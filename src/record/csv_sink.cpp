#include "record/csv_sink.h"

#include "record/wires.h"

#include <cinttypes>
#include <string>

namespace record {

void CsvSink::Begin(const Registers& first)
{
    std::string header = "time_us,data,status,control,unseen_us,lent";
    for (const Wire& wire : Wires())
        header += "," + std::string(wire.name);
    Write(header + "\n");
    Row(std::chrono::nanoseconds{0}, first, std::chrono::nanoseconds{0}, false);
}

void CsvSink::Record(const Event& event)
{
    const std::chrono::nanoseconds unseen = event.gap ? event.time - event.gap->from : std::chrono::nanoseconds{0};
    Row(event.time, event.after, unseen, event.gap && event.gap->lent);
}

void CsvSink::End(std::chrono::nanoseconds last)
{
    (void)last;
    Flush();
}

void CsvSink::Row(std::chrono::nanoseconds time, const Registers& regs, std::chrono::nanoseconds unseen, bool lent)
{
    const auto micros = [](std::chrono::nanoseconds t) {
        char text[32];
        std::snprintf(text, sizeof text, "%" PRId64 ".%03" PRId64, static_cast<std::int64_t>(t.count() / 1000),
                      static_cast<std::int64_t>(t.count() % 1000));
        return std::string(text);
    };
    std::string row = micros(time);
    char registers[40];
    std::snprintf(registers, sizeof registers, ",0x%02X,0x%02X,0x%02X,", regs.data, regs.status, regs.control);
    row += registers + micros(unseen) + (lent ? ",1" : ",0");
    for (const Wire& wire : Wires())
        row += High(wire, regs) ? ",1" : ",0";
    Write(row + "\n");
}

}  // namespace record
