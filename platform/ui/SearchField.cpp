#include "platform/ui/SearchField.hpp"

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

} // namespace platform::ui
