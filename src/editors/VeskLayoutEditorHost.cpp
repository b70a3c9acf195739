#include "editors/VeskLayoutEditorHost.hpp"

#include "editors/VeskLayoutEditorView.hpp"

#include "platform/ui/declarative/Elements.hpp"
#include "platform/ui/declarative/HostingView.hpp"

#include <cmath>

namespace tilmora {

platform::ui::declarative::Element VeskLayoutEditorHost::body() {
    return platform::ui::declarative::view<VeskLayoutEditorView>(controller.get(), displayName, previewAspectRatio);
}

std::shared_ptr<VeskLayoutEditorHost> VeskLayoutEditorHost::make(std::vector<VeskPreset> presets, std::string displayId,
                                                                 std::optional<platform::UUID> selectedPresetID,
                                                                 std::string displayName, double previewAspectRatio,
                                                                 VeskLayoutEditorController::SavePreset onSavePreset,
                                                                 VeskLayoutEditorController::DeletePreset onDeletePreset) {
    const double ratio = std::isfinite(previewAspectRatio) && previewAspectRatio > 0 ? previewAspectRatio : 16.0 / 9.0;
    auto controller = std::make_shared<VeskLayoutEditorController>(
        std::move(presets), std::move(displayId), std::move(selectedPresetID), std::move(onSavePreset), std::move(onDeletePreset));
    return std::make_shared<VeskLayoutEditorHost>(std::move(controller), std::move(displayName), ratio);
}

std::shared_ptr<platform::ui::ViewController>
VeskLayoutEditorHost::controllerForRequest(const EditorWindowHooks::PresetEditorRequest& request) {
    return std::make_shared<platform::ui::declarative::HostingController>(
        make(request.presets, request.displayId, request.selectedPresetID, request.displayName,
             request.previewAspectRatio, request.onSavePreset, request.onDeletePreset));
}

} // namespace tilmora
