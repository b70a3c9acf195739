#pragma once

#include "platform/ui/Color.hpp"
#include "platform/ui/View.hpp"

namespace platform::ui {

/// The window's shared text view that edits a text field while the field is first responder:
/// insertion-point (caret) colour and the text being edited.
class FieldEditor : public View {
public:
    Color insertionPointColor = Color::labelColor();
};

} // namespace platform::ui
