#pragma once

#include "model/LayoutStore.hpp"
#include "model/ProfileController.hpp"
#include "model/ProfileStore.hpp"
#include "platform/desktop/NSScreen.hpp"
#include "platform/foundation/Uuid.hpp"
#include "platform/ui/ViewController.hpp"

#include <functional>
#include <memory>

namespace tilmora {

class RoriDeru;

/// What the editor windows reach: the snap grid, the shell's two editor window controllers (made
/// on first use, kept and reused), and the shell's layouts and profiles. The three hooks run
/// later, from the preset-grid editor, and do nothing once the shell is gone. Main thread.
struct EditorWindowContext {
    RoriDeru& grid;
    std::shared_ptr<platform::ui::WindowController>& layoutEditor;
    std::shared_ptr<platform::ui::WindowController>& presetEditor;
    std::shared_ptr<ProfileStore> profiles;
    std::function<ProfileController&()> profileController;
    /// The shell's (profile-aware) layouts; none once the shell is gone.
    std::function<std::shared_ptr<LayoutStore>()> layouts;
    /// Clears the selection and transient layout of the screen's display when it is that preset.
    std::function<void(const platform::UUID&, const platform::NSScreen&)> forgetIfSelected;
    /// After a preset was saved or deleted: the status menu and the snap bar's preset buttons
    /// follow on the next main-queue turn.
    std::function<void()> presetsChanged;
};

/// The shell's two editor windows: the per-display layout editor (720 × 560 points, for the main
/// screen) and the preset-grid editor (1100 × 720 points, for the screen under the pointer, else
/// the main one), each titled "window.layoutEditor.titleFormat" with the screen's name. Main
/// thread.
class EditorWindowCommands {
public:
    /// Over `context`, which outlives the commands (one command per full expression).
    explicit EditorWindowCommands(const EditorWindowContext& context)
        : c_(context) {}

    /// Shows the layout editor, made on first use (nothing without a main screen or a display).
    void openLayoutEditor();
    /// Clears the selected kinds and marked presets, then shows the preset-grid editor, made on
    /// first use over the display's presets; its saves and deletes go to the shell's layouts.
    void openVeskLayoutEditor();

private:
    const EditorWindowContext& c_;
};

} // namespace tilmora
