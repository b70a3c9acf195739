// The hosting view's scrolling: its scroll views' offsets, moved by the wheel, by points and to
// an element, and what they leave visible.
#include "platform/ui/declarative/HostingView.hpp"

#include "platform/desktop/CoordinateSpace.hpp"
#include "platform/dispatch/MainThread.hpp"

#include <algorithm>
#include <cmath>

namespace platform::ui::declarative {

Node* HostingView::findByKey(const std::string& key, std::vector<Node*>* scrolls) const {
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
    walk(tree_);
    return found;
}

Node* HostingView::findScroll(const std::string& id) const {
    Node* found = nullptr;
    std::function<void(const Element&)> walk = [&](const Element& e) {
        Node& n = *e.node();
        if (found) return;
        if (n.kind == NodeKind::scroll && n.identity == id) {
            found = &n;
            return;
        }
        for (const auto* list : {&n.backgrounds, &n.children, &n.overlays})
            for (const auto& c : *list)
                walk(c);
    };
    walk(tree_);
    return found;
}

bool HostingView::scrollNode(Node& scroll, double delta) {
    if (delta == 0 || !std::isfinite(delta)) return false;
    const std::string key = scroll.key;
    if (scroll.lazyRow) {
        // By whole rows: as many as the first row's height goes into the distance, at least one.
        double rowHeight = 0;
        if (!scroll.children.empty() && !scroll.children[0].node()->children.empty())
            rowHeight = scroll.children[0].node()->children[0].node()->layoutFrame.height();
        const double count = double(scroll.lazyRowCount);
        const double wanted = rowHeight > 0 ? std::clamp(std::round(delta / rowHeight), -count, count) : 0;
        const double rows = wanted != 0 ? wanted : (delta > 0 ? 1 : -1);
        const std::size_t first = firstRows_[key];
        const double last = count == 0 ? 0 : count - 1;
        const std::size_t next = std::size_t(std::clamp(double(first) + rows, 0.0, last));
        if (next == first) return false;
        firstRows_[key] = next;
    } else {
        const double before = scroll.scrollOffset;
        scrollOffsets_[key] = std::max(0.0, before + delta);
        dirty_ = true;
        rebuildIfNeeded();
        Node* after = findByKey(key);
        return after && std::abs(after->scrollOffset - before) > 0.01;
    }
    dirty_ = true;
    rebuildIfNeeded();
    return true;
}

bool HostingView::scrollAt(Point point, double delta) {
    requireMainThread("HostingView::scrollAt");
    rebuildIfNeeded();
    // The innermost scroll view that shows the point.
    Node* best = nullptr;
    std::function<void(const Element&)> walk = [&](const Element& e) {
        Node& n = *e.node();
        const Rect f = n.visibleFrame;
        if (n.kind == NodeKind::scroll && !f.isNull() && f.contains(point)) best = &n;
        for (const auto* list : {&n.backgrounds, &n.children, &n.overlays})
            for (const auto& c : *list)
                walk(c);
    };
    walk(tree_);
    return best && scrollNode(*best, delta);
}

bool HostingView::scrollBy(const std::string& scrollIdText, double delta) {
    requireMainThread("HostingView::scrollBy");
    const std::string scrollId = scrollIdText; // a node's own id goes with the node at a rebuild
    rebuildIfNeeded();
    Node* scroll = findScroll(scrollId);
    return scroll && scrollNode(*scroll, delta);
}

double HostingView::scrollOffset(const std::string& scrollId) const {
    Node* scroll = findScroll(scrollId);
    return scroll ? scroll->scrollOffset : 0;
}

bool HostingView::revealOnce(const std::string& key) {
    std::vector<Node*> scrolls;
    Node* node = findByKey(key, &scrolls);
    if (!node || !node->scrolledOut) return false;
    for (auto it = scrolls.rbegin(); it != scrolls.rend(); ++it) {
        Node& scroll = **it;
        const Rect shown = scroll.visibleFrame;
        const Rect f = node->layoutFrame;
        if (shown.isNull()) continue;
        if (scroll.lazyRow) {
            // The element's row becomes the first shown when it is not whole.
            for (const auto& [cellKey, row] : lazyCells_[scroll.key]) {
                if (key != cellKey && key.rfind(cellKey + "/", 0) != 0 && key.rfind(cellKey + "#", 0) != 0)
                    continue;
                if (f.minY() >= shown.minY() && f.maxY() <= shown.maxY()) break;
                if (firstRows_[scroll.key] == row) break;
                firstRows_[scroll.key] = row;
                dirty_ = true;
                rebuildIfNeeded();
                return true;
            }
            continue;
        }
        const bool vertical = scroll.scrollVertical;
        const double start = vertical ? f.minY() : f.minX(), end = vertical ? f.maxY() : f.maxX();
        const double from = vertical ? shown.minY() : shown.minX(),
                     to = vertical ? shown.maxY() : shown.maxX();
        double delta = 0;
        if (start < from)
            delta = start - from;
        else if (end > to)
            delta = std::min(end - to, start - from);
        if (std::abs(delta) > 0.01 && scrollNode(scroll, delta)) return true;
    }
    return false;
}

bool HostingView::scrollIntoView(const std::string& keyText) {
    requireMainThread("HostingView::scrollIntoView");
    const std::string key = keyText; // a node's own key goes with the node at a rebuild
    rebuildIfNeeded();
    bool moved = false;
    // Each pass moves one scroll view; nested ones take a pass each.
    for (int pass = 0; pass < 8 && revealOnce(key); ++pass)
        moved = true;
    return moved;
}

bool HostingView::inScrollView(const std::string& key) const {
    std::vector<Node*> scrolls;
    return findByKey(key, &scrolls) && !scrolls.empty();
}

std::optional<Rect> HostingView::visibleRectOfSubview(const View& subview) const {
    auto found = nativeVisible_.find(&subview);
    if (found == nativeVisible_.end()) return std::nullopt;
    if (found->second.isNull()) return Rect::null();
    return flipRect(found->second, frame().height());
}

void HostingView::scrollWheel(const NSEvent& event) {
    const Point local = locationOfEvent(event);
    if (scrollAt({local.x, frame().height() - local.y}, -event.scrollingDeltaY)) return;
    View::scrollWheel(event);
}

} // namespace platform::ui::declarative
