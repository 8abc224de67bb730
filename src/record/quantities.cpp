#include "record/quantities.h"

#include <cmath>
#include <cstdio>

namespace record {
namespace {

// Digits with at most one decimal point among them; the rest of text is left in rest.
std::optional<long double> ParseNumber(std::string_view text, std::string_view& rest)
{
    long double value = 0;
    long double scale = 0;  // 0 before the point; then the weight of the next digit
    std::size_t digits = 0, i = 0;
    for (; i < text.size(); ++i) {
        const char c = text[i];
        if (c == '.' && scale == 0) {
            scale = 0.1L;
        } else if (c >= '0' && c <= '9') {
            if (++digits > 18)
                return std::nullopt;
            if (scale == 0) {
                value = value * 10 + (c - '0');
            } else {
                value += (c - '0') * scale;
                scale /= 10;
            }
        } else {
            break;
        }
    }
    if (digits == 0)
        return std::nullopt;
    rest = text.substr(i);
    return value;
}

}  // namespace

std::optional<std::chrono::nanoseconds> ParseDuration(std::string_view text)
{
    std::string_view unit;
    const std::optional<long double> number = ParseNumber(text, unit);
    if (!number)
        return std::nullopt;
    long double nanos = 0;
    if (unit == "ns")
        nanos = 1;
    else if (unit == "us")
        nanos = 1e3L;
    else if (unit == "ms")
        nanos = 1e6L;
    else if (unit == "s")
        nanos = 1e9L;
    else if (unit == "m")
        nanos = 60e9L;
    else if (unit == "h")
        nanos = 3600e9L;
    else
        return std::nullopt;
    const long double total = std::roundl(*number * nanos);
    constexpr long double kCentury = 100.0L * 365.25L * 86400e9L;
    if (total < 1 || total > kCentury)
        return std::nullopt;
    return std::chrono::nanoseconds(static_cast<std::int64_t>(total));
}

std::optional<double> ParseRate(std::string_view text)
{
    std::string_view suffix;
    const std::optional<long double> number = ParseNumber(text, suffix);
    if (!number)
        return std::nullopt;
    if (suffix.size() >= 2 && suffix.substr(suffix.size() - 2) == "Hz")
        suffix.remove_suffix(2);
    long double factor = 1;
    if (suffix == "k")
        factor = 1e3L;
    else if (suffix == "M")
        factor = 1e6L;
    else if (!suffix.empty())
        return std::nullopt;
    const long double rate = *number * factor;
    if (rate < 1.0L / 86400 || rate > 1e9L)
        return std::nullopt;
    return static_cast<double>(rate);
}

std::chrono::nanoseconds PeriodOf(double rate)
{
    const double nanos = std::round(1e9 / rate);
    return std::chrono::nanoseconds(std::max<std::int64_t>(1, static_cast<std::int64_t>(nanos)));
}

std::string FormatDuration(std::chrono::nanoseconds duration)
{
    const double ns = static_cast<double>(duration.count());
    char text[48];
    if (ns < 1e3)
        std::snprintf(text, sizeof text, "%.0f ns", ns);
    else if (ns < 1e6)
        std::snprintf(text, sizeof text, "%.1f us", ns / 1e3);
    else if (ns < 1e9)
        std::snprintf(text, sizeof text, "%.2f ms", ns / 1e6);
    else if (ns < 60e9)
        std::snprintf(text, sizeof text, "%.3f s", ns / 1e9);
    else
        std::snprintf(text, sizeof text, "%.0f min %.1f s", std::floor(ns / 60e9), std::fmod(ns, 60e9) / 1e9);
    return text;
}

std::string FormatRate(double rate)
{
    char text[32];
    if (rate < 1e3)
        std::snprintf(text, sizeof text, "%.0f Hz", rate);
    else if (rate < 1e6)
        std::snprintf(text, sizeof text, "%.1f kHz", rate / 1e3);
    else
        std::snprintf(text, sizeof text, "%.2f MHz", rate / 1e6);
    return text;
}

}  // namespace record
