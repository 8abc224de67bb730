// The recorder on the emulated port of a QEMU guest against a bare loop of the same register
// reads, by direct I/O (root) and by ppdev (a user in group lp): the sample rate each reaches,
// the longest gap of the recording, and the recorder's peak memory after 5 s and after 60 s.
// Prints one line per figure for scripts/bench.sh:
//   rate <way> <recorder samples/s> <bare loop rounds/s>
//   stamped direct <bare loop rounds/s with a clock read each round>
//   gap <way> <longest gap as the recorder says it>
//   peak <KiB after 5 s> <KiB after 60 s>
#include "qemu_guest.h"

#include <cstdio>
#include <cstdlib>
#include <iomanip>
#include <iostream>
#include <regex>
#include <string>

namespace {

using namespace hwpanel;

constexpr int kUser = 1000;

// From the recorder's closing line: seconds, samples and the longest gap.
struct Summary {
    double seconds = 0;
    double samples = 0;
    std::string longestGap = "-";
};

Summary Summarize(const RunReport& run)
{
    static const std::regex line(R"(([0-9.]+) s, ([0-9]+) samples, .* longest gap ([0-9.]+ [mun]?s))");
    Summary summary;
    for (const std::string& text : run.err) {
        std::smatch m;
        if (std::regex_search(text, m, line)) {
            summary.seconds = std::stod(m[1]);
            summary.samples = std::stod(m[2]);
            summary.longestGap = m[3];
        }
    }
    return summary;
}

double BareRate(const RunReport& run)
{
    double rounds = 0, nanoseconds = 0;
    if (run.out.empty() || std::sscanf(run.out[0].c_str(), "%lf %lf", &rounds, &nanoseconds) != 2 || nanoseconds <= 0)
        return 0;
    return rounds / (nanoseconds / 1e9);
}

bool Boot(const GuestImage& image, GuestSetup setup, int lastRun, std::chrono::seconds limit, std::unique_ptr<Guest>& guest)
{
    guest = std::make_unique<Guest>(image, setup);
    if (guest->WaitForRun(lastRun, limit))
        return true;
    std::cerr << "the guest did not finish:\n" << guest->Diagnosis();
    return false;
}

void PrintRate(const char* way, const Summary& recorder, double bare)
{
    std::cout << "rate " << way << " " << (recorder.seconds > 0 ? recorder.samples / recorder.seconds : 0) << " "
              << bare << "\n";
    std::cout << "gap " << way << " " << recorder.longestGap << "\n";
}

}  // namespace

int main()
{
    std::cout << std::fixed << std::setprecision(0);
    const GuestImage& image = GuestImage::Get();
    if (!image.error.empty()) {
        std::cerr << image.error << "\n";
        return 1;
    }
    const std::vector<std::string> record = {"--record", "/dev/null", "--for"};
    auto recordFor = [&](const char* duration) {
        std::vector<std::string> args = record;
        args.push_back(duration);
        return args;
    };

    // One guest after the other, so that neither takes the host's processors from the other.
    GuestSetup direct;
    direct.runs = {GuestRun::BareLoop("direct", 5000), GuestRun::Command(recordFor("5s")),
                   GuestRun::Command(recordFor("60s")), GuestRun::BareLoop("direct-clock", 5000)};
    std::unique_ptr<Guest> guest;
    if (!Boot(image, direct, 4, std::chrono::seconds(400), guest))
        return 1;
    PrintRate("direct", Summarize(guest->Run(2)), BareRate(guest->Run(1)));
    std::cout << "stamped direct " << BareRate(guest->Run(4)) << "\n";
    std::cout << "peak " << guest->Run(2).peakKiB << " " << guest->Run(3).peakKiB << "\n";

    GuestSetup ppdev;
    ppdev.runs = {GuestRun::BareLoop("ppdev", 5000), GuestRun::CommandAs(kUser, recordFor("5s"))};
    if (!Boot(image, ppdev, 2, std::chrono::seconds(200), guest))
        return 1;
    PrintRate("ppdev", Summarize(guest->Run(2)), BareRate(guest->Run(1)));
    return 0;
}
