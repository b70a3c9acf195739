#include "shell/commands/VeskPresetCommands.hpp"

#include "model/LayoutStoreVesk.hpp"
#include "model/Settings.hpp"
#include "platform/ui/Button.hpp"
#include "platform/ui/MenuItem.hpp"
#include "shell/commands/ScreenChoice.hpp"
#include "snapping/RoriDeru.hpp"
#include "snapping/TilingController.hpp"
#include "windows/ScreenIdentity.hpp"

#include <any>

namespace tilmora {

namespace {

std::string selectedPresetKey(const platform::NSScreen& screen) {
    return settings::veskSelectedPresetIdPrefix + tlm_identifierString(screen);
}

DisplayId displayOf(const platform::NSScreen& screen) { return DisplayId(tlm_identifierString(screen)); }

} // namespace

std::optional<platform::UUID> VeskPresetCommands::selectedPresetId(const platform::UserDefaults& defaults,
                                                                   const platform::NSScreen& screen) {
    const auto text = defaults.stringForKey(selectedPresetKey(screen));
    if (!text) return std::nullopt;
    return platform::UUID::fromString(*text);
}

std::vector<VeskPreset> VeskPresetCommands::singleTilePresets(LayoutStore& store, const platform::NSScreen& screen) {
    std::vector<VeskPreset> tiles;
    for (auto& preset : veskPresets(store, displayOf(screen))) {
        if (preset.kind == VeskPresetKind::singleTile) tiles.push_back(std::move(preset));
    }
    return tiles;
}

void VeskPresetCommands::setSelectedPresetId(const std::optional<platform::UUID>& presetId, const platform::NSScreen& screen) {
    if (presetId) {
        c_.defaults.set(presetId->uuidString(), selectedPresetKey(screen));
    } else {
        // Every snap command clears the selection; only a stored one costs a write of the defaults.
        const auto key = selectedPresetKey(screen);
        if (c_.defaults.objectForKey(key)) c_.defaults.removeObjectForKey(key);
    }
}

void VeskPresetCommands::clearSelection(const std::vector<platform::NSScreen>& screens) {
    for (const auto& screen : screens) {
        setSelectedPresetId(std::nullopt, screen);
        c_.tiling()->clearTransientLayout(displayOf(screen));
    }
}

void VeskPresetCommands::applyFromMenu(platform::ui::Responder* sender) {
    auto* item = dynamic_cast<platform::ui::MenuItem*>(sender);
    if (!item) return;
    std::optional<platform::UUID> presetId;
    std::optional<platform::NSScreen> screen;
    if (const auto* selection = std::any_cast<MenuSelection>(&item->representedObject)) {
        presetId = selection->presetId;
        for (const auto& candidate : platform::NSScreen::screens()) {
            if (tlm_identifierString(candidate) == selection->displayId) {
                screen = candidate;
                break;
            }
        }
    } else if (const auto* bareId = std::any_cast<platform::UUID>(&item->representedObject)) {
        presetId = *bareId;
    } else {
        return;
    }
    if (!screen) screen = ScreenChoice(c_.grid, c_.defaults).forSnapping();
    if (!screen) screen = ScreenChoice::mainOrFirst();
    if (!screen) return;
    for (const auto& preset : veskPresets(*c_.layouts(), displayOf(*screen))) {
        if (preset.id == *presetId) {
            apply(preset, *screen);
            return;
        }
    }
}

void VeskPresetCommands::applyTileFromSnapBar(platform::ui::Responder* sender) {
    auto* button = dynamic_cast<platform::ui::Button*>(sender);
    if (!button) return;
    const auto screen = ScreenChoice(c_.grid, c_.defaults).forSnapping();
    if (!screen) return;
    const auto candidates = singleTilePresets(*c_.layouts(), *screen);
    if (const auto id = platform::UUID::fromString(button->identifier)) {
        for (const auto& candidate : candidates) {
            if (candidate.id == *id) {
                apply(candidate, *screen);
                return;
            }
        }
    }
    if (button->tag < 0 || static_cast<std::size_t>(button->tag) >= candidates.size()) return;
    apply(candidates[static_cast<std::size_t>(button->tag)], *screen);
}

void VeskPresetCommands::apply(const VeskPreset& preset, const platform::NSScreen& screen) {
    if (selectedPresetId(c_.defaults, screen) == preset.id) {
        clearSelection({screen});
    } else {
        setSelectedPresetId(preset.id, screen);
        const DisplayId displayId = displayOf(screen);
        Layout layout{LayoutId(platform::UUID()), preset.name, displayId, {}};
        layout.tiles.reserve(preset.tiles.size());
        for (const auto& tile : preset.tiles) {
            layout.tiles.push_back(Tile{TileId(platform::UUID()), displayId, tile.normalisedRect, tile.name});
        }
        c_.tiling()->setTransientLayout(layout, displayId);
        if (preset.tiles.empty()) return;
        applyTile(preset.tiles.front(), screen);
    }
    c_.grid.setSelectedKind(std::nullopt, screen);
    c_.grid.setMarkGridPresetInMenu(false, screen);
    c_.refreshSnapBarSelection();
    c_.rebuildStatusMenu();
}

void VeskPresetCommands::applyTile(const VeskTile& tile, const platform::NSScreen& screen) {
    auto& grid = c_.grid;
    const auto front = grid.frontmostWindowKeyAndRect();
    if (!front) return;
    c_.rects.record(front->key, front->rect);
    // The tile's fractions are measured from the top-left corner, y down.
    const auto v = screen.visibleFrame();
    const Rect& t = tile.normalisedRect;
    c_.mover.moveFrontmostWindow({v.minX() + t.x * v.width(), v.maxY() - t.y * v.height() - t.height * v.height(),
                                  t.width * v.width(), t.height * v.height()});
    grid.activateSnap(screen);
}

void VeskPresetCommands::forgetIfSelected(const platform::UUID& presetId, const platform::NSScreen& screen) {
    if (selectedPresetId(c_.defaults, screen) == presetId) clearSelection({screen});
}

} // namespace tilmora
