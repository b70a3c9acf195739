#include "shell/AppDelegate.hpp"

#include "model/LayoutStoreVesk.hpp"
#include "model/LocalizationManager.hpp"
#include "platform/dispatch/DispatchQueue.hpp"
#include "platform/foundation/Text.hpp"
#include "platform/input/NSEvent.hpp"
#include "shell/EditorWindowHooks.hpp"
#include "snapping/RoriDeru.hpp"
#include "snapping/SnapBarController.hpp"
#include "snapping/TilingController.hpp"
#include "windows/ScreenIdentity.hpp"
#include "windows/SystemDisplayProvider.hpp"

namespace tilmora {

namespace {

constexpr unsigned editorStyleMask = platform::ui::StyleMask::titled | platform::ui::StyleMask::closable |
                                     platform::ui::StyleMask::miniaturizable | platform::ui::StyleMask::resizable;

std::string editorWindowTitle(const platform::NSScreen& screen) {
    return platform::Text::format(LocalizationManager::shared().localizedString("window.layoutEditor.titleFormat"),
                                  {screen.localizedName()});
}

/// Rebuilds the status menu and refreshes the snap bar's preset buttons on the next main-queue
/// turn, while the shell lives.
void refreshPresetViewsLater(const std::weak_ptr<AppDelegate>& weakShell) {
    platform::DispatchQueue::main().async([weakShell] {
        auto shell = weakShell.lock();
        if (!shell) return;
        shell->rebuildStatusMenu();
        if (shell->snapBarController()) shell->snapBarController()->refreshVeskPresetButtons();
    });
}

} // namespace

void AppDelegate::openLayoutEditor(platform::ui::Responder*) {
    if (layoutEditorWindowController_) {
        if (const auto& window = layoutEditorWindowController_->window()) {
            window->setContentSize({720, 560});
            window->minSize = {700, 520};
        }
        layoutEditorWindowController_->showWindow(nullptr);
        if (const auto& window = layoutEditorWindowController_->window()) window->makeKeyAndOrderFront();
        return;
    }
    const auto screen = platform::NSScreen::main();
    if (!screen) return;
    const auto descriptors = EditorWindowHooks::current().displayDescriptors({*screen});
    if (descriptors.empty()) return;

    const EditorWindowHooks::LayoutEditorRequest request{descriptors.front(), layoutStore(), profileStore_,
                                                         &profileController(),
                                                         std::make_shared<SystemDisplayProvider>(),
                                                         editorWindowTitle(*screen)};

    auto window = std::make_shared<platform::ui::Window>(platform::ui::Rect{0, 0, 720, 560}, editorStyleMask,
                                                         platform::ui::BackingStore::buffered, false);
    window->setContentViewController(EditorWindowHooks::current().layoutEditor(request));
    window->title = request.windowTitle;
    window->minSize = {700, 520};
    window->center();
    layoutEditorWindowController_ = std::make_shared<platform::ui::WindowController>(window);
    layoutEditorWindowController_->showWindow(nullptr);
}

void AppDelegate::openVeskLayoutEditor(platform::ui::Responder*) {
    auto& grid = roriDeru();
    grid.clearAllRectSelections();
    grid.clearGridPresetMarking(true);

    if (veskLayoutWindowController_) {
        if (const auto& window = veskLayoutWindowController_->window()) {
            window->setContentSize({1100, 720});
            window->minSize = {960, 600};
            veskLayoutWindowController_->showWindow(nullptr);
            window->makeKeyAndOrderFront();
        } else {
            veskLayoutWindowController_->showWindow(nullptr);
        }
        return;
    }

    std::optional<platform::NSScreen> screen;
    const auto mouse = platform::NSEvent::mouseLocation();
    for (const auto& candidate : platform::NSScreen::screens()) {
        if (candidate.frame().contains(mouse)) {
            screen = candidate;
            break;
        }
    }
    if (!screen) screen = platform::NSScreen::main();
    if (!screen) return;

    const std::string displayId = tlm_identifierString(*screen);
    const auto visible = screen->visibleFrame();

    EditorWindowHooks::PresetEditorRequest request;
    request.presets = veskPresets(*layoutStore(), DisplayId(displayId));
    request.displayId = displayId;
    request.displayName = screen->localizedName();
    request.previewAspectRatio = visible.height() > 0 ? visible.width() / visible.height() : 16.0 / 9.0;
    request.windowTitle = editorWindowTitle(*screen);

    const std::weak_ptr<AppDelegate> weakSelf = weak();
    request.onSavePreset = [weakSelf, displayId](const VeskPreset& preset) {
        auto self = weakSelf.lock();
        if (!self) return;
        saveVeskPreset(*self->layoutStore(), preset, DisplayId(displayId));
        refreshPresetViewsLater(weakSelf);
    };
    const auto editedScreen = *screen;
    request.onDeletePreset = [weakSelf, displayId, editedScreen](const platform::UUID& presetId) {
        auto self = weakSelf.lock();
        if (!self) return;
        deleteVeskPreset(*self->layoutStore(), presetId);
        if (self->veskSelectedPresetId(editedScreen) == presetId) {
            self->setVeskSelectedPresetId(std::nullopt, editedScreen);
            self->tilingController()->clearTransientLayout(DisplayId(displayId));
        }
        refreshPresetViewsLater(weakSelf);
    };

    auto window = std::make_shared<platform::ui::Window>(platform::ui::Rect{0, 0, 1100, 720}, editorStyleMask,
                                                         platform::ui::BackingStore::buffered, false);
    window->setContentViewController(EditorWindowHooks::current().presetEditor(request));
    window->title = request.windowTitle;
    window->setContentSize({1100, 720});
    window->minSize = {960, 600};
    window->setFrame({visible.midX() - 550, visible.midY() - 360, 1100, 720}, false);
    veskLayoutWindowController_ = std::make_shared<platform::ui::WindowController>(window);
    veskLayoutWindowController_->showWindow(nullptr);
}

} // namespace tilmora
