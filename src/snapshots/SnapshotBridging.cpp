#include "snapshots/SnapshotBridging.hpp"

#include "snapshots/DefaultSnapshotEngine.hpp"
#include "snapshots/SavedDisplayIdentity.hpp"
#include "snapshots/SnapshotWindowGeometry.hpp"
#include "snapshots/SnapshotWindowRecord.hpp"

#include "windows/GeometryBridge.hpp"
#include "windows/ScreenIdentity.hpp"

#include "platform/foundation/Uuid.hpp"

#include <string>

namespace tilmora::SnapshotBridging {

namespace {

SnapshotWindowMapping mapping(const WindowValue& window) {
    SnapshotWindowMapping m;
    m.bundleIdentifier = window.bundleIdentifier.value_or(std::string());
    m.windowTitlePattern = window.windowTitle;
    if (const std::uint32_t display = WindowManager::savedDisplayNumber(window.screenUUID); display != 0)
        m.displayId = DisplayId(std::to_string(display));
    m.normalizedFrame = toRect(SnapshotWindowGeometry::normalizedRect(SnapshotWindowRecord(window)));
    return m;
}

} // namespace

SnapshotDefinition snapshotDefinition(const SnapshotValue& snapshot) {
    const platform::Date now = platform::Date::now();
    SnapshotDefinition definition{SnapshotId(platform::UUID()),
                                  snapshot.name.value_or("Snapshot"),
                                  snapshot.timestamp.value_or(now),
                                  now,
                                  {},
                                  std::nullopt,
                                  std::nullopt};
    for (const WindowValue& window : snapshot.windows)
        definition.windowMappings.push_back(mapping(window));
    return definition;
}

std::vector<DisplayDescriptor> displayDescriptors(const std::vector<platform::NSScreen>& screens) {
    std::vector<DisplayDescriptor> result;
    result.reserve(screens.size());
    for (const platform::NSScreen& screen : screens)
        result.push_back(DisplayDescriptor{DisplayId(tlm_identifierString(screen)), screen.localizedName(),
                                           toRect(screen.visibleFrame()), screen.backingScaleFactor()});
    return result;
}

std::vector<WindowDescriptor> windowDescriptors(const std::vector<WindowManager::WindowDetail>& windows,
                                                const std::vector<platform::NSScreen>& screens) {
    std::vector<WindowDescriptor> result;
    result.reserve(windows.size());
    for (const WindowManager::WindowDetail& w : windows) {
        std::string display = std::to_string(w.screenID);
        for (const platform::NSScreen& screen : screens)
            if (tlm_displayID(screen) == w.screenID) {
                display = tlm_identifierString(screen);
                break;
            }
        result.push_back(WindowDescriptor{WindowId(std::to_string(w.processID) + "-" + w.windowTitle),
                                          w.bundleIdentifier, w.windowTitle, DisplayId(display),
                                          Rect{w.xPosition, w.yPosition, w.width, w.height}, false, false});
    }
    return result;
}

std::map<std::int64_t, SnapshotPlacement> placementsByRow(const SnapshotValue& snapshot,
                                                          const std::vector<DisplayDescriptor>& displays) {
    std::map<std::int64_t, SnapshotPlacement> result;
    DefaultSnapshotEngine engine;
    SnapshotDefinition single = snapshotDefinition(SnapshotValue{});
    for (const WindowValue& window : snapshot.windows) {
        if (!window.rowID) continue;
        single.windowMappings = {mapping(window)};
        auto placements = engine.computePlacements(single, {}, displays, std::nullopt);
        if (!placements.empty()) result.emplace(*window.rowID, std::move(placements.front()));
    }
    return result;
}

} // namespace tilmora::SnapshotBridging
