#pragma once

#include <optional>
#include <string>
#include <string_view>

namespace tilmora {

/// Finds where a JSON text stops being JSON, to tell the user in plain words: the line and column
/// (both from 1; a column counts characters, not bytes) and what should have come there. The
/// check is the JSON grammar (RFC 8259: one value, strings of valid UTF-8 without raw control
/// characters, escapes, surrogate pairs, numbers), iterative, so deep nesting costs no stack. Pure.
class JsonSyntax {
public:
    struct Problem {
        std::size_t line = 1;
        std::size_t column = 1;
        /// What the grammar allowed there: "a value", "',' or '}'", "the end of the text" ...
        std::string expected;
        /// What stands there: a quoted word or character, or "the end of the text".
        std::string found;

        /// "line L, column C: expected E, found F".
        std::string text() const;
    };

    /// The first place where `json` breaks the grammar; none when it is one well-formed value.
    static std::optional<Problem> firstProblem(std::string_view json);
};

} // namespace tilmora
