#include "platform/foundation/ISO8601DateFormatter.hpp"

#include <cmath>
#include <cstdio>
#include <ctime>

namespace platform {

std::string ISO8601DateFormatter::string(Date date) {
    double seconds = std::floor(date.timeIntervalSince1970);
    // Years 1 to 9999 only; anything else (and NaN) reads as the epoch.
    if (!std::isfinite(seconds) || seconds < -62135596800.0 || seconds > 253402300799.0) seconds = 0;
    std::time_t t = static_cast<std::time_t>(seconds);
    std::tm parts{};
    gmtime_r(&t, &parts);
    char text[80];
    std::snprintf(text, sizeof text, "%04d-%02d-%02dT%02d:%02d:%02dZ", parts.tm_year + 1900, parts.tm_mon + 1,
                  parts.tm_mday, parts.tm_hour, parts.tm_min, parts.tm_sec);
    return text;
}

std::optional<Date> ISO8601DateFormatter::date(std::string_view text) {
    if (text.size() != 20 || text[4] != '-' || text[7] != '-' || text[10] != 'T' || text[13] != ':' ||
        text[16] != ':' || text[19] != 'Z')
        return std::nullopt;
    auto number = [&](std::size_t at, std::size_t length) -> int {
        int value = 0;
        for (std::size_t i = at; i < at + length; ++i) {
            if (text[i] < '0' || text[i] > '9') return -1;
            value = value * 10 + (text[i] - '0');
        }
        return value;
    };
    std::tm parts{};
    int year = number(0, 4), month = number(5, 2), day = number(8, 2);
    int hour = number(11, 2), minute = number(14, 2), second = number(17, 2);
    if (year < 1 || month < 1 || month > 12 || day < 1 || day > 31 || hour < 0 || hour > 23 || minute < 0 ||
        minute > 59 || second < 0 || second > 60)
        return std::nullopt;
    parts.tm_year = year - 1900;
    parts.tm_mon = month - 1;
    parts.tm_mday = day;
    parts.tm_hour = hour;
    parts.tm_min = minute;
    parts.tm_sec = second;
    return Date{static_cast<double>(timegm(&parts))};
}

} // namespace platform
