#include "record/stream_sink.h"

#include <algorithm>
#include <cerrno>
#include <cstdarg>

namespace record {

void StreamSink::Write(std::string_view text)
{
    if (m_error != 0)
        return;
    if (std::fwrite(text.data(), 1, text.size(), m_out) != text.size())
        m_error = errno != 0 ? errno : EIO;
}

void StreamSink::Print(const char* format, ...)
{
    char line[256];
    va_list args;
    va_start(args, format);
    const int length = std::vsnprintf(line, sizeof line, format, args);
    va_end(args);
    if (length > 0)
        Write(std::string_view(line, std::min<std::size_t>(static_cast<std::size_t>(length), sizeof line - 1)));
}

void StreamSink::Flush()
{
    if (m_error == 0 && std::fflush(m_out) != 0)
        m_error = errno != 0 ? errno : EIO;
}

}  // namespace record
