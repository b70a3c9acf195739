#include "shell/commands/EditorWindowCommands.hpp"

#include "model/LayoutStoreVesk.hpp"
#include "model/LocalizationManager.hpp"
#include "platform/foundation/Text.hpp"
#include "platform/input/NSEvent.hpp"
#include "platform/ui/Window.hpp"
#include "shell/EditorWindowHooks.hpp"
#include "snapping/RoriDeru.hpp"
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

} // namespace

void EditorWindowCommands::openLayoutEditor() {
    if (c_.layoutEditor) {
        if (const auto& window = c_.layoutEditor->window()) {
            window->setContentSize({720, 560});
            window->minSize = {700, 520};
        }
        c_.layoutEditor->showWindow(nullptr);
        if (const auto& window = c_.layoutEditor->window()) window->makeKeyAndOrderFront();
        return;
    }
    const auto screen = platform::NSScreen::main();
    if (!screen) return;
    const auto descriptors = EditorWindowHooks::current().displayDescriptors({*screen});
    if (descriptors.empty()) return;

    const EditorWindowHooks::LayoutEditorRequest request{descriptors.front(), c_.layouts(), c_.profiles,
                                                         &c_.profileController(),
                                                         std::make_shared<SystemDisplayProvider>(),
                                                         editorWindowTitle(*screen)};

    auto window = std::make_shared<platform::ui::Window>(platform::ui::Rect{0, 0, 720, 560}, editorStyleMask,
                                                         platform::ui::BackingStore::buffered, false);
    window->setContentViewController(EditorWindowHooks::current().layoutEditor(request));
    window->title = request.windowTitle;
    window->minSize = {700, 520};
    window->center();
    c_.layoutEditor = std::make_shared<platform::ui::WindowController>(window);
    c_.layoutEditor->showWindow(nullptr);
}

void EditorWindowCommands::openVeskLayoutEditor() {
    auto& grid = c_.grid;
    grid.clearAllRectSelections();
    grid.clearGridPresetMarking(true);

    if (c_.presetEditor) {
        if (const auto& window = c_.presetEditor->window()) {
            window->setContentSize({1100, 720});
            window->minSize = {960, 600};
            c_.presetEditor->showWindow(nullptr);
            window->makeKeyAndOrderFront();
        } else {
            c_.presetEditor->showWindow(nullptr);
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
    request.presets = veskPresets(*c_.layouts(), DisplayId(displayId));
    request.displayId = displayId;
    request.displayName = screen->localizedName();
    request.previewAspectRatio = visible.height() > 0 ? visible.width() / visible.height() : 16.0 / 9.0;
    request.windowTitle = editorWindowTitle(*screen);

    request.onSavePreset = [layouts = c_.layouts, changed = c_.presetsChanged, displayId](const VeskPreset& preset) {
        auto store = layouts();
        if (!store) return;
        saveVeskPreset(*store, preset, DisplayId(displayId));
        changed();
    };
    request.onDeletePreset = [layouts = c_.layouts, forget = c_.forgetIfSelected, changed = c_.presetsChanged,
                              editedScreen = *screen](const platform::UUID& presetId) {
        auto store = layouts();
        if (!store) return;
        deleteVeskPreset(*store, presetId);
        forget(presetId, editedScreen);
        changed();
    };

    auto window = std::make_shared<platform::ui::Window>(platform::ui::Rect{0, 0, 1100, 720}, editorStyleMask,
                                                         platform::ui::BackingStore::buffered, false);
    // The editor's panels are black: its texts are drawn in the dark appearance's colours, so that
    // the primary and secondary texts read on them.
    window->setAppearance(platform::ui::Appearance::darkAqua);
    window->setContentViewController(EditorWindowHooks::current().presetEditor(request));
    window->title = request.windowTitle;
    window->setContentSize({1100, 720});
    window->minSize = {960, 600};
    window->setFrame({visible.midX() - 550, visible.midY() - 360, 1100, 720}, false);
    c_.presetEditor = std::make_shared<platform::ui::WindowController>(window);
    c_.presetEditor->showWindow(nullptr);
}

} // namespace tilmora
