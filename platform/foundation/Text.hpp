#pragma once

#include "platform/foundation/Date.hpp"

#include <concepts>
#include <cstdint>
#include <string>
#include <string_view>
#include <variant>
#include <vector>

namespace platform {

/// One argument of `Text::format`: a text, a 64-bit integer (Booleans as 1/0) or a double.
class FormatArgument {
public:
    FormatArgument(std::string value)
        : value_(std::move(value)) {}
    FormatArgument(std::string_view value)
        : value_(std::string(value)) {}
    FormatArgument(const char* value)
        : value_(std::string(value)) {}
    template <std::integral T>
    requires(!std::same_as<T, char>) FormatArgument(T value)
        : value_(static_cast<std::int64_t>(value)) {}
    FormatArgument(double value)
        : value_(value) {}
    FormatArgument(float value)
        : value_(static_cast<double>(value)) {}

    const std::variant<std::string, std::int64_t, double>& value() const { return value_; }

private:
    std::variant<std::string, std::int64_t, double> value_;
};

/// Text helpers shared by the system: number texts, time stamps and the formatter of texts from
/// string tables. Pure functions; any thread.
namespace Text {

/// The shortest decimal text that reads back as exactly `value`, always with a fractional part or
/// an exponent: "0.0", "-1920.0", "0.1", "1234567.5", "0.0001". Magnitudes below 0.0001 or above
/// 2^54 use an exponent with a sign and at least two digits: "1e-05", "1e+20", "1.5e+300". Special
/// values are "nan", "inf" and "-inf"; negative zero is "-0.0".
std::string doubleDescription(double value);

/// The local time of day of `date` as "HH:mm:ss.SSS" (24-hour clock, whole milliseconds since
/// 1970 truncated, so 20.3 s reads "...:20.300"), in the host's time zone. A date that is not
/// finite or lies beyond any calendar reads as 1970-01-01 00:00:00 UTC.
std::string timeOfDay(Date date);

/// Fills a printf-style format (as found in string tables) with `arguments`, never handing the
/// host's formatter anything it could misread.
///
/// Conversions: `%@` and `%s` (a text argument as-is; an integer in decimal; a double in its
/// shortest form, "2" or "0.5"), `%d` `%i` `%u` `%x` `%X` `%o` (integer argument), `%f` `%F` `%e`
/// `%E` `%g` `%G` (double or integer argument), and `%%`. Flags "-+ 0#", a width and a precision
/// (at most 1024 each) are honoured; `%@`/`%s` pad and cut by characters. Length modifiers (`l`,
/// `ll`, `h`, `hh`, `q`, `z`, `j`, `t`, `L`) are accepted and ignored since every argument is 64-bit.
/// Positional forms `%1$@`, `%2$d` pick arguments by 1-based index; they cannot be mixed with
/// plain conversions in one format. Surplus arguments are ignored.
///
/// A malformed format (unknown conversion, `*` width, a lone `%` at the end, mixed positional and
/// plain conversions), a missing argument, or an argument of the wrong kind (a text for `%d`, a
/// double for `%d`) makes the result the format text itself, unchanged.
std::string format(std::string_view format, const std::vector<FormatArgument>& arguments);

} // namespace Text

} // namespace platform
