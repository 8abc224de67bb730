// What the data-direction bit (TriState) does on each port, as the start-up found it, for the
// help of the panel's TriState lamp and button.
#pragma once

#include <cstdint>
#include <map>
#include <string>

namespace port {

// Installs the notes by base; installing none leaves every port without one.
void InstallDirectionNotes(std::map<std::uint16_t, std::string> notes);

// "on 0x0378 the data lines become inputs (the kernel lists TRISTATE)", or why they stay outputs
// and what to do; empty where nothing is known.
std::string DirectionNote(int nBase);

}  // namespace port
