#include "console/CommandArgs.hpp"

#include "console/CommandError.hpp"
#include "platform/input/KeyChord.hpp"

#include <charconv>
#include <cmath>

namespace tilmora {

CommandArgs::CommandArgs(std::vector<Token> tokens)
    : tokens_(std::move(tokens)) {}

const std::string& CommandArgs::name() const {
    static const std::string none;
    return tokens_.empty() ? none : tokens_.front().text;
}

std::vector<std::string> CommandArgs::texts() const {
    std::vector<std::string> out;
    out.reserve(tokens_.size());
    for (const auto& t : tokens_)
        out.push_back(t.text);
    return out;
}

platform::CGRect CommandArgs::rect(std::size_t i) const {
    return parseRect(texts(), i);
}

double CommandArgs::parseNumber(const std::string& text) {
    double v = 0;
    const char* begin = text.data();
    const char* end = begin + text.size();
    if (!text.empty() && *begin == '+') ++begin;
    auto [ptr, ec] = std::from_chars(begin, end, v);
    if (ec != std::errc() || ptr != end || !std::isfinite(v)) throw CommandError("not a number: " + text);
    return v;
}

long CommandArgs::parseInteger(const std::string& text) {
    const double v = parseNumber(text);
    if (v != std::floor(v)) throw CommandError("not a whole number: " + text);
    if (std::fabs(v) > 1e9) throw CommandError("out of range: " + text + " (at most 1000000000)");
    return static_cast<long>(v);
}

platform::CGRect CommandArgs::parseRect(const std::vector<std::string>& texts, std::size_t at) {
    if (at + 4 > texts.size()) throw CommandError("expected X Y W H");
    platform::CGRect r{parseNumber(texts[at]), parseNumber(texts[at + 1]), parseNumber(texts[at + 2]),
                       parseNumber(texts[at + 3])};
    if (r.size.width < 0 || r.size.height < 0) throw CommandError("a width or height is negative");
    return r;
}

platform::ModifierFlags CommandArgs::parseModifiers(const std::string& text) {
    // Parsed as a chord with a stand-in key.
    auto chord = platform::KeyChord::parse(text + "+a");
    if (!chord) throw CommandError("unknown modifiers: " + text);
    return chord->modifiers;
}

} // namespace tilmora
