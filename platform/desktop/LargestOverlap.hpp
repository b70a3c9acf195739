#pragma once

#include "platform/desktop/Geometry.hpp"
#include "platform/desktop/NSScreen.hpp"

#include <cstddef>
#include <optional>
#include <vector>

namespace platform {

/// Index of the first of `frames` whose intersection with `rect` has the largest positive area
/// (touching edges do not overlap; a rectangle with a NaN or infinite value overlaps nothing); none
/// when no frame overlaps `rect`. All rectangles in one space. Pure, any thread.
std::optional<std::size_t> indexOfLargestOverlap(const CGRect& rect, const std::vector<CGRect>& frames);

/// Which rectangle of a screen `screenWithLargestOverlap` measures.
enum class ScreenArea {
    frame,
    visibleFrame,
};

/// The first of `screens` whose `area` (global coordinates) overlaps `rect` (global coordinates)
/// the most; `fallback` when none overlaps it. Each caller chooses its own fallback: the first
/// screen, the main screen, or none. Any thread; logs nothing.
std::optional<NSScreen> screenWithLargestOverlap(const CGRect& rect, const std::vector<NSScreen>& screens,
                                                 ScreenArea area, std::optional<NSScreen> fallback);

} // namespace platform
