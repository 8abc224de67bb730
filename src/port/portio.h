// The two byte operations through which every register access of the program goes.
#pragma once

#include <cstdint>
#include <string>

namespace io { class Bus; }

// One input access of one byte; the result is 0..255, never sign-extended.
int ReadPortByte(std::uint16_t nPort);
// One output access of one byte: the low eight bits of nValue.
void WritePortByte(std::uint16_t nPort, int nValue);

namespace port {
// Installs the bus that the two operations forward to (not owned). Until one is installed,
// the operations use the built-in simulated port; installing nullptr returns to it.
void InstallBus(io::Bus* pBus);
io::Bus& InstalledBus();
// How the installed bus reaches the port at nBase, for the window caption: "/dev/parport1",
// "simulated port", empty for direct I/O.
std::string WayTo(int nBase);
}  // namespace port
