#include "shell/EditorWindowHooks.hpp"

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

} // namespace

template <class Request>
EditorWindowHooks::Placeholder<Request>::Placeholder(Request request)
    : platform::ui::ViewController(std::make_shared<platform::ui::declarative::HostingView>(
          std::make_shared<TitleView>(request.windowTitle)))
    , request(std::move(request)) {}

template class EditorWindowHooks::Placeholder<EditorWindowHooks::PresetEditorRequest>;
template class EditorWindowHooks::Placeholder<EditorWindowHooks::LayoutEditorRequest>;

EditorWindowHooks& EditorWindowHooks::current() { return storage(); }

void EditorWindowHooks::install(EditorWindowHooks hooks) { storage() = std::move(hooks); }

void EditorWindowHooks::reset() { storage() = EditorWindowHooks{}; }

} // namespace tilmora
