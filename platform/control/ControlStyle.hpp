#pragma once

#include "platform/control/PicturePainter.hpp"
#include "platform/ui/Color.hpp"
#include "platform/ui/Font.hpp"
#include "platform/ui/TextMetrics.hpp"

#include <string>

/// The plain look shared by the screen capture's painters of views and declarative elements:
/// control bezels, their borders, disabled text, and which font weights draw bold.
namespace platform::ui::ControlStyle {

/// A colour from 0...255 components and an alpha in 0...1.
inline Color rgb(int r, int g, int b, double a = 1) {
    return Color::rgba(r / 255.0, g / 255.0, b / 255.0, a);
}

// The bezel and disabled text are semantic colours: the dark appearance draws them in its own
// variants (`AppearancePalette`).
inline const Color kBezel{1, 1, 1, 1, "controlColor"};
inline const Color kBezelBorder = rgb(170, 170, 170);
inline const Color kDisabledText{0, 0, 0, 0.3, "disabledControlTextColor"};

/// Whether a font weight name draws bold.
inline bool isBold(const std::string& weight) {
    return TextMetrics::drawsBold(weight);
}

/// Text in `font` (its size, boldness and monospacing) and `color`, left-aligned.
inline PicturePainter::TextStyle styleOf(const Font& font, const Color& color) {
    PicturePainter::TextStyle style;
    style.size = font.pointSize;
    style.bold = isBold(font.weight);
    style.monospaced = font.monospaced;
    style.color = color;
    return style;
}

} // namespace platform::ui::ControlStyle
