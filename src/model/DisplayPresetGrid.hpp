#pragma once

#include "model/ScreenInfo.hpp"
#include "model/ScreenLayoutEntry.hpp"

namespace tilmora {

/// What the display-layout memory uses of the snap grid. The snapping layer implements it over
/// the shared snap grid (`RoriDeruPresetGrid`), which the shell installs when it builds its
/// environment (`DisplayLayoutMemory::installGrid`); tests use a fake. Main thread.
class DisplayPresetGrid {
public:
    virtual ~DisplayPresetGrid() = default;

    /// The grid preset now in force for `screen` (the stored preset of its display, or the
    /// default 2 x 2 with no gutter and no padding).
    virtual ScreenLayoutEntry::PresetModel loadPreset(const ScreenInfo& screen) = 0;

    /// Installs `preset` (already normalized) for `screen`; `flash` shows the grid briefly,
    /// `activate` also marks the preset as applied to the screen.
    virtual void applyPreset(const ScreenLayoutEntry::PresetModel& preset, const ScreenInfo& screen,
                             bool flash, bool activate) = 0;
};

} // namespace tilmora
