// What --help and --version print.
#pragma once

#include <string>
#include <string_view>

namespace cli {

// The usage text, ending in a line end; program is the name the user ran, without a path.
std::string UsageText(std::string_view program);

// "vellix 1.0.0" and a line end.
std::string VersionText(std::string_view program);

}  // namespace cli
