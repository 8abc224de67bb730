// Choosing, once at start, the bus through which the program reaches the parallel port.
#pragma once

#include "io/bus.h"
#include "io/system_calls.h"

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

namespace io {

struct BusChoice {
    enum class Way { Direct, Ppdev, Simulated };
    std::unique_ptr<Bus> bus;
    Way way = Way::Simulated;
    // The bases of the ports the bus reaches, ascending; an access to any other port number
    // reaches no port (and with direct I/O would kill the process).
    std::vector<std::uint16_t> bases;
    // One line for standard error, without program name or line end; empty for direct I/O.
    std::string message;
    // Shown after the window caption, as in "Vellix - simulated port"; empty for direct I/O.
    std::string caption;
};

// Direct port instructions if ioperm grants all four candidate ranges; else ppdev if a candidate
// port can be claimed; else the simulated port. Raised IDs and every capability are given up
// before any file is opened; if that fails it throws std::system_error rather than go on with
// them. sys must outlive the bus.
BusChoice ChooseBus(SystemCalls& sys);

}  // namespace io
