#include "model/StringsTable.hpp"

#include "platform/foundation/Text.hpp"

#include <cstdint>

namespace tilmora {

namespace {

using platform::Text::appendUtf8;

// UTF-16 with a byte-order mark to UTF-8; none for unpaired surrogates or an odd length.
std::optional<std::string> utf16ToUtf8(std::string_view bytes, bool bigEndian) {
    if (bytes.size() % 2 != 0) return std::nullopt;
    std::string out;
    out.reserve(bytes.size() / 2);
    auto unit = [&](std::size_t i) {
        auto a = static_cast<unsigned char>(bytes[i]);
        auto b = static_cast<unsigned char>(bytes[i + 1]);
        return static_cast<std::uint32_t>(bigEndian ? (a << 8) | b : (b << 8) | a);
    };
    for (std::size_t i = 2; i < bytes.size(); i += 2) {
        std::uint32_t u = unit(i);
        if (u >= 0xD800 && u <= 0xDBFF) {
            if (i + 3 >= bytes.size()) return std::nullopt;
            std::uint32_t low = unit(i + 2);
            if (low < 0xDC00 || low > 0xDFFF) return std::nullopt;
            appendUtf8(out, 0x10000 + ((u - 0xD800) << 10) + (low - 0xDC00));
            i += 2;
        } else if (u >= 0xDC00 && u <= 0xDFFF) {
            return std::nullopt;
        } else {
            appendUtf8(out, u);
        }
    }
    return out;
}

// A value of the old-style property-list grammar: text, or something else (array, dictionary,
// data) that a string lookup does not use.
struct Value {
    bool isString = false;
    std::string text;
};

class Parser {
public:
    explicit Parser(std::string_view text)
        : s_(text) {}

    std::optional<StringsTable> parseTable() {
        StringsTable table;
        skipBlanks();
        bool braced = peek('{');
        if (braced) {
            ++pos_;
        }
        if (!parseEntries(table.strings, braced ? '}' : '\0')) return std::nullopt;
        if (braced) {
            if (!peek('}')) return std::nullopt;
            ++pos_;
            skipBlanks();
        }
        if (failed_ || pos_ != s_.size()) return std::nullopt;
        return table;
    }

private:
    bool peek(char c) const { return pos_ < s_.size() && s_[pos_] == c; }

    void skipBlanks() {
        while (pos_ < s_.size()) {
            char c = s_[pos_];
            if (c == ' ' || c == '\t' || c == '\n' || c == '\r' || c == '\f' || c == '\v') {
                ++pos_;
            } else if (c == '/' && pos_ + 1 < s_.size() && s_[pos_ + 1] == '*') {
                auto end = s_.find("*/", pos_ + 2);
                if (end == std::string_view::npos) {
                    failed_ = true;
                    pos_ = s_.size();
                    return;
                }
                pos_ = end + 2;
            } else if (c == '/' && pos_ + 1 < s_.size() && s_[pos_ + 1] == '/') {
                while (pos_ < s_.size() && s_[pos_] != '\n')
                    ++pos_;
            } else {
                return;
            }
        }
    }

    // `key = value;` entries up to `close` ('\0' for the end of the text).
    bool parseEntries(std::map<std::string, std::string, std::less<>>& into, char close) {
        for (;;) {
            skipBlanks();
            if (failed_) return false;
            if (close == '\0' ? pos_ == s_.size() : peek(close)) return true;
            auto key = parseString();
            if (!key) return false;
            skipBlanks();
            Value value;
            if (peek(';')) {
                // A key alone stands for itself.
                value = Value{true, *key};
            } else {
                if (!peek('=')) return false;
                ++pos_;
                skipBlanks();
                auto parsed = parseValue();
                if (!parsed) return false;
                value = std::move(*parsed);
                skipBlanks();
            }
            if (!peek(';')) return false;
            ++pos_;
            if (value.isString) {
                into.insert_or_assign(std::move(*key), std::move(value.text));
            } else {
                into.erase(*key);
            }
        }
    }

    std::optional<Value> parseValue() {
        if (depth_ > 64) return std::nullopt;
        if (peek('(')) {
            ++pos_;
            ++depth_;
            for (;;) {
                skipBlanks();
                if (failed_) return std::nullopt;
                if (peek(')')) break;
                if (!parseValue()) return std::nullopt;
                skipBlanks();
                if (peek(',')) {
                    ++pos_;
                } else if (!peek(')')) {
                    return std::nullopt;
                }
            }
            ++pos_;
            --depth_;
            return Value{};
        }
        if (peek('{')) {
            ++pos_;
            ++depth_;
            std::map<std::string, std::string, std::less<>> ignored;
            if (!parseEntries(ignored, '}')) return std::nullopt;
            ++pos_;
            --depth_;
            return Value{};
        }
        if (peek('<')) {
            auto end = s_.find('>', pos_);
            if (end == std::string_view::npos) return std::nullopt;
            pos_ = end + 1;
            return Value{};
        }
        auto text = parseString();
        if (!text) return std::nullopt;
        return Value{true, std::move(*text)};
    }

