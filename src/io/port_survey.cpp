#include "io/port_survey.h"

namespace io {

const SurveyedPort* PortSurvey::Find(std::uint16_t base) const
{
    for (const SurveyedPort& port : ports)
        if (port.base == base)
            return &port;
    return nullptr;
}

bool PortSurvey::AnyReached() const
{
    for (const SurveyedPort& port : ports)
        if (port.way != Way::None)
            return true;
    return false;
}

namespace {

// The mode field of the extended control register, bits 7..5.
constexpr const char* kEcrModes[] = {"SPP", "PS/2", "FIFO", "ECP", "EPP", "reserved", "test", "configuration"};

int EcrMode(std::uint8_t ecr) { return ecr >> 5; }

bool ListsMode(const std::string& modes, const std::string& mode)
{
    const std::string list = "," + modes + ",";
    return list.find("," + mode + ",") != std::string::npos;
}

}  // namespace

Direction DirectionOf(const SurveyedPort& port)
{
    if (!port.modes.empty())
        return ListsMode(port.modes, "TRISTATE") ? Direction::Turns : Direction::Fixed;
    if (port.ecr) {
        switch (EcrMode(*port.ecr)) {
        case 1: case 3: case 4: return Direction::Turns;  // PS/2, ECP and EPP honour the bit
        case 0: case 2: return Direction::Fixed;          // SPP and FIFO ignore it
        default: break;
        }
    }
    return Direction::Unknown;
}

std::string DescribeModes(const SurveyedPort& port)
{
    if (!port.modes.empty())
        return "modes " + port.modes;
    if (port.ecr)
        return std::string("ECR mode ") + kEcrModes[EcrMode(*port.ecr)];
    return {};
}

std::string DescribeDirection(const SurveyedPort& port)
{
    const std::string why = !port.modes.empty() ? (ListsMode(port.modes, "TRISTATE") ? "the kernel lists TRISTATE"
                                                                                      : "the kernel lists no TRISTATE")
                            : port.ecr          ? "the chip is in " + std::string(kEcrModes[EcrMode(*port.ecr)]) + " mode"
                                                : std::string();
    switch (DirectionOf(port)) {
    case Direction::Turns:
        return "on " + port.label + " the data lines become inputs (" + why + ")";
    case Direction::Fixed:
        return "on " + port.label + " the data lines stay outputs (" + why +
               "): choose PS/2, bidirectional or EPP/ECP for the port in the firmware setup, or let "
               "parport_pc switch the chip (`modprobe parport_pc`)";
    case Direction::Unknown:
        break;
    }
    return {};
}

std::string DescribeCard(const PciCard& card, const PortSurvey& survey)
{
    std::string line = "PCI card " + card.slot + " (" + card.vendor + ":" + card.device +
                       (card.parallelClass ? ", parallel port" : ", serial and parallel ports") + "): ";
    if (card.driver.empty()) {
        if (!card.driverLoaded)
            return line + "no driver is bound; fix: load it with `modprobe parport_pc` (`modprobe parport_serial` "
                          "for a card with serial ports too)";
        return line + "no driver is bound, as parport_pc does not know its ID; fix: `echo " + card.vendor + " " +
               card.device + " > /sys/bus/pci/drivers/parport_pc/new_id`";
    }
    line += "driver " + card.driver;
    if (card.devices.empty())
        return line + ", but it became no parallel port (see the kernel's messages with `dmesg`)";
    for (const std::string& device : card.devices) {
        line += ", " + device;
        for (const SurveyedPort& port : survey.ports)
            if (port.device == device)
                line += " at " + port.label;
    }
    return line;
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
        return port.claimHeld ? "direct I/O, with the kernel's claim held (printing waits until Vellix ends)"
                              : "direct I/O";
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

std::vector<std::string> DescribeFacts(const PortSurvey& survey)
{
    std::vector<std::string> lines;
    for (const SurveyedPort& port : survey.ports) {
        const std::string modes = DescribeModes(port);
        if (modes.empty())
            continue;
        const std::string direction = DescribeDirection(port);
        lines.push_back(port.label + ": " + modes + (direction.empty() ? "" : "; " + direction));
    }
    lines.insert(lines.end(), survey.unusable.begin(), survey.unusable.end());
    for (const PciCard& card : survey.cards)
        lines.push_back(DescribeCard(card, survey));
    for (const std::string& device : survey.usbPrinters)
        lines.push_back(device + " is a USB printer adapter: it has no registers that Vellix can "
                                 "drive, only a parallel port card or an on-board port has");
    if (!survey.lockdown.empty())
        lines.push_back("the kernel is locked down (" + survey.lockdown +
                        "): it refuses direct I/O even to root; ppdev still reaches the ports it knows");
    return lines;
}

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
    const std::vector<std::string> facts = DescribeFacts(survey);
    lines.insert(lines.end(), facts.begin(), facts.end());
    if (!survey.AnyReached())
        lines.push_back(survey.kernelKnowsPorts
                            ? "no real port is reached: using the simulated port"
                            : "the kernel knows no parallel port and no real port is reached: "
                              "using the simulated port");
    return lines;
}

}  // namespace io
