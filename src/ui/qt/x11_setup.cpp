#include "ui/qt/x11_setup.h"

#include <bit>
#include <cstdint>
#include <cstring>

namespace ui::qt::x11 {
namespace {

constexpr std::uint16_t kMajorVersion = 11;
constexpr std::uint16_t kMinorVersion = 0;
constexpr std::size_t kHeader = 8;  // every answer starts so: status, a byte, versions, length

// What the answer's first byte says.
constexpr unsigned char kFailed = 0;
constexpr unsigned char kSuccess = 1;
constexpr unsigned char kAuthenticate = 2;

// In a successful answer, the number of screens follows the release, the resource ID base and
// mask, the motion buffer size, the vendor's length and the longest request.
constexpr std::size_t kScreensAt = kHeader + 20;

void Append16(std::string& out, std::uint16_t value)
{
    char bytes[2];
    std::memcpy(bytes, &value, 2);  // the machine's own order, which the request announces
    out.append(bytes, 2);
}

std::uint16_t Read16(std::string_view bytes, std::size_t at)
{
    std::uint16_t value = 0;
    std::memcpy(&value, bytes.data() + at, 2);
    return value;
}

void AppendPadded(std::string& out, const std::string& bytes)
{
    out += bytes;
    out.append((4 - bytes.size() % 4) % 4, '\0');
}

// A reason as the server wrote it, fit for one line of a terminal: padding and trailing line
// ends dropped, and any other control character (a line break, an escape sequence that would
// work on the user's terminal) shown as a space.
std::string Reason(std::string_view bytes)
{
    std::string reason(bytes);
    for (char& ch : reason)
        if (static_cast<unsigned char>(ch) < 0x20 || ch == 0x7f)
            ch = ' ';
    while (!reason.empty() && reason.back() == ' ')
        reason.pop_back();
    return reason;
}

}  // namespace

std::string SetupRequest(const Authorization& authorization)
{
    std::string request;
    request += std::endian::native == std::endian::little ? 'l' : 'B';
    request += '\0';
    Append16(request, kMajorVersion);
    Append16(request, kMinorVersion);
    Append16(request, static_cast<std::uint16_t>(authorization.name.size()));
    Append16(request, static_cast<std::uint16_t>(authorization.data.size()));
    Append16(request, 0);
    AppendPadded(request, authorization.name);
    AppendPadded(request, authorization.data);
    return request;
}

SetupAnswer ReadSetupAnswer(std::string_view received)
{
    SetupAnswer answer;
    // Anything else speaking first is known for what it is from its first byte, without waiting
    // for a length read from its text.
    if (!received.empty() && static_cast<unsigned char>(received[0]) > kAuthenticate)
        answer.kind = SetupAnswer::Kind::NotX;
    if (received.size() < kHeader || answer.kind == SetupAnswer::Kind::NotX)
        return answer;
    const std::size_t total = kHeader + 4 * std::size_t{Read16(received, 6)};
    if (received.size() < total)
        return answer;
    const auto status = static_cast<unsigned char>(received[0]);
    const std::string_view extra = received.substr(kHeader, total - kHeader);
    if (status == kFailed) {
        const auto length = static_cast<unsigned char>(received[1]);
        if (length > extra.size())
            answer.kind = SetupAnswer::Kind::NotX;
        else
            answer = {SetupAnswer::Kind::Refused, Reason(extra.substr(0, length)), 0};
    } else if (status == kAuthenticate) {
        answer = {SetupAnswer::Kind::Refused, Reason(extra), 0};
    } else if (status == kSuccess && total > kScreensAt) {
        answer = {SetupAnswer::Kind::Accepted, "", static_cast<unsigned char>(received[kScreensAt])};
    } else {
        answer.kind = SetupAnswer::Kind::NotX;
    }
    return answer;
}

}  // namespace ui::qt::x11
