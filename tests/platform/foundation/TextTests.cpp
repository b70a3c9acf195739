#include "platform/foundation/Text.hpp"

#include <gtest/gtest.h>

#include <cmath>
#include <cstdlib>
#include <limits>
#include <optional>
#include <string>

using platform::FormatArgument;
namespace Text = platform::Text;

namespace {

TEST(Text, DoubleDescriptionIsShortestWithAFraction) {
    const std::pair<double, const char*> cases[] = {
        {0.0, "0.0"},
        {-0.0, "-0.0"},
        {-1920.0, "-1920.0"},
        {0.1, "0.1"},
        {1.0 / 3.0, "0.3333333333333333"},
        {25.5, "25.5"},
        {1234567.5, "1234567.5"},
        {0.001, "0.001"},
        {0.0001, "0.0001"},
        {0.00001, "1e-05"},
        {1e20, "1e+20"},
        {1.5e300, "1.5e+300"},
        {5e-324, "5e-324"},
        {9007199254740992.0, "9007199254740992.0"},
        {1e16, "10000000000000000.0"},
        {18014398509481984.0, "18014398509481984.0"},
        {36028797018963968.0, "3.602879701896397e+16"},
        {std::numeric_limits<double>::infinity(), "inf"},
        {-std::numeric_limits<double>::infinity(), "-inf"},
        {std::numeric_limits<double>::quiet_NaN(), "nan"},
    };
    for (const auto& [value, expected] : cases) {
        SCOPED_TRACE(expected);
        EXPECT_EQ(Text::doubleDescription(value), expected);
        if (std::isfinite(value)) {
            EXPECT_EQ(std::strtod(Text::doubleDescription(value).c_str(), nullptr), value);
        }
    }
}

TEST(Text, TimeOfDayIsLocalWithTruncatedMilliseconds) {
    const char* old = std::getenv("TZ");
    const std::optional<std::string> saved = old ? std::optional<std::string>(old) : std::nullopt;
    ::setenv("TZ", "UTC", 1);
    ::tzset();
    // 2023-11-14 22:13:20 UTC
    EXPECT_EQ(Text::timeOfDay(platform::Date{1700000000.0}), "22:13:20.000");
    EXPECT_EQ(Text::timeOfDay(platform::Date{1700000000.9999}), "22:13:20.999");
    const std::pair<double, const char*> cases[] = {
        {1700000000.0456, "22:13:20.045"}, {1700000000.3, "22:13:20.300"}, // stored as ...20.29999995
        {1700000000.123, "22:13:20.123"},  {1700000000.001, "22:13:20.001"},
        {-0.001, "23:59:59.999"},          {std::numeric_limits<double>::quiet_NaN(), "00:00:00.000"},
        {1e300, "00:00:00.000"},
    };
    for (const auto& [seconds, expected] : cases)
        EXPECT_EQ(Text::timeOfDay(platform::Date{seconds}), expected) << seconds;
    ::setenv("TZ", "UTC-2", 1); // two hours east of UTC in POSIX notation
    ::tzset();
    EXPECT_EQ(Text::timeOfDay(platform::Date{1700000000.5}), "00:13:20.500");
    if (saved) {
        ::setenv("TZ", saved->c_str(), 1);
    } else {
        ::unsetenv("TZ");
    }
    ::tzset();
}

struct FormatCase {
    const char* format;
    std::vector<FormatArgument> arguments;
    const char* expected;
};

TEST(Text, FormatFillsConversions) {
    const FormatCase cases[] = {
        {"Snapshot \"%@\" saved", {"Work"}, "Snapshot \"Work\" saved"},
        {"%d window(s) of %@", {3, "Safari"}, "3 window(s) of Safari"},
        {"%ld / %lld / %i / %u", {-1, 2, 3, 4}, "-1 / 2 / 3 / 4"},
        {"%u", {-1}, "18446744073709551615"},
        {"%.1f px", {12.25}, "12.2 px"},
        {"%.1f px", {12}, "12.0 px"},
        {"%f", {0.5}, "0.500000"},
        {"%5.2f|%-4d|%04d|%+d", {3.14159, 7, 42, 5}, " 3.14|7   |0042|+5"},
        {"%x %X %o", {255, 255, 8}, "ff FF 10"},
        {"100%%", {}, "100%"},
        {"%@ and %s", {1.5, 7}, "1.5 and 7"},
        {"[%5@][%-5@][%.2@]", {"ab", "cd", "ééé"}, "[   ab][cd   ][éé]"},
        {"%2$@ before %1$@", {"first", "second"}, "second before first"},
        {"%1$@ %1$@ %2$d", {"x", 9}, "x x 9"},
        {"%@", {"a", "surplus"}, "a"},
        {"%B", {}, "%B"},
        {"no conversions", {}, "no conversions"},
        {"%@ %.1f", {true, 2.0}, "1 2.0"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.format);
        EXPECT_EQ(Text::format(c.format, c.arguments), c.expected);
    }
}

TEST(Text, MismatchedOrMalformedFormatsComeBackUnchanged) {
    const FormatCase cases[] = {
        {"%d items", {"three"}, "%d items"},
        {"%d items", {2.5}, "%d items"},
        {"%f", {"x"}, "%f"},
        {"%@ and %@", {"one"}, "%@ and %@"},
        {"%3$@", {"a", "b"}, "%3$@"},
        {"%0$@", {"a"}, "%0$@"},
        {"%1$@ %@", {"a", "b"}, "%1$@ %@"},
        {"%n", {1}, "%n"},
        {"%s%s%s%s%n", {"a", "b", "c", "d", 1}, "%s%s%s%s%n"},
        {"%*d", {5, 1}, "%*d"},
        {"trailing %", {}, "trailing %"},
        {"%99999d", {1}, "%99999d"},
        {"%.99999f", {1.0}, "%.99999f"},
        {"%#d", {1}, "%#d"},
        {"%c", {65}, "%c"},
        {"%ls", {}, "%ls"},
        {"%999999999d", {1}, "%999999999d"},
        {"%99999999999999999999999d", {1}, "%99999999999999999999999d"},
        {"%.2147483647f", {1.0}, "%.2147483647f"},
        {"%1$@ %3$@", {"a", "b"}, "%1$@ %3$@"},
        {"%", {}, "%"},
        {"%l", {1}, "%l"},
        {"%1$", {"a"}, "%1$"},
        {"%1$*2$d", {1, 2}, "%1$*2$d"},
        {"%.*f", {2, 1.5}, "%.*f"},
        {"%p", {1}, "%p"},
        {"%a", {1.0}, "%a"},
        {"%2147483648$@", {"a"}, "%2147483648$@"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.format);
        EXPECT_EQ(Text::format(c.format, c.arguments), c.expected);
    }
}

} // namespace

namespace {

TEST(Date, NowFollowsTheInstalledTimeSource) {
    platform::Date::setNowProvider([] { return 1234.5; });
    EXPECT_EQ(platform::Date::now(), platform::Date{1234.5});
    platform::Date::setNowProvider({});
    const double system = platform::Date::systemNow();
    EXPECT_NEAR(platform::Date::now().timeIntervalSince1970, system, 60.0);
    EXPECT_DOUBLE_EQ((platform::Date{10.0}.timeIntervalSince(platform::Date{4.5})), 5.5);
}

} // namespace
