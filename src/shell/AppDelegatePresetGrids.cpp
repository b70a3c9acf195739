#include "shell/AppDelegate.hpp"

#include "shell/commands/VeskPresetCommands.hpp"

namespace tilmora {

// The preset grids per display: the commands of `VeskPresetCommands` and the menu section of
// `VeskPresetMenu`.

std::optional<platform::UUID> AppDelegate::veskSelectedPresetId(const platform::NSScreen& screen) const {
    return VeskPresetCommands::selectedPresetId(defaults(), screen);
}

void AppDelegate::setVeskSelectedPresetId(const std::optional<platform::UUID>& presetId, const platform::NSScreen& screen) {
    VeskPresetCommands(veskPresetContext()).setSelectedPresetId(presetId, screen);
}

void AppDelegate::clearVeskSelection(const std::vector<platform::NSScreen>& screens) {
    VeskPresetCommands(veskPresetContext()).clearSelection(screens);
}

void AppDelegate::applyVeskPresetFromMenu(platform::ui::Responder* sender) {
    VeskPresetCommands(veskPresetContext()).applyFromMenu(sender);
}

void AppDelegate::applyVeskTilePresetFromSnapBar(platform::ui::Responder* sender) {
    VeskPresetCommands(veskPresetContext()).applyTileFromSnapBar(sender);
}

void AppDelegate::applyVeskPreset(const VeskPreset& preset, const platform::NSScreen& screen) {
    VeskPresetCommands(veskPresetContext()).apply(preset, screen);
}

void AppDelegate::applyVeskTile(const VeskTile& tile, const platform::NSScreen& screen) {
    VeskPresetCommands(veskPresetContext()).applyTile(tile, screen);
}

void AppDelegate::addVeskPresetMenuSection(platform::ui::Menu& menu, const std::optional<platform::NSScreen>& screen) {
    veskPresetMenu_.addSection(menu, screen ? screen : screenForSnapping());
}

} // namespace tilmora
