#pragma once

#include "platform/ui/Font.hpp"
#include "platform/ui/Layer.hpp"

namespace platform::ui {

/// A layer that draws one string: font and size (points), alignment and text colour.
class TextLayer : public Layer {
public:
    std::optional<std::string> string;
    Font font = Font::systemFont(12);
    double fontSize = 36;                  // the platform default
    std::string alignmentMode = "natural"; // "left", "center", "right", "natural"
    Color foregroundColor = Color::whiteColor();
    bool wrapped = false;
};

} // namespace platform::ui
