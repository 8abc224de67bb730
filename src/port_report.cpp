#include "port_report.h"

#include <algorithm>
#include <vector>

#include "io/candidate_ports.h"

namespace vellix {
namespace {

// The panel's detection test of one candidate: the same three accesses in the same order.
bool Answers(io::Bus& bus, std::uint16_t base)
{
    bus.Out(base, 0xAA);
    bus.Out(static_cast<std::uint16_t>(base + 2), 0x00);
    return bus.In(base) == 0xAA;
}

// config.ovm may hold anything; the report shows it quoted, with unprintable bytes as '?'.
std::string Quoted(const std::string& text)
{
    std::string quoted = "\"";
    for (char c : text)
        quoted += (c >= 0x20 && c < 0x7F) ? c : '?';
    return quoted + "\"";
}

// How the port at base is reached, in a word or a device name.
std::string WayName(const io::BusChoice& choice, std::uint16_t base)
{
    for (const io::SurveyedPort& port : choice.survey.ports) {
        if (port.base != base)
            continue;
        switch (port.way) {
        case io::Way::Direct:
            return "direct I/O";
        case io::Way::Ppdev:
        case io::Way::SharedPpdev:
            return port.device;
        case io::Way::None:
            break;
        }
    }
    return "not reached";
}

}  // namespace

int ReportPorts(std::FILE* out, const io::BusChoice& choice, const std::string& saved)
{
    const io::PortSurvey& survey = choice.survey;
    // The simulated port stands in only when no real port is reached; it is never tested here.
    const bool real = survey.AnyReached() && choice.bus != nullptr;

    std::size_t originWidth = std::string("origin").size();
    for (const io::SurveyedPort& port : survey.ports)
        originWidth = std::max(originWidth, io::DescribeOrigin(port).size());
    const int width = static_cast<int>(originWidth);

    std::fprintf(out, "%-6s  %-7s  %-*s  %s\n", "port", "answers", width, "origin", "way");
    const io::SurveyedPort* chosen = nullptr;
    bool anyAnswered = false;
    for (const io::SurveyedPort& port : survey.ports) {
        const bool answered = real && Answers(*choice.bus, port.base);
        anyAnswered = anyAnswered || answered;
        if (answered && port.label == saved)
            chosen = &port;
        std::fprintf(out, "%-6s  %-7s  %-*s  %s\n", port.label.c_str(), answered ? "yes" : "no",
                     width, io::DescribeOrigin(port).c_str(), io::DescribeWay(port).c_str());
    }
    for (const std::string& device : survey.usbPrinters)
        std::fprintf(out, "%s is a USB printer adapter: it has no registers that Vellix can drive\n",
                     device.c_str());

    const std::string fallback = io::PortLabel(io::kDefaultBase);
    if (!real) {
        std::fprintf(out, "the panel would use the simulated port at %s: no real port is reached%s\n",
                     fallback.c_str(),
                     survey.kernelKnowsPorts ? "" : " and the kernel knows no parallel port");
    } else if (chosen != nullptr) {
        std::fprintf(out, "the panel would use %s (%s): saved in config.ovm\n", chosen->label.c_str(),
                     WayName(choice, chosen->base).c_str());
    } else {
        const std::string why = saved.empty()
                                    ? "config.ovm names no port"
                                    : "config.ovm names " + Quoted(saved) + ", which is no port that answered";
        std::fprintf(out, "the panel would use %s (%s), the default: %s\n", fallback.c_str(),
                     WayName(choice, io::kDefaultBase).c_str(), why.c_str());
    }
    return anyAnswered ? 0 : 1;
}

}  // namespace vellix
