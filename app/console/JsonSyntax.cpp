#include "console/JsonSyntax.hpp"

#include "console/ConsoleText.hpp"

#include <vector>

namespace tilmora {

namespace {

constexpr const char* kValue = "a value (an object, an array, a text in double quotes, a number, true, false or null)";

bool isDigit(char c) {
    return c >= '0' && c <= '9';
}

bool isWordCharacter(char c) {
    return isDigit(c) || (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') || c == '_' || c == '-' || c == '.';
}

/// The length of the UTF-8 sequence at `at` (1 to 4), or 0 when it is not a valid one.
std::size_t utf8Length(std::string_view s, std::size_t at) {
    const auto byte = [&](std::size_t i) { return static_cast<unsigned char>(s[i]); };
    const unsigned char lead = byte(at);
    if (lead < 0x80) return 1;
    std::size_t length = 0;
    unsigned char low = 0x80, high = 0xBF;
    if (lead >= 0xC2 && lead <= 0xDF) {
        length = 2;
    } else if (lead >= 0xE0 && lead <= 0xEF) {
        length = 3;
        if (lead == 0xE0) low = 0xA0;
        if (lead == 0xED) high = 0x9F;
    } else if (lead >= 0xF0 && lead <= 0xF4) {
        length = 4;
        if (lead == 0xF0) low = 0x90;
        if (lead == 0xF4) high = 0x8F;
    } else {
        return 0;
    }
    if (at + length > s.size()) return 0;
    if (byte(at + 1) < low || byte(at + 1) > high) return 0;
    for (std::size_t i = 2; i < length; ++i)
        if (byte(at + i) < 0x80 || byte(at + i) > 0xBF) return 0;
    return length;
}

class Scanner {
public:
    explicit Scanner(std::string_view text)
        : s_(text) {}

    std::optional<JsonSyntax::Problem> run() {
        // The open containers, innermost last: '{' or '['.
        std::vector<char> open;
        // A byte-order mark may open the text.
        if (s_.starts_with("\xEF\xBB\xBF")) start_ = at_ = 3;
        skipBlanks();
        for (;;) {
            // Here a value starts.
            if (at_ >= s_.size()) return problem(kValue);
            const char c = s_[at_];
            if (c == '{' || c == '[') {
                ++at_;
                skipBlanks();
                const char close = c == '{' ? '}' : ']';
                if (at_ < s_.size() && s_[at_] == close) {
                    ++at_;
                } else {
                    open.push_back(c);
                    if (c == '{') {
                        if (!key(true)) return problem_;
                    }
                    continue;
                }
            } else if (c == '"') {
                if (!string()) return problem_;
            } else if (c == '-' || isDigit(c)) {
                if (!number()) return problem_;
            } else if (!literal("true") && !literal("false") && !literal("null")) {
                return problem(kValue);
            }
            // A value ended: what may follow it.
            for (;;) {
                skipBlanks();
                if (open.empty()) {
                    if (at_ < s_.size()) return problem("the end of the text after the value");
                    return std::nullopt;
                }
                const char close = open.back() == '{' ? '}' : ']';
                if (at_ < s_.size() && s_[at_] == close) {
                    ++at_;
                    open.pop_back();
                    continue;
                }
                if (at_ < s_.size() && s_[at_] == ',') {
                    ++at_;
                    skipBlanks();
                    if (open.back() == '{' && !key(false)) return problem_;
                    break;
                }
                return problem(open.back() == '{' ? "',' or '}'" : "',' or ']'");
            }
        }
    }

private:
    void skipBlanks() {
        while (at_ < s_.size() && (s_[at_] == ' ' || s_[at_] == '\t' || s_[at_] == '\n' || s_[at_] == '\r'))
            ++at_;
    }

    bool fail(const std::string& expected) {
        problem_ = problem(expected);
        return false;
    }

    JsonSyntax::Problem problem(const std::string& expected) const {
        JsonSyntax::Problem p;
        for (std::size_t i = start_; i < at_ && i < s_.size();) {
            if (s_[i] == '\n') {
                ++p.line;
                p.column = 1;
                ++i;
                continue;
            }
            const std::size_t n = utf8Length(s_, i);
            i += n == 0 ? 1 : n;
            ++p.column;
        }
        p.expected = expected;
        if (at_ >= s_.size()) {
            p.found = "the end of the text";
        } else if (isWordCharacter(s_[at_])) {
            std::size_t end = at_;
            while (end < s_.size() && end - at_ < 24 && isWordCharacter(s_[end]))
                ++end;
            p.found = ConsoleText::quote(std::string(s_.substr(at_, end - at_)));
        } else {
            const std::size_t n = utf8Length(s_, at_);
            p.found = n == 0 ? "a byte that is not UTF-8" : ConsoleText::quote(std::string(s_.substr(at_, n)));
        }
        return p;
    }

    /// An object key and its ':' (blanks around both), `at_` at the key's quote; `orClose` when
    /// the object may end here instead.
    bool key(bool orClose) {
        if (at_ >= s_.size() || s_[at_] != '"')
            return fail(orClose ? "a key in double quotes or '}'" : "a key in double quotes");
        if (!string()) return false;
        skipBlanks();
        if (at_ >= s_.size() || s_[at_] != ':') return fail("':' after the key");
        ++at_;
        skipBlanks();
        return true;
    }

    std::optional<unsigned> hex4() {
        if (at_ + 4 > s_.size()) return std::nullopt;
        unsigned v = 0;
        for (std::size_t i = 0; i < 4; ++i) {
            const char c = s_[at_ + i];
            v <<= 4;
            if (isDigit(c))
                v |= static_cast<unsigned>(c - '0');
            else if (c >= 'a' && c <= 'f')
                v |= static_cast<unsigned>(c - 'a' + 10);
            else if (c >= 'A' && c <= 'F')
                v |= static_cast<unsigned>(c - 'A' + 10);
            else
                return std::nullopt;
        }
        at_ += 4;
        return v;
    }

    /// A text in double quotes, `at_` at the opening quote.
    bool string() {
        ++at_;
        for (;;) {
            if (at_ >= s_.size()) return fail("'\"' to close the text");
            const unsigned char c = static_cast<unsigned char>(s_[at_]);
            if (c == '"') {
                ++at_;
                return true;
            }
            if (c < 0x20) return fail("a character of the text (a control character is written as an escape: \\n, \\t, \\u0000)");
            if (c == '\\') {
                const std::size_t backslash = at_;
                ++at_;
                if (at_ >= s_.size()) return fail("an escape: \\\" \\\\ \\/ \\b \\f \\n \\r \\t or \\uXXXX");
                const char e = s_[at_];
                if (e == 'u') {
                    ++at_;
                    const auto unit = hex4();
                    if (!unit) return fail("four hexadecimal digits after \\u");
                    if (*unit >= 0xDC00 && *unit <= 0xDFFF) {
                        at_ -= 6;
                        return fail("a character escape (\\u" + std::string(s_.substr(at_ + 2, 4)) +
                                    " is the second half of a pair, alone)");
                    }
                    if (*unit >= 0xD800 && *unit <= 0xDBFF) {
                        const std::size_t second = at_;
                        if (at_ + 2 > s_.size() || s_[at_] != '\\' || s_[at_ + 1] != 'u')
                            return fail("\\uDC00 to \\uDFFF, the second half of the pair begun by \\u" +
                                        std::string(s_.substr(at_ - 4, 4)));
                        at_ += 2;
                        const auto low = hex4();
                        if (!low || *low < 0xDC00 || *low > 0xDFFF) {
                            at_ = second;
                            return fail("\\uDC00 to \\uDFFF, the second half of the pair begun by \\u" +
                                        std::string(s_.substr(at_ - 4, 4)));
                        }
                    }
                    continue;
                }
                if (std::string_view("\"\\/bfnrt").find(e) == std::string_view::npos) {
                    at_ = backslash;
                    return fail("an escape: \\\" \\\\ \\/ \\b \\f \\n \\r \\t or \\uXXXX");
                }
                ++at_;
                continue;
            }
            const std::size_t n = utf8Length(s_, at_);
            if (n == 0) return fail("text in UTF-8");
            at_ += n;
        }
    }

    bool digits(const char* expected) {
        if (at_ >= s_.size() || !isDigit(s_[at_])) return fail(expected);
        while (at_ < s_.size() && isDigit(s_[at_]))
            ++at_;
        return true;
    }

    bool number() {
        if (s_[at_] == '-') ++at_;
        if (at_ < s_.size() && s_[at_] == '0')
            ++at_;
        else if (!digits("a digit"))
            return false;
        if (at_ < s_.size() && s_[at_] == '.') {
            ++at_;
            if (!digits("a digit after '.'")) return false;
        }
        if (at_ < s_.size() && (s_[at_] == 'e' || s_[at_] == 'E')) {
            ++at_;
            if (at_ < s_.size() && (s_[at_] == '+' || s_[at_] == '-')) ++at_;
            if (!digits("a digit of the exponent")) return false;
        }
        return true;
    }

    bool literal(std::string_view word) {
        if (s_.substr(at_, word.size()) != word) return false;
        at_ += word.size();
        return true;
    }

    std::string_view s_;
    std::size_t at_ = 0;
    std::size_t start_ = 0;
    std::optional<JsonSyntax::Problem> problem_;
};

} // namespace

std::string JsonSyntax::Problem::text() const {
    return "line " + std::to_string(line) + ", column " + std::to_string(column) + ": expected " + expected +
           ", found " + found;
}

std::optional<JsonSyntax::Problem> JsonSyntax::firstProblem(std::string_view json) {
    return Scanner(json).run();
}

} // namespace tilmora
