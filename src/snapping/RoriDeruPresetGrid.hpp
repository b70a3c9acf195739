#pragma once

#include "model/DisplayPresetGrid.hpp"

#include "platform/desktop/NSScreen.hpp"

#include <optional>

namespace tilmora {

/// The display-layout memory's view of the shared snap grid (`RoriDeru::shared()`, looked up on
/// every call so that it never outlives it): presets are read with its `loadPreset` and installed
/// with its `applyPreset`. Main thread.
class RoriDeruPresetGrid final : public DisplayPresetGrid {
public:
    /// The stored preset of the screen's display (the default 2 x 2 without one), unchanged.
    ScreenLayoutEntry::PresetModel loadPreset(const ScreenInfo& screen) override;

    /// `RoriDeru::applyPreset` on the connected screen that `screen` describes; does nothing when
    /// that screen is no longer connected.
    void applyPreset(const ScreenLayoutEntry::PresetModel& preset, const ScreenInfo& screen, bool flash,
                     bool activate) override;

    /// The connected screen `info` describes: the one with its display number, or without a
    /// number, the first with its frame.
    static std::optional<platform::NSScreen> connectedScreen(const ScreenInfo& info);
};

} // namespace tilmora
