#include "snapping/GapSettings.hpp"

#include "model/Settings.hpp"

#include "platform/foundation/UserDefaults.hpp"
#include "snapping/SnapDefaults.hpp"

#include <algorithm>
#include <cmath>
#include <optional>
#include <string>

namespace tilmora {

namespace {

/// A setting read as a number: a stored number (or Boolean); any other kind counts as absent.
std::optional<double> storedNumber(const std::string& key) {
    const auto value = platform::UserDefaults::standard().objectForKey(key);
    return value ? value->numberValue() : std::nullopt;
}

/// A setting read as a stored Boolean; any other kind of value, or none, is false.
bool storedBoolean(const std::string& key) {
    return SnapDefaults::flag(key, false);
}

/// A gap with a negative or NaN value read as 0.
double sanitizedGap(double value) {
    return (std::isnan(value) || value < 0) ? 0.0 : value;
}

} // namespace

GapSettings GapSettings::current() {
    GapSettings settings;
    const double gap = sanitizedGap(storedNumber(settings::gapSize.key).value_or(0));
    settings.horizontal = sanitizedGap(storedNumber(settings::gapHorizontal.key).value_or(gap));
    settings.vertical = sanitizedGap(storedNumber(settings::gapVertical.key).value_or(gap));
    const bool includeEdges = storedBoolean(settings::gapsIncludeScreenEdges.key);
    settings.left = includeEdges || storedBoolean(settings::gapsEdgesLeft.key);
    settings.right = includeEdges || storedBoolean(settings::gapsEdgesRight.key);
    settings.top = includeEdges || storedBoolean(settings::gapsEdgesTop.key);
    settings.bottom = includeEdges || storedBoolean(settings::gapsEdgesBottom.key);
    settings.applyToMaximize = storedBoolean(settings::applyGapsToMaximize.key);
    return settings;
}

double GapSettings::largestGap(const Rect& visible) {
    const double side = std::min(visible.width, visible.height);
    return std::isfinite(side) && side > 0 ? side / 4 : 0.0;
}

GapSettings GapSettings::limitedTo(const Rect& visible) const {
    const double limit = largestGap(visible);
    GapSettings limited = *this;
    limited.horizontal = std::min(sanitizedGap(horizontal), limit);
    limited.vertical = std::min(sanitizedGap(vertical), limit);
    return limited;
}

} // namespace tilmora
