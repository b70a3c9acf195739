#include "console/ConsoleText.hpp"

#include "platform/foundation/Text.hpp"
#include "platform/foundation/Utf8Text.hpp"

#include <cmath>
#include <string_view>
#include <utility>

namespace tilmora {

std::string ConsoleText::number(double v) {
    // Beyond 2^50 a double has no second decimal to round (and v * 100 could overflow).
    if (std::isfinite(v) && std::fabs(v) < 0x1p50) {
        v = std::round(v * 100) / 100;
        if (v == 0) v = 0; // no "-0.0"
    }
    return platform::Text::doubleDescription(v);
}

std::string ConsoleText::asciiSpelling(const std::string& text) {
    static const std::pair<std::string_view, std::string_view> spellings[] = {
        {"\u00D7", "x"}, {"\u2026", "..."}, {"\u2013", "-"}};
    std::string out;
    out.reserve(text.size());
    for (std::size_t at = 0; at < text.size();) {
        bool replaced = false;
        for (const auto& [typographic, ascii] : spellings)
            if (std::string_view(text).substr(at).starts_with(typographic)) {
                out += ascii;
                at += typographic.size();
                replaced = true;
                break;
            }
        if (!replaced) out += text[at++];
    }
    return out;
}

bool ConsoleText::namesTitle(const std::string& name, const std::string& title) {
    return name == title || asciiSpelling(name) == asciiSpelling(title);
}

namespace {

/// How `escaped` writes a text.
enum class Escaping { controls, controlsAndQuotes, controlsButLineEnds };

/// `text` with every control character written as "\n", "\r", "\t" or "\xHH" (C0 and DEL), a C1
/// control (U+0080 to U+009F) as "\u00HH" and a byte that is not part of a well-formed UTF-8
/// character as "\xHH"; every other character stays whole, however many bytes it takes. With
/// `controlsAndQuotes`, `"` and `\` are escaped by a backslash too; with `controlsButLineEnds`,
/// line breaks and tabs stay as they are.
std::string escaped(const std::string& text, Escaping how) {
    static const char* const hex = "0123456789ABCDEF";
    const auto hexByte = [](std::string& out, const char* prefix, unsigned char byte) {
        out += prefix;
        out += hex[byte >> 4];
        out += hex[byte & 0xF];
    };
    std::string out;
    out.reserve(text.size());
    for (std::size_t at = 0; at < text.size();) {
        const char c = text[at];
        const auto byte = static_cast<unsigned char>(c);
        const std::size_t length = platform::Text::utf8SequenceLength(text, at);
        if (length == 0) {
            hexByte(out, "\\x", byte); // not a character: the byte itself, never sent raw
            ++at;
            continue;
        }
        if (length > 1) {
            // U+0080 to U+009F are C2 80 to C2 9F: C1 controls, which a terminal may obey.
            const auto second = static_cast<unsigned char>(text[at + 1]);
            if (byte == 0xC2 && second < 0xA0)
                hexByte(out, "\\u00", second);
            else
                out.append(text, at, length);
            at += length;
            continue;
        }
        ++at;
        if (how == Escaping::controlsButLineEnds && (c == '\n' || c == '\t')) {
            out += c;
        } else if (how == Escaping::controlsAndQuotes && (c == '"' || c == '\\')) {
            out += '\\';
            out += c;
        } else if (c == '\n') {
            out += "\\n";
        } else if (c == '\r') {
            out += "\\r";
        } else if (c == '\t') {
            out += "\\t";
        } else if (byte < 0x20 || byte == 0x7F) {
            // Other control characters as \xHH, so that no text can start a line of its own or
            // move the terminal's cursor.
            hexByte(out, "\\x", byte);
        } else {
            out += c;
        }
    }
    return out;
}

} // namespace

std::string ConsoleText::quote(const std::string& text) {
    return "\"" + escaped(text, Escaping::controlsAndQuotes) + "\"";
}

std::string ConsoleText::controlsEscaped(const std::string& text) {
    return escaped(text, Escaping::controls);
}

std::string ConsoleText::linesEscaped(const std::string& text) {
    return escaped(text, Escaping::controlsButLineEnds);
}

std::string ConsoleText::fileProblem(const std::string& message) {
    // The platform's file errors read `<what> "<path>": <reason>`.
    const auto at = message.rfind("\": ");
    if (at == std::string::npos || message.find(" \"") == std::string::npos) return message;
    std::string reason = message.substr(at + 3);
    if (reason.size() > 1 && reason[0] >= 'A' && reason[0] <= 'Z' && reason[1] >= 'a' && reason[1] <= 'z')
        reason[0] = static_cast<char>(reason[0] - 'A' + 'a');
    return reason;
}

std::string ConsoleText::frame(const platform::CGRect& r) {
    return number(r.origin.x) + " " + number(r.origin.y) + " " + number(r.size.width) + " " +
           number(r.size.height);
}

} // namespace tilmora
