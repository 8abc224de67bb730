// A port bus: byte-wide access to I/O port numbers. Implementations: the simulated PC port,
// direct x86 port instructions, Linux ppdev, and the routing bus that sends each port to its way.
#pragma once

#include <cstdint>
#include <string>

namespace io {

class Bus {
public:
    virtual ~Bus() = default;
    virtual std::uint8_t In(std::uint16_t port) = 0;
    virtual void Out(std::uint16_t port, std::uint8_t value) = 0;
    // Short human name, e.g. "simulated port" or "/dev/parport0"; empty for direct hardware access.
    virtual std::string Name() const = 0;
    // How the port at base is reached, shown after the window caption: "/dev/parport1",
    // "simulated port", empty for direct hardware access. A bus with one way for all says Name().
    virtual std::string WayTo(std::uint16_t base) const
    {
        (void)base;
        return Name();
    }
    // Lets a program that waits for the port at base have it, and takes it back: true if one
    // did, so that the port went unseen meanwhile. Only a bus that holds the kernel's claim on
    // the port beside others has anyone to let in; the others answer false at once.
    virtual bool Yield(std::uint16_t base)
    {
        (void)base;
        return false;
    }
};

// The simulated port that serves until a real bus is installed; it lives as long as the program.
Bus& BuiltInBus();

}  // namespace io
