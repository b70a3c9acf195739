// The Unicode half of `platform::Text`: strict number parse, trimming, casing, folding,
// normalization and collation. ICU does the Unicode work; nothing here keeps tables of its own.

#include "platform/foundation/Text.hpp"

#include "platform/foundation/Bundle.hpp"
#include "platform/foundation/LocalizedOrder.hpp"

#include <unicode/brkiter.h>
#include <unicode/coll.h>
#include <unicode/locid.h>
#include <unicode/normalizer2.h>
#include <unicode/uchar.h>
#include <unicode/unistr.h>
#include <unicode/utext.h>
#include <unicode/ustring.h>
#include <unicode/utf8.h>

#include <clocale>
#include <cstdlib>
#include <locale.h>
#include <map>
#include <memory>

namespace platform::Text {

namespace {

icu::UnicodeString fromUtf8(std::string_view text) {
    return icu::UnicodeString::fromUTF8(icu::StringPiece(text.data(), static_cast<int32_t>(text.size())));
}

std::string toUtf8(const icu::UnicodeString& text) {
    std::string out;
    text.toUTF8String(out);
    return out;
}

bool isAscii(std::string_view text) {
    for (char c : text)
        if (static_cast<unsigned char>(c) >= 0x80) return false;
    return true;
}

bool isAsciiDigit(char c) {
    return c >= '0' && c <= '9';
}

bool isHexDigit(char c) {
    return isAsciiDigit(c) || (c >= 'a' && c <= 'f') || (c >= 'A' && c <= 'F');
}

bool equalsIgnoringAsciiCase(std::string_view text, std::string_view lowerWord) {
    if (text.size() != lowerWord.size()) return false;
    for (std::size_t i = 0; i < text.size(); ++i) {
        char c = text[i];
        if (c >= 'A' && c <= 'Z') c = static_cast<char>(c - 'A' + 'a');
        if (c != lowerWord[i]) return false;
    }
    return true;
}

// Number of digits matched by `accepts` from `i` on; `i` moves past them.
template <class Accepts>
std::size_t skipDigits(std::string_view s, std::size_t& i, Accepts accepts) {
    const std::size_t start = i;
    while (i < s.size() && accepts(s[i]))
        ++i;
    return i - start;
}

// True when `body` (the text after an optional sign) is a decimal or hexadecimal number literal.
bool isNumberLiteral(std::string_view body) {
    std::size_t i = 0;
    const bool hex = body.size() >= 2 && body[0] == '0' && (body[1] == 'x' || body[1] == 'X');
    auto digit = hex ? isHexDigit : isAsciiDigit;
    if (hex) i = 2;
    std::size_t mantissaDigits = skipDigits(body, i, digit);
    if (i < body.size() && body[i] == '.') {
        ++i;
        mantissaDigits += skipDigits(body, i, digit);
    }
    if (mantissaDigits == 0) return false;
    if (i < body.size() && (hex ? (body[i] == 'p' || body[i] == 'P') : (body[i] == 'e' || body[i] == 'E'))) {
        ++i;
        if (i < body.size() && (body[i] == '+' || body[i] == '-')) ++i;
        if (skipDigits(body, i, isAsciiDigit) == 0) return false;
    }
    return i == body.size();
}

locale_t cLocale() {
    static const locale_t locale = newlocale(LC_ALL_MASK, "C", static_cast<locale_t>(nullptr));
    return locale;
}

const icu::Normalizer2* nfd() {
    UErrorCode status = U_ZERO_ERROR;
    const icu::Normalizer2* n = icu::Normalizer2::getNFDInstance(status);
    return U_SUCCESS(status) ? n : nullptr;
}

const icu::Normalizer2* nfc() {
    UErrorCode status = U_ZERO_ERROR;
    const icu::Normalizer2* n = icu::Normalizer2::getNFCInstance(status);
    return U_SUCCESS(status) ? n : nullptr;
}

icu::UnicodeString normalized(const icu::Normalizer2* normalizer, const icu::UnicodeString& text) {
    if (!normalizer) return text;
    UErrorCode status = U_ZERO_ERROR;
    icu::UnicodeString out = normalizer->normalize(text, status);
    return U_SUCCESS(status) ? out : text;
}

// The canonical caseless form: NFD(fold(NFD(text))), so case and composition differences vanish.
icu::UnicodeString caselessKey(std::string_view text) {
    icu::UnicodeString u = normalized(nfd(), fromUtf8(text));
    u.foldCase(U_FOLD_CASE_DEFAULT);
    return normalized(nfd(), u);
}

bool isWhitespaceOrNewline(UChar32 c) {
    return c >= 0 && u_isUWhiteSpace(c);
}

// The collation language of the user: the current language code, else the first preferred
// language, else none (root order).
std::string userCollationLanguage() {
    if (auto code = Locale::currentLanguageCode(); code && !code->empty()) return *code;
    auto preferred = Locale::preferredLanguages();
    if (!preferred.empty()) return preferred.front();
    return {};
}

// One secondary-strength collator per language and thread (collators are not shared across
// threads). None when ICU cannot make one.
icu::Collator* collatorFor(const std::string& language) {
    thread_local std::map<std::string, std::unique_ptr<icu::Collator>> collators;
    auto it = collators.find(language);
    if (it != collators.end()) return it->second.get();
    UErrorCode status = U_ZERO_ERROR;
    icu::Locale locale = language.empty() ? icu::Locale::getRoot() : icu::Locale::forLanguageTag(language, status);
    if (U_FAILURE(status) || locale.isBogus()) {
        status = U_ZERO_ERROR;
        locale = icu::Locale::getRoot();
    }
    std::unique_ptr<icu::Collator> collator(icu::Collator::createInstance(locale, status));
    if (U_FAILURE(status)) collator.reset();
    if (collator) {
        collator->setStrength(icu::Collator::SECONDARY);
        status = U_ZERO_ERROR;
        collator->setAttribute(UCOL_NORMALIZATION_MODE, UCOL_ON, status);
    }
    icu::Collator* raw = collator.get();
    collators.emplace(language, std::move(collator));
    return raw;
}

} // namespace

std::optional<double> parseDouble(std::string_view text) {
    std::string_view body = text;
    if (!body.empty() && (body.front() == '+' || body.front() == '-')) body.remove_prefix(1);
    const bool special = equalsIgnoringAsciiCase(body, "nan") || equalsIgnoringAsciiCase(body, "inf") ||
                         equalsIgnoringAsciiCase(body, "infinity");
    if (!special && !isNumberLiteral(body)) return std::nullopt;
    // The text is now known to be a complete literal; the C library turns it into the nearest double
    // (infinity on overflow, zero or a subnormal on underflow) in the "C" locale.
    const std::string copy(text);
    char* end = nullptr;
    const double value = strtod_l(copy.c_str(), &end, cLocale());
    if (end != copy.c_str() + copy.size()) return std::nullopt;
    return value;
}

namespace {

/// The byte offset in `s` (`length` bytes of UTF-8) just past the run of whitespace and newlines
/// that starts at `i`; `i` itself when none starts there.
int32_t skipWhitespaceAndNewlines(const uint8_t* s, int32_t i, int32_t length) {
    while (i < length) {
        int32_t next = i;
        UChar32 c = 0;
        U8_NEXT(s, next, length, c);
        if (!isWhitespaceOrNewline(c)) break;
        i = next;
    }
    return i;
}

} // namespace

std::string trimmingWhitespaceAndNewlines(std::string_view text) {
    const auto* s = reinterpret_cast<const uint8_t*>(text.data());
    const auto length = static_cast<int32_t>(text.size());
    const int32_t start = skipWhitespaceAndNewlines(s, 0, length);
    int32_t end = length;
    while (end > start) {
        int32_t previous = end;
        UChar32 c = 0;
        U8_PREV(s, start, previous, c);
        if (!isWhitespaceOrNewline(c)) break;
        end = previous;
    }
    return std::string(text.substr(static_cast<std::size_t>(start), static_cast<std::size_t>(end - start)));
}

std::string capitalized(std::string_view text) {
    const auto* s = reinterpret_cast<const uint8_t*>(text.data());
    const auto length = static_cast<int32_t>(text.size());
    std::string out;
    out.reserve(text.size());
    int32_t i = 0;
    while (i < length) {
        // A run of separators, copied as it is.
        int32_t runStart = i;
        i = skipWhitespaceAndNewlines(s, i, length);
        out.append(text.substr(static_cast<std::size_t>(runStart), static_cast<std::size_t>(i - runStart)));
        // A word: its first cased letter in title case, the rest in lower case.
        runStart = i;
        while (i < length) {
            int32_t next = i;
            UChar32 c = 0;
            U8_NEXT(s, next, length, c);
            if (isWhitespaceOrNewline(c)) break;
            i = next;
        }
        if (i > runStart) {
            icu::UnicodeString word =
                fromUtf8(text.substr(static_cast<std::size_t>(runStart), static_cast<std::size_t>(i - runStart)));
            word.toTitle(nullptr, icu::Locale::getRoot(), U_TITLECASE_WHOLE_STRING);
            out += toUtf8(word);
        }
    }
    return out;
}

std::string lowercased(std::string_view text) {
    icu::UnicodeString u = fromUtf8(text);
    u.toLower(icu::Locale::getRoot());
    return toUtf8(u);
}

std::string uppercased(std::string_view text) {
    icu::UnicodeString u = fromUtf8(text);
    u.toUpper(icu::Locale::getRoot());
    return toUtf8(u);
}

bool caseInsensitiveEquals(std::string_view a, std::string_view b) {
    if (a == b) return true;
    return caselessKey(a) == caselessKey(b);
}

bool caseInsensitiveContains(std::string_view haystack, std::string_view needle) {
    if (needle.empty()) return false;
    const icu::UnicodeString h = caselessKey(haystack);
    const icu::UnicodeString n = caselessKey(needle);
    if (n.isEmpty()) return false;
    std::unique_ptr<icu::BreakIterator> characters;
    for (int32_t at = h.indexOf(n); at >= 0; at = h.indexOf(n, at + 1)) {
        if (!characters) {
            UErrorCode status = U_ZERO_ERROR;
            characters.reset(icu::BreakIterator::createCharacterInstance(icu::Locale::getRoot(), status));
            if (U_FAILURE(status) || !characters) return true; // no boundaries known: any match counts
            characters->setText(h);
        }
        if (characters->isBoundary(at) && characters->isBoundary(at + n.length())) return true;
    }
    return false;
}

std::string canonicalForm(std::string_view text) {
    if (isAscii(text)) return std::string(text); // ASCII is its own canonical form
    return toUtf8(normalized(nfc(), fromUtf8(text)));
}

bool canonicallyEquivalent(std::string_view a, std::string_view b) {
    if (a == b) return true;
    if (isAscii(a) && isAscii(b)) return false; // distinct ASCII texts are never equivalent
    return canonicalForm(a) == canonicalForm(b);
}

int localizedCaseInsensitiveCompare(std::string_view a, std::string_view b) {
    return LocalizedOrder().compare(a, b);
}

LocalizedOrder::LocalizedOrder()
    : collator_(collatorFor(userCollationLanguage())) {}

int LocalizedOrder::compare(std::string_view a, std::string_view b) const {
    if (const auto* collator = static_cast<const icu::Collator*>(collator_)) {
        UErrorCode status = U_ZERO_ERROR;
        const UCollationResult result =
            collator->compareUTF8(icu::StringPiece(a.data(), static_cast<int32_t>(a.size())),
                                  icu::StringPiece(b.data(), static_cast<int32_t>(b.size())), status);
        if (U_SUCCESS(status)) return result == UCOL_LESS ? -1 : result == UCOL_GREATER ? 1 : 0;
    }
    // Without a collator: code-point order of the caseless forms.
    const int order = caselessKey(a).compareCodePointOrder(caselessKey(b));
    return order < 0 ? -1 : order > 0 ? 1 : 0;
}

std::vector<std::string> characters(std::string_view text) {
    std::vector<std::string> out;
    if (text.empty()) return out;
    // The break iterator reads the UTF-8 bytes in place, so its boundaries are byte offsets.
    UErrorCode status = U_ZERO_ERROR;
    UText* utext = utext_openUTF8(nullptr, text.data(), static_cast<int64_t>(text.size()), &status);
    std::unique_ptr<icu::BreakIterator> iterator(
        U_SUCCESS(status) ? icu::BreakIterator::createCharacterInstance(icu::Locale::getRoot(), status) : nullptr);
    if (U_SUCCESS(status) && iterator) iterator->setText(utext, status);
    if (U_FAILURE(status) || !iterator) {
        // Without boundaries every byte counts as a character of its own.
        for (char c : text)
            out.emplace_back(1, c);
    } else {
        for (int32_t from = iterator->first(), to = iterator->next(); to != icu::BreakIterator::DONE;
             from = to, to = iterator->next())
            out.emplace_back(text.substr(static_cast<std::size_t>(from), static_cast<std::size_t>(to - from)));
    }
    utext_close(utext);
    return out;
}

void appendUtf8(std::string& out, char32_t codePoint) {
    if (codePoint > 0x10FFFF || (codePoint >= 0xD800 && codePoint <= 0xDFFF)) codePoint = 0xFFFD;
    if (codePoint < 0x80) {
        out += static_cast<char>(codePoint);
    } else if (codePoint < 0x800) {
        out += static_cast<char>(0xC0 | (codePoint >> 6));
        out += static_cast<char>(0x80 | (codePoint & 0x3F));
    } else if (codePoint < 0x10000) {
        out += static_cast<char>(0xE0 | (codePoint >> 12));
        out += static_cast<char>(0x80 | ((codePoint >> 6) & 0x3F));
        out += static_cast<char>(0x80 | (codePoint & 0x3F));
    } else {
        out += static_cast<char>(0xF0 | (codePoint >> 18));
        out += static_cast<char>(0x80 | ((codePoint >> 12) & 0x3F));
        out += static_cast<char>(0x80 | ((codePoint >> 6) & 0x3F));
        out += static_cast<char>(0x80 | (codePoint & 0x3F));
    }
}

} // namespace platform::Text
