#pragma once

#include "platform/foundation/Date.hpp"

#include <concepts>
#include <cstdint>
#include <optional>
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

/// Text helpers shared by the system: number texts, time stamps, the formatter of texts from
/// string tables, and the Unicode helpers (strict number parse, trimming, casing, case-insensitive
/// and canonical comparison, localized collation, UTF-8 encoding; backed by ICU). Texts are UTF-8;
/// ill-formed bytes read as U+FFFD. Pure functions; any thread.
namespace Text {

/// Reads `text` as a double by the strict rules of a programming language's number literal parse:
/// an optional "+" or "-", then either decimal digits with an optional "." fraction (at least one
/// digit in all) and an optional exponent ("e" or "E", optional sign, at least one digit), or
/// "0x"/"0X" with hexadecimal digits, an optional "." hexadecimal fraction and an optional binary
/// exponent ("p" or "P", optional sign, decimal digits), or "nan", "inf" or "infinity" in any case.
/// Nothing else: no blanks anywhere, no thousands separators, no trailing characters. A value too
/// large for a double reads as infinity (with its sign), one too small as zero. None when the text
/// does not have this form.
std::optional<double> parseDouble(std::string_view text);

/// `text` without the Unicode white space (blanks, tabs, no-break spaces, ...) and line breaks
/// (line feed, carriage return, next line, line and paragraph separators) at both ends.
std::string trimmingWhitespaceAndNewlines(std::string_view text);

/// Every word with its first letter in title case and all its other letters in lower case: "hello
/// wORLD" gives "Hello World". Words are the runs between white space and line breaks; the
/// separators are kept as they are. Full case mappings ("ß" at a word start gives "Ss").
std::string capitalized(std::string_view text);

/// Full Unicode lower-case mapping, independent of the user's locale ("ÉCRAN" gives "écran").
std::string lowercased(std::string_view text);

/// Full Unicode upper-case mapping, independent of the user's locale ("straße" gives "STRASSE").
std::string uppercased(std::string_view text);

/// True when the two texts are equal after Unicode case folding and canonical normalization: "ÉCRAN"
/// equals "écran", "Straße" equals "STRASSE", a composed "é" equals "e" with a combining accent.
bool caseInsensitiveEquals(std::string_view a, std::string_view b);

/// True when `needle` occurs in `haystack` under the same folding as `caseInsensitiveEquals`, on whole
/// characters (an "e" is not found inside "é" written with a combining accent). An empty needle is
/// found nowhere (false), as the platform's string search answers.
bool caseInsensitiveContains(std::string_view haystack, std::string_view needle);

/// The canonical composed form (Unicode NFC) of `text`: "Cafe" + U+0301 gives "Café" with U+00E9.
std::string canonicalForm(std::string_view text);

/// True when the two texts are canonically equivalent Unicode (equal canonical forms).
bool canonicallyEquivalent(std::string_view a, std::string_view b);

/// Compares two texts as the user's language sorts them, ignoring case but not accents (collation
/// at secondary strength): negative when `a` orders first, 0 when equal, positive when `b` orders
/// first. The language is `Locale::currentLanguageCode()`, else the first of
/// `Locale::preferredLanguages()`, else the root collation order; in Swedish "å" sorts after "z".
/// Texts the collation finds equal compare 0 even when their bytes differ ("a" and "A").
int localizedCaseInsensitiveCompare(std::string_view a, std::string_view b);

/// Appends the UTF-8 form of `codePoint`; a surrogate or a value beyond U+10FFFF appends U+FFFD.
void appendUtf8(std::string& out, char32_t codePoint);

/// The user-perceived characters of `text` (extended grapheme clusters), in order, each as the
/// UTF-8 bytes it takes in `text`: "Cafe" + U+0301 gives "C", "a", "f" and "e" + U+0301; a flag or
/// an emoji with a skin tone is one character. An ill-formed byte sequence counts as one character.
std::vector<std::string> characters(std::string_view text);

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
