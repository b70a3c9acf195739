#pragma once

#include "console/Tokenizer.hpp"
#include "platform/desktop/Geometry.hpp"
#include "platform/input/ModifierFlags.hpp"

#include <cstddef>
#include <string>
#include <vector>

namespace tilmora {

/// The words of one console command, the command's name first, with the readers every command
/// uses. Indexes count from the name: `text(1)` is the first argument. The readers throw
/// `CommandError` with the console's texts ("not a number: x", "expected X Y W H", ...).
class CommandArgs {
public:
    explicit CommandArgs(std::vector<Token> tokens);

    const std::string& name() const;
    /// Words including the name.
    std::size_t size() const { return tokens_.size(); }
    /// Words after the name.
    std::size_t argumentCount() const { return tokens_.empty() ? 0 : tokens_.size() - 1; }
    const std::string& text(std::size_t i) const { return tokens_.at(i).text; }
    bool quoted(std::size_t i) const { return tokens_.at(i).quoted; }
    /// Every word's text, the name first.
    std::vector<std::string> texts() const;

    double number(std::size_t i) const { return parseNumber(text(i)); }
    long integer(std::size_t i) const { return parseInteger(text(i)); }
    /// Four numbers X Y W H from word `i` on; the width and height may not be negative.
    platform::CGRect rect(std::size_t i) const;

    /// A finite decimal number ("+" allowed, no blanks, no "nan" or "inf").
    static double parseNumber(const std::string& text);
    /// A whole number of magnitude up to 1e9 ("3", "3.0").
    static long parseInteger(const std::string& text);
    /// Four numbers from `texts[at]` on.
    static platform::CGRect parseRect(const std::vector<std::string>& texts, std::size_t at);
    /// Modifier names joined by "+" ("opt", "opt+shift").
    static platform::ModifierFlags parseModifiers(const std::string& text);

private:
    std::vector<Token> tokens_;
};

} // namespace tilmora
