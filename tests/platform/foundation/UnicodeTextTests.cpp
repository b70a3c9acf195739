#include "platform/control/LocaleControl.hpp"
#include "platform/control/SharedInstances.hpp"
#include "platform/foundation/Bundle.hpp"
#include "platform/foundation/Text.hpp"

#include <gtest/gtest.h>

#include <cmath>
#include <limits>
#include <optional>
#include <string>
#include <vector>

namespace Text = platform::Text;

namespace {

// "é" composed (U+00E9) and decomposed ("e" + U+0301).
const std::string kComposedE = "\xC3\xA9";
const std::string kDecomposedE = "e\xCC\x81";

TEST(UnicodeText, ParseDoubleAcceptsOnlyStrictNumberTexts) {
    const double inf = std::numeric_limits<double>::infinity();
    const struct {
        const char* text;
        std::optional<double> expected;
    } cases[] = {
        {"1.5", 1.5},
        {"-0", -0.0},
        {"+2", 2.0},
        {"1e3", 1000.0},
        {"1E-2", 0.01},
        {"2.5e+1", 25.0},
        {".5", 0.5},
        {"5.", 5.0},
        {"007", 7.0},
        {"0x10", 16.0},
        {"-0X1f", -31.0},
        {"0x1.8p1", 3.0},
        {"0x.8", 0.5},
        {"inf", inf},
        {"-inf", -inf},
        {"Infinity", inf},
        {"+INF", inf},
        {"1e999", inf},
        {"-1e999", -inf},
        {"1e-999", 0.0},
        {"", std::nullopt},
        {" 1", std::nullopt},
        {"1 ", std::nullopt},
        {"1\n", std::nullopt},
        {"1e", std::nullopt},
        {"1e+", std::nullopt},
        {"1.5x", std::nullopt},
        {".", std::nullopt},
        {"-", std::nullopt},
        {"+-1", std::nullopt},
        {"1,5", std::nullopt},
        {"1_000", std::nullopt},
        {"0x", std::nullopt},
        {"0x1p", std::nullopt},
        {"0xg", std::nullopt},
        {"1p3", std::nullopt},
        {"infinit", std::nullopt},
        {"nan(1)", std::nullopt},
        {"nana", std::nullopt},
        {"\xEF\xBC\x91", std::nullopt},       // full-width digit one
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.text);
        const auto parsed = Text::parseDouble(c.text);
        ASSERT_EQ(parsed.has_value(), c.expected.has_value());
        if (c.expected) {
            EXPECT_EQ(*parsed, *c.expected);
            EXPECT_EQ(std::signbit(*parsed), std::signbit(*c.expected));
        }
    }
    EXPECT_FALSE(Text::parseDouble(std::string_view("1\0", 2))); // an embedded NUL is not the end
    for (const char* nan : {"nan", "NaN", "-nan", "NAN"}) {
        SCOPED_TRACE(nan);
        const auto parsed = Text::parseDouble(nan);
        ASSERT_TRUE(parsed);
        EXPECT_TRUE(std::isnan(*parsed));
    }
}

TEST(UnicodeText, TrimmingRemovesUnicodeBlanksAndLineBreaksAtBothEndsOnly) {
    const std::pair<std::string, std::string> cases[] = {
        {"  a b \t", "a b"},
        {"\n\r\t x\ny \r\n", "x\ny"},
        {"\xC2\xA0" "a" "\xE2\x80\xA8", "a"},                   // no-break space, line separator
        {"\xE3\x80\x80" "x" "\xC2\x85", "x"},                   // ideographic space, next line
        {" \t\n", ""},
        {"", ""},
        {"\xE2\x80\x8B" "a", "\xE2\x80\x8B" "a"},               // zero-width space is not white space
        {" \xFF ", "\xFF"},                                      // ill-formed bytes kept as they are
    };
    for (const auto& [text, expected] : cases) {
        SCOPED_TRACE(text);
        EXPECT_EQ(Text::trimmingWhitespaceAndNewlines(text), expected);
    }
}

