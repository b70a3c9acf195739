// The hosting view's scrolling: its scroll views and the lists that make their rows on demand,
// moved by the wheel, by points and to an element through their `ScrollPosition`s, and what they
// leave visible.
#include "platform/ui/declarative/HostingView.hpp"

#include "platform/desktop/CoordinateSpace.hpp"
#include "platform/dispatch/MainThread.hpp"
#include "platform/ui/declarative/Layout.hpp"

#include <algorithm>
#include <cmath>

namespace platform::ui::declarative {

// Makes the cells of the rows in view: from the list's first shown row until the cells fill the
// height the list had at the last build (the host's height before its first build). A row with an
// id keeps its places by that id, so rows inserted above it do not make it anew.
void HostingView::resolveLazyList(Node& list, bool enabled, const std::map<std::string, std::any>& env,
                                  Pass& pass) {
    pass.lazyLists.push_back(&list);
    const std::size_t count = list.lazyRowCount;
    ScrollPosition& position = scrolling_.position(list.key, ScrollPosition::Unit::rows);
    position.setFirstRow(position.firstRow(), count);
    const std::size_t first = position.firstRow();
    const double height = scrolling_.madeForHeight(list.key).value_or(frame().height());
    const double width = frame().width();
    if (list.children.empty()) list.children = {VStack(Alignment::leading, 0, {})};
    Node& stack = *list.children[0].node();
    stack.key = list.key + "/0";
    stack.resolvedEnabled = enabled && !stack.isDisabled;
    pass.seen.insert(stack.key);
    stack.children.clear();
    auto& cells = scrolling_.cells(list.key);
    cells.clear();
    double used = 0;
    Element row = first < count ? list.lazyRow(first) : Element();
    for (std::size_t i = first; i < count && used < height; ++i) {
        const bool last = i + 1 == count;
        Element next = last ? Element() : list.lazyRow(i + 1);
        const bool hidden = row.node()->listRowSeparatorHidden || (!last && next.node()->listRowSeparatorHidden);
        Element cell = detail::listCell(row, !last && !hidden);
        const std::string& id = row.node()->identity;
        const std::string cellKey = stack.key + "/" + (id.empty() ? std::to_string(i) : "#" + id);
        resolve(cell, cellKey, stack.resolvedEnabled, env, pass);
        cells.emplace_back(cellKey, i);
        used += Layout::measure(*cell.node(), {width, FrameSpec::infinity}).height;
        stack.children.push_back(std::move(cell));
        row = std::move(next);
    }
}

bool HostingView::scrollList(std::size_t firstRow, const std::string& listId) {
    requireMainThread("HostingView::scrollList");
    rebuildIfNeeded();
    Node* list = ScrollStates::findLazyList(tree_, listId);
    if (!list) return false;
    scrolling_.position(list->key, ScrollPosition::Unit::rows).setFirstRow(firstRow, list->lazyRowCount);
    dirty_ = true;
    rebuildIfNeeded();
    return true;
}

std::size_t HostingView::firstShownRow(const std::string& listId) const {
    Node* list = ScrollStates::findLazyList(tree_, listId);
    if (!list) return 0;
    const ScrollPosition* position = scrolling_.find(list->key);
    return position ? position->firstRow() : 0;
}

bool HostingView::scrollNode(Node& scroll, double delta) {
    const std::string key = scroll.key;
    if (scroll.lazyRow) {
        ScrollPosition::Limits limits;
        if (!scroll.children.empty() && !scroll.children[0].node()->children.empty())
            limits.rowHeight = scroll.children[0].node()->children[0].node()->layoutFrame.height();
        limits.rowCount = scroll.lazyRowCount;
        if (!scrolling_.position(key, ScrollPosition::Unit::rows).scrollBy(delta, limits)) return false;
        dirty_ = true;
        rebuildIfNeeded();
        return true;
    }
    // By points; the layout limits the offset to the content's overhang.
    const double before = scroll.scrollOffset;
    ScrollPosition& position = scrolling_.position(key, ScrollPosition::Unit::points);
    position.setOffset(before);
    if (!position.scrollBy(delta, {})) return false;
    dirty_ = true;
    rebuildIfNeeded();
    Node* after = ScrollStates::findByKey(tree_, key);
    return after && std::abs(after->scrollOffset - before) > 0.01;
}

bool HostingView::scrollAt(Point point, double delta) {
    requireMainThread("HostingView::scrollAt");
    rebuildIfNeeded();
    Node* scroll = ScrollStates::scrollAt(tree_, point);
    return scroll && scrollNode(*scroll, delta);
}

bool HostingView::scrollBy(const std::string& scrollIdText, double delta) {
    requireMainThread("HostingView::scrollBy");
    const std::string scrollId = scrollIdText; // a node's own id goes with the node at a rebuild
    rebuildIfNeeded();
    Node* scroll = ScrollStates::findScroll(tree_, scrollId);
    return scroll && scrollNode(*scroll, delta);
}

double HostingView::scrollOffset(const std::string& scrollId) const {
    Node* scroll = ScrollStates::findScroll(tree_, scrollId);
    return scroll ? scroll->scrollOffset : 0;
}

bool HostingView::revealOnce(const std::string& key) {
    std::vector<Node*> scrolls;
    Node* node = ScrollStates::findByKey(tree_, key, &scrolls);
    if (!node || !node->scrolledOut) return false;
    for (auto it = scrolls.rbegin(); it != scrolls.rend(); ++it) {
        Node& scroll = **it;
        const Rect shown = scroll.visibleFrame;
        const Rect f = node->layoutFrame;
        if (shown.isNull()) continue;
        if (scroll.lazyRow) {
            // The element's row becomes the first shown when it is not whole.
            for (const auto& [cellKey, row] : scrolling_.cells(scroll.key)) {
                if (key != cellKey && key.rfind(cellKey + "/", 0) != 0 && key.rfind(cellKey + "#", 0) != 0)
                    continue;
                if (f.minY() >= shown.minY() && f.maxY() <= shown.maxY()) break;
                ScrollPosition& position = scrolling_.position(scroll.key, ScrollPosition::Unit::rows);
                if (position.firstRow() == row) break;
                position.setFirstRow(row, scroll.lazyRowCount);
                dirty_ = true;
                rebuildIfNeeded();
                return true;
            }
            continue;
        }
        const bool vertical = scroll.scrollVertical;
        const double delta = ScrollPosition::revealDistance(vertical ? f.minY() : f.minX(), vertical ? f.maxY() : f.maxX(),
                                                            vertical ? shown.minY() : shown.minX(),
                                                            vertical ? shown.maxY() : shown.maxX());
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
    return ScrollStates::findByKey(tree_, key, &scrolls) && !scrolls.empty();
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
