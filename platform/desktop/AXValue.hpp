#pragma once

#include "platform/desktop/Geometry.hpp"

#include <optional>

namespace platform {

/// The kinds of structured Accessibility values.
enum class AXValueType { cgPoint = 1, cgSize = 2, cgRect = 3, illegal = 0 };

/// A structured Accessibility value: a point (a window position in top-left coordinates, y down
/// from the top of the main display) or a size, in points.
struct AXValue {
    AXValueType type = AXValueType::illegal;
    CGPoint point;
    CGSize size;
    bool operator==(const AXValue&) const = default;
};

/// Wraps a point or a size as an Accessibility value. None when the value cannot be created
/// (the simulated desktop can be told to refuse, see `SimDesktop::setAXValueCreationFails`).
/// Any thread; logs nothing.
std::optional<AXValue> AXValueCreate(const CGPoint& point);
std::optional<AXValue> AXValueCreate(const CGSize& size);

/// The kind of a value.
inline AXValueType AXValueGetType(const AXValue& value) {
    return value.type;
}

/// Reads the value as the given kind; false (and `out` untouched) when the kinds differ or the
/// simulated desktop is told that conversions fail.
bool AXValueGetValue(const AXValue& value, AXValueType type, CGPoint& out);
bool AXValueGetValue(const AXValue& value, AXValueType type, CGSize& out);

} // namespace platform
