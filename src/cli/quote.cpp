#include "cli/quote.h"

#include <cstdio>

namespace cli {

std::string QuoteArgument(std::string_view text)
{
    std::string quoted = "'";
    for (char c : text) {
        const auto byte = static_cast<unsigned char>(c);
        if (byte < 0x20 || byte == 0x7F) {
            char escape[8];
            std::snprintf(escape, sizeof escape, "\\x%02X", byte);
            quoted += escape;
        } else {
            quoted += c;
        }
    }
    return quoted + "'";
}

}  // namespace cli
