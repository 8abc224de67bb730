// Linux ppdev: the parallel ports that the kernel knows, reached through /dev/parportN, for users
// who may open the device (group lp) but not use the port instructions themselves.
#pragma once

#include "io/bus.h"
#include "io/system_calls.h"

#include <cerrno>
#include <chrono>
#include <cstdint>
#include <memory>
#include <string>
#include <vector>

namespace io {

class PpdevBus : public Bus {
public:
    struct Port {
        std::uint16_t base;
        int fd;              // opened and claimed
        std::string device;  // e.g. "/dev/parport0"
        bool shared;         // claimed beside another driver, which may wait for its turn
    };

    // How control reads are answered.
    enum class ControlReads {
        // From the lines the kernel's driver left until we write, then from what we wrote: the
        // panel and the self-test own the lines while they run.
        Remembered,
        // From the driver every time, for a watcher: another program may change the lines.
        Asked,
    };

    // Takes over the descriptors and closes them when destroyed, which releases the claims; sys
    // must outlive the bus. A port number not belonging to one of the ports reads 0xFF and drops
    // writes.
    PpdevBus(SystemCalls& sys, std::vector<Port> ports, ControlReads controlReads = ControlReads::Remembered);
    ~PpdevBus() override;
    PpdevBus(const PpdevBus&) = delete;
    PpdevBus& operator=(const PpdevBus&) = delete;

    std::uint8_t In(std::uint16_t port) override;
    void Out(std::uint16_t port, std::uint8_t value) override;
    // The devices in use, e.g. "/dev/parport0".
    std::string Name() const override;
    // The device of the port at base, e.g. "/dev/parport1".
    std::string WayTo(std::uint16_t base) const override;
    // A port claimed beside another driver is offered to it (PPYIELD): true if the driver took
    // it, which the calling thread saw as a wait. An exclusive claim leaves nobody waiting.
    bool Yield(std::uint16_t base) override;

private:
    struct Held {
        Port port;
        // ppdev cannot read back the direction bit, so control reads answer from here.
        std::uint8_t control = 0x00;
        bool controlKnown = false;  // read from the driver, or written by us
    };

    Held* Find(std::uint16_t port, std::uint16_t& offset);
    const Held* Find(std::uint16_t port, std::uint16_t& offset) const;

    SystemCalls& m_sys;
    std::vector<Held> m_ports;
    ControlReads m_controlReads;
};

// How long a claim waits for a port that someone else holds. A print job lets go of the port
// between the blocks it writes, far more often than this; a program that holds the port keeps
// it, and a start that waits longer than this would look hung. While a claim waits, the kernel
// holds back every other ppdev call on the machine, so the wait must stay short.
constexpr std::chrono::seconds kClaimDeadline{2};

// The outcome of claiming one of the kernel's ports.
struct PpdevClaim {
    int fd = -1;          // open and claimed, or -1 when refused
    bool shared = false;  // claimed beside another driver (usually lp) that registered first
    std::string step;     // when refused: "open", "claim" or "shared claim"
    int error = 0;        // when refused: the errno value; EINTR when the port stayed busy

    // Refused because someone else held the port until the deadline.
    bool Busy() const { return fd < 0 && error == EINTR; }
};

// Opens the device and claims the port exclusively, so that no printer job can write to it behind
// the panel's back. When another driver has registered on the port and the exclusive claim is
// refused, claims it shared instead: the claim is then held until the descriptor is closed, and
// the other driver waits for it. A claim gives up when the port is still held by another after
// kClaimDeadline.
PpdevClaim ClaimPpdevPort(SystemCalls& sys, const std::string& device);

}  // namespace io
