// An argument as an error message shows it.
#pragma once

#include <string>
#include <string_view>

namespace cli {

// The argument between single quotes, with control characters shown as \xNN, so that an error
// stays one readable line whatever the argument holds.
std::string QuoteArgument(std::string_view text);

}  // namespace cli
