#pragma once

#include "platform/ui/Color.hpp"
#include "platform/ui/Path.hpp"

#include <vector>

namespace platform::ui {

/// A small vector canvas that records what is drawn on it, so that drawn images are data a test can
/// read. Coordinates are points in the image's own space, origin at the bottom-left, y up.
class Canvas {
public:
    enum class OpKind { fillRect, strokeRect, strokeLine, fillPath, strokePath };
    struct Op {
        OpKind kind;
        Rect rect;   // fillRect, strokeRect
        Point from;  // strokeLine
        Point to;    // strokeLine
        Path path;   // fillPath, strokePath
        Color color; // fill colour for fills, stroke colour for strokes
        double lineWidth = 1;
        bool operator==(const Op&) const = default;
    };

    void setFillColor(const Color& c) { fill_ = c; }
    void setStrokeColor(const Color& c) { stroke_ = c; }
    void setLineWidth(double w) { lineWidth_ = w; }
    const Color& fillColor() const { return fill_; }
    const Color& strokeColor() const { return stroke_; }
    double lineWidth() const { return lineWidth_; }

    void fill(const Rect& r) { ops_.push_back({OpKind::fillRect, r, {}, {}, {}, fill_, lineWidth_}); }
    void stroke(const Rect& r) { ops_.push_back({OpKind::strokeRect, r, {}, {}, {}, stroke_, lineWidth_}); }
    void strokeLine(Point a, Point b) {
        ops_.push_back({OpKind::strokeLine, {}, a, b, {}, stroke_, lineWidth_});
    }
    void fill(const Path& p) { ops_.push_back({OpKind::fillPath, {}, {}, {}, p, fill_, lineWidth_}); }
    void stroke(const Path& p) { ops_.push_back({OpKind::strokePath, {}, {}, {}, p, stroke_, lineWidth_}); }

    const std::vector<Op>& ops() const { return ops_; }

private:
    Color fill_ = Color::blackColor();
    Color stroke_ = Color::blackColor();
    double lineWidth_ = 1;
    std::vector<Op> ops_;
};

} // namespace platform::ui
