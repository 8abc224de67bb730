// What the system tells about a port beyond its base: its modes, its extended control register,
// the card it sits on, the kernel's lockdown, who holds it. Everything here only reads.
#pragma once

#include "io/port_survey.h"
#include "io/system_calls.h"

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

namespace io {

// The kernel's modes of "/dev/parportN" ("PCSPP,TRISTATE,COMPAT,ECP"); empty if unknown.
std::string ReadKernelModes(SystemCalls& sys, const std::string& device);

// The extended control register of a legacy base whose ECP range ioperm granted, read without a
// write: none when the address floats (0xFF), mirrors the control register (a card that decodes
// ten address bits answers there with base + 2), or does not show an idle FIFO.
std::optional<std::uint8_t> ReadEcr(SystemCalls& sys, std::uint16_t base);

// The lockdown the kernel is in, "integrity" or "confidentiality"; empty when none or unknown.
std::string ReadLockdown(SystemCalls& sys);

// Every parallel-port card on the PCI buses, in slot order.
std::vector<PciCard> FindPciCards(SystemCalls& sys);

// Who holds "/dev/parportN" as the kernel names it ("lp0", "ppdev0"); empty if nobody or unknown.
std::string PortHolder(SystemCalls& sys, const std::string& device);

}  // namespace io
