#include "platform/ui/declarative/ScrollStates.hpp"

#include <functional>

namespace platform::ui::declarative {

namespace {

/// Visits every element of the tree depth first (backgrounds, children, overlays); `visit`
/// returns true to stop.
bool eachElement(const Element& e, const std::function<bool(Node&)>& visit) {
    Node& n = *e.node();
    if (visit(n)) return true;
    for (const auto* list : {&n.backgrounds, &n.children, &n.overlays})
        for (const auto& c : *list)
            if (eachElement(c, visit)) return true;
    return false;
}

} // namespace

ScrollPosition& ScrollStates::position(const std::string& key, ScrollPosition::Unit unit) {
    auto found = entries_.find(key);
    if (found == entries_.end()) found = entries_.emplace(key, Entry{ScrollPosition(unit), {}, {}}).first;
    return found->second.position;
}

const ScrollPosition* ScrollStates::find(const std::string& key) const {
    auto found = entries_.find(key);
    return found == entries_.end() ? nullptr : &found->second.position;
}

void ScrollStates::keepOffsets(const Element& tree) {
    std::map<std::string, double> offsets;
    eachElement(tree, [&](Node& n) {
        if (n.kind == NodeKind::scroll && !n.lazyRow && n.scrollOffset > 0) offsets[n.key] = n.scrollOffset;
        return false;
    });
    for (auto it = entries_.begin(); it != entries_.end();) {
        if (it->second.position.unit() != ScrollPosition::Unit::points) {
            ++it;
        } else if (auto kept = offsets.find(it->first); kept != offsets.end()) {
            it->second.position.setOffset(kept->second);
            offsets.erase(kept);
            ++it;
        } else {
            it = entries_.erase(it);
        }
    }
    for (const auto& [key, offset] : offsets)
        position(key, ScrollPosition::Unit::points).setOffset(offset);
}

std::optional<double> ScrollStates::madeForHeight(const std::string& key) const {
    auto found = entries_.find(key);
    return found == entries_.end() ? std::nullopt : found->second.madeForHeight;
}

void ScrollStates::setMadeForHeight(const std::string& key, double height) {
    position(key, ScrollPosition::Unit::rows);
    entries_[key].madeForHeight = height;
}

std::vector<std::pair<std::string, std::size_t>>& ScrollStates::cells(const std::string& key) {
    position(key, ScrollPosition::Unit::rows);
    return entries_[key].cells;
}

Node* ScrollStates::findByKey(const Element& tree, const std::string& key, std::vector<Node*>* scrolls) {
    std::vector<Node*> path;
    Node* found = nullptr;
    std::function<void(const Element&)> walk = [&](const Element& e) {
        Node& n = *e.node();
        if (found) return;
        if (n.key == key) {
            found = &n;
            if (scrolls) *scrolls = path;
            return;
        }
        if (n.kind == NodeKind::scroll) path.push_back(&n);
        for (const auto* list : {&n.backgrounds, &n.children, &n.overlays})
            for (const auto& c : *list)
                walk(c);
        if (n.kind == NodeKind::scroll) path.pop_back();
    };
    walk(tree);
    return found;
}

Node* ScrollStates::findScroll(const Element& tree, const std::string& id) {
    Node* found = nullptr;
    eachElement(tree, [&](Node& n) {
        if (n.kind == NodeKind::scroll && n.identity == id) found = &n;
        return found != nullptr;
    });
    return found;
}

Node* ScrollStates::scrollAt(const Element& tree, Point point) {
    Node* best = nullptr;
    eachElement(tree, [&](Node& n) {
        const Rect f = n.visibleFrame;
        if (n.kind == NodeKind::scroll && !f.isNull() && f.contains(point)) best = &n;
        return false;
    });
    return best;
}

Node* ScrollStates::findLazyList(const Element& tree, const std::string& listId) {
    Node* found = nullptr;
    eachElement(tree, [&](Node& n) {
        if (n.isList && n.lazyRow && (listId.empty() || n.identity == listId)) found = &n;
        return found != nullptr;
    });
    return found;
}

} // namespace platform::ui::declarative
