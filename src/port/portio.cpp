#include "port/portio.h"

#include "io/bus.h"

namespace {

// Not owned. Starts on the built-in simulated port so that an access never has to test for a
// missing bus: each operation is one load and one call.
io::Bus* g_pBus = &io::BuiltInBus();

}  // namespace

int ReadPortByte(std::uint16_t nPort)
{
    // Through uint8_t so that a byte with bit 7 set never turns negative.
    const std::uint8_t byte = g_pBus->In(nPort);
    return static_cast<int>(byte);
}

void WritePortByte(std::uint16_t nPort, int nValue)
{
    g_pBus->Out(nPort, static_cast<std::uint8_t>(nValue & 0xFF));
}

namespace port {

void InstallBus(io::Bus* pBus)
{
    g_pBus = pBus != nullptr ? pBus : &io::BuiltInBus();
}

io::Bus& InstalledBus()
{
    return *g_pBus;
}

std::string WayTo(int nBase)
{
    return g_pBus->WayTo(static_cast<std::uint16_t>(nBase));
}

}  // namespace port
