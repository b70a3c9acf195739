#pragma once

#include "editors/VeskLayoutEditorController.hpp"
#include "shell/EditorWindowHooks.hpp"

#include "platform/ui/ViewController.hpp"

#include "platform/ui/declarative/ViewBase.hpp"

#include <memory>
#include <optional>
#include <string>
#include <vector>

namespace tilmora {

/// The root view of the preset editor window: a `VeskLayoutEditorView` of the controller, the
/// display's localized name and the canvas ratio, adding nothing else. Lives as long as the window.
/// Main thread.
class VeskLayoutEditorHost : public platform::ui::declarative::Component<VeskLayoutEditorHost> {
public:
    VeskLayoutEditorHost(std::shared_ptr<VeskLayoutEditorController> controller, std::string displayName,
                         double previewAspectRatio)
        : controller(this, std::move(controller))
        , displayName(std::move(displayName))
        , previewAspectRatio(previewAspectRatio) {}
    VeskLayoutEditorHost& operator=(const VeskLayoutEditorHost&) = default;

    platform::ui::declarative::ObservedObject<VeskLayoutEditorController> controller;
    /// The display's localized name.
    std::string displayName;
    /// Width per unit of height of the display's visible frame (16/9 when the opener had none).
    double previewAspectRatio;

    platform::ui::declarative::Element body() override;

    /// The host the shell's opener puts into the editor window for one display: a controller made
    /// of the display's presets (as the layout store lists them), its identifier text, the preset
    /// to select (none: the first listed) and the two store closures, shown with the display's name
    /// and canvas ratio. A ratio that is not a positive finite number becomes 16/9.
    static std::shared_ptr<VeskLayoutEditorHost> make(std::vector<VeskPreset> presets, std::string displayId,
                                                      std::optional<platform::UUID> selectedPresetID,
                                                      std::string displayName, double previewAspectRatio,
                                                      VeskLayoutEditorController::SavePreset onSavePreset,
                                                      VeskLayoutEditorController::DeletePreset onDeletePreset);

    /// The preset editor hook of the shell's editor windows (`EditorWindowHooks::presetEditor`): a
    /// hosting controller of `make` with the request's presets, display, selection, closures, name
    /// and ratio.
    static std::shared_ptr<platform::ui::ViewController>
    controllerForRequest(const EditorWindowHooks::PresetEditorRequest& request);
};

} // namespace tilmora
