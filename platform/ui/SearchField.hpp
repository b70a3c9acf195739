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
};

} // namespace platform::ui
