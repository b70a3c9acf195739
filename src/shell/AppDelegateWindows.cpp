#include "shell/AppDelegate.hpp"

#include "model/LocalizationManager.hpp"
#include "platform/dispatch/DispatchQueue.hpp"
#include "platform/dispatch/MainThread.hpp"
#include "shell/ShellHooks.hpp"
#include "snapping/RoriDeru.hpp"
#include "snapping/SnapBarController.hpp"

namespace tilmora {

void AppDelegate::finishUIStartUp() {}

void AppDelegate::refreshSnapBarSelection() {
    if (snapBarController) snapBarController->refreshSelectionHighlight();
}

void AppDelegate::refreshSnapBarIndicators() {
    if (snapBarController) snapBarController->refreshIndicators();
}

void AppDelegate::handleLanguagePreferenceChange() {
    if (snapBarController) {
        snapBarController->refreshIndicators();
        snapBarController->applyLocalization();
    }
    rebuildStatusMenu();
}

void AppDelegate::showWindow() {
    platform::requireMainThread("AppDelegate::showWindow");
    auto& application = platform::ui::Application::shared();
    if (window) {
        if (auto screen = platform::NSScreen::main()) {
            const auto visible = screen->visibleFrame();
            window->setFrame({{visible.origin.x + (visible.size.width - 1000) / 2,
                               visible.origin.y + (visible.size.height - 600) / 2},
                              {1000, 600}},
                             true);
        }
        window->makeKeyAndOrderFront();
        application.activate(true);
        return;
    }
    continueInitialization();
    if (window) window->makeKeyAndOrderFront();
    application.activate(true);
}

void AppDelegate::openPreferences(platform::ui::Responder*) {
    platform::requireMainThread("AppDelegate::openPreferences");
    auto& application = platform::ui::Application::shared();
    if (!preferencesWindowController) {
        auto prefs = std::make_shared<platform::ui::Window>(
            platform::CGRect{{0, 0}, {1100, 820}},
            platform::ui::StyleMask::titled | platform::ui::StyleMask::closable |
                platform::ui::StyleMask::miniaturizable | platform::ui::StyleMask::resizable);
        prefs->center();
        prefs->title = LocalizationManager::shared().localizedString("prefs.title");
        if (auto root = ShellHooks::current().preferencesRoot(*this)) prefs->setContentView(root);
        prefs->isReleasedWhenClosed = false;
        preferencesWindowController = std::make_shared<platform::ui::WindowController>(prefs);
    }
    preferencesWindowController->showWindow(nullptr);
    if (auto prefs = preferencesWindowController->window()) prefs->makeKeyAndOrderFront();
    application.activate(true);
}

void AppDelegate::setLayoutScopeSingle(platform::ui::Responder*) {
    if (!defaults().boolForKey("WMGridAllDisplays")) return;
    defaults().set(platform::PropertyValue(false), "WMGridAllDisplays");
    layoutScopePreferenceDidChange();
}

void AppDelegate::setLayoutScopeAll(platform::ui::Responder*) {
    if (defaults().boolForKey("WMGridAllDisplays")) return;
    defaults().set(platform::PropertyValue(true), "WMGridAllDisplays");
    layoutScopePreferenceDidChange();
}

void AppDelegate::layoutScopePreferenceDidChange() {
    roriDeru().applyLayoutScopePreference(roriDeru().preferredScreenForSelection());
    refreshSnapBarIndicators();
    rebuildStatusMenu();
}

} // namespace tilmora
