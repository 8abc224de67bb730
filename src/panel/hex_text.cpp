#include "panel/hex_text.h"

#include <charconv>

CString HexText(int nValue)
{
    char buf[16];
    auto [end, ec] = std::to_chars(buf, buf + sizeof buf, static_cast<unsigned>(nValue), 16);
    (void)ec;
    return CString(std::string_view(buf, static_cast<std::size_t>(end - buf)));
}
