// The candidate table of detection: the ports that the start-up found, which the panel tests.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

namespace port {

struct CandidatePort {
    std::string strLabel;  // "0x0378", "0xD010"
    int nAddr;
};

// Installs the bases that detection tests besides the four legacy ones, which it always tests
// (the ports the kernel reports). Installing none leaves the legacy bases alone.
void InstallCandidates(std::vector<std::uint16_t> bases);

// The candidates in ascending order of address, which is also the text order of their labels.
std::vector<CandidatePort> CandidatePorts();

}  // namespace port
