#pragma once

#include "platform/ui/Layer.hpp"
#include "platform/ui/Path.hpp"

namespace platform::ui {

/// A layer that draws a path (in the layer's own coordinates, points, y up): fill and stroke
/// colours (none draws nothing), line width (default 1), join, cap and dash pattern.
class ShapeLayer : public Layer {
public:
    std::optional<Path> path;
    std::optional<Color> fillColor = Color::blackColor(); // the platform default fill is opaque black
    std::optional<Color> strokeColor;
    double lineWidth = 1;
    std::string lineJoin = "miter"; // "miter", "round", "bevel"
    std::string lineCap = "butt";   // "butt", "round", "square"
    std::vector<double> lineDashPattern;
};

} // namespace platform::ui
