#include "port/portio.h"

#include "io/bus.h"

namespace {

// Not owned; null means the built-in simulated port.
io::Bus* g_pBus = nullptr;

}  // namespace

int ReadPortByte(std::uint16_t nPort)
{
    // Through uint8_t so that a byte with bit 7 set never turns negative.
    const std::uint8_t byte = port::InstalledBus().In(nPort);
    return static_cast<int>(byte);
}

void WritePortByte(std::uint16_t nPort, int nValue)
{
    port::InstalledBus().Out(nPort, static_cast<std::uint8_t>(nValue & 0xFF));
}

namespace port {

void InstallBus(io::Bus* pBus)
{
    g_pBus = pBus;
}

io::Bus& InstalledBus()
{
    return g_pBus != nullptr ? *g_pBus : io::BuiltInBus();
}

}  // namespace port
