// What the start-up found out about each candidate port: where it came from, how it is reached,
// and, where it is not, why and the one step that would reach it. Printed at start and by the
// port report.
#pragma once

#include <cstdint>
#include <optional>
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
    // What the port can do: the kernel's list of its modes ("PCSPP,TRISTATE,COMPAT,ECP"), empty
    // where the kernel does not know it; and, for a legacy base that direct I/O reaches, the
    // extended control register at base + 0x402 where one answers, read and never written.
    std::string modes;
    std::optional<std::uint8_t> ecr;
    // Who held the port when a claim gave up, as the kernel names it ("lp0"); empty otherwise.
    std::string holder;
    // The kernel's claim on the port is held while the program runs, although another way
    // (direct I/O) drives it: the printer driver waits for us as it does for ppdev.
    bool claimHeld = false;
};

// A PCI or PCIe card with a parallel port: class 0x0701, or a serial-and-parallel card bound to
// parport_serial.
struct PciCard {
    std::string slot;                  // "0000:05:00.0"
    std::string vendor, device;        // "1415", "c118", as the kernel writes them
    std::string driver;                // the driver bound to it; empty when none is
    bool parallelClass = false;        // class 0x0701 (a serial-and-parallel card may be another)
    bool driverLoaded = false;         // for a card without driver: parport_pc is loaded
    std::vector<std::string> devices;  // the "/dev/parportN" it became
};

// Whether setting the data-direction bit (TriState) makes the data lines inputs on a port.
enum class Direction {
    Turns,    // it does: the kernel lists TRISTATE, or the chip's mode honours the bit
    Fixed,    // it does not: the chip is in a mode that ignores the bit
    Unknown,  // nothing tells
};

struct PortSurvey {
    std::vector<SurveyedPort> ports;  // the candidates of detection, ascending by base
    bool kernelKnowsPorts = false;    // the kernel reported at least one parallel port
    // USB printer devices (/dev/usb/lp*), looked for only when the kernel knows no parallel port.
    std::vector<std::string> usbPrinters;
    // Ports the kernel lists with a base that is no I/O port address, one line each.
    std::vector<std::string> unusable;
    std::vector<PciCard> cards;  // every parallel-port card on the PCI buses, bound or not
    std::string lockdown;        // the kernel's lockdown ("integrity", "confidentiality"); empty when none

    // At least one port is reached by a real way; otherwise the simulated port serves.
    bool AnyReached() const;
    // The candidate at base; null when detection had none there.
    const SurveyedPort* Find(std::uint16_t base) const;
};

Direction DirectionOf(const SurveyedPort& port);
// What the port can do, as --ports shows it: "modes PCSPP,TRISTATE,COMPAT,ECP", "ECR mode PS/2",
// or empty where nothing is known.
std::string DescribeModes(const SurveyedPort& port);
// What setting TriState does on this port, for its pin help and the self-test: "the data lines
// become inputs on this port (...)", or why they stay outputs and what to do; empty if unknown.
std::string DescribeDirection(const SurveyedPort& port);
// One line for a card: its slot and IDs, and the port it became or the step that binds it.
std::string DescribeCard(const PciCard& card, const PortSurvey& survey);

// "legacy base", "/dev/parport1" or "legacy base, /dev/parport0".
std::string DescribeOrigin(const SurveyedPort& port);
// "direct I/O", "ppdev", "ppdev shared with the printer driver (printing waits until Vellix
// ends)", or "not reached (REASON); fix: STEP".
std::string DescribeWay(const SurveyedPort& port);
// What the survey knows beyond how each port is reached, one line each: each port's modes and
// what TriState does there, ports the kernel lists unusably, the cards, USB printer adapters
// and lockdown. The start-up message and the port report both say these.
std::vector<std::string> DescribeFacts(const PortSurvey& survey);

// The start-up message, one line each without program name or line end: the ports (legacy bases
// the kernel does not know that share one outcome on one line), then what a USB printer adapter
// is, and that the simulated port serves when no real port is reached.
std::vector<std::string> DescribeSurvey(const PortSurvey& survey);

}  // namespace io
