#include "snapshots/DefaultSnapshotEngine.hpp"

#include <algorithm>

namespace tilmora {

std::vector<SnapshotPlacement> DefaultSnapshotEngine::computePlacements(
    const SnapshotDefinition& definition, const std::vector<WindowDescriptor>& windows,
    const std::vector<DisplayDescriptor>& displays, const std::optional<LayoutProfile>&) {
    std::vector<SnapshotPlacement> placements;
    std::vector<WindowDescriptor> unclaimed = windows;
    for (const SnapshotWindowMapping& mapping : definition.windowMappings) {
        std::optional<DisplayId> targetId = mapping.displayId;
        if (!targetId && !windows.empty()) targetId = windows.front().currentDisplayId;
        if (!targetId || displays.empty()) continue;

        auto display = std::find_if(displays.begin(), displays.end(),
                                    [&](const DisplayDescriptor& d) { return d.id == *targetId; });
        DisplayId placedOn = *targetId;
        if (display == displays.end()) {
            display = displays.begin();
            placedOn = display->id;
        }

        std::optional<WindowDescriptor> window;
        auto match = std::find_if(unclaimed.begin(), unclaimed.end(), [&](const WindowDescriptor& w) {
            return w.bundleIdentifier == mapping.bundleIdentifier;
        });
        if (match != unclaimed.end()) {
            window = *match;
            unclaimed.erase(match);
        }

        const Rect& b = display->bounds;
        Rect frame = b;
        if (mapping.normalizedFrame && mapping.normalizedFrame->width > 0 &&
            mapping.normalizedFrame->height > 0) {
            const Rect& n = *mapping.normalizedFrame;
            frame = Rect{b.x + n.x * b.width, b.y + n.y * b.height, n.width * b.width, n.height * b.height};
        } else if (window) {
            frame = window->currentFrame;
        }
        placements.push_back(SnapshotPlacement{window ? std::optional<WindowId>(window->id) : std::nullopt,
                                               mapping.bundleIdentifier, placedOn, frame});
    }
    return placements;
}

} // namespace tilmora