TEST(UnicodeText, CasingFollowsUnicodeFullMappings) {
    const struct {
        std::string text, capitalized, lower, upper;
    } cases[] = {
        {"hello wORLD", "Hello World", "hello world", "HELLO WORLD"},
        {"  two\tWORDS\n", "  Two\tWords\n", "  two\twords\n", "  TWO\tWORDS\n"},
        {"\xC3\xA9" "CRAN", "\xC3\x89" "cran", "\xC3\xA9" "cran", "\xC3\x89" "CRAN"}, // ÉCRAN
        {"stra\xC3\x9F" "e", "Stra\xC3\x9F" "e", "stra\xC3\x9F" "e", "STRASSE"},
        {"\xC3\x9F", "Ss", "\xC3\x9F", "SS"},
        {"(hi", "(Hi", "(hi", "(HI"},
        {"a", "A", "a", "A"},
        {"", "", "", ""},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.text);
        EXPECT_EQ(Text::capitalized(c.text), c.capitalized);
        EXPECT_EQ(Text::lowercased(c.text), c.lower);
        EXPECT_EQ(Text::uppercased(c.text), c.upper);
    }
}

TEST(UnicodeText, CaseInsensitiveEqualityFoldsCaseAndComposition) {
    const struct {
        std::string a, b;
        bool equal;
    } cases[] = {
        {"\xC3\x89" "CRAN", "\xC3\xA9" "cran", true},
        {"Stra\xC3\x9F" "e", "STRASSE", true},
        {"caf" + kComposedE, "CAFE\xCC\x81", true},
        {"abc", "ABC", true},
        {"", "", true},
        {"cafe", "caf" + kComposedE, false},
        {"abc", "abcd", false},
        {"a", "", false},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.a + " / " + c.b);
        EXPECT_EQ(Text::caseInsensitiveEquals(c.a, c.b), c.equal);
        EXPECT_EQ(Text::caseInsensitiveEquals(c.b, c.a), c.equal);
    }
}

TEST(UnicodeText, CaseInsensitiveContainsMatchesWholeCharacters) {
    const struct {
        std::string haystack, needle;
        bool found;
    } cases[] = {
        {"Hello World", "o w", true},
        {"Hello World", "WORLD", true},
        {"\xC3\x89" "cran principal", "\xC3\xA9" "cran", true},
        {"Gro\xC3\x9F" "e Datei", "GROSSE", true},
        {"caf" + kDecomposedE, "caf" + kComposedE, true},
        {"caf" + kDecomposedE, "cafe", false}, // "e" alone is not the accented character
        {"caf" + kComposedE, "e", false},
        {"abc", "", false},
        {"", "a", false},
        {"abc", "abcd", false},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.haystack + " / " + c.needle);
        EXPECT_EQ(Text::caseInsensitiveContains(c.haystack, c.needle), c.found);
    }
}

TEST(UnicodeText, CanonicalFormComposesAndEquivalenceIgnoresComposition) {
    EXPECT_EQ(Text::canonicalForm("Caf" + kDecomposedE), "Caf" + kComposedE);
    EXPECT_EQ(Text::canonicalForm("Caf" + kComposedE), "Caf" + kComposedE);
    const struct {
        std::string a, b;
        bool equivalent;
    } cases[] = {
        {"Caf" + kComposedE, "Caf" + kDecomposedE, true},
        {"\xE2\x84\xAB", "\xC3\x85", true},                       // ANGSTROM SIGN and Å
        {"a\xCC\x81\xCC\xA3", "a\xCC\xA3\xCC\x81", true},         // combining marks reordered
        {"caf" + kComposedE, "Caf" + kComposedE, false},          // case still counts
        {"\xEF\xAC\x81", "fi", false},                            // the ligature is only compatible
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.a + " / " + c.b);
        EXPECT_EQ(Text::canonicallyEquivalent(c.a, c.b), c.equivalent);
    }
}

class LocalizedCompare : public ::testing::Test {
protected:
    void TearDown() override { platform::SharedInstances::resetAll(); }
};

int sign(int v) {
    return (v > 0) - (v < 0);
}

