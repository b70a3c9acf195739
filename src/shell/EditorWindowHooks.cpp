#include "shell/EditorWindowHooks.hpp"

#include "model/HookRegistry.hpp"

#include "platform/ui/declarative/Elements.hpp"
#include "platform/ui/declarative/HostingView.hpp"

namespace tilmora {

namespace {

EditorWindowHooks& storage() {
    static EditorWindowHooks hooks;
    return hooks;
}

/// A root view that shows one line of text.
class TitleView : public platform::ui::declarative::Component<TitleView> {
public:
    explicit TitleView(std::string title)
        : title_(std::move(title)) {}
    platform::ui::declarative::Element body() override { return platform::ui::declarative::Text(title_); }

private:
    std::string title_;
};

using Hooks = EditorWindowHooks;

const HookRegistry::Registration presetEditorHook("EditorWindowHooks.presetEditor", [] {
    return HookRegistry::holdsOtherThan(storage().presetEditor, &Hooks::placeholderPresetEditor);
});
const HookRegistry::Registration layoutEditorHook("EditorWindowHooks.layoutEditor", [] {
    return HookRegistry::holdsOtherThan(storage().layoutEditor, &Hooks::placeholderLayoutEditor);
});
const HookRegistry::Registration descriptorsHook("EditorWindowHooks.displayDescriptors", [] {
    return HookRegistry::holdsOtherThan(storage().displayDescriptors, &Hooks::noDisplayDescriptors);
});
const HookRegistry::Registration groupsHook("EditorWindowHooks.groupedTargets", [] {
    return HookRegistry::holdsOtherThan(storage().groupedTargets, &Hooks::noGroupedTargets);
});

} // namespace

template <class Request>
EditorWindowHooks::Placeholder<Request>::Placeholder(Request request)
    : platform::ui::ViewController(std::make_shared<platform::ui::declarative::HostingView>(
          std::make_shared<TitleView>(request.windowTitle)))
    , request(std::move(request)) {}

template class EditorWindowHooks::Placeholder<EditorWindowHooks::PresetEditorRequest>;
template class EditorWindowHooks::Placeholder<EditorWindowHooks::LayoutEditorRequest>;

std::shared_ptr<platform::ui::ViewController>
EditorWindowHooks::placeholderPresetEditor(const PresetEditorRequest& request) {
    HookRegistry::notePlaceholderUse("EditorWindowHooks.presetEditor", "the preset editor shows its title only");
    return std::make_shared<PresetEditorPlaceholder>(request);
}

std::shared_ptr<platform::ui::ViewController>
EditorWindowHooks::placeholderLayoutEditor(const LayoutEditorRequest& request) {
    HookRegistry::notePlaceholderUse("EditorWindowHooks.layoutEditor", "the layout editor shows its title only");
    return std::make_shared<LayoutEditorPlaceholder>(request);
}

std::vector<DisplayDescriptor> EditorWindowHooks::noDisplayDescriptors(const std::vector<platform::NSScreen>&) {
    HookRegistry::notePlaceholderUse("EditorWindowHooks.displayDescriptors", "no screen has a display descriptor");
    return {};
}

EditorWindowHooks::BaselineGroups EditorWindowHooks::noGroupedTargets(const std::map<std::string, platform::CGRect>&) {
    HookRegistry::notePlaceholderUse("EditorWindowHooks.groupedTargets", "no baseline forms a group");
    return {};
}

EditorWindowHooks& EditorWindowHooks::current() { return storage(); }

void EditorWindowHooks::install(EditorWindowHooks hooks) { storage() = std::move(hooks); }

void EditorWindowHooks::reset() { storage() = EditorWindowHooks{}; }

} // namespace tilmora
