#pragma once

#include "platform/ui/Appearance.hpp"
#include "platform/ui/Color.hpp"

/// The colours the screen capture draws the platform's semantic colours in, for each appearance.
/// A semantic colour is known by its name (`Color::labelColor()` is "labelColor"); its alpha is
/// kept. In the light appearance the label, text and background colours are drawn as they are
/// stored; in the dark one the label and control texts are white (at their alpha) and the text,
/// control and window backgrounds dark. Texts in the system colours take variants that read on the
/// appearance's backgrounds (darker green, orange and yellow in the light one, a lighter red in the
/// dark one). Any thread.
namespace platform::ui::AppearancePalette {

/// `color` as it is drawn in `appearance`: a semantic colour in its variant, any other unchanged.
Color resolved(const Color& color, Appearance appearance);

/// `color` as a text is drawn in it in `appearance`: as `resolved`, and in the light appearance
/// the system green, orange and yellow darker, so that they read on white; in the dark one red
/// lighter, so that it reads on dark grey.
Color resolvedText(const Color& color, Appearance appearance);

} // namespace platform::ui::AppearancePalette
