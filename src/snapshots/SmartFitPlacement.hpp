#pragma once

#include "snapshots/ScreenRemap.hpp"
#include "snapshots/WindowValue.hpp"

#include "platform/desktop/Geometry.hpp"
#include "platform/desktop/NSScreen.hpp"

#include <cstdint>
#include <map>
#include <vector>

namespace tilmora::WindowManager {

/// Target rectangles keyed by row id, in global coordinates (points, y up) like
/// `NSScreen::visibleFrame`.
using PlacementRects = std::map<std::int64_t, platform::CGRect>;

/// The target rectangles of the rows whose saved display the remap sends, with `smartFit`, to a
/// present screen: the rows of one saved display are scaled together by one factor (never above 1)
/// until their union fits the replacement screen's visible frame, centred on it, each rectangle
/// made integral and kept inside the visible frame without changing its size. A row's source
/// rectangle is (`xPosition`, `originalScreenHeight` - `yPosition` - `height`, `width`, `height`)
/// relative to the bottom-left of its saved visible frame. Rows of other displays, of a
/// replacement that is no longer present or of an empty union, and rows without a row id, get no
/// entry. Reads `NSScreen::screens()` once. Any thread; logs nothing.
PlacementRects precomputeSmartFitRects(const std::vector<WindowValue>& windows, const ScreenRemap& remap);

/// The same over the given screens instead of the screen list.
PlacementRects smartFitRects(const std::vector<WindowValue>& windows, const ScreenRemap& remap,
                             const std::vector<platform::NSScreen>& screens);

/// The tile-grid rectangles of `tileGrid` entries. Nothing produces that mode, so the result is
/// always empty and such rows are placed one by one.
PlacementRects precomputeTileGridRects(const std::vector<WindowValue>& windows, const ScreenRemap& remap);

} // namespace tilmora::WindowManager
