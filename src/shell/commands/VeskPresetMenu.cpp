#include "shell/commands/VeskPresetMenu.hpp"

#include "model/DefaultLayoutStore.hpp"
#include "model/LayoutStoreVesk.hpp"
#include "model/LocalizationManager.hpp"
#include "platform/foundation/FileStamp.hpp"
#include "platform/foundation/LocalizedOrder.hpp"
#include "platform/ui/MenuItem.hpp"
#include "shell/commands/VeskPresetCommands.hpp"
#include "windows/ScreenIdentity.hpp"

#include <algorithm>
#include <utility>

namespace tilmora {

namespace {

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

struct VeskPresetMenu::State {
    std::function<std::shared_ptr<ProfileAwareLayoutStore>()> layouts;
    std::function<std::shared_ptr<platform::ui::Responder>()> target;
    platform::UserDefaults& defaults;
    /// The layouts read last, with the stamp of the layout file they came from.
    struct Read {
        const LayoutStore* store = nullptr;
        platform::FileStamp stamp;
        std::shared_ptr<const std::vector<Layout>> layouts;
    };
    std::optional<Read> read_;

    std::shared_ptr<const std::vector<Layout>> layoutsForMenu();
    /// The items of the display `displayKey`.
    void fill(platform::ui::Menu& submenu, const platform::NSScreen& screen, const std::string& displayKey);
};

VeskPresetMenu::VeskPresetMenu(std::function<std::shared_ptr<ProfileAwareLayoutStore>()> layouts,
                               std::function<std::shared_ptr<platform::ui::Responder>()> target,
                               platform::UserDefaults& defaults)
    : state_(std::make_shared<State>(State{std::move(layouts), std::move(target), defaults, std::nullopt})) {}

std::shared_ptr<const std::vector<Layout>> VeskPresetMenu::layoutsForMenu() { return state_->layoutsForMenu(); }

std::shared_ptr<const std::vector<Layout>> VeskPresetMenu::State::layoutsForMenu() {
    auto store = layouts();
    // Only a store that owns a file can tell whether its layouts changed.
    const auto* file = dynamic_cast<const DefaultLayoutStore*>(store->store().get());
    const auto stamp = file ? platform::FileStamp::of(file->url()) : std::nullopt;
    if (stamp && read_ && read_->store == file && read_->stamp.settled &&
        read_->stamp.sameAs(*stamp))
        return read_->layouts;
    read_.reset();
    std::vector<Layout> layouts;
    try {
        layouts = store->allLayouts();
    } catch (const std::exception&) {
        return std::make_shared<const std::vector<Layout>>();
    }
    auto read = std::make_shared<const std::vector<Layout>>(std::move(layouts));
    if (stamp) read_ = Read{file, *stamp, read};
    return read;
}

void VeskPresetMenu::addSection(platform::ui::Menu& menu, const std::optional<platform::NSScreen>& screen) {
    if (!screen) return;
    const std::string displayKey = tlm_identifierString(*screen);
    // The section shows when the display has a preset at all; its items are made only when the
    // submenu opens, so that a build of the menu (every snap) costs the same however many layouts
    // the display has.
    const auto layouts = state_->layoutsForMenu();
    const DisplayId display(displayKey);
    if (std::none_of(layouts->begin(), layouts->end(), [&](const Layout& layout) { return layout.displayId == display; }))
        return;

    auto& texts = LocalizationManager::shared();
    auto submenu = platform::ui::Menu::make(texts.localizedString("menu.customLayouts"));
    submenu->autoenablesItems = false;
    auto filler = std::make_shared<LazyMenuFiller>(
        [weakState = std::weak_ptr<State>(state_), displayKey, screen = *screen](platform::ui::Menu& into) {
            if (auto state = weakState.lock()) state->fill(into, screen, displayKey);
        });
    submenu->setDelegate(filler);

    menu.addItem(platform::ui::MenuItem::separatorItem());
    auto section = platform::ui::MenuItem::make(texts.localizedString("menu.customLayouts"));
    section->setSubmenu(submenu);
    // The menu holds its delegate weakly: the section's item keeps the filler as long as it lives.
    section->representedObject = std::shared_ptr<platform::ui::MenuDelegate>(filler);
    menu.addItem(section);
}

void VeskPresetMenu::State::fill(platform::ui::Menu& submenu, const platform::NSScreen& screen,
                                 const std::string& displayKey) {
    const auto presets = veskPresets(*layoutsForMenu(), DisplayId(displayKey));
    auto singles = presetsOfKind(presets, VeskPresetKind::singleTile);
    auto grids = presetsOfKind(presets, VeskPresetKind::grid);

    const platform::Text::LocalizedOrder order;
    const auto byName = [&order](const VeskPreset& a, const VeskPreset& b) { return order(a.name, b.name); };
    std::stable_sort(singles.begin(), singles.end(), byName);
    std::stable_sort(grids.begin(), grids.end(), byName);

    auto& texts = LocalizationManager::shared();
    const auto addHeader = [&](const std::string& key) {
        auto header = platform::ui::MenuItem::make(texts.localizedString(key));
        header->isEnabled = false;
        submenu.addItem(header);
    };
    const auto selected = VeskPresetCommands::selectedPresetId(defaults, screen);
    const auto addPresets = [&](const std::vector<VeskPreset>& list) {
        for (const auto& preset : list) {
            auto item = platform::ui::MenuItem::make(preset.name, "applyVeskPresetFromMenu:");
            item->setTarget(target());
            item->representedObject = VeskPresetCommands::MenuSelection{preset.id, displayKey};
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
