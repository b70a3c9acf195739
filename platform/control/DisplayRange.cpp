#include "platform/control/DisplayRange.hpp"

#include "platform/foundation/Text.hpp"

#include <cmath>

namespace platform::DisplayRange {

namespace {

std::string valueText(const char* name, double value) {
    return std::string(name) + " " + Text::doubleDescription(value) + ": ";
}

std::optional<std::string> coordinateProblem(const char* name, double value) {
    if (std::abs(value) <= maximumCoordinate) return std::nullopt; // NaN fails too
    return valueText(name, value) + "must be within ±1e9 points";
}

std::optional<std::string> sideProblem(const char* name, double value, bool allowEmpty) {
    if ((allowEmpty ? value >= 0 : value > 0) && value <= maximumSide) return std::nullopt;
    return valueText(name, value) +
           (allowEmpty ? "must be from 0 to 1e6 points" : "must be above 0 and at most 1e6 points");
}

} // namespace

std::optional<std::string> rectProblem(const CGRect& rect, bool allowEmpty) {
    if (auto p = coordinateProblem("x", rect.origin.x)) return p;
    if (auto p = coordinateProblem("y", rect.origin.y)) return p;
    if (auto p = sideProblem("width", rect.size.width, allowEmpty)) return p;
    return sideProblem("height", rect.size.height, allowEmpty);
}

std::optional<std::string> scaleProblem(double scale) {
    if (scale > 0 && scale <= maximumScale) return std::nullopt;
    return valueText("scale", scale) + "must be above 0 and at most 16";
}

std::optional<std::string> problem(const DisplaySpec& spec) {
    if (auto p = rectProblem(spec.frame)) return "frame " + *p;
    if (spec.visibleFrame)
        if (auto p = rectProblem(*spec.visibleFrame, true)) return "visible " + *p;
    return scaleProblem(spec.backingScaleFactor);
}

} // namespace platform::DisplayRange
