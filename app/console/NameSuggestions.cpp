#include "console/NameSuggestions.hpp"

#include "console/ConsoleText.hpp"

#include <algorithm>
#include <limits>

namespace tilmora {

namespace {

std::string folded(const std::string& text) {
    std::string out = ConsoleText::asciiSpelling(text);
    for (auto& c : out)
        if (c >= 'A' && c <= 'Z') c = static_cast<char>(c - 'A' + 'a');
    return out;
}

/// Edits (insert, delete, replace, swap of two neighbours) from `a` to `b`, counted up to `bound`
/// (anything above is `bound` + 1).
std::size_t distance(const std::string& a, const std::string& b, std::size_t bound) {
    const std::size_t n = a.size();
    const std::size_t m = b.size();
    if ((n > m ? n - m : m - n) > bound) return bound + 1;
    std::vector<std::size_t> before(m + 1), previous(m + 1), current(m + 1);
    for (std::size_t j = 0; j <= m; ++j)
        previous[j] = j;
    for (std::size_t i = 1; i <= n; ++i) {
        current[0] = i;
        for (std::size_t j = 1; j <= m; ++j) {
            const std::size_t cost = a[i - 1] == b[j - 1] ? 0 : 1;
            current[j] = std::min({previous[j] + 1, current[j - 1] + 1, previous[j - 1] + cost});
            if (i > 1 && j > 1 && a[i - 1] == b[j - 2] && a[i - 2] == b[j - 1])
                current[j] = std::min(current[j], before[j - 2] + 1);
        }
        before.swap(previous);
        previous.swap(current);
    }
    return std::min(previous[m], bound + 1);
}

std::string shown(const std::string& name, bool quote) {
    return quote ? ConsoleText::quote(name) : name;
}

} // namespace

std::vector<std::string> NameSuggestions::nearest(const std::string& name, const std::vector<std::string>& candidates) {
    const std::string wanted = folded(name);
    if (wanted.empty()) return {};
    // A few edits for a long name, one for a short one.
    const std::size_t bound = std::max<std::size_t>(1, wanted.size() / 4);
    const std::size_t holds = std::numeric_limits<std::size_t>::max();
    std::vector<std::pair<std::size_t, std::size_t>> ranked; // (rank, index)
    for (std::size_t i = 0; i < candidates.size(); ++i) {
        const std::string candidate = folded(candidates[i]);
        if (const std::size_t d = distance(wanted, candidate, bound); d <= bound)
            ranked.emplace_back(d, i);
        else if (wanted.size() >= 3 && candidate.find(wanted) != std::string::npos)
            ranked.emplace_back(holds, i);
    }
    std::stable_sort(ranked.begin(), ranked.end(), [](const auto& a, const auto& b) { return a.first < b.first; });
    std::vector<std::string> out;
    for (const auto& [rank, index] : ranked) {
        if (out.size() == mostSuggested) break;
        if (std::find(out.begin(), out.end(), candidates[index]) == out.end()) out.push_back(candidates[index]);
    }
    return out;
}

std::string NameSuggestions::didYouMean(const std::string& name, const std::vector<std::string>& candidates, bool quote) {
    const auto near = nearest(name, candidates);
    if (near.empty()) return {};
    std::string out = "; did you mean ";
    for (std::size_t i = 0; i < near.size(); ++i) {
        if (i > 0) out += i + 1 == near.size() ? " or " : ", ";
        out += shown(near[i], quote);
    }
    return out + "?";
}

CommandError NameSuggestions::unknown(const std::string& message, const std::string& name,
                                      const std::vector<std::string>& candidates, const std::string& kind,
                                      bool quote, const std::string& listedBy) {
    const std::string suggestion = didYouMean(name, candidates, quote);
    const std::string text = message + suggestion;
    // The suggestion alone, with where the whole list is: a long list would scroll it away.
    if (!suggestion.empty() && !listedBy.empty())
        return CommandError(text + " (" + listedBy + " lists the " + std::to_string(candidates.size()) + " " +
                            kind + ")");
    if (candidates.size() > mostInline) {
        std::vector<std::string> listed;
        listed.reserve(candidates.size());
        for (const auto& candidate : candidates)
            listed.push_back(shown(candidate, quote));
        return CommandError(text + "; " + std::to_string(candidates.size()) + " " + kind + ":", std::move(listed));
    }
    std::string known;
    for (const auto& candidate : candidates)
        known += (known.empty() ? "" : ", ") + shown(candidate, quote);
    return CommandError(text + " (" + kind + ": " + (known.empty() ? "none" : known) + ")");
}

std::optional<CommandError> NameSuggestions::mistyped(const std::string& what, const std::string& word,
                                                     const std::vector<std::string>& words,
                                                     const std::string& usage) {
    const std::string suggestion = didYouMean(word, words, false);
    if (suggestion.empty()) return std::nullopt;
    return CommandError("unknown " + what + ": " + word + suggestion + (usage.empty() ? "" : " (" + usage + ")"));
}

} // namespace tilmora
