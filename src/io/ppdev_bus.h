// Linux ppdev: the parallel ports that the kernel knows, reached through /dev/parportN, for users
// who may open the device (group lp) but not use the port instructions themselves.
#pragma once

#include "io/bus.h"
#include "io/system_calls.h"

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

namespace io {

class PpdevBus : public Bus {
public:
    struct Port {
        std::uint16_t base;
        int fd;              // opened, PPEXCL and PPCLAIM done
        std::string device;  // e.g. "/dev/parport0"
    };

    // Takes over the descriptors and releases and closes them when destroyed; sys must outlive
    // the bus. A port number not belonging to one of the ports reads 0xFF and drops writes.
    PpdevBus(SystemCalls& sys, std::vector<Port> ports);
    ~PpdevBus() override;
    PpdevBus(const PpdevBus&) = delete;
    PpdevBus& operator=(const PpdevBus&) = delete;

    std::uint8_t In(std::uint16_t port) override;
    void Out(std::uint16_t port, std::uint8_t value) override;
    // The devices in use, e.g. "/dev/parport0".
    std::string Name() const override;

private:
    struct Held {
        Port port;
        // ppdev cannot read back the direction bit, so control reads answer from here.
        std::uint8_t control = 0x00;
    };

    Held* Find(std::uint16_t port, std::uint16_t& offset);

    SystemCalls& m_sys;
    std::vector<Held> m_ports;
};

struct PpdevRefusal {
    std::string device;
    std::string step;  // "open" or "claim"
    int error;         // errno value
};

struct PpdevClaim {
    std::unique_ptr<PpdevBus> bus;  // null when no candidate port could be claimed
    bool portFound = false;         // the kernel has a port at one of the candidate bases
    std::vector<std::uint16_t> bases;  // of the ports claimed, ascending
    std::vector<PpdevRefusal> refusals;
};

// Finds the kernel's parallel ports at candidate bases (from /proc/sys/dev/parport) and opens and
// claims each one exclusively.
PpdevClaim ClaimPpdevPorts(SystemCalls& sys);

}  // namespace io
