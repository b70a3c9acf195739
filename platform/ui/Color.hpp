#pragma once

#include <string>

namespace platform::ui {

/// A colour: red, green, blue and alpha components in 0...1 (sRGB-like). Semantic colours of the
/// platform (system green, label colour, accent colour, ...) carry their `name` so that tests and a
/// renderer can tell them apart from a plain colour with the same components; `withAlphaComponent`
/// keeps the name.
struct Color {
    double red = 0;
    double green = 0;
    double blue = 0;
    double alpha = 1;
    std::string name;

    static Color rgba(double r, double g, double b, double a = 1) { return {r, g, b, a, {}}; }
    static Color white(double w = 1, double a = 1) { return {w, w, w, a, {}}; }
    Color withAlphaComponent(double a) const {
        Color c = *this;
        c.alpha = a;
        return c;
    }
    bool isClear() const { return alpha == 0; }
    bool operator==(const Color&) const = default;

    static Color clearColor() { return {0, 0, 0, 0, "clear"}; }
    static Color blackColor() { return {0, 0, 0, 1, "black"}; }
    static Color whiteColor() { return {1, 1, 1, 1, "white"}; }
    static Color redColor() { return {1, 0, 0, 1, "red"}; }
    static Color blueColor() { return {0, 0, 1, 1, "blue"}; }
    static Color grayColor() { return {0.5, 0.5, 0.5, 1, "gray"}; }
    static Color systemGreen() { return {0.2, 0.78, 0.35, 1, "systemGreen"}; }
    static Color systemRed() { return {1, 0.23, 0.19, 1, "systemRed"}; }
    static Color systemYellow() { return {1, 0.8, 0, 1, "systemYellow"}; }
    static Color systemBlue() { return {0, 0.48, 1, 1, "systemBlue"}; }
    static Color systemGray() { return {0.56, 0.56, 0.58, 1, "systemGray"}; }
    static Color labelColor() { return {0, 0, 0, 0.85, "labelColor"}; }
    static Color secondaryLabelColor() { return {0, 0, 0, 0.5, "secondaryLabelColor"}; }
    static Color controlTextColor() { return {0, 0, 0, 0.85, "controlTextColor"}; }
    static Color controlAccentColor() { return {0, 0.48, 1, 1, "controlAccentColor"}; }
    static Color textBackgroundColor() { return {1, 1, 1, 1, "textBackgroundColor"}; }
    static Color windowBackgroundColor() { return {0.93, 0.93, 0.93, 1, "windowBackgroundColor"}; }
    static Color systemOrange() { return {1, 0.58, 0, 1, "systemOrange"}; }
    static Color separatorColor() { return {0, 0, 0, 0.1, "separatorColor"}; }
    static Color controlBackgroundColor() { return {1, 1, 1, 1, "controlBackgroundColor"}; }
};

} // namespace platform::ui