    static bool isUnquotedChar(char c) {
        return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') || (c >= '0' && c <= '9') || c == '_' ||
               c == '$' || c == '+' || c == '/' || c == ':' || c == '.' || c == '-';
    }

    static int hexDigit(char c) {
        if (c >= '0' && c <= '9') return c - '0';
        if (c >= 'a' && c <= 'f') return c - 'a' + 10;
        if (c >= 'A' && c <= 'F') return c - 'A' + 10;
        return -1;
    }

    std::optional<std::string> parseString() {
        if (pos_ >= s_.size()) return std::nullopt;
        char quote = s_[pos_];
        if (quote != '"' && quote != '\'') {
            std::size_t start = pos_;
            while (pos_ < s_.size() && isUnquotedChar(s_[pos_]))
                ++pos_;
            if (pos_ == start) return std::nullopt;
            return std::string(s_.substr(start, pos_ - start));
        }
        ++pos_;
        std::string out;
        std::uint32_t pendingHigh = 0;
        while (pos_ < s_.size()) {
            char c = s_[pos_++];
            if (c == quote) {
                if (pendingHigh) appendUtf8(out, 0xFFFD);
                return out;
            }
            if (c != '\\') {
                if (pendingHigh) {
                    appendUtf8(out, 0xFFFD);
                    pendingHigh = 0;
                }
                out += c;
                continue;
            }
            if (pos_ >= s_.size()) return std::nullopt;
            char e = s_[pos_++];
            std::uint32_t cp = 0;
            bool isCodePoint = false;
            switch (e) {
            case 'n':
                out += '\n';
                break;
            case 't':
                out += '\t';
                break;
            case 'r':
                out += '\r';
                break;
            case 'a':
                out += '\a';
                break;
            case 'b':
                out += '\b';
                break;
            case 'f':
                out += '\f';
                break;
            case 'v':
                out += '\v';
                break;
            case 'U':
            case 'u': {
                int digits = 0;
                while (digits < 4 && pos_ < s_.size() && hexDigit(s_[pos_]) >= 0) {
                    cp = cp * 16 + static_cast<std::uint32_t>(hexDigit(s_[pos_++]));
                    ++digits;
                }
                if (digits == 0) return std::nullopt;
                isCodePoint = true;
                break;
            }
            default:
                if (e >= '0' && e <= '7') {
                    cp = static_cast<std::uint32_t>(e - '0');
                    for (int digits = 1; digits < 3 && pos_ < s_.size() && s_[pos_] >= '0' && s_[pos_] <= '7';
                         ++digits)
                        cp = cp * 8 + static_cast<std::uint32_t>(s_[pos_++] - '0');
                    isCodePoint = true;
                } else {
                    // \" \' \\ and any other escaped character stand for themselves.
                    out += e;
                }
            }
            if (!isCodePoint) continue;
            if (cp >= 0xD800 && cp <= 0xDBFF) {
                if (pendingHigh) appendUtf8(out, 0xFFFD);
                pendingHigh = cp;
                continue;
            }
            if (cp >= 0xDC00 && cp <= 0xDFFF) {
                appendUtf8(out,
                           pendingHigh ? 0x10000 + ((pendingHigh - 0xD800) << 10) + (cp - 0xDC00) : 0xFFFD);
                pendingHigh = 0;
                continue;
            }
            if (pendingHigh) {
                appendUtf8(out, 0xFFFD);
                pendingHigh = 0;
            }
            appendUtf8(out, cp);
        }
        return std::nullopt; // unterminated
    }

    std::string_view s_;
    std::size_t pos_ = 0;
    int depth_ = 0;
    bool failed_ = false;
};

} // namespace

std::optional<StringsTable> StringsTable::parse(std::string_view bytes) {
    std::string converted;
    if (bytes.size() >= 2 && static_cast<unsigned char>(bytes[0]) == 0xFF &&
        static_cast<unsigned char>(bytes[1]) == 0xFE) {
        auto text = utf16ToUtf8(bytes, false);
        if (!text) return std::nullopt;
        converted = std::move(*text);
        bytes = converted;
    } else if (bytes.size() >= 2 && static_cast<unsigned char>(bytes[0]) == 0xFE &&
               static_cast<unsigned char>(bytes[1]) == 0xFF) {
        auto text = utf16ToUtf8(bytes, true);
        if (!text) return std::nullopt;
        converted = std::move(*text);
        bytes = converted;
    } else if (bytes.size() >= 3 && bytes.substr(0, 3) == "\xEF\xBB\xBF") {
        bytes.remove_prefix(3);
    }
    return Parser(bytes).parseTable();
}

} // namespace tilmora

#include "platform/foundation/Error.hpp"
#include "platform/foundation/FileSystem.hpp"

namespace tilmora {

std::optional<StringsTable> StringsTable::read(const std::string& path) {
    std::string bytes;
    try {
        bytes = platform::FileSystem::readRegularFile(path, platform::FileSystem::maxWholeFileBytes);
    } catch (const platform::Error&) {
        return std::nullopt;
    }
    return parse(bytes);
}

} // namespace tilmora
