// What the kernel says about the machine's printer ports, read from /proc and /dev.
#pragma once

#include "io/system_calls.h"

#include <cstdint>
#include <string>
#include <vector>

namespace io {

struct KernelPort {
    std::uint16_t base;
    std::string device;  // e.g. "/dev/parport1"
};

// The parallel ports of /proc/sys/dev/parport/parportN/base-addr (its first number), ascending
// by base, one per base. Entries that cannot be read, or whose base is no I/O port address with
// room for three registers, are left out; for each of the latter, unusable (if given) gets a
// line that says which and what it held.
std::vector<KernelPort> FindKernelPorts(SystemCalls& sys, std::vector<std::string>* unusable = nullptr);

// The USB printer devices, /dev/usb/lp*, sorted: adapters that speak the printer protocol but have
// no registers to drive.
std::vector<std::string> FindUsbPrinters(SystemCalls& sys);

}  // namespace io
