#include "guest_protocol.h"

#include <cctype>
#include <cstdio>

namespace guestproto {
namespace {

int HexValue(char c)
{
    if (c >= '0' && c <= '9')
        return c - '0';
    if (c >= 'a' && c <= 'f')
        return c - 'a' + 10;
    if (c >= 'A' && c <= 'F')
        return c - 'A' + 10;
    return -1;
}

}  // namespace

std::string Encode(std::string_view text)
{
    std::string out;
    for (char c : text) {
        const auto byte = static_cast<unsigned char>(c);
        if (std::isalnum(byte) || c == '.' || c == '_' || c == '-' || c == ':') {
            out.push_back(c);
        } else {
            char escaped[4];
            std::snprintf(escaped, sizeof escaped, "%%%02X", byte);
            out += escaped;
        }
    }
    return out;
}

std::string Decode(std::string_view word)
{
    std::string out;
    for (std::size_t i = 0; i < word.size(); ++i) {
        if (word[i] == '%' && i + 2 < word.size()) {
            const int high = HexValue(word[i + 1]);
            const int low = HexValue(word[i + 2]);
            if (high >= 0 && low >= 0) {
                out.push_back(static_cast<char>(high * 16 + low));
                i += 2;
                continue;
            }
        }
        out.push_back(word[i]);
    }
    return out;
}

}  // namespace guestproto
