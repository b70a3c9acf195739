#include "snapping/RoriDeruPresetGrid.hpp"

#include "model/SystemScreenSource.hpp"
#include "snapping/RoriDeru.hpp"

namespace tilmora {

ScreenLayoutEntry::PresetModel RoriDeruPresetGrid::loadPreset(const ScreenInfo& screen) {
    const RoriDeru::Preset preset = RoriDeru::shared().loadPreset(screen.displayNumber);
    return {preset.rows, preset.cols, preset.gutter, preset.padding};
}

void RoriDeruPresetGrid::applyPreset(const ScreenLayoutEntry::PresetModel& preset, const ScreenInfo& screen,
                                     bool flash, bool activate) {
    const auto connected = connectedScreen(screen);
    if (!connected) return;
    RoriDeru::shared().applyPreset(RoriDeru::Preset(preset.rows, preset.cols, preset.gutter, preset.padding),
                                   *connected, flash, activate);
}

std::optional<platform::NSScreen> RoriDeruPresetGrid::connectedScreen(const ScreenInfo& info) {
    for (const platform::NSScreen& screen : platform::NSScreen::screens()) {
        const ScreenInfo candidate = SystemScreenSource::info(screen);
        if (info.displayNumber ? candidate.displayNumber == info.displayNumber
                               : !candidate.displayNumber && candidate.frame == info.frame)
            return screen;
    }
    return std::nullopt;
}

} // namespace tilmora
