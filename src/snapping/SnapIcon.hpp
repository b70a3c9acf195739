#pragma once

#include "model/Rect.hpp"

#include <vector>

namespace tilmora {

/// The picture of a snap kind as a list of drawing commands, in the picture's own coordinates:
/// points, origin at the bottom-left, y up. The UI renders it with its vector canvas; tests read it.
struct SnapIcon {
    /// A colour as red, green, blue and alpha, each 0 to 1.
    struct Color {
        double red = 0;
        double green = 0;
        double blue = 0;
        double alpha = 1;
        friend bool operator==(const Color&, const Color&) = default;

        /// A grey of the calibrated white space.
        static Color calibratedWhite(double white, double alpha) { return {white, white, white, alpha}; }
        /// The system's accent blue.
        static Color systemBlue() { return {0.0, 122.0 / 255.0, 1.0, 1.0}; }
    };

    /// A straight line segment from (x1, y1) to (x2, y2).
    struct Line {
        double x1 = 0;
        double y1 = 0;
        double x2 = 0;
        double y2 = 0;
        friend bool operator==(const Line&, const Line&) = default;
    };

    /// One drawing step, painted in list order with source-over compositing.
    struct Command {
        enum class Operation {
            fillRect,    ///< fill `rect` with `color`
            strokeRect,  ///< stroke the outline of `rect` with `color` at `lineWidth`
            strokeLines, ///< stroke every segment of `lines` (one path) with `color` at `lineWidth`
        };
        Operation operation = Operation::fillRect;
        Rect rect;
        std::vector<Line> lines;
        Color color;
        double lineWidth = 1;
        friend bool operator==(const Command&, const Command&) = default;
    };

    /// Size of the picture, points.
    double width = 0;
    double height = 0;
    std::vector<Command> commands;
    friend bool operator==(const SnapIcon&, const SnapIcon&) = default;
};

} // namespace tilmora
