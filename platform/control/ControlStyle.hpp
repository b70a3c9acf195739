#pragma once

#include "platform/ui/Color.hpp"
#include "platform/ui/TextMetrics.hpp"

#include <string>

/// The plain look shared by the screen capture's painters of views and declarative elements:
/// control bezels, their borders, disabled text, and which font weights draw bold.
namespace platform::ui::ControlStyle {

/// A colour from 0...255 components and an alpha in 0...1.
inline Color rgb(int r, int g, int b, double a = 1) {
    return Color::rgba(r / 255.0, g / 255.0, b / 255.0, a);
}

inline Color bezel() { return rgb(255, 255, 255); }
inline Color bezelBorder() { return rgb(170, 170, 170); }
inline Color disabledText() { return rgb(0, 0, 0, 0.3); }

/// Whether a font weight name draws bold.
inline bool isBold(const std::string& weight) {
    return TextMetrics::drawsBold(weight);
}

} // namespace platform::ui::ControlStyle
