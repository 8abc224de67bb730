// --record and --watch: the sampler on the chosen port, into a file or as lines, until the
// duration, Ctrl+C or SIGTERM; the progress line on a terminal and the summary at the end.
#pragma once

#include <cstdint>
#include <cstdio>
#include <string>

#include "cli/command_line.h"
#include "io/bus.h"

namespace cli {

// Whether real-time scheduling and locked memory were asked for and granted, as they were found
// while the start's privileges held.
struct Priority {
    bool realtimeAsked = false;
    int realtimeError = 0;        // 0: granted, else the errno value
    std::string realtimeNotAsked;  // why it was not asked for
    bool lockAsked = false;
    int lockError = 0;
};

// Records (or watches) the port at base through bus; target says which and how, in a sentence.
// Messages begin with program. Returns the exit status.
int RunRecording(const char* program, const CommandLine& command, io::Bus& bus, std::uint16_t base,
                 const std::string& target, const Priority& priority, std::FILE* out, std::FILE* err);

}  // namespace cli
