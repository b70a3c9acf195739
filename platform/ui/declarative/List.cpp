#include "platform/ui/declarative/Elements.hpp"

#include <algorithm>

namespace platform::ui::declarative {

namespace {
/// The insets of a row that sets none (points).
constexpr EdgeInsets defaultRowInsets{4, 8, 4, 8};
} // namespace

Element& Element::listStyle(const std::string& style) {
    content().listStyle = style;
    return *this;
}

Element& Element::listRowInsets(EdgeInsets insets) {
    node_->listRowInsets = insets;
    return *this;
}

Element& Element::listRowBackground(Color color) {
    node_->listRowBackground = std::move(color);
    return *this;
}

Element& Element::listRowSeparatorHidden(bool hidden) {
    node_->listRowSeparatorHidden = hidden;
    return *this;
}

Element& Element::onDelete(std::function<void(const std::vector<std::size_t>&)> action) {
    content().onDelete = std::move(action);
    return *this;
}

Element& Element::onHover(std::function<void(bool)> action) {
    content().onHover = std::move(action);
    return *this;
}

Element detail::listCell(const Element& rowElement, bool separatorBelow) {
    const Node& row = *rowElement.node();
    Element cell = VStack(Alignment::center, 0, {rowElement});
    FrameSpec fill;
    fill.maxWidth = FrameSpec::infinity;
    cell.frame(fill);
    cell.padding(row.listRowInsets.value_or(defaultRowInsets));
    if (row.listRowBackground && !row.listRowBackground->isClear())
        cell.background(ColorView(*row.listRowBackground));
    if (separatorBelow) cell = VStack(Alignment::center, 0, {cell, Divider()});
    return cell;
}

// A list is a scroll view over one vertical stack with one cell per row: the row inside its
// insets and background, then its separator line. The rows keep their own modifiers.
Element List(std::vector<Element> rows) {
    std::vector<Element> cells;
    cells.reserve(rows.size());
    for (std::size_t i = 0; i < rows.size(); ++i) {
        const Node& row = *rows[i].node();
        const bool last = i + 1 == rows.size();
        const bool hidden = row.listRowSeparatorHidden || (!last && rows[i + 1].node()->listRowSeparatorHidden);
        cells.push_back(detail::listCell(rows[i], !last && !hidden));
    }
    Element list = ScrollView(VStack(Alignment::leading, 0, std::move(cells)));
    list.node()->isList = true;
    return list;
}

// The host fills the stack with the cells in view at each build.
Element List(std::size_t count, std::function<Element(std::size_t)> makeRow) {
    Element list = ScrollView(VStack(Alignment::leading, 0, {}));
    list.node()->isList = true;
    list.node()->lazyRow = std::move(makeRow);
    list.node()->lazyRowCount = count;
    return list;
}

} // namespace platform::ui::declarative
