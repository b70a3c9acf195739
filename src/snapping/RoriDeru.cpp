#include "snapping/RoriDeru.hpp"

#include "platform/dispatch/MainThread.hpp"
#include "platform/foundation/SharedInstance.hpp"
#include "snapping/GridPresetStorage.hpp"
#include "snapping/SnapKindGeometry.hpp"
#include "snapping/SnapScreens.hpp"
#include "windows/GeometryBridge.hpp"
#include "windows/ScreenIdentity.hpp"

namespace tilmora {

RoriDeru& RoriDeru::shared() {
    return platform::SharedInstance<RoriDeru>::get();
}

// MARK: Snap-kind geometry

RoriDeru::GapSettings RoriDeru::currentGapSettings() {
    return GapSettings::current();
}

Rect RoriDeru::adjustedVisibleFrame(const platform::NSScreen& screen) const {
    platform::requireMainThread("RoriDeru::adjustedVisibleFrame");
    return SnapScreens::adjustedVisibleFrame(screen);
}

Rect RoriDeru::computeRectForVisible(SnapIconKind kind, const Rect& visible) const {
    platform::requireMainThread("RoriDeru::computeRectForVisible");
    return SnapKindGeometry::rectForVisible(kind, visible, GapSettings::current());
}

Rect RoriDeru::computeRectForVisible(SnapIconKind kind, const Rect& visible, const GapSettings& gaps) {
    return SnapKindGeometry::rectForVisible(kind, visible, gaps);
}

Rect RoriDeru::applyGaps(const Rect& rect, const Rect& visible) const {
    platform::requireMainThread("RoriDeru::applyGaps");
    return SnapKindGeometry::applyGaps(rect, visible, GapSettings::current());
}

Rect RoriDeru::applyGaps(const Rect& rect, const Rect& visible, const GapSettings& gaps) {
    return SnapKindGeometry::applyGaps(rect, visible, gaps);
}

Rect RoriDeru::alignRectToPixelEdges(const Rect& rect, double scale) {
    return SnapKindGeometry::alignRectToPixelEdges(rect, scale);
}

Rect RoriDeru::clamp(const Rect& rect, const Rect& bounds) {
    return SnapKindGeometry::clamp(rect, bounds);
}

// MARK: Grid presets and tiles

std::string RoriDeru::presetText(const Preset& preset) {
    return GridPresetStorage::text(preset);
}

std::optional<RoriDeru::Preset> RoriDeru::parsePreset(std::string_view text) {
    return GridPresetStorage::parse(text);
}

std::string RoriDeru::presetKey(std::uint32_t displayID) {
    return GridPresetStorage::key(displayID);
}

void RoriDeru::savePreset(const Preset& preset, std::optional<std::uint32_t> displayID) {
    platform::requireMainThread("RoriDeru::savePreset");
    GridPresetStorage::save(preset, displayID);
}

RoriDeru::Preset RoriDeru::loadPreset(std::optional<std::uint32_t> displayID) const {
    platform::requireMainThread("RoriDeru::loadPreset");
    return GridPresetStorage::load(displayID);
}

void RoriDeru::savePreset(const Preset& preset, const platform::NSScreen& screen) {
    savePreset(preset, tlm_displayID(screen));
}

RoriDeru::Preset RoriDeru::loadPreset(const platform::NSScreen& screen) const {
    return loadPreset(tlm_displayID(screen));
}

RoriDeru::GridMetrics RoriDeru::gridMetrics(const Rect& rect, std::int64_t rows, std::int64_t cols,
                                            double gutter, double scale) {
    return GridLayout::metrics(rect, rows, cols, gutter, scale);
}

std::vector<Rect> RoriDeru::tiles(const Rect& visible, double scale, std::optional<std::uint32_t> displayID,
                                  const Preset& preset) const {
    platform::requireMainThread("RoriDeru::tiles");
    const PresetEdges* edges = nullptr;
    if (displayID) {
        const auto it = customPresetEdges.find(*displayID);
        if (it != customPresetEdges.end()) edges = &it->second;
    }
    return GridLayout::tiles(visible, scale, edges, preset);
}

std::vector<Rect> RoriDeru::tiles(const platform::NSScreen& screen, const Preset& preset) const {
    return tiles(toRect(screen.visibleFrame()), screen.backingScaleFactor(), tlm_displayID(screen), preset);
}

std::optional<Rect> RoriDeru::pickSnapTile(const Rect& windowRect, const std::vector<Rect>& tiles,
                                           double threshold) {
    return GridLayout::pickSnapTile(windowRect, tiles, threshold);
}

std::optional<RoriDeru::RowCol> RoriDeru::rowCol(const Rect& tile, const std::vector<Rect>& tiles,
                                                 std::int64_t cols) {
    return GridLayout::rowCol(tile, tiles, cols);
}

std::optional<platform::NSScreen> RoriDeru::screenForRect(const Rect& rect) {
    platform::requireMainThread("RoriDeru::screenForRect");
    return SnapScreens::screenForRect(rect);
}

Rect RoriDeru::insetByPadding(const Rect& tile, double padding) {
    return GridLayout::insetByPadding(tile, padding);
}

} // namespace tilmora
