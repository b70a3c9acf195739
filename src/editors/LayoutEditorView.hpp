#pragma once

#include "editors/LayoutEditorViewModel.hpp"
#include "model/DisplayProvider.hpp"
#include "model/LayoutProfile.hpp"
#include "model/ProfileController.hpp"
#include "model/ProfileStore.hpp"
#include "shell/EditorWindowHooks.hpp"

#include "platform/ui/declarative/HostingView.hpp"
#include "platform/ui/declarative/ViewBase.hpp"

#include <memory>
#include <optional>
#include <string>
#include <vector>

namespace tilmora {

/// The content of the per-display layout editor window: the title "Layout Preview", the preview
/// of the model's layout ("layout.preview"), the buttons "Split Horizontal", "Split Vertical",
/// "Reset" and "Save", a status line while there is one (green for "Saved" and "Profile saved",
/// red otherwise), and the profiles section: the picker of stored profiles ("profiles.picker"),
/// "Apply Profile", "Save Current Layouts as Profile" and the name field ("profiles.name"). Its
/// texts are fixed English. Each time its window is shown it selects the first tile when nothing
/// is selected and reads the profiles again. Nothing reaches the layout store except through
/// "Save"; profile choices stay in the profile controller after the window closes. Main thread.
class LayoutEditorView : public platform::ui::declarative::Component<LayoutEditorView> {
public:
    LayoutEditorView(std::shared_ptr<LayoutEditorViewModel> viewModel, std::shared_ptr<LayoutStore> layoutStore,
                     std::shared_ptr<ProfileStore> profileStore,
                     std::shared_ptr<ProfileController> profileController,
                     std::shared_ptr<DisplayProvider> displayProvider)
        : viewModel(this, std::move(viewModel))
        , layoutStore(std::move(layoutStore))
        , profileStore(std::move(profileStore))
        , profileController(std::move(profileController))
        , displayProvider(std::move(displayProvider)) {}
    LayoutEditorView& operator=(const LayoutEditorView&) = default;

    /// The edited layout; its store is the same as `layoutStore`.
    platform::ui::declarative::ObservedObject<LayoutEditorViewModel> viewModel;
    /// Asked for each display's layout when a profile is saved (profile-aware in the program).
    std::shared_ptr<LayoutStore> layoutStore;
    /// Lists and saves the profiles.
    std::shared_ptr<ProfileStore> profileStore;
    /// Reports the active profile; its override is set here.
    std::shared_ptr<ProfileController> profileController;
    /// Lists the current displays.
    std::shared_ptr<DisplayProvider> displayProvider;

    /// The status line; shown only when present.
    platform::ui::declarative::State<std::optional<std::string>> errorMessage{this, std::nullopt};
    /// The tile selection, shared with the preview.
    platform::ui::declarative::State<std::optional<TileId>> selectedTileId{this, std::nullopt};
    /// The profiles the picker offers, in store order.
    platform::ui::declarative::State<std::vector<LayoutProfile>> profiles{this, {}};
    /// The picker's selection; it may name a profile that the list lacks.
    platform::ui::declarative::State<std::optional<ProfileId>> selectedProfileId{this, std::nullopt};
    /// The name field of the profiles section.
    platform::ui::declarative::State<std::string> newProfileName{this, ""};

    platform::ui::declarative::Element body() override;

    /// What the window does each time it is shown: selects the first tile when nothing is
    /// selected, reads the profiles (empty when the store fails) and syncs the picker.
    void onShow();
    /// The picker follows the profile controller's active profile, else the first listed profile,
    /// else nothing.
    void syncSelectedProfile();
    /// Splits the selected tile, or the first tile when nothing is selected; the selection moves
    /// to the first half. Nothing is saved.
    void splitSelected(LayoutSplitAxis axis);
    /// Hands the model's layout to its store. On success the status reads "Saved" and the window
    /// hosting this view closes (none: nothing closes); on failure the status shows the error and
    /// the window stays.
    void save();
    /// Makes the picked profile the controller's override, when the list holds it.
    void applyProfile();
    /// Saves what the layout store gives for each current display as a new profile named after the
    /// trimmed name field ("Profile " and the rounded Unix time when blank), makes it the override
    /// and selects it. No displays: nothing happens.
    void saveCurrentAsProfile();

    /// The hosted content of an editor window for `display`: a new model of the display and
    /// `layoutStore`, and this view with the given services, its state fresh.
    static std::shared_ptr<platform::ui::declarative::HostingController>
    makeController(const DisplayDescriptor& display, std::shared_ptr<LayoutStore> layoutStore,
                   std::shared_ptr<ProfileStore> profileStore, std::shared_ptr<ProfileController> profileController,
                   std::shared_ptr<DisplayProvider> displayProvider);

    /// The layout editor hook of the shell's editor windows (`EditorWindowHooks::layoutEditor`):
    /// `makeController` with the request's display and services. The shell owns the profile
    /// controller and outlives the window, so the view only borrows it; a request without one gets
    /// a controller of its own over the request's displays and profiles, and one without a display
    /// provider the system's (each logged).
    static std::shared_ptr<platform::ui::ViewController>
    controllerForRequest(const EditorWindowHooks::LayoutEditorRequest& request);

private:
    std::vector<LayoutProfile> readProfiles() const;
};

} // namespace tilmora
