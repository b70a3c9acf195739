#include "model/LayoutStoreVesk.hpp"

#include "model/LocalizationManager.hpp"
#include "model/Log.hpp"
#include "model/Settings.hpp"

#include "platform/foundation/LocalizedOrder.hpp"
#include "platform/foundation/UserDefaults.hpp"

#include <algorithm>
#include <optional>
#include <unordered_set>
#include <utility>
#include <vector>

namespace tilmora {

bool veskVerboseEnabled() {
    return platform::UserDefaults::standard().boolForKey(settings::verboseLogging.key);
}

void veskLog(const std::string& message) {
    if (veskVerboseEnabled()) print("[VESK][STORE] " + message);
}

namespace {

// The preset of `layout`; `defaultTileName` is looked up on first need and kept for the caller's
// next layouts, so a listing looks it up once.
VeskPreset toVeskPreset(const Layout& layout, std::optional<std::string>& defaultTileName) {
    std::vector<VeskTile> tiles;
    tiles.reserve(layout.tiles.size());
    for (const Tile& tile : layout.tiles) {
        if (!tile.label && !defaultTileName)
            defaultTileName = LocalizationManager::shared().localizedString("layoutEditor.tile.defaultName");
        std::string name = tile.label ? *tile.label : *defaultTileName;
        tiles.push_back(VeskTile{platform::UUID(), std::move(name), tile.normalizedFrame});
    }
    VeskPresetKind kind = layout.tiles.size() == 1 ? VeskPresetKind::singleTile : VeskPresetKind::grid;
    return VeskPreset{layout.id.rawValue, layout.name, kind, layout.displayId.rawValue, std::move(tiles), 0};
}

} // namespace

VeskPreset toVeskPreset(const Layout& layout) {
    std::optional<std::string> defaultTileName;
    return toVeskPreset(layout, defaultTileName);
}

Layout layoutFromVeskPreset(const VeskPreset& preset, const DisplayId& displayId) {
    std::vector<Tile> tiles;
    tiles.reserve(preset.tiles.size());
    for (const VeskTile& tile : preset.tiles)
        tiles.push_back(Tile{TileId{platform::UUID()}, displayId, tile.normalisedRect, tile.name});
    return Layout{LayoutId{preset.id}, preset.name, displayId, std::move(tiles)};
}

std::vector<VeskPreset> veskPresets(LayoutStore& store, const DisplayId& displayId) {
    std::vector<Layout> all;
    try {
        all = store.allLayouts();
    } catch (const std::exception&) {
        return {};
    }
    return veskPresets(all, displayId);
}

std::vector<VeskPreset> veskPresets(const std::vector<Layout>& all, const DisplayId& displayId) {
    std::vector<Layout> matching;
    for (const Layout& layout : all) {
        if (layout.displayId == displayId) matching.push_back(layout);
    }
    const std::size_t rawCount = matching.size();

    // The last occurrence of each id stays, at its own position.
    std::unordered_set<LayoutId> seen;
    std::vector<const Layout*> kept;
    for (auto it = matching.rbegin(); it != matching.rend(); ++it) {
        if (seen.insert(it->id).second) kept.push_back(&*it);
    }
    std::reverse(kept.begin(), kept.end());

    std::vector<VeskPreset> presets;
    presets.reserve(kept.size());
    std::optional<std::string> defaultTileName;
    for (const Layout* layout : kept)
        presets.push_back(toVeskPreset(*layout, defaultTileName));

    const platform::Text::LocalizedOrder byName;
    std::stable_sort(presets.begin(), presets.end(), [&byName](const VeskPreset& a, const VeskPreset& b) {
        int order = byName.compare(a.name, b.name);
        if (order != 0) return order < 0;
        return a.id.uuidString() < b.id.uuidString();
    });
    veskLog("load displayId=" + displayId.rawValue + " presets=" + std::to_string(presets.size()) +
            " (raw=" + std::to_string(rawCount) + ")");
    return presets;
}

void saveVeskPreset(LayoutStore& store, const VeskPreset& preset, const DisplayId& displayId) {
    store.save(layoutFromVeskPreset(preset, displayId));
    veskLog("save displayId=" + displayId.rawValue + " id=" + preset.id.uuidString() + " name=" +
            preset.name + " kind=" + (preset.kind == VeskPresetKind::grid ? "grid" : "singleTile") +
            " tiles=" + std::to_string(preset.tiles.size()));
}

void deleteVeskPreset(LayoutStore& store, const platform::UUID& presetId) {
    store.deleteLayout(LayoutId{presetId});
    veskLog("delete id=" + presetId.uuidString());
}

} // namespace tilmora
