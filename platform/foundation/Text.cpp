#include "platform/foundation/Text.hpp"

#include <array>
#include <charconv>
#include <cmath>
#include <cstdio>
#include <ctime>
#include <optional>

namespace platform::Text {

namespace {

// Shortest round-trip digits of a finite, non-zero magnitude, with the decimal exponent E such that
// value = 0.d1d2d3... x 10^E.
void shortestDigits(double magnitude, std::string& digits, int& exponent) {
    std::array<char, 64> buffer{};
    auto [end, ec] =
        std::to_chars(buffer.data(), buffer.data() + buffer.size(), magnitude, std::chars_format::scientific);
    std::string_view text(buffer.data(), ec == std::errc() ? std::size_t(end - buffer.data()) : 0);
    const std::size_t e = text.find('e');
    digits.clear();
    for (char c : text.substr(0, e))
        if (c != '.') digits += c;
    int scientific = 0;
    if (e != std::string_view::npos) {
        std::string_view exp = text.substr(e + 1);
        if (!exp.empty() && exp.front() == '+') exp.remove_prefix(1);
        std::from_chars(exp.data(), exp.data() + exp.size(), scientific);
    }
    while (digits.size() > 1 && digits.back() == '0')
        digits.pop_back();
    exponent = scientific + 1;
}

std::string shortestGeneral(double value) {
    std::array<char, 64> buffer{};
    auto [end, ec] = std::to_chars(buffer.data(), buffer.data() + buffer.size(), value);
    if (ec != std::errc()) return "0";
    return std::string(buffer.data(), end);
}

// Number of UTF-8 characters (lead bytes) in a text.
std::size_t characterCount(std::string_view s) {
    std::size_t n = 0;
    for (unsigned char c : s)
        if ((c & 0xC0) != 0x80) ++n;
    return n;
}

// The first `count` UTF-8 characters of a text.
std::string_view firstCharacters(std::string_view s, std::size_t count) {
    std::size_t seen = 0;
    for (std::size_t i = 0; i < s.size(); ++i) {
        if ((static_cast<unsigned char>(s[i]) & 0xC0) != 0x80) {
            if (seen == count) return s.substr(0, i);
            ++seen;
        }
    }
    return s;
}

struct Spec {
    std::string flags;
    std::optional<int> width;
    std::optional<int> precision;
    char conversion = 0;
    std::optional<std::size_t> position; // 1-based
};

constexpr int kMaxWidth = 1024;

// Reads a bounded decimal number at `i`; none when there are no digits or it is too large.
std::optional<int> readNumber(std::string_view f, std::size_t& i, bool& tooLarge) {
    if (i >= f.size() || f[i] < '0' || f[i] > '9') return std::nullopt;
    long value = 0;
    while (i < f.size() && f[i] >= '0' && f[i] <= '9') {
        value = value * 10 + (f[i] - '0');
        if (value > kMaxWidth) tooLarge = true;
        if (value > 1000000) value = 1000000;
        ++i;
    }
    return static_cast<int>(value);
}

// Parses one conversion after its '%'; `i` ends after the conversion character.
std::optional<Spec> parseSpec(std::string_view f, std::size_t& i) {
    Spec spec;
    bool tooLarge = false;
    // Positional index: digits followed by '$'.
    std::size_t j = i;
    if (auto n = readNumber(f, j, tooLarge); n && j < f.size() && f[j] == '$') {
        if (*n == 0 || tooLarge) return std::nullopt;
        spec.position = static_cast<std::size_t>(*n);
        i = j + 1;
    }
    tooLarge = false;
    while (i < f.size() && std::string_view("-+ 0#").find(f[i]) != std::string_view::npos)
        spec.flags += f[i++];
    spec.width = readNumber(f, i, tooLarge);
    if (i < f.size() && f[i] == '.') {
        ++i;
        spec.precision = readNumber(f, i, tooLarge);
        if (!spec.precision) spec.precision = 0;
    }
    if (tooLarge) return std::nullopt;
    while (i < f.size() && std::string_view("hlqLzjt").find(f[i]) != std::string_view::npos)
        ++i;
    if (i >= f.size()) return std::nullopt;
    spec.conversion = f[i++];
    if (std::string_view("@sdiuxXofFeEgG").find(spec.conversion) == std::string_view::npos)
        return std::nullopt;
    const bool integer = std::string_view("diu").find(spec.conversion) != std::string_view::npos;
    if (integer && spec.flags.find('#') != std::string::npos) return std::nullopt;
    return spec;
}

// printf of exactly one validated conversion with exactly one argument of the matching type.
template <typename T>
std::string printOne(const Spec& spec, const char* length, T argument) {
    std::string c_format = "%" + spec.flags;
    if (spec.width) c_format += std::to_string(*spec.width);
    if (spec.precision) c_format += "." + std::to_string(*spec.precision);
    c_format += length;
    c_format += spec.conversion;
    char small[128];
    int n = std::snprintf(small, sizeof small, c_format.c_str(), argument);
    if (n < 0) return {};
    if (static_cast<std::size_t>(n) < sizeof small) return std::string(small, static_cast<std::size_t>(n));
    std::string big(static_cast<std::size_t>(n) + 1, '\0');
    std::snprintf(big.data(), big.size(), c_format.c_str(), argument);
    big.resize(static_cast<std::size_t>(n));
    return big;
}

std::optional<std::string> render(const Spec& spec, const FormatArgument& argument) {
    const auto& value = argument.value();
    switch (spec.conversion) {
    case '@':
    case 's': {
        std::string text;
        if (const auto* s = std::get_if<std::string>(&value)) {
            text = *s;
        } else if (const auto* i = std::get_if<std::int64_t>(&value)) {
            text = std::to_string(*i);
        } else {
            text = shortestGeneral(std::get<double>(value));
        }
        if (spec.precision)
            text = std::string(firstCharacters(text, static_cast<std::size_t>(*spec.precision)));
        const std::size_t count = characterCount(text);
        if (spec.width && count < static_cast<std::size_t>(*spec.width)) {
            std::string padding(static_cast<std::size_t>(*spec.width) - count, ' ');
            text = spec.flags.find('-') != std::string::npos ? text + padding : padding + text;
        }
        return text;
    }
    case 'd':
    case 'i':
        if (const auto* i = std::get_if<std::int64_t>(&value))
            return printOne(spec, "ll", static_cast<long long>(*i));
        return std::nullopt;
    case 'u':
    case 'x':
    case 'X':
    case 'o':
        if (const auto* i = std::get_if<std::int64_t>(&value))
            return printOne(spec, "ll", static_cast<unsigned long long>(*i));
        return std::nullopt;
    default: // f F e E g G
        if (const auto* d = std::get_if<double>(&value)) return printOne(spec, "", *d);
        if (const auto* i = std::get_if<std::int64_t>(&value))
            return printOne(spec, "", static_cast<double>(*i));
        return std::nullopt;
    }
}

} // namespace

std::string doubleDescription(double value) {
    if (std::isnan(value)) return "nan";
    if (std::isinf(value)) return value > 0 ? "inf" : "-inf";
    std::string result = std::signbit(value) ? "-" : "";
    if (value == 0.0) return result + "0.0";
    const double magnitude = std::fabs(value);
    std::string digits;
    int exponent = 0;
    shortestDigits(magnitude, digits, exponent);
    if (exponent < -3 || magnitude > 18014398509481984.0 /* 2^54 */) {
        result += digits[0];
        if (digits.size() > 1) result += "." + digits.substr(1);
        const int scientific = exponent - 1;
        result += scientific < 0 ? "e-" : "e+";
        const int shown = scientific < 0 ? -scientific : scientific;
        if (shown < 10) result += '0';
        result += std::to_string(shown);
    } else if (exponent <= 0) {
        result += "0." + std::string(static_cast<std::size_t>(-exponent), '0') + digits;
    } else if (static_cast<std::size_t>(exponent) >= digits.size()) {
        result += digits + std::string(static_cast<std::size_t>(exponent) - digits.size(), '0') + ".0";
    } else {
        result += digits.substr(0, static_cast<std::size_t>(exponent)) + "." +
                  digits.substr(static_cast<std::size_t>(exponent));
    }
    return result;
}

std::string timeOfDay(Date date) {
    // Whole milliseconds first, as a date formatter counts them: subtracting the whole seconds
    // before scaling would turn 20.3 (stored as 20.2999...) into 20.299.
    double instant = date.timeIntervalSince1970;
    if (!std::isfinite(instant) || std::fabs(instant) > 1e14) instant = 0.0; // no time_t for it
    const double totalMillis = std::floor(instant * 1000.0);
    const double seconds = std::floor(totalMillis / 1000.0);
    int millis = static_cast<int>(totalMillis - seconds * 1000.0);
    if (millis > 999) millis = 999;
    if (millis < 0) millis = 0;
    std::time_t t = static_cast<std::time_t>(seconds);
    std::tm tm{};
    localtime_r(&t, &tm);
    char buffer[32];
    std::snprintf(buffer, sizeof buffer, "%02d:%02d:%02d.%03d", tm.tm_hour, tm.tm_min, tm.tm_sec, millis);
    return buffer;
}

std::string format(std::string_view f, const std::vector<FormatArgument>& arguments) {
    std::string out;
    std::size_t nextArgument = 0;
    bool sawPositional = false;
    bool sawPlain = false;
    std::size_t i = 0;
    while (i < f.size()) {
        const std::size_t percent = f.find('%', i);
        if (percent == std::string_view::npos) {
            out.append(f.substr(i));
            break;
        }
        out.append(f.substr(i, percent - i));
        i = percent + 1;
        if (i < f.size() && f[i] == '%') {
            out += '%';
            ++i;
            continue;
        }
        auto spec = parseSpec(f, i);
        if (!spec) return std::string(f);
        std::size_t index = 0;
        if (spec->position) {
            sawPositional = true;
            index = *spec->position - 1;
        } else {
            sawPlain = true;
            index = nextArgument++;
        }
        if (sawPositional && sawPlain) return std::string(f);
        if (index >= arguments.size()) return std::string(f);
        auto text = render(*spec, arguments[index]);
        if (!text) return std::string(f);
        out += *text;
    }
    return out;
}

} // namespace platform::Text
