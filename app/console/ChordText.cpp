#include "console/ChordText.hpp"

#include "console/CommandError.hpp"
#include "console/ConsoleText.hpp"
#include "console/NameSuggestions.hpp"

#include <string_view>
#include <vector>
#include <utility>

namespace tilmora {

namespace {

using platform::KeyChord;

constexpr std::pair<std::string_view, std::string_view> kModifierGlyphs[] = {
    {"\u2303", "ctrl"}, {"\u2325", "opt"}, {"\u21E7", "shift"}, {"\u2318", "cmd"}};

/// The key glyphs of the menu's chord hints and key equivalents, and the key each stands for.
constexpr std::pair<std::string_view, std::string_view> kKeyGlyphs[] = {
    {"\u2190", "left"},     {"\u2192", "right"},    {"\u2191", "up"},        {"\u2193", "down"},
    {"\u21A9", "return"},   {"\u2326", "forwarddelete"}, {"\u232B", "delete"}, {"\u238B", "escape"},
    {"\u21E5", "tab"},      {"\u2212", "minus"},    {"\u2196", "home"},      {"\u2198", "end"},
    {"\u21DE", "pageup"},   {"\u21DF", "pagedown"},
};

/// Refuses `part` of the chord `text`, a key or a modifier by `what`: with the nearest names first
/// ("; did you mean left?") when some are near, then where they are all listed.
[[noreturn]] void unknown(const std::string& what, const std::string& part, const std::string& text) {
    std::vector<std::string> names;
    for (const auto name : what == "key" ? KeyChord::keyNames() : KeyChord::modifierNames())
        names.emplace_back(name);
    const std::string suggestion = NameSuggestions::didYouMean(part, names, false);
    throw CommandError("unknown " + what + " " + ConsoleText::quote(part) + " in " + text +
                       (suggestion.empty() ? ": see `help keys`" : suggestion + " (`help keys` lists them)"));
}

/// The glyph form, "⌃⌥←": none when `text` starts with no modifier glyph and is no key glyph.
std::optional<std::string> wordsOfGlyphs(const std::string& text) {
    std::string_view rest = text;
    std::string words;
    bool glyphs = false;
    for (bool found = true; found && !rest.empty();) {
        found = false;
        for (const auto& [glyph, name] : kModifierGlyphs)
            if (rest.starts_with(glyph)) {
                words += std::string(name) + "+";
                rest.remove_prefix(glyph.size());
                found = glyphs = true;
            }
    }
    for (const auto& [glyph, name] : kKeyGlyphs)
        if (rest == glyph) return words + std::string(name);
    if (!glyphs) return std::nullopt;
    if (rest.empty())
        throw CommandError("a chord needs a key after its modifiers: " + text + " (see `help keys`)");
    // A key printed as itself: "O", "F5", "Space", ",".
    if (!KeyChord::keyCodeForName(rest)) unknown("key", std::string(rest), text);
    return words + std::string(rest);
}

} // namespace

KeyChord ChordText::parse(const std::string& text) {
    const std::string words = wordsOfGlyphs(text).value_or(text);
    if (auto chord = KeyChord::parse(words)) return *chord;
    // Name the part that is wrong.
    std::vector<std::string> parts;
    std::size_t start = 0;
    for (std::size_t plus; (plus = words.find('+', start)) != std::string::npos; start = plus + 1)
        parts.push_back(words.substr(start, plus - start));
    parts.push_back(words.substr(start));
    for (std::size_t i = 0; i + 1 < parts.size(); ++i) {
        if (parts[i].empty()) throw CommandError("an empty part in " + text + ": see `help keys`");
        if (KeyChord::parse(parts[i] + "+a")) continue;
        if (KeyChord::keyCodeForName(parts[i]))
            throw CommandError(ConsoleText::quote(parts[i]) + " in " + text + " is a key: the key comes last, after the modifiers");
        unknown("modifier", parts[i], text);
    }
    if (parts.back().empty() || KeyChord::parse(parts.back() + "+a"))
        throw CommandError("a chord needs a key after its modifiers: " + text + " (see `help keys`)");
    unknown("key", parts.back(), text);
}

std::string ChordText::helpText() {
    std::string out = "a chord: modifiers and one key joined by \"+\", in any letter case (ctrl+opt+left),\n"
                      "or the glyphs the menu prints, modifiers first (\u2303\u2325\u2190, \u21E7\u2318O)\n";
    // One heading and its words, wrapped under the heading.
    const auto list = [&out](const std::string& heading, const std::vector<std::string>& words) {
        std::string line = heading;
        for (const auto& word : words) {
            if (line.size() + 1 + word.size() > 96) {
                out += line + "\n";
                line = std::string(heading.size(), ' ');
            }
            line += " " + word;
        }
        out += line + "\n";
    };
    std::vector<std::string> words;
    for (const auto name : KeyChord::modifierNames())
        words.emplace_back(name);
    list("modifiers:", words);
    words.clear();
    for (const auto name : KeyChord::keyNames())
        words.emplace_back(name);
    words.emplace_back("keycode:N");
    list("keys:", words);
    words.clear();
    for (const auto& [glyph, name] : kModifierGlyphs)
        words.push_back(std::string(glyph) + "=" + std::string(name));
    for (const auto& [glyph, name] : kKeyGlyphs)
        words.push_back(std::string(glyph) + "=" + std::string(name));
    list("glyphs:", words);
    return out;
}

} // namespace tilmora
