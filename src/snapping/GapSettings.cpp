#include "snapping/GapSettings.hpp"

#include "model/Settings.hpp"

#include "platform/foundation/UserDefaults.hpp"

#include <algorithm>
#include <cmath>

namespace tilmora {

namespace {

/// A gap with a negative or NaN value read as 0.
double sanitizedGap(double value) {
    return (std::isnan(value) || value < 0) ? 0.0 : value;
}

} // namespace

GapSettings GapSettings::current() {
    return current(platform::UserDefaults::standard());
}

GapSettings GapSettings::current(const platform::UserDefaults& defaults) {
    using settings::read;
    GapSettings gaps;
    const double gap = sanitizedGap(read(defaults, settings::gapSize));
    gaps.horizontal = sanitizedGap(settings::storedNumber(defaults, settings::gapHorizontal.key).value_or(gap));
    gaps.vertical = sanitizedGap(settings::storedNumber(defaults, settings::gapVertical.key).value_or(gap));
    const bool includeEdges = read(defaults, settings::gapsIncludeScreenEdges);
    gaps.left = includeEdges || read(defaults, settings::gapsEdgesLeft);
    gaps.right = includeEdges || read(defaults, settings::gapsEdgesRight);
    gaps.top = includeEdges || read(defaults, settings::gapsEdgesTop);
    gaps.bottom = includeEdges || read(defaults, settings::gapsEdgesBottom);
    gaps.applyToMaximize = read(defaults, settings::applyGapsToMaximize);
    return gaps;
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
