#pragma once

#include "platform/ui/declarative/Representable.hpp"
#include "platform/ui/declarative/ViewBase.hpp"

namespace platform::ui::declarative {

// The declarative building blocks. Each returns a new element; modifiers chain on it.

Element VStack(Alignment alignment, std::optional<double> spacing, std::vector<Element> children);
Element HStack(Alignment alignment, std::optional<double> spacing, std::vector<Element> children);
Element ZStack(Alignment alignment, std::vector<Element> children);
Element Group(std::vector<Element> children);
Element EmptyView();
/// A labelled row: the label, then the content (a form's "label: control" row).
Element LabeledContent(Element label, Element content);
Element ScrollView(Element content, bool vertical = true, bool showsIndicators = true);
Element Spacer();
Element Divider();
Element Text(const std::string& text);
/// A button labelled with a text.
Element Button(const std::string& title, std::function<void()> action);
/// A button with any label.
Element Button(Element label, std::function<void()> action);
/// A text field bound to a string; Return commits.
Element TextField(const std::string& placeholder, Binding<std::string> text,
                  std::function<void()> onCommit = {});
/// A stepper bound to an integer within [lower, upper], moving by `step`.
Element Stepper(const std::string& label, Binding<long> value, long lower, long upper, long step = 1);
/// A pop-up picker: options stand for their tags; the binding holds the selected tag.
Element Picker(const std::string& label, Binding<std::string> selection, std::vector<PickerOption> options);
/// An indeterminate progress indicator (or a determinate one with a value in 0...1).
Element ProgressView(std::optional<double> value = std::nullopt);
Element Rectangle();
Element RoundedRectangle(double cornerRadius, bool continuous = false);
Element Circle();
Element Capsule();
/// A shape whose path is made for the size it gets (points, y down).
Element PathShape(std::function<Path(Size)> path);
/// A colour filling the space offered.
Element ColorView(Color color);
Element ImageView(const std::string& name);
/// A canvas that knows its size: its content is made for that size and places children at
/// absolute rectangles with `placed`.
Element Canvas(std::function<Element(Size)> content);
Element WebView(const std::string& url);
/// A vertical list of rows: each row is shown with its list-row insets and background
/// (`listRowInsets`, `listRowBackground`) and, unless it or the next row hides it
/// (`listRowSeparatorHidden`), a separator line under it; the last row has none. It scrolls when
/// its rows do not fit. Give it an `onDelete` to let the user delete rows.
Element List(std::vector<Element> rows);
/// A list of `count` rows that makes its rows only when they come into view: the host asks
/// `makeRow(index)` for the rows from the list's first shown row (0 until the user scrolls,
/// `HostingView::scrollList`) down to the bottom of the list's frame, so a long list costs what it
/// shows. A row with an `id` keeps its views and controls (and their state) by that id when rows
/// are inserted or removed before it. The rows shown look as in `List(rows)`; the row count, the
/// delete command's offsets and the scroll position count every row.
Element List(std::size_t count, std::function<Element(std::size_t)> makeRow);

namespace detail {
/// One list cell: the row inside its insets and background, with a separator line under it when
/// `separatorBelow`.
Element listCell(const Element& row, bool separatorBelow);
} // namespace detail

/// A declarative view of type T made with `args`.
template <class T, class... Args>
Element view(Args&&... args) {
    Element e;
    e.node()->kind = NodeKind::component;
    e.node()->component = std::make_shared<T>(std::forward<Args>(args)...);
    return e;
}

/// A representable control of type T made with `args`.
template <class T, class... Args>
Element representable(Args&&... args) {
    Element e;
    e.node()->kind = NodeKind::representable;
    e.node()->representable = std::make_shared<T>(std::forward<Args>(args)...);
    return e;
}

} // namespace platform::ui::declarative
