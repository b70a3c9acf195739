#pragma once

#include "console/CommandError.hpp"

#include <cstddef>
#include <optional>
#include <string>
#include <vector>

namespace tilmora {

/// What the console says about a name that names nothing: the nearest names there are ("did you
/// mean "Right Half"?") and the list of them, inline when short, else one a line after a count.
/// Pure; any thread.
class NameSuggestions {
public:
    /// The most names suggested.
    static constexpr std::size_t mostSuggested = 3;
    /// The longest list printed inline; a longer one prints one name a line.
    static constexpr std::size_t mostInline = 8;

    /// The candidates nearest `name`, nearest first, at most `mostSuggested`: those within a few
    /// edits of it (letter case and the ASCII spelling of titles aside; a swap of two neighbours is
    /// one edit), then those that hold it (three characters or more). Empty when none is near.
    static std::vector<std::string> nearest(const std::string& name, const std::vector<std::string>& candidates);

    /// "; did you mean "A"?" (or ""A" or "B"", ""A", "B" or "C""), the names quoted when `quote`;
    /// empty when none is near.
    static std::string didYouMean(const std::string& name, const std::vector<std::string>& candidates,
                                  bool quote = true);

    /// The error for `name`, which names none of `candidates`. With a suggestion and `listedBy`
    /// (the command that lists the candidates, "`menu`"), one line: `message`, the suggestion and
    /// " (`menu` lists the N KIND)", so that the suggestion stays in view. Else `message`, the
    /// suggestion if any, then the candidates as " (KIND: "A", "B")" ("none" for no candidate), or,
    /// for more than `mostInline`, "; N KIND:" with the names in the error's listed lines. The
    /// names are quoted when `quote`.
    static CommandError unknown(const std::string& message, const std::string& name,
                                const std::vector<std::string>& candidates, const std::string& kind,
                                bool quote = true, const std::string& listedBy = {});

    /// The error for a word of a command (a verb, a check word) that is none of `words` but near
    /// one, as a mistyped command is answered: "unknown WHAT: WORD; did you mean X?", then the
    /// usage in parentheses (" (usage: ...)") when `usage` is given. None when no word is near.
    static std::optional<CommandError> mistyped(const std::string& what, const std::string& word,
                                                const std::vector<std::string>& words,
                                                const std::string& usage = {});
};

} // namespace tilmora
