#include "platform/ui/SearchField.hpp"

#include <algorithm>

namespace platform::ui {

void ButtonCell::performClick(Responder*) {
    if (onClick_) onClick_();
}

SearchField::SearchField() {
    setFrameSize({130, 22});
    searchButtonCell = std::make_shared<ButtonCell>([] {});
    // The cell belongs to this field; whoever keeps it keeps it for this field only.
    cancelButtonCell = std::make_shared<ButtonCell>([this] {
        if (stringValue().empty()) return;
        setStringValue("");
        notifyChange();
        sendAction();
    });
}

Rect SearchField::searchTextRect(const Rect& bounds) const {
    const double leading = searchButtonCell ? buttonWidth : textPadding;
    const double trailing = showsCancelButton() ? buttonWidth : textPadding;
    const double width = std::max(0.0, bounds.width() - leading - trailing);
    return {bounds.minX() + std::min(leading, bounds.width()), bounds.minY(), width, bounds.height()};
}

Rect SearchField::cancelButtonRect(const Rect& bounds) const {
    if (!showsCancelButton()) return {bounds.maxX(), bounds.minY(), 0, bounds.height()};
    const double width = std::min(buttonWidth, bounds.width());
    return {bounds.maxX() - width, bounds.minY(), width, bounds.height()};
}

} // namespace platform::ui
