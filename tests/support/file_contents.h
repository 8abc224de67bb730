// What a stream written by the code under test holds, read back from its start.
#pragma once

#include <cstdio>
#include <string>

namespace testsupport {

inline std::string Contents(std::FILE* file)
{
    std::fflush(file);
    std::rewind(file);
    std::string text;
    char buffer[4096];
    while (std::size_t n = std::fread(buffer, 1, sizeof buffer, file))
        text.append(buffer, n);
    return text;
}

}  // namespace testsupport
