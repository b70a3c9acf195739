#include "shell/AppDelegate.hpp"

#include "model/LayoutStoreVesk.hpp"
#include "platform/dispatch/DispatchQueue.hpp"
#include "shell/commands/EditorWindowCommands.hpp"
#include "shell/commands/SwitchCommands.hpp"
#include "shell/commands/VeskPresetCommands.hpp"
#include "snapping/SnapBarController.hpp"
#include "snapping/TilingController.hpp"

namespace tilmora {

// The narrow contexts the shell's commands run over, built from the shell's components for one
// command. Hooks that run later hold the shell weakly and do nothing once it is gone.

WindowCommandContext AppDelegate::windowCommandContext() {
    return {
        roriDeru(),
        windowMover(),
        defaults(),
        displayLayoutStore(),
        windowRects_,
        [this] { rebuildStatusMenu(); },
        [this] { refreshSnapBarSelection(); },
        [this](const std::vector<platform::NSScreen>& screens) { clearVeskSelection(screens); },
    };
}

VeskPresetContext AppDelegate::veskPresetContext() {
    return {
        roriDeru(),
        windowMover(),
        defaults(),
        windowRects_,
        [this] { return layoutStore(); },
        [this] { return tilingController(); },
        [this] { rebuildStatusMenu(); },
        [this] { refreshSnapBarSelection(); },
    };
}

SwitchContext AppDelegate::switchContext() {
    return {
        roriDeru(),
        defaults(),
        snapBarController_,
        [weakSelf = weak()](const platform::NSScreen& screen) {
            auto self = weakSelf.lock();
            return self ? VeskPresetCommands::singleTilePresets(*self->layoutStore(), screen) : std::vector<VeskPreset>();
        },
        strong(),
        [this] { rebuildStatusMenu(); },
        [this](const std::vector<platform::NSScreen>& screens) { clearVeskSelection(screens); },
    };
}

EditorWindowContext AppDelegate::editorWindowContext() {
    const std::weak_ptr<AppDelegate> weakSelf = weak();
    return {
        roriDeru(),
        layoutEditorWindowController_,
        veskLayoutWindowController_,
        profileStore_,
        [this]() -> ProfileController& { return profileController(); },
        [weakSelf]() -> std::shared_ptr<LayoutStore> {
            auto self = weakSelf.lock();
            return self ? self->layoutStore() : nullptr;
        },
        [weakSelf](const platform::UUID& presetId, const platform::NSScreen& screen) {
            if (auto self = weakSelf.lock()) VeskPresetCommands(self->veskPresetContext()).forgetIfSelected(presetId, screen);
        },
        // The menu and the bar's preset buttons follow on the next turn, while the shell lives.
        [weakSelf] {
            platform::DispatchQueue::main().async([weakSelf] {
                auto self = weakSelf.lock();
                if (!self) return;
                self->rebuildStatusMenu();
                if (self->snapBarController()) self->snapBarController()->refreshVeskPresetButtons();
            });
        },
    };
}

} // namespace tilmora
