// Finding, once at start, every candidate port and the way that reaches each one.
#pragma once

#include "io/bus.h"
#include "io/port_survey.h"
#include "io/system_calls.h"

#include <functional>
#include <memory>
#include <string>
#include <vector>

namespace io {

// What the bus is chosen for.
enum class Use {
    // The panel and the self-test: where direct I/O reaches a port the kernel knows, the kernel's
    // claim on it is held all the same, so that a print job waits for us.
    Panel,
    // Commands that read or write single registers and record the lines: no claim where direct
    // I/O reaches the port, since a claim makes the kernel put its own control lines on the port
    // and keeps a print job, which a recording may want to see, from running; through ppdev the
    // control lines are asked of the driver at every read, since another program may change them.
    Signals,
};

struct ChooseOptions {
    Use use = Use::Panel;
    // Called once before the privileges the program started with are given up, for what only
    // they allow (real-time scheduling, locked memory).
    std::function<void(SystemCalls&)> whilePrivileged;
};

struct BusChoice {
    // A routing bus over the ways that reach a port, or the simulated port if none does.
    std::unique_ptr<Bus> bus;
    // Every candidate of detection and how it is reached.
    PortSurvey survey;
    // The start-up message: lines for standard error, without program name or line end.
    std::vector<std::string> messages;
};

// The candidates are the legacy bases and every base the kernel reports. A legacy base is reached
// by direct I/O if ioperm grants its range (asked for each range on its own, never iopl); any
// port the kernel knows is otherwise reached by ppdev, claimed exclusively or, beside the printer
// driver, shared; where direct I/O reaches a port the kernel knows, the kernel's claim on it is
// held all the same, so that a print job waits for us. The survey also records each port's modes
// (the kernel's list, or the ECR of a legacy base, only read), the PCI cards and lockdown. Raised
// IDs and every capability are given up after the ioperm calls and before any file is opened; if
// that fails it throws std::system_error rather than go on with them.
// sys must outlive the bus.
BusChoice ChooseBus(SystemCalls& sys, const ChooseOptions& options = {});

}  // namespace io
