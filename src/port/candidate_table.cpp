#include "port/candidate_table.h"

#include "io/candidate_ports.h"

namespace port {
namespace {

std::vector<std::uint16_t> g_bases = io::CandidateBases({});

}  // namespace

void InstallCandidates(std::vector<std::uint16_t> bases)
{
    g_bases = io::CandidateBases(bases);
}

std::vector<CandidatePort> CandidatePorts()
{
    std::vector<CandidatePort> ports;
    for (std::uint16_t base : g_bases)
        ports.push_back({io::PortLabel(base), base});
    return ports;
}

}  // namespace port
