#include "platform/control/AppearancePalette.hpp"

#include <string_view>

namespace platform::ui::AppearancePalette {

namespace {

struct Variant {
    std::string_view name;
    double red, green, blue;
};

// The dark appearance's variants of the semantic colours (alpha from the colour itself).
constexpr Variant darkVariants[] = {
    {"labelColor", 1, 1, 1},
    {"secondaryLabelColor", 1, 1, 1},
    {"tertiaryLabelColor", 1, 1, 1},
    {"controlTextColor", 1, 1, 1},
    {"disabledControlTextColor", 1, 1, 1},
    {"textBackgroundColor", 0.118, 0.118, 0.118},
    {"controlBackgroundColor", 0.118, 0.118, 0.118},
    {"windowBackgroundColor", 0.196, 0.196, 0.196},
    {"separatorColor", 1, 1, 1},
    {"controlColor", 0.2, 0.2, 0.2},
};

// Texts in red on dark backgrounds: the lighter red of the dark appearance.
constexpr Variant darkTextVariants[] = {
    {"red", 1, 69 / 255.0, 58 / 255.0},
    {"systemRed", 1, 69 / 255.0, 58 / 255.0},
};

// Texts in the system colours on light backgrounds: variants with a contrast of at least 4:1 on
// white.
constexpr Variant lightTextVariants[] = {
    {"systemGreen", 36 / 255.0, 138 / 255.0, 61 / 255.0},
    {"systemOrange", 178 / 255.0, 80 / 255.0, 0},
    {"systemYellow", 160 / 255.0, 112 / 255.0, 0},
};

template <std::size_t N>
Color lookUp(const Color& color, const Variant (&table)[N]) {
    if (color.name.empty()) return color;
    for (const auto& v : table)
        if (color.name == v.name) return {v.red, v.green, v.blue, color.alpha, color.name};
    return color;
}

} // namespace

Color resolved(const Color& color, Appearance appearance) {
    return appearance == Appearance::darkAqua ? lookUp(color, darkVariants) : color;
}

Color resolvedText(const Color& color, Appearance appearance) {
    if (appearance == Appearance::darkAqua) return lookUp(lookUp(color, darkVariants), darkTextVariants);
    return lookUp(color, lightTextVariants);
}

} // namespace platform::ui::AppearancePalette
