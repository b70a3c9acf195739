#pragma once

#include "platform/ui/TextField.hpp"

#include <functional>

namespace platform::ui {

/// A cell of a search field (its search button or its cancel, or clear, button). Clicking it
/// runs what its field made it do.
class ButtonCell : public Responder {
public:
    explicit ButtonCell(std::function<void()> onClick)
        : onClick_(std::move(onClick)) {}
    /// A click on the cell; the sender is whoever clicked (the field itself for a key press).
    void performClick(Responder* sender);

private:
    std::function<void()> onClick_;
};

/// A search field: a text field with a search (magnifier) button and a cancel button. The cancel
/// button empties the text and, unlike a programmatic change, tells the delegate of the change.
/// Either button can be removed by setting it to null and put back later. Main thread only.
class SearchField : public TextField {
public:
    SearchField();

    std::shared_ptr<ButtonCell> searchButtonCell;
    /// The cancel button shows only while the field has text; null when it was removed.
    std::shared_ptr<ButtonCell> cancelButtonCell;
    /// True while the cancel button is installed and the field has text, as a user sees it.
    bool showsCancelButton() const { return cancelButtonCell && !stringValue().empty(); }

    /// The room a button takes at its end of the field while it shows (points), and the padding
    /// between the bezel's end and the text at an end with no button.
    static constexpr double buttonWidth = 22;
    static constexpr double textPadding = 6;
    /// Where the text is set in `bounds` (the field's bounds, points): less the search button's room
    /// at the leading end while the cell is installed and the cancel button's at the trailing end
    /// while it shows (`showsCancelButton`), `textPadding` at an end without one; never less than
    /// empty. The screen capture draws the field's text there.
    Rect searchTextRect(const Rect& bounds) const;
    /// The cancel button's room at the trailing end of `bounds`; empty while it does not show.
    Rect cancelButtonRect(const Rect& bounds) const;
};

} // namespace platform::ui
