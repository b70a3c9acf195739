#include "editors/LayoutEditorView.hpp"

#include "editors/LayoutPreviewView.hpp"
#include "model/Log.hpp"
#include "model/MonitorConfigurationSignature.hpp"
#include "windows/SystemDisplayProvider.hpp"

#include "platform/foundation/Date.hpp"
#include "platform/foundation/Text.hpp"
#include "platform/foundation/Uuid.hpp"
#include "platform/ui/Window.hpp"
#include "platform/ui/declarative/Elements.hpp"

#include <algorithm>
#include <cmath>
#include <exception>

namespace tilmora {

namespace ui = platform::ui;
namespace decl = platform::ui::declarative;

namespace {

constexpr const char* savedText = "Saved";
constexpr const char* profileSavedText = "Profile saved";

bool isSuccess(const std::string& status) {
    return status == savedText || status == profileSavedText;
}

/// A profile id as the picker's tag: its UUID text.
std::string tagOf(const ProfileId& id) {
    return id.rawValue.uuidString();
}

} // namespace

std::vector<LayoutProfile> LayoutEditorView::readProfiles() const {
    try {
        return profileStore->allProfiles();
    } catch (const std::exception& error) {
        print(std::string("[LayoutEditor] Could not read the layout profiles, listing none: ") + error.what());
        return {};
    }
}

void LayoutEditorView::onShow() {
    const auto& tiles = viewModel->layout.get().tiles;
    if (!selectedTileId.get() && !tiles.empty()) selectedTileId.set(tiles.front().id);
    profiles.set(readProfiles());
    syncSelectedProfile();
}

void LayoutEditorView::syncSelectedProfile() {
    if (auto active = profileController->activeProfile()) {
        selectedProfileId.set(active->id);
        return;
    }
    const auto& listed = profiles.get();
    if (listed.empty())
        selectedProfileId.set(std::nullopt);
    else
        selectedProfileId.set(listed.front().id);
}

void LayoutEditorView::splitSelected(LayoutSplitAxis axis) {
    std::optional<TileId> target = selectedTileId.get();
    const auto& tiles = viewModel->layout.get().tiles;
    if (!target && !tiles.empty()) target = tiles.front().id;
    if (!target) return;
    auto index = std::find_if(tiles.begin(), tiles.end(), [&](const Tile& t) { return t.id == *target; }) -
                 tiles.begin();
    viewModel->split(*target, axis);
    // The split tile is gone; its first half takes the selection so the buttons keep working.
    const auto& after = viewModel->layout.get().tiles;
    if (size_t(index) < after.size() && after[size_t(index)].id != *target)
        selectedTileId.set(after[size_t(index)].id);
    else
        selectedTileId.set(target);
}

void LayoutEditorView::save() {
    try {
        viewModel->store->save(viewModel->layout.get());
    } catch (const std::exception& error) {
        errorMessage.set(std::string(error.what()));
        return;
    }
    errorMessage.set(std::string(savedText));
    // The window that hosts this editor, whichever window is key.
    if (auto* window = hostingWindow()) window->close();
}

void LayoutEditorView::applyProfile() {
    const auto picked = selectedProfileId.get();
    if (!picked) return;
    const auto& listed = profiles.get();
    if (std::none_of(listed.begin(), listed.end(), [&](const LayoutProfile& p) { return p.id == *picked; })) return;
    profileController->overrideProfileId = *picked;
    profiles.set(readProfiles());
    syncSelectedProfile();
}

void LayoutEditorView::saveCurrentAsProfile() {
    const auto displays = displayProvider->currentDisplays();
    if (displays.empty()) return;
    std::map<DisplayId, LayoutId> layouts;
    std::vector<DisplayId> ids;
    for (const auto& display : displays) {
        ids.push_back(display.id);
        if (auto layout = layoutStore->layout(display.id)) layouts.insert_or_assign(display.id, layout->id);
    }
    std::string name = platform::Text::trimmingWhitespaceAndNewlines(newProfileName.get());
    if (name.empty()) {
        // Seconds since 1970 rounded half away from zero, written as a whole number and ".0".
        name = "Profile " + platform::Text::doubleDescription(std::round(platform::Date::now().timeIntervalSince1970));
    }
    LayoutProfile profile{ProfileId(platform::UUID()), name, MonitorConfigurationSignature(ids), layouts};
    try {
        profileStore->save(profile);
    } catch (const std::exception& error) {
        errorMessage.set(std::string(error.what()));
        return;
    }
    profileController->overrideProfileId = profile.id;
    profiles.set(readProfiles());
    syncSelectedProfile();
    errorMessage.set(std::string(profileSavedText));
}

decl::Element LayoutEditorView::body() {
    std::vector<decl::Element> items;
    auto title = decl::Text("Layout Preview");
    title.font("headline");
    items.push_back(title);

    // At least 500 x 320 points, as wide as the window allows.
    auto preview = decl::view<LayoutPreviewView>(viewModel.get(), selectedTileId.binding());
    preview.id("layout.preview");
    items.push_back(preview);

    items.push_back(decl::HStack(decl::Alignment::center, std::nullopt,
                                 {decl::Button("Split Horizontal", [this] { splitSelected(LayoutSplitAxis::horizontal); }),
                                  decl::Button("Split Vertical", [this] { splitSelected(LayoutSplitAxis::vertical); }),
                                  decl::Spacer(), decl::Button("Reset", [this] { viewModel->resetToDefaults(); }),
                                  decl::Button("Save", [this] { save(); })}));

    if (const auto& status = errorMessage.get()) {
        auto line = decl::Text(*status);
        line.font("caption").foregroundColor(isSuccess(*status) ? ui::Color::systemGreen() : ui::Color::systemRed());
        items.push_back(line.id("layout.status"));
    }

    std::vector<decl::PickerOption> options;
    for (const auto& profile : profiles.get())
        options.push_back({profile.name, tagOf(profile.id)});
    auto selection = selectedProfileId.binding();
    decl::Binding<std::string> pickerSelection(
        [selection] {
            auto id = selection.get();
            return id ? tagOf(*id) : std::string();
        },
        [selection](const std::string& tag) {
            auto uuid = platform::UUID::fromString(tag);
            selection.set(uuid ? std::optional<ProfileId>(ProfileId(*uuid)) : std::nullopt);
        });
    auto picker = decl::Picker("Active Profile", pickerSelection, std::move(options));
    picker.labelsHidden().id("profiles.picker");

    auto nameField = decl::TextField("My Layout Profile", newProfileName.binding());
    nameField.textFieldStyle("roundedBorder");
    nameField.id("profiles.name");
    decl::FrameSpec nameFrame;
    nameFrame.width = 220;
    nameField.frame(nameFrame);

    auto profilesTitle = decl::Text("Profiles");
    profilesTitle.font("headline");
    auto section = decl::VStack(
        decl::Alignment::leading, 8,
        {decl::Divider(), profilesTitle, picker,
         decl::HStack(decl::Alignment::center, std::nullopt,
                      {decl::Button("Apply Profile", [this] { applyProfile(); }),
                       decl::Button("Save Current Layouts as Profile", [this] { saveCurrentAsProfile(); })}),
         decl::HStack(decl::Alignment::center, std::nullopt, {decl::Text("Profile name:"), nameField})});
    section.padding(ui::EdgeInsets{8, 0, 0, 0});
    items.push_back(section);

    auto content = decl::VStack(decl::Alignment::leading, 12, std::move(items));
    decl::FrameSpec contentFrame;
    contentFrame.minWidth = 600;
    content.padding(16).frame(contentFrame);
    content.onAppear([this] { onShow(); });
    return content;
}

std::shared_ptr<decl::HostingController> LayoutEditorView::makeController(
    const DisplayDescriptor& display, std::shared_ptr<LayoutStore> layoutStore,
    std::shared_ptr<ProfileStore> profileStore, std::shared_ptr<ProfileController> profileController,
    std::shared_ptr<DisplayProvider> displayProvider) {
    auto model = std::make_shared<LayoutEditorViewModel>(display, layoutStore);
    auto root = std::make_shared<LayoutEditorView>(std::move(model), std::move(layoutStore), std::move(profileStore),
                                                   std::move(profileController), std::move(displayProvider));
    return std::make_shared<decl::HostingController>(std::move(root));
}

std::shared_ptr<ui::ViewController>
LayoutEditorView::controllerForRequest(const EditorWindowHooks::LayoutEditorRequest& request) {
    std::shared_ptr<DisplayProvider> displayProvider = request.displayProvider;
    if (!displayProvider) {
        print("[LayoutEditor] No display provider given; using the system's");
        displayProvider = std::make_shared<SystemDisplayProvider>();
    }
    std::shared_ptr<ProfileController> profileController;
    if (request.profileController) {
        // Borrowed: the shell keeps it for the life of the process.
        profileController = std::shared_ptr<ProfileController>(std::shared_ptr<ProfileController>(),
                                                               request.profileController);
    } else {
        print("[LayoutEditor] No profile controller given; profile choices stay with this window");
        profileController = std::make_shared<ProfileController>(displayProvider, request.profileStore);
    }
    return makeController(request.display, request.layoutStore, request.profileStore, std::move(profileController),
                          std::move(displayProvider));
}

} // namespace tilmora
