// What the start-up found out about each candidate port: where it came from, how it is reached,
// and, where it is not, why and the one step that would reach it. Printed at start and by the
// port report.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

namespace io {

enum class Way {
    Direct,       // x86 port instructions, after ioperm granted the port's range
    Ppdev,        // the kernel's /dev/parportN, claimed exclusively
    SharedPpdev,  // the same, claimed beside the printer driver, which waits until we end
    None,         // reached by no way: reads 0xFF, writes are dropped
};

struct SurveyedPort {
    std::uint16_t base = 0;
    std::string label;    // "0x0378", "0xD010"
    bool legacy = false;  // one of the four legacy bases
    std::string device;   // the kernel's "/dev/parportN" at this base; empty if it knows none
    Way way = Way::None;
    std::string reason;   // why no way reaches it, in the system's words; empty when reached
    std::string fix;      // the one step that would reach it; empty when reached
};

struct PortSurvey {
    std::vector<SurveyedPort> ports;  // the candidates of detection, ascending by base
    bool kernelKnowsPorts = false;    // the kernel reported at least one parallel port
    // USB printer devices (/dev/usb/lp*), looked for only when the kernel knows no parallel port.
    std::vector<std::string> usbPrinters;
    // Ports the kernel lists with a base that is no I/O port address, one line each.
    std::vector<std::string> unusable;

    // At least one port is reached by a real way; otherwise the simulated port serves.
    bool AnyReached() const;
};

// "legacy base", "/dev/parport1" or "legacy base, /dev/parport0".
std::string DescribeOrigin(const SurveyedPort& port);
// "direct I/O", "ppdev", "ppdev shared with the printer driver (printing waits until Vellix
// ends)", or "not reached (REASON); fix: STEP".
std::string DescribeWay(const SurveyedPort& port);
// The start-up message, one line each without program name or line end: the ports (legacy bases
// the kernel does not know that share one outcome on one line), then what a USB printer adapter
// is, and that the simulated port serves when no real port is reached.
std::vector<std::string> DescribeSurvey(const PortSurvey& survey);

}  // namespace io
