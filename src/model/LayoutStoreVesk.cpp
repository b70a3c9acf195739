#include "model/LayoutStoreVesk.hpp"

#include "model/LocalizationManager.hpp"
#include "model/Log.hpp"

#include "platform/foundation/UserDefaults.hpp"

#include <algorithm>
#include <cstdint>
#include <unordered_set>
#include <utility>
#include <vector>

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

// The weight of one character in a name comparison: the groups order blanks, then punctuation
// and symbols, then digits, then letters, then every other script; `primary` orders within a
// group and ignores case and accents; `secondary` tells apart letters that differ only by accent.
struct Weight {
    int group = 0;
    std::uint32_t primary = 0;
    std::uint32_t secondary = 0;
};

// ASCII punctuation and symbols in the order a locale's collation gives them.
constexpr std::string_view kPunctuationOrder = "_-,;:!?.'\"()[]{}@*/\\&#%`^+<=>|~$";

// The base letter of each Latin-1 letter from U+00C0 to U+00FF (0 for the two signs among them).
constexpr char kLatin1Base[] = "aaaaaaaceeeeiiiidnooooo\0ouuuuy\x7Fs"
                               "aaaaaaaceeeeiiiidnooooo\0ouuuuy\x7Fy";
static_assert(sizeof kLatin1Base == 0x40 + 1);

Weight weightOf(std::uint32_t cp) {
    if (cp <= 0x20 || (cp >= 0x7F && cp <= 0xA0)) return {0, cp, 0};
    if (cp >= '0' && cp <= '9') return {2, cp, 0};
    if (cp >= 'A' && cp <= 'Z') return {3, cp + 0x20, 0};
    if (cp >= 'a' && cp <= 'z') return {3, cp, 0};
    if (cp < 0x80) return {1, static_cast<std::uint32_t>(kPunctuationOrder.find(static_cast<char>(cp))), 0};
    if (cp >= 0xC0 && cp <= 0xFF && kLatin1Base[cp - 0xC0] != '\0') {
        // Thorn sorts after z; every other letter with its base letter, the accent second.
        const std::uint32_t folded = cp <= 0xDE ? cp + 0x20 : cp;
        return {3, static_cast<unsigned char>(kLatin1Base[cp - 0xC0]), folded};
    }
    if (cp < 0xC0 || cp == 0xD7 || cp == 0xF7) return {1, 0x100 + cp, 0};
    return {4, cp, 0};
}

std::vector<Weight> weightsOf(std::string_view text) {
    std::vector<Weight> weights;
    for (std::size_t i = 0; i < text.size();)
        weights.push_back(weightOf(nextCodePoint(text, i)));
    return weights;
}

} // namespace

int caseInsensitiveCompare(std::string_view a, std::string_view b) {
    const std::vector<Weight> x = weightsOf(a);
    const std::vector<Weight> y = weightsOf(b);
    auto compareBy = [&](auto key) {
        for (std::size_t i = 0; i < x.size() && i < y.size(); ++i) {
            auto kx = key(x[i]);
            auto ky = key(y[i]);
            if (kx != ky) return kx < ky ? -1 : 1;
        }
        return x.size() == y.size() ? 0 : (x.size() < y.size() ? -1 : 1);
    };
    if (int order = compareBy([](const Weight& w) { return std::pair(w.group, w.primary); }); order != 0)
        return order;
    return compareBy([](const Weight& w) { return w.secondary; });
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
