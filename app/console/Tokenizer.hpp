#pragma once

#include <optional>
#include <string>
#include <vector>

namespace tilmora {

/// One word of a console line. A quoted word keeps its blanks; `\"` and `\\` inside quotes stand
/// for `"` and `\`. `quoted` lets a command require quotes (titles, application names).
struct Token {
    std::string text;
    bool quoted = false;

    bool operator==(const Token&) const = default;
};

/// Splits console lines into words.
class Tokenizer {
public:
    /// The command text of a raw input line: without a trailing carriage return and without the
    /// blanks (spaces, tabs) at both ends. None for a blank line or a comment ("#" first).
    static std::optional<std::string> commandText(const std::string& rawLine);

    /// The words of `line`, split at spaces and tabs. Throws `CommandError` "unterminated
    /// quotation" when a quoted word has no closing quote.
    static std::vector<Token> split(const std::string& line);
};

} // namespace tilmora
