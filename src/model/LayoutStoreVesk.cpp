#include "model/LayoutStoreVesk.hpp"

#include "model/LocalizationManager.hpp"
#include "model/Log.hpp"

#include "platform/foundation/UserDefaults.hpp"

#include <algorithm>
#include <cstdint>
#include <unordered_set>

namespace tilmora {

namespace {

// Decodes one UTF-8 code point at `i` (advancing it); a malformed byte reads as itself.
std::uint32_t nextCodePoint(std::string_view text, std::size_t& i) {
    auto byte = [&](std::size_t k) { return static_cast<unsigned char>(text[k]); };
    unsigned char lead = byte(i);
    int length = lead < 0x80           ? 1
                 : (lead >> 5) == 0x6  ? 2
                 : (lead >> 4) == 0xE  ? 3
                 : (lead >> 3) == 0x1E ? 4
                                       : 0;
    if (length <= 1 || i + static_cast<std::size_t>(length) > text.size()) {
        ++i;
        return lead;
    }
    std::uint32_t cp = lead & (0x7F >> length);
    for (int k = 1; k < length; ++k) {
        unsigned char next = byte(i + static_cast<std::size_t>(k));
        if ((next & 0xC0) != 0x80) {
            ++i;
            return lead;
        }
        cp = (cp << 6) | (next & 0x3F);
    }
    i += static_cast<std::size_t>(length);
    return cp;
}

std::uint32_t folded(std::uint32_t cp) {
    if (cp >= 'A' && cp <= 'Z') return cp + 0x20;
    if (cp >= 0xC0 && cp <= 0xDE && cp != 0xD7) return cp + 0x20;
    return cp;
}

} // namespace

int caseInsensitiveCompare(std::string_view a, std::string_view b) {
    std::size_t i = 0;
    std::size_t j = 0;
    while (i < a.size() && j < b.size()) {
        std::uint32_t x = folded(nextCodePoint(a, i));
        std::uint32_t y = folded(nextCodePoint(b, j));
        if (x != y) return x < y ? -1 : 1;
    }
    if (i < a.size()) return 1;
    if (j < b.size()) return -1;
    return 0;
}

bool veskVerboseEnabled() {
    auto& defaults = platform::UserDefaults::standard();
    return defaults.objectForKey("WMVerboseLogging").has_value() && defaults.boolForKey("WMVerboseLogging");
}

void veskLog(const std::string& message) {
    if (veskVerboseEnabled()) print("[VESK][STORE] " + message);
}

VeskPreset toVeskPreset(const Layout& layout) {
    std::vector<VeskTile> tiles;
    tiles.reserve(layout.tiles.size());
    for (const Tile& tile : layout.tiles) {
        std::string name =
            tile.label ? *tile.label
                       : LocalizationManager::shared().localizedString("layoutEditor.tile.defaultName");
        tiles.push_back(VeskTile{platform::UUID(), std::move(name), tile.normalizedFrame});
    }
    VeskPresetKind kind = layout.tiles.size() == 1 ? VeskPresetKind::singleTile : VeskPresetKind::grid;
    return VeskPreset{layout.id.rawValue, layout.name, kind, layout.displayId.rawValue, std::move(tiles), 0};
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
    std::vector<Layout> matching;
    for (Layout& layout : all) {
        if (layout.displayId.rawValue == displayId.rawValue) matching.push_back(std::move(layout));
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
    for (const Layout* layout : kept)
        presets.push_back(toVeskPreset(*layout));

    std::stable_sort(presets.begin(), presets.end(), [](const VeskPreset& a, const VeskPreset& b) {
        int order = caseInsensitiveCompare(a.name, b.name);
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
