#include "io/candidate_ports.h"

#include <algorithm>
#include <cstdio>

namespace io {

bool IsLegacyBase(std::uint16_t base)
{
    return std::find(kLegacyBases.begin(), kLegacyBases.end(), base) != kLegacyBases.end();
}

std::string PortLabel(std::uint16_t base)
{
    char text[8];
    std::snprintf(text, sizeof text, "0x%04X", static_cast<unsigned>(base));
    return text;
}

std::vector<std::uint16_t> CandidateBases(const std::vector<std::uint16_t>& kernelBases)
{
    std::vector<std::uint16_t> bases(kLegacyBases.begin(), kLegacyBases.end());
    bases.insert(bases.end(), kernelBases.begin(), kernelBases.end());
    std::sort(bases.begin(), bases.end());
    bases.erase(std::unique(bases.begin(), bases.end()), bases.end());
    return bases;
}

}  // namespace io