TEST_F(LocalizedCompare, OrdersByTheUsersLanguageIgnoringCase) {
    const struct {
        std::optional<std::string> language;
        std::vector<std::string> preferred;
        std::string a, b;
        int expected;
    } cases[] = {
        {"sv", {}, "\xC3\xA5", "z", 1},        // Swedish: å after z
        {"en", {}, "\xC3\xA5", "z", -1},       // English: å with a
        {std::nullopt, {"sv-SE"}, "\xC3\xA5" "l", "zebra", 1},
        {std::nullopt, {}, "\xC3\xA5", "z", -1}, // root order
        {"de", {}, "apple", "Banana", -1},
        {"de", {}, "Apple", "apple", 0},
        {"en", {}, "Caf" + kComposedE, "CAF" + kDecomposedE, 0},
        {"en", {}, "cafe", "caf" + kComposedE, -1}, // accents still count
        {"en", {}, "item 2", "item 10", 1},        // no numeric ordering
        {"en", {}, "", "a", -1},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.a + " / " + c.b + " in " + c.language.value_or("(none)"));
        platform::LocaleControl::setCurrentLanguageCode(std::optional<std::optional<std::string>>(c.language));
        platform::LocaleControl::setPreferredLanguages(c.preferred);
        EXPECT_EQ(sign(Text::localizedCaseInsensitiveCompare(c.a, c.b)), c.expected);
        EXPECT_EQ(sign(Text::localizedCaseInsensitiveCompare(c.b, c.a)), -c.expected);
    }
}

TEST(UnicodeText, AppendUtf8EncodesEveryLengthAndReplacesNonCharacters) {
    const std::pair<char32_t, std::string> cases[] = {
        {U'A', "A"},
        {0x7F, "\x7F"},
        {0x80, "\xC2\x80"},
        {0xE9, "\xC3\xA9"},
        {0x7FF, "\xDF\xBF"},
        {0x800, "\xE0\xA0\x80"},
        {0x20AC, "\xE2\x82\xAC"},
        {0xFFFF, "\xEF\xBF\xBF"},
        {0x10000, "\xF0\x90\x80\x80"},
        {0x10FFFF, "\xF4\x8F\xBF\xBF"},
        {0xD800, "\xEF\xBF\xBD"},
        {0xDFFF, "\xEF\xBF\xBD"},
        {0x110000, "\xEF\xBF\xBD"},
    };
    for (const auto& [codePoint, expected] : cases) {
        SCOPED_TRACE(static_cast<unsigned>(codePoint));
        std::string out = "x";
        Text::appendUtf8(out, codePoint);
        EXPECT_EQ(out, "x" + expected);
    }
    std::string nul;
    Text::appendUtf8(nul, 0);
    EXPECT_EQ(nul, std::string(1, '\0'));
}

TEST(UnicodeText, CharactersAreWhatAPersonCountsAsOne) {
    using Characters = std::vector<std::string>;
    const std::pair<std::string, Characters> cases[] = {
        {"", {}},
        {"Ab", {"A", "b"}},
        {"Cafe\xCC\x81!", {"C", "a", "f", kDecomposedE, "!"}},
        {kComposedE + "\xE6\x97\xA5", {kComposedE, "\xE6\x97\xA5"}},
        // A flag (two regional indicators) and a thumb with a skin tone are one character each.
        {"\xF0\x9F\x87\xA9\xF0\x9F\x87\xAA\xF0\x9F\x91\x8D\xF0\x9F\x8F\xBD",
         {"\xF0\x9F\x87\xA9\xF0\x9F\x87\xAA", "\xF0\x9F\x91\x8D\xF0\x9F\x8F\xBD"}},
        {"\r\n", {"\r\n"}},
        // Bytes that are no UTF-8 are kept, apart from their neighbours.
        {"a\xFF" "b", {"a", "\xFF", "b"}},
    };
    for (const auto& [text, expected] : cases) {
        SCOPED_TRACE(text);
        EXPECT_EQ(Text::characters(text), expected);
    }
}

} // namespace
