#include "port_report.h"

#include <algorithm>
#include <string>
#include <vector>

#include "app/config.h"
#include "io/candidate_ports.h"
#include "port/panel_choice.h"
#include "startup.h"

namespace vellix {
namespace {

std::string WayName(const io::BusChoice& choice)
{
    switch (choice.way) {
    case io::BusChoice::Way::Direct:
        return "direct I/O";
    case io::BusChoice::Way::Ppdev:
        return "ppdev (" + choice.caption + ")";
    case io::BusChoice::Way::Simulated:
        return "simulated port";
    }
    return {};
}

}  // namespace

int ReportPorts(std::FILE* out)
{
    const io::BusChoice& chosen = ChosenBus();
    std::fprintf(out, "Candidate ports (the write-and-read-back test the panel runs at start):\n");
    std::vector<std::uint16_t> answered;
    for (std::uint16_t base : io::kCandidateBases) {
        const bool reached = std::find(chosen.bases.begin(), chosen.bases.end(), base) != chosen.bases.end();
        const bool answers = reached && port::AnswersDetectionTest(base);
        if (answers)
            answered.push_back(base);
        std::fprintf(out, "  %s  legacy base  %-28s  %s\n", port::PortLabel(base).c_str(),
                     reached ? WayName(chosen).c_str() : "none", !reached ? "not tested" : answers ? "answered" : "no answer");
    }
    std::fprintf(out, "Access: %s\n", chosen.message.empty() ? "direct I/O to every candidate" : chosen.message.c_str());

    const CString saved = config::ReadSavedText();
    const port::PanelChoice panel = port::ChoosePanelPort(saved.Str(), [&](std::uint16_t base) {
        return std::find(answered.begin(), answered.end(), base) != answered.end();
    });
    std::fprintf(out, "The panel would use %s: %s.\n", port::PortLabel(panel.base).c_str(),
                 port::Describe(panel, saved.Str()).c_str());
    const bool real = chosen.way != io::BusChoice::Way::Simulated;
    return real && !answered.empty() ? 0 : 1;
}

}  // namespace vellix
