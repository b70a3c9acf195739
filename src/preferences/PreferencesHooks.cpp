#include "preferences/PreferencesHooks.hpp"

#include "platform/ui/declarative/HostingView.hpp"
#include "preferences/AppDelegatePreferencesShell.hpp"
#include "preferences/HelpPanelController.hpp"
#include "preferences/PreferencesView.hpp"
#include "preferences/RoriDeruSnapGrid.hpp"
#include "shell/AppDelegate.hpp"
#include "shell/ShellHooks.hpp"

namespace tilmora {

namespace {

namespace decl = platform::ui::declarative;

/// The window's root: the preferences view with the shell's snap grid in its environment.
class PreferencesRoot : public decl::Component<PreferencesRoot> {
public:
    explicit PreferencesRoot(std::shared_ptr<PreferencesSnapGrid> grid)
        : grid(std::move(grid)) {}
    decl::Element body() override {
        return decl::view<PreferencesView>().environment(PreferencesView::snapGridEnvironmentKey(), grid);
    }
    std::shared_ptr<PreferencesSnapGrid> grid;
};

} // namespace

void PreferencesHooks::install(ShellHooks& hooks) {
    // The shell the preferences reach, from the start; the window's root names its own delegate.
    PreferencesShell::install(std::make_shared<AppDelegatePreferencesShell>());
    hooks.preferencesRoot = [](AppDelegate& delegate) -> std::shared_ptr<platform::ui::View> {
        PreferencesShell::install(std::make_shared<AppDelegatePreferencesShell>(delegate.weak()));
        std::shared_ptr<PreferencesSnapGrid> grid = std::make_shared<RoriDeruSnapGrid>(delegate.roriDeru());
        return std::make_shared<decl::HostingView>(std::make_shared<PreferencesRoot>(grid),
                                                   platform::ui::Rect{0, 0, 1000, 800});
    };
    hooks.makeHelpPanel = []() -> std::shared_ptr<platform::ui::WindowController> {
        return HelpPanelController::make();
    };
}

} // namespace tilmora
