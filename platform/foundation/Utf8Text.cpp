#include "platform/foundation/Utf8Text.hpp"

#include <cstddef>

namespace platform::Text {

namespace {

// The length of the well-formed UTF-8 sequence at `text[i]`, or 0 when the byte there does not
// start one.
std::size_t sequenceLength(std::string_view text, std::size_t i) {
    const auto c = static_cast<unsigned char>(text[i]);
    if (c < 0x80) return 1;
    std::size_t length = 0;
    char32_t value = 0;
    if ((c & 0xE0) == 0xC0) {
        length = 2;
        value = c & 0x1F;
    } else if ((c & 0xF0) == 0xE0) {
        length = 3;
        value = c & 0x0F;
    } else if ((c & 0xF8) == 0xF0) {
        length = 4;
        value = c & 0x07;
    } else {
        return 0;
    }
    if (text.size() - i < length) return 0;
    for (std::size_t k = 1; k < length; ++k) {
        const auto next = static_cast<unsigned char>(text[i + k]);
        if ((next & 0xC0) != 0x80) return 0;
        value = (value << 6) | (next & 0x3F);
    }
    const char32_t minimum = length == 2 ? 0x80 : length == 3 ? 0x800 : 0x10000;
    if (value < minimum || value > 0x10FFFF || (value >= 0xD800 && value <= 0xDFFF)) return 0;
    return length;
}

} // namespace

std::size_t utf8SequenceLength(std::string_view text, std::size_t at) {
    return sequenceLength(text, at);
}

bool isValidUtf8(std::string_view text) {
    for (std::size_t i = 0; i < text.size();) {
        const std::size_t length = sequenceLength(text, i);
        if (length == 0) return false;
        i += length;
    }
    return true;
}

namespace {

/// `text` (which holds invalid UTF-8) with each byte that starts no valid sequence written by
/// `invalid`, each backslash as `backslash` and every other valid sequence as it is.
template <class Invalid>
std::string rewritingInvalidUtf8(std::string_view text, Invalid invalid, std::string_view backslash) {
    std::string out;
    out.reserve(text.size() + 8);
    for (std::size_t i = 0; i < text.size();) {
        const std::size_t length = sequenceLength(text, i);
        if (length == 0) {
            invalid(out, static_cast<unsigned char>(text[i]));
            ++i;
        } else if (text[i] == '\\') {
            out += backslash;
            ++i;
        } else {
            out.append(text.substr(i, length));
            i += length;
        }
    }
    return out;
}

} // namespace

std::string escapingInvalidUtf8(std::string_view text) {
    if (isValidUtf8(text)) return std::string(text);
    static const char* const hex = "0123456789ABCDEF";
    auto escape = [](std::string& out, unsigned char byte) {
        out += "\\x";
        out += hex[byte >> 4];
        out += hex[byte & 0xF];
    };
    return rewritingInvalidUtf8(text, escape, "\\\\");
}

std::string replacingInvalidUtf8(std::string_view text) {
    if (isValidUtf8(text)) return std::string(text);
    return rewritingInvalidUtf8(
        text, [](std::string& out, unsigned char) { out += "\xEF\xBF\xBD"; }, "\\");
}

} // namespace platform::Text
