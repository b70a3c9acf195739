#pragma once

#include "model/SnapIconKind.hpp"
#include "platform/desktop/NSScreen.hpp"
#include "snapping/TargetWindow.hpp"

#include <optional>

namespace tilmora {

/// What the snap bar reads of the snap grid: whether snapping is on, the selected snap kind of a
/// screen and whether it applies there, and the target window, whose screen the bar's highlight
/// follows. `RoriDeru` is one; the shell hands it to the bar. Main thread only.
class SnapBarSnapGrid {
public:
    virtual ~SnapBarSnapGrid() = default;
    /// Whether drag snapping is on.
    virtual bool isSnappingEnabled() const = 0;
    /// The kind selected for `screen` (see `RoriDeru::selectedKind`); logs its look-up line.
    virtual std::optional<SnapIconKind> selectedKind(const std::optional<platform::NSScreen>& screen) = 0;
    /// Whether a kind is selected for `screen`; logs its look-up line.
    virtual bool selectedKindApplies(const std::optional<platform::NSScreen>& screen) = 0;
    /// The key and global frame (points, y up) of the target application's window; none without one.
    virtual std::optional<TargetWindow::KeyAndRect> frontmostWindowKeyAndRect() = 0;
};

} // namespace tilmora
