#include "cli/signal_target.h"

#include "io/candidate_ports.h"

namespace cli {
namespace {

bool Reached(const io::SurveyedPort* port)
{
    return port != nullptr && port->way != io::Way::None;
}

std::string Through(const io::SurveyedPort& port)
{
    switch (port.way) {
    case io::Way::Direct:
        return port.label + " through direct I/O";
    case io::Way::Ppdev:
        return port.label + " through ppdev (" + port.device + ")";
    case io::Way::SharedPpdev:
        return port.label + " through ppdev (" + port.device + ", beside the printer driver)";
    case io::Way::None:
        break;
    }
    return port.label;
}

std::string ReachedLabels(const io::PortSurvey& survey)
{
    std::string labels;
    for (const io::SurveyedPort& port : survey.ports) {
        if (!Reached(&port))
            continue;
        if (!labels.empty())
            labels += ", ";
        labels += port.label;
    }
    return labels;
}

}  // namespace

TargetChoice ChooseSignalTarget(const io::PortSurvey& survey, const SignalOptions& options,
                                std::string_view savedText, std::string_view verb, std::string_view simulatedHint,
                                const std::function<bool(std::uint16_t)>& readsFloating)
{
    const auto answers = [&](const io::SurveyedPort& port) {
        return Reached(&port) && (!port.device.empty() || !readsFloating(port.base));
    };
    TargetChoice choice;
    if (options.port) {
        const io::SurveyedPort* port = survey.Find(*options.port);
        if (Reached(port)) {
            choice.target = SignalTarget{port->base, Through(*port)};
        } else if (port != nullptr) {
            choice.problem = "cannot " + std::string(verb) + " " + port->label + ": " + io::DescribeWay(*port);
        } else {
            const std::string reached = ReachedLabels(survey);
            choice.problem = "cannot reach a port at " + io::PortLabel(*options.port) + ": " +
                             (reached.empty() ? "no port can be reached" : "only " + reached + " can be reached");
        }
        return choice;
    }
    if (!survey.AnyReached()) {
        choice.problem = "no real port is reached, so there is none to " + std::string(verb) +
                         " (the lines above say why and what to do); " + std::string(simulatedHint);
        return choice;
    }
    for (const io::SurveyedPort& port : survey.ports) {
        if (port.label == savedText && answers(port)) {
            choice.target = SignalTarget{port.base, Through(port) + ", the port saved in config.ovm"};
            return choice;
        }
    }
    for (const io::SurveyedPort& port : survey.ports) {
        if (!answers(port))
            continue;
        std::string why = ", the lowest port that answers";
        for (const io::SurveyedPort& named : survey.ports)
            if (!savedText.empty() && named.label == savedText)
                why += " (config.ovm names " + named.label + ", which " +
                       (Reached(&named) ? "reads 0xFF in every register" : "is not reached") + ")";
        choice.target = SignalTarget{port.base, Through(port) + why};
        return choice;
    }
    choice.problem = "no port answers: the ports reached (" + ReachedLabels(survey) +
                     ") read 0xFF in every register, as an address with nothing behind it does; --port names one "
                     "all the same";
    return choice;
}

}  // namespace cli
