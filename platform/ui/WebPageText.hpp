#pragma once

#include <optional>
#include <string>
#include <vector>

namespace platform::ui {

/// The text a web view shows of an HTML page, block by block in the page's order: headings,
/// paragraphs, list items and other runs of text, each with the links it holds. Inline markup is
/// dropped, character references are decoded and white space is collapsed to single blanks; the
/// head, style sheets and scripts show nothing. Pure; any thread.
class WebPageText {
public:
    enum class Kind { heading, paragraph, item, text };

    /// A link: its text and its target as the page writes it (references decoded).
    struct Link {
        std::string text;
        std::string href;
        bool operator==(const Link&) const = default;
    };

    struct Block {
        Kind kind = Kind::text;
        /// A heading's level (1 to 6); a list item's depth of lists (1 for a list in no list).
        int level = 0;
        /// A list item's marker: its number and "." in a numbered list, "•" otherwise.
        std::string marker;
        std::string text;
        std::vector<Link> links;
        /// The ids of the elements that start with this block ("id" attributes, and the "name" of
        /// an anchor), which an in-page link's fragment names.
        std::vector<std::string> anchors;

        /// Whether the whole block is one link (a table of contents' entry).
        bool isLink() const { return links.size() == 1 && links.front().text == text; }
        bool operator==(const Block&) const = default;
    };

    /// The blocks of `html`. Malformed markup is read as far as it goes: an unclosed tag ends the
    /// text, an unknown character reference stays as written.
    static std::vector<Block> blocks(const std::string& html);
};

} // namespace platform::ui
