#include "shell/AppDelegate.hpp"

#include "model/LayoutStoreVesk.hpp"
#include "model/LocalizationManager.hpp"
#include "model/Settings.hpp"
#include "platform/foundation/Text.hpp"
#include "platform/ui/Button.hpp"
#include "platform/ui/MenuItem.hpp"
#include "shell/commands/ScreenChoice.hpp"
#include "snapping/RoriDeru.hpp"
#include "snapping/SnapBarController.hpp"
#include "snapping/TilingController.hpp"
#include "windows/ScreenIdentity.hpp"

#include <algorithm>
#include <functional>
#include <memory>

namespace tilmora {

namespace {

constexpr const char* selectedPresetKeyPrefix = settings::veskSelectedPresetIdPrefix;

std::string selectedPresetKey(const platform::NSScreen& screen) {
    return selectedPresetKeyPrefix + tlm_identifierString(screen);
}

/// The presets of `kind` in `presets`, in their order.
std::vector<VeskPreset> presetsOfKind(const std::vector<VeskPreset>& presets, VeskPresetKind kind) {
    std::vector<VeskPreset> result;
    for (const auto& preset : presets) {
        if (preset.kind == kind) result.push_back(preset);
    }
    return result;
}

/// Makes a submenu's items when the submenu is first about to be shown or read (an empty menu,
/// so a copy of a menu not yet filled fills itself too).
class LazyMenuFiller : public platform::ui::MenuDelegate {
public:
    explicit LazyMenuFiller(std::function<void(platform::ui::Menu&)> fill)
        : fill_(std::move(fill)) {}
    void menuNeedsUpdate(platform::ui::Menu& menu) override {
        if (menu.numberOfItems() == 0) fill_(menu);
    }

private:
    std::function<void(platform::ui::Menu&)> fill_;
};

} // namespace

std::optional<platform::UUID> AppDelegate::veskSelectedPresetId(const platform::NSScreen& screen) const {
    const auto text = defaults().stringForKey(selectedPresetKey(screen));
    if (!text) return std::nullopt;
    return platform::UUID::fromString(*text);
}

void AppDelegate::setVeskSelectedPresetId(const std::optional<platform::UUID>& presetId, const platform::NSScreen& screen) {
    if (presetId) {
        defaults().set(presetId->uuidString(), selectedPresetKey(screen));
    } else {
        // Every snap command clears the selection; only a stored one costs a write of the defaults.
        const auto key = selectedPresetKey(screen);
        if (defaults().objectForKey(key)) defaults().removeObjectForKey(key);
    }
}

void AppDelegate::clearVeskSelection(const std::vector<platform::NSScreen>& screens) {
    for (const auto& screen : screens) {
        setVeskSelectedPresetId(std::nullopt, screen);
        tilingController()->clearTransientLayout(DisplayId(tlm_identifierString(screen)));
    }
}

void AppDelegate::applyVeskPresetFromMenu(platform::ui::Responder* sender) {
    auto* item = dynamic_cast<platform::ui::MenuItem*>(sender);
    if (!item) return;
    std::optional<platform::UUID> presetId;
    std::optional<platform::NSScreen> screen;
    if (const auto* selection = std::any_cast<VeskPresetMenuSelection>(&item->representedObject)) {
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
    if (!screen) screen = screenForSnapping();
    if (!screen) screen = ScreenChoice::mainOrFirst();
    if (!screen) return;
    for (const auto& preset : veskPresets(*layoutStore(), DisplayId(tlm_identifierString(*screen)))) {
        if (preset.id == *presetId) {
            applyVeskPreset(preset, *screen);
            return;
        }
    }
}

void AppDelegate::applyVeskTilePresetFromSnapBar(platform::ui::Responder* sender) {
    auto* button = dynamic_cast<platform::ui::Button*>(sender);
    if (!button) return;
    const auto screen = screenForSnapping();
    if (!screen) return;
    const auto candidates = presetsOfKind(veskPresets(*layoutStore(), DisplayId(tlm_identifierString(*screen))),
                                          VeskPresetKind::singleTile);
    if (const auto id = platform::UUID::fromString(button->identifier)) {
        for (const auto& candidate : candidates) {
            if (candidate.id == *id) {
                applyVeskPreset(candidate, *screen);
                return;
            }
        }
    }
    if (button->tag < 0 || static_cast<std::size_t>(button->tag) >= candidates.size()) return;
    applyVeskPreset(candidates[static_cast<std::size_t>(button->tag)], *screen);
}

void AppDelegate::applyVeskPreset(const VeskPreset& preset, const platform::NSScreen& screen) {
    auto& grid = roriDeru();
    const DisplayId displayId(tlm_identifierString(screen));
    if (veskSelectedPresetId(screen) == preset.id) {
        setVeskSelectedPresetId(std::nullopt, screen);
        tilingController()->clearTransientLayout(displayId);
        grid.setSelectedKind(std::nullopt, screen);
        grid.setMarkGridPresetInMenu(false, screen);
        if (snapBarController_) snapBarController_->refreshSelectionHighlight();
        rebuildStatusMenu();
        return;
    }
    setVeskSelectedPresetId(preset.id, screen);
    Layout layout{LayoutId(platform::UUID()), preset.name, displayId, {}};
    layout.tiles.reserve(preset.tiles.size());
    for (const auto& tile : preset.tiles) {
        layout.tiles.push_back(Tile{TileId(platform::UUID()), displayId, tile.normalisedRect, tile.name});
    }
    tilingController()->setTransientLayout(layout, displayId);
    if (preset.tiles.empty()) return;
    applyVeskTile(preset.tiles.front(), screen);
    grid.setSelectedKind(std::nullopt, screen);
    grid.setMarkGridPresetInMenu(false, screen);
    if (snapBarController_) snapBarController_->refreshSelectionHighlight();
    rebuildStatusMenu();
}

void AppDelegate::applyVeskTile(const VeskTile& tile, const platform::NSScreen& screen) {
    auto& grid = roriDeru();
    const auto front = grid.frontmostWindowKeyAndRect();
    if (!front) return;
    windowRects_.record(front->key, front->rect);
    // The tile's fractions are measured from the top-left corner, y down.
    const auto v = screen.visibleFrame();
    const Rect& t = tile.normalisedRect;
    windowMover().moveFrontmostWindow({v.minX() + t.x * v.width(), v.maxY() - t.y * v.height() - t.height * v.height(),
                                       t.width * v.width(), t.height * v.height()});
    grid.activateSnap(screen);
}

std::shared_ptr<const std::vector<Layout>> AppDelegate::layoutsForMenu() {
    auto store = layoutStore();
    // Only a store that owns a file can tell whether its layouts changed.
    const auto* file = dynamic_cast<const DefaultLayoutStore*>(store->store().get());
    const auto stamp = file ? platform::FileStamp::of(file->url()) : std::nullopt;
    if (stamp && menuLayouts_ && menuLayouts_->store == file && menuLayouts_->stamp.settled &&
        menuLayouts_->stamp.sameAs(*stamp))
        return menuLayouts_->layouts;
    menuLayouts_.reset();
    std::vector<Layout> layouts;
    try {
        layouts = store->allLayouts();
    } catch (const std::exception&) {
        return std::make_shared<const std::vector<Layout>>();
    }
    auto read = std::make_shared<const std::vector<Layout>>(std::move(layouts));
    if (stamp) menuLayouts_ = MenuLayouts{file, *stamp, read};
    return read;
}

void AppDelegate::addVeskPresetMenuSection(platform::ui::Menu& menu, const std::optional<platform::NSScreen>& preferred) {
    auto screen = preferred;
    if (!screen) screen = screenForSnapping();
    if (!screen) return;
    const std::string displayKey = tlm_identifierString(*screen);
    // The section shows when the display has a preset at all; its items are made only when the
    // submenu opens, so that a build of the menu (every snap) costs the same however many layouts
    // the display has.
    const auto layouts = layoutsForMenu();
    const DisplayId display(displayKey);
    if (std::none_of(layouts->begin(), layouts->end(), [&](const Layout& layout) { return layout.displayId == display; }))
        return;

    auto& texts = LocalizationManager::shared();
    auto submenu = platform::ui::Menu::make(texts.localizedString("menu.customLayouts"));
    submenu->autoenablesItems = false;
    auto filler = std::make_shared<LazyMenuFiller>(
        [weakSelf = weak(), displayKey, screen = *screen](platform::ui::Menu& into) {
            if (auto self = weakSelf.lock()) self->fillVeskPresetMenu(into, screen, displayKey);
        });
    submenu->setDelegate(filler);

    menu.addItem(platform::ui::MenuItem::separatorItem());
    auto section = platform::ui::MenuItem::make(texts.localizedString("menu.customLayouts"));
    section->setSubmenu(submenu);
    // The menu holds its delegate weakly: the section's item keeps the filler as long as it lives.
    section->representedObject = std::shared_ptr<platform::ui::MenuDelegate>(filler);
    menu.addItem(section);
}

void AppDelegate::fillVeskPresetMenu(platform::ui::Menu& submenu, const platform::NSScreen& screen,
                                     const std::string& displayKey) {
    const auto presets = veskPresets(*layoutsForMenu(), DisplayId(displayKey));
    auto singles = presetsOfKind(presets, VeskPresetKind::singleTile);
    auto grids = presetsOfKind(presets, VeskPresetKind::grid);

    const auto byName = [](const VeskPreset& a, const VeskPreset& b) {
        return platform::Text::localizedCaseInsensitiveCompare(a.name, b.name) < 0;
    };
    std::stable_sort(singles.begin(), singles.end(), byName);
    std::stable_sort(grids.begin(), grids.end(), byName);

    auto& texts = LocalizationManager::shared();
    const auto addHeader = [&](const std::string& key) {
        auto header = platform::ui::MenuItem::make(texts.localizedString(key));
        header->isEnabled = false;
        submenu.addItem(header);
    };
    const auto selected = veskSelectedPresetId(screen);
    const auto addPresets = [&](const std::vector<VeskPreset>& list) {
        for (const auto& preset : list) {
            auto item = platform::ui::MenuItem::make(preset.name, "applyVeskPresetFromMenu:");
            item->setTarget(strong());
            item->representedObject = VeskPresetMenuSelection{preset.id, displayKey};
            item->state = selected == preset.id ? 1 : 0;
            submenu.addItem(item);
        }
    };
    if (!singles.empty()) {
        addHeader("menu.customLayouts.singleTiles");
        addPresets(singles);
    }
    if (!singles.empty() && !grids.empty()) submenu.addItem(platform::ui::MenuItem::separatorItem());
    if (!grids.empty()) {
        addHeader("menu.customLayouts.grids");
        addPresets(grids);
    }
}

} // namespace tilmora
