#include "cli/ports_report.h"

#include <algorithm>
#include <vector>

#include "io/candidate_ports.h"
#include "port/panel_choice.h"

namespace cli {
namespace {

// The panel's detection test of one candidate: the same three accesses in the same order.
bool Answers(io::Bus& bus, std::uint16_t base)
{
    bus.Out(base, 0xAA);
    bus.Out(static_cast<std::uint16_t>(base + 2), 0x00);
    return bus.In(base) == 0xAA;
}

// How the port at base is reached, in a word or a device name.
std::string WayName(const io::BusChoice& choice, std::uint16_t base)
{
    const io::SurveyedPort* port = choice.survey.Find(base);
    switch (port ? port->way : io::Way::None) {
    case io::Way::Direct:
        return "direct I/O";
    case io::Way::Ppdev:
    case io::Way::SharedPpdev:
        return port->device;
    case io::Way::None:
        break;
    }
    return "not reached";
}

}  // namespace

int ReportPorts(std::FILE* out, const io::BusChoice& choice, const std::string& saved,
                const std::string& savedProblem)
{
    const io::PortSurvey& survey = choice.survey;
    // The simulated port stands in only when no real port is reached; it is never tested here.
    const bool real = survey.AnyReached() && choice.bus != nullptr;

    std::size_t originWidth = std::string("origin").size();
    for (const io::SurveyedPort& port : survey.ports)
        originWidth = std::max(originWidth, io::DescribeOrigin(port).size());
    const int width = static_cast<int>(originWidth);

    std::fprintf(out, "%-6s  %-7s  %-*s  %s\n", "port", "answers", width, "origin", "way");
    std::vector<std::uint16_t> answering;
    for (const io::SurveyedPort& port : survey.ports) {
        const bool answered = real && Answers(*choice.bus, port.base);
        if (answered)
            answering.push_back(port.base);
        std::fprintf(out, "%-6s  %-7s  %-*s  %s\n", port.label.c_str(), answered ? "yes" : "no",
                     width, io::DescribeOrigin(port).c_str(), io::DescribeWay(port).c_str());
    }
    for (const std::string& line : io::DescribeFacts(survey))
        std::fprintf(out, "%s\n", line.c_str());

    const std::string fallback = io::PortLabel(io::kDefaultBase);
    if (!real) {
        std::fprintf(out, "the panel would use the simulated port at %s: no real port is reached%s\n",
                     fallback.c_str(),
                     survey.kernelKnowsPorts ? "" : " and the kernel knows no parallel port");
    } else {
        // The panel's own rule, asked of what the probe above found.
        std::vector<std::uint16_t> bases;
        for (const io::SurveyedPort& port : survey.ports)
            bases.push_back(port.base);
        const port::PanelChoice panel = port::ChoosePanelPort(saved, bases, [&](std::uint16_t base) {
            return std::find(answering.begin(), answering.end(), base) != answering.end();
        });
        // Worded as the self-test words the port it takes by default: one sentence for both.
        std::fprintf(out, "the panel would use %s (%s), %s\n", io::PortLabel(panel.base).c_str(),
                     WayName(choice, panel.base).c_str(), port::Describe(panel, saved, savedProblem).c_str());
    }
    return answering.empty() ? 1 : 0;
}

}  // namespace cli
