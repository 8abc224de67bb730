#include "cli/record_command.h"

#include <unistd.h>

#include <cerrno>
#include <cstring>
#include <ctime>
#include <memory>

#include "cli/record_report.h"
#include "cli/stop_signals.h"
#include "record/clock.h"
#include "record/csv_sink.h"
#include "record/quantities.h"
#include "record/sampler.h"
#include "record/vcd_sink.h"
#include "record/watch_sink.h"
#include "res/version.h"

namespace cli {
namespace {

// A bounded buffer between the sampler and the file: memory stays flat however long it runs.
constexpr std::size_t kFileBuffer = 64 * 1024;

bool EndsWith(const std::string& text, std::string_view end)
{
    return text.size() >= end.size() && text.compare(text.size() - end.size(), end.size(), end) == 0;
}

std::string Now()
{
    const std::time_t now = std::time(nullptr);
    std::tm local{};
    char text[64] = "";
    if (localtime_r(&now, &local) != nullptr)
        std::strftime(text, sizeof text, "%Y-%m-%d %H:%M:%S %z", &local);
    return text;
}

std::string PriorityLine(const Priority& priority)
{
    std::string line = "real-time scheduling ";
    if (priority.realtimeAsked)
        line += priority.realtimeError == 0 ? "granted"
                                            : "refused (" + std::string(std::strerror(priority.realtimeError)) +
                                                  "): other programs may take the processor and leave gaps";
    else
        line += "not asked for: " + priority.realtimeNotAsked;
    if (priority.lockAsked)
        line += priority.lockError == 0 ? "; memory locked"
                                        : "; memory not locked (" + std::string(std::strerror(priority.lockError)) + ")";
    return line;
}

class ProgressDisplay {
public:
    ProgressDisplay(std::FILE* err, bool shown) : m_err(err), m_shown(shown) {}
    void Show(const record::Progress& progress)
    {
        if (!m_shown)
            return;
        // Carriage return and erase to the end of the line: one line, rewritten in place.
        std::fprintf(m_err, "\r%s\033[K", cli::ProgressLine(progress).c_str());
        std::fflush(m_err);
        m_drawn = true;
    }
    void Clear()
    {
        if (m_drawn)
            std::fputs("\r\033[K", m_err);
    }

private:
    std::FILE* m_err;
    bool m_shown;
    bool m_drawn = false;
};

}  // namespace

int RunRecording(const char* program, const CommandLine& command, io::Bus& bus, std::uint16_t base,
                 const std::string& target, const Priority& priority, std::FILE* out, std::FILE* err)
{
    const SignalOptions& options = command.signals;
    const bool watch = command.action == Action::Watch;
    const bool toOut = watch || options.recordFile == "-";
    const std::string shownFile = toOut ? "standard output" : options.recordFile;
    std::FILE* file = out;
    if (!toOut) {
        file = std::fopen(options.recordFile.c_str(), "w");
        if (file == nullptr) {
            std::fprintf(err, "%s: cannot write %s: %s\n", program, shownFile.c_str(), std::strerror(errno));
            return 1;
        }
        std::setvbuf(file, nullptr, _IOFBF, kFileBuffer);
    }

    const bool csv = !watch && EndsWith(options.recordFile, ".csv");
    std::string rate = options.rate ? "at " + record::FormatRate(*options.rate) : "as fast as the way to it allows";
    std::unique_ptr<record::Sink> sink;
    if (watch)
        sink = std::make_unique<record::WatchSink>(file);
    else if (csv)
        sink = std::make_unique<record::CsvSink>(file);
    else
        sink = std::make_unique<record::VcdSink>(
            file, record::VcdHeader{Now(), std::string("Vellix ") + res::kVersion, "port " + target + ", sampled " + rate});

    const std::string until = options.duration ? "for " + record::FormatDuration(*options.duration)
                                               : "until Ctrl+C";
    const std::string into = watch ? "" : ", to " + shownFile + (csv ? " (CSV)" : " (VCD)");
    std::fprintf(err, "%s: %s %s%s, %s, %s\n", program, watch ? "watching" : "recording", target.c_str(),
                 into.c_str(), rate.c_str(), until.c_str());
    std::fprintf(err, "%s: %s\n", program, PriorityLine(priority).c_str());
    std::fflush(err);

    record::SamplerOptions sampling;
    sampling.duration = options.duration;
    if (options.rate)
        sampling.period = record::PeriodOf(*options.rate);
    record::SteadyClock clock;
    record::Sampler sampler(bus, base, clock, *sink, sampling);
    // The watch lines go to the terminal themselves; a progress line would be torn between them.
    ProgressDisplay progressLine(err, !watch && ::isatty(::fileno(err)) == 1);
    sampler.OnProgress([&](const record::Progress& progress) {
        progressLine.Show(progress);
        // What is recorded reaches the file a few times a second, not only at the end.
        std::fflush(file);
    });

    const StopSignals stop;
    const record::Progress recorded = sampler.Run(stop.Flag());
    progressLine.Clear();

    int error = sink->Error();
    if (!toOut && std::fclose(file) != 0 && error == 0)
        error = errno;
    std::fprintf(err, "%s: %s%s\n", program, stop.Received() != 0 ? "stopped: " : "", SummaryLine(recorded).c_str());
    if (error != 0) {
        // Standard output's own failure is said once, by the check of the standard streams at exit.
        if (!toOut)
            std::fprintf(err, "%s: cannot write %s: %s\n", program, shownFile.c_str(), std::strerror(error));
        return 1;
    }
    return 0;
}

}  // namespace cli
