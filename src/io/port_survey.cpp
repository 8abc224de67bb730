#include "io/port_survey.h"

namespace io {

bool PortSurvey::AnyReached() const
{
    for (const SurveyedPort& port : ports)
        if (port.way != Way::None)
            return true;
    return false;
}

std::string DescribeOrigin(const SurveyedPort& port)
{
    if (!port.legacy)
        return port.device;
    return port.device.empty() ? "legacy base" : "legacy base, " + port.device;
}

std::string DescribeWay(const SurveyedPort& port)
{
    switch (port.way) {
    case Way::Direct:
        return "direct I/O";
    case Way::Ppdev:
        return "ppdev";
    case Way::SharedPpdev:
        return "ppdev shared with the printer driver (printing waits until Vellix ends)";
    case Way::None:
        break;
    }
    return "not reached (" + port.reason + "); fix: " + port.fix;
}

namespace {

// Legacy bases without a kernel port that share their outcome read best as one line: on most
// machines they are three or four empty addresses.
bool Groupable(const SurveyedPort& a, const SurveyedPort& b)
{
    return a.legacy && b.legacy && a.device.empty() && b.device.empty() && a.way == b.way &&
           a.reason == b.reason && a.fix == b.fix;
}

}  // namespace

std::vector<std::string> DescribeSurvey(const PortSurvey& survey)
{
    std::vector<std::string> lines;
    std::vector<bool> told(survey.ports.size(), false);
    for (std::size_t i = 0; i < survey.ports.size(); ++i) {
        if (told[i])
            continue;
        const SurveyedPort& port = survey.ports[i];
        std::string labels = port.label;
        std::size_t count = 1;
        for (std::size_t j = i + 1; j < survey.ports.size(); ++j) {
            if (!told[j] && Groupable(port, survey.ports[j])) {
                labels += ", " + survey.ports[j].label;
                told[j] = true;
                ++count;
            }
        }
        const std::string origin = count > 1 ? "legacy bases" : DescribeOrigin(port);
        lines.push_back(labels + " (" + origin + "): " + DescribeWay(port));
    }
    lines.insert(lines.end(), survey.unusable.begin(), survey.unusable.end());
    for (const std::string& device : survey.usbPrinters)
        lines.push_back(device + " is a USB printer adapter: it has no registers that Vellix can "
                                 "drive, only a parallel port card or an on-board port has");
    if (!survey.AnyReached())
        lines.push_back(survey.kernelKnowsPorts
                            ? "no real port is reached: using the simulated port"
                            : "the kernel knows no parallel port and no real port is reached: "
                              "using the simulated port");
    return lines;
}

}  // namespace io
