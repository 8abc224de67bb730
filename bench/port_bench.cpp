// Cost of the two byte operations against a bare call of the same bus.
#include <benchmark/benchmark.h>

#include "io/simulated_port.h"
#include "port/portio.h"

namespace {

void Port_Read_Bare(benchmark::State& state)
{
    io::SimulatedPort sim;
    io::Bus* bus = &sim;
    benchmark::DoNotOptimize(bus);  // called through the interface, as the layer does
    for (auto _ : state)
        benchmark::DoNotOptimize(bus->In(0x379));
}
BENCHMARK(Port_Read_Bare);

void Port_Read_Layer(benchmark::State& state)
{
    io::SimulatedPort sim;
    port::InstallBus(&sim);
    for (auto _ : state)
        benchmark::DoNotOptimize(ReadPortByte(0x379));
    port::InstallBus(nullptr);
}
BENCHMARK(Port_Read_Layer);

void Port_Write_Bare(benchmark::State& state)
{
    io::SimulatedPort sim;
    io::Bus* bus = &sim;
    benchmark::DoNotOptimize(bus);
    std::uint8_t v = 0;
    for (auto _ : state) {
        bus->Out(0x378, v++);
        benchmark::ClobberMemory();
    }
}
BENCHMARK(Port_Write_Bare);

void Port_Write_Layer(benchmark::State& state)
{
    io::SimulatedPort sim;
    port::InstallBus(&sim);
    int v = 0;
    for (auto _ : state) {
        WritePortByte(0x378, v++);
        benchmark::ClobberMemory();
    }
    port::InstallBus(nullptr);
}
BENCHMARK(Port_Write_Layer);

}  // namespace
