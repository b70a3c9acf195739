#pragma once

#include "platform/ui/ScrollPosition.hpp"
#include "platform/ui/declarative/Node.hpp"

#include <map>
#include <optional>
#include <string>
#include <utility>
#include <vector>

namespace platform::ui::declarative {

/// The scrolling of a declarative host: one `ScrollPosition` per scroll view (by points) and per
/// list that makes its rows on demand (by rows), kept by tree key across rebuilds, with what such
/// a list made at the last build (the height it filled and its cells with their rows); and the
/// walks that find scroll views in a tree. The host sets each scroll view's offset on its node
/// before the layout, which limits it, and keeps the limited value after. Main thread.
class ScrollStates {
public:
    /// The position kept for the scroll view or lazy list with tree key `key`, made (at the start)
    /// when there is none.
    ScrollPosition& position(const std::string& key, ScrollPosition::Unit unit);
    /// The position kept for `key`; none when it has none.
    const ScrollPosition* find(const std::string& key) const;

    /// After a build: keeps the offsets of the scroll views of `tree` as the layout limited them;
    /// a scroll view that left the tree or is at its start forgets its offset. Lazy lists keep
    /// their rows.
    void keepOffsets(const Element& tree);

    /// The height a lazy list's rows were made for (none before its first build).
    std::optional<double> madeForHeight(const std::string& key) const;
    void setMadeForHeight(const std::string& key, double height);
    /// A lazy list's cells made at the last build: each cell's tree key with its row.
    std::vector<std::pair<std::string, std::size_t>>& cells(const std::string& key);

    /// The element with tree key `key` in `tree` (null when none), and the scroll views that hold
    /// it, outermost first.
    static Node* findByKey(const Element& tree, const std::string& key, std::vector<Node*>* scrolls = nullptr);
    /// The scroll view with element id `id` (null when none).
    static Node* findScroll(const Element& tree, const std::string& id);
    /// The innermost scroll view whose visible part holds `point` (host space, y down).
    static Node* scrollAt(const Element& tree, Point point);
    /// The first list with rows made on demand, or the one with element id `listId`.
    static Node* findLazyList(const Element& tree, const std::string& listId);

private:
    struct Entry {
        ScrollPosition position;
        std::optional<double> madeForHeight;
        std::vector<std::pair<std::string, std::size_t>> cells;
    };
    std::map<std::string, Entry> entries_;
};

} // namespace platform::ui::declarative
