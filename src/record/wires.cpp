#include "record/wires.h"

#include <array>
#include <string>

namespace record {
namespace {

// Each line of the register map as a wire: its schematic name and pin, "nStrobe_pin1".
std::array<Wire, io::lpt::kLines.size()> MakeWires()
{
    static std::array<std::string, io::lpt::kLines.size()> names;
    std::array<Wire, io::lpt::kLines.size()> wires{};
    for (std::size_t i = 0; i < wires.size(); ++i) {
        const io::lpt::Line& line = io::lpt::kLines[i];
        names[i] = std::string(line.signal) + "_pin" + std::to_string(line.pin);
        wires[i] = {names[i], line.pin, line.reg, line.bit, line.inverted};
    }
    return wires;
}

}  // namespace

std::span<const Wire> Wires()
{
    static const std::array<Wire, io::lpt::kLines.size()> wires = MakeWires();
    return wires;
}

}  // namespace record
