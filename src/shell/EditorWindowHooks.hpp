#pragma once

#include "model/DisplayDescriptor.hpp"
#include "model/DisplayProvider.hpp"
#include "model/LayoutStore.hpp"
#include "model/ProfileController.hpp"
#include "model/ProfileStore.hpp"
#include "model/VeskPreset.hpp"
#include "platform/desktop/Geometry.hpp"
#include "platform/desktop/NSScreen.hpp"
#include "platform/foundation/Uuid.hpp"
#include "platform/ui/ViewController.hpp"

#include <functional>
#include <map>
#include <memory>
#include <optional>
#include <string>
#include <utility>
#include <vector>

namespace tilmora {

/// What the shell's editor windows and window commands take from the layers above it: the two
/// editors' root views (editors layer), the display descriptors of screens and the grouping of
/// baseline rectangles by application (snapshot layer). The program's entry installs them at
/// start-up (`EditorWindowHooks::install`); until then each is a placeholder: the editors show a
/// hosting view with the window title that still holds its request (and so the preset callbacks),
/// no screen has a descriptor and no baseline forms a group. A placeholder says once in the log
/// that nothing was installed when the shell uses it; each slot is a hook of `HookRegistry`
/// ("EditorWindowHooks.<slot>"). Main thread.
struct EditorWindowHooks {
    /// Everything the preset-grid editor is opened with.
    struct PresetEditorRequest {
        std::vector<VeskPreset> presets;
        /// The display key of the edited screen.
        std::string displayId;
        std::optional<platform::UUID> selectedPresetID;
        /// Stores a preset; throws the store's error back to the editor.
        std::function<void(const VeskPreset&)> onSavePreset;
        /// Deletes a preset by id; throws the store's error back to the editor.
        std::function<void(const platform::UUID&)> onDeletePreset;
        /// The edited screen's name.
        std::string displayName;
        /// Visible width over visible height of the edited screen.
        double previewAspectRatio = 16.0 / 9.0;
        /// The title the shell gives the editor's window.
        std::string windowTitle;
    };

    /// Everything the per-display layout editor is opened with.
    struct LayoutEditorRequest {
        DisplayDescriptor display;
        std::shared_ptr<LayoutStore> layoutStore;
        std::shared_ptr<ProfileStore> profileStore;
        /// Owned by the shell, which outlives the editor window.
        ProfileController* profileController = nullptr;
        std::shared_ptr<DisplayProvider> displayProvider;
        std::string windowTitle;
    };

    /// The placeholder content of an editor window: a hosting view showing the window title. It
    /// keeps the request it was made for.
    template <class Request>
    class Placeholder : public platform::ui::ViewController {
    public:
        explicit Placeholder(Request request);
        Request request;
    };
    using PresetEditorPlaceholder = Placeholder<PresetEditorRequest>;
    using LayoutEditorPlaceholder = Placeholder<LayoutEditorRequest>;

    using BaselineGroups = std::map<std::string, std::vector<std::pair<std::string, platform::CGRect>>>;

    /// The content view controller of the preset-grid editor window.
    std::function<std::shared_ptr<platform::ui::ViewController>(const PresetEditorRequest&)> presetEditor =
        &placeholderPresetEditor;
    /// The content view controller of the layout editor window.
    std::function<std::shared_ptr<platform::ui::ViewController>(const LayoutEditorRequest&)> layoutEditor =
        &placeholderLayoutEditor;
    /// One descriptor per screen (id the display number in decimal, bounds the visible frame).
    std::function<std::vector<DisplayDescriptor>(const std::vector<platform::NSScreen>&)> displayDescriptors =
        &noDisplayDescriptors;
    /// Window keys ("application|title") regrouped per application as (title, rectangle) lists.
    std::function<BaselineGroups(const std::map<std::string, platform::CGRect>&)> groupedTargets =
        &noGroupedTargets;

    // The placeholders.
    static std::shared_ptr<platform::ui::ViewController> placeholderPresetEditor(const PresetEditorRequest& request);
    static std::shared_ptr<platform::ui::ViewController> placeholderLayoutEditor(const LayoutEditorRequest& request);
    static std::vector<DisplayDescriptor> noDisplayDescriptors(const std::vector<platform::NSScreen>&);
    static BaselineGroups noGroupedTargets(const std::map<std::string, platform::CGRect>&);

    /// The hooks in force (the placeholders until `install`).
    static EditorWindowHooks& current();
    /// Replaces the hooks in force.
    static void install(EditorWindowHooks hooks);
    /// Puts the placeholders back (tests).
    static void reset();
};

} // namespace tilmora
