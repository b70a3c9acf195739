#pragma once

#include "platform/ui/Panel.hpp"
#include "platform/ui/ViewController.hpp"
#include "platform/ui/WKWebView.hpp"

#include <memory>
#include <string>

namespace tilmora {

/// The help panel: a floating, titled, closable and resizable panel of 720 × 600 points titled
/// with "help.title", holding a web view (at least 420 points high) that shows the localized
/// "help.html" of the chosen language, or a built-in page made of the "help." texts when there is
/// none. The page is loaded once, when the controller is made; showing the panel again only
/// centres and fronts it. Web and mail links ("http", "https", "mailto", in any case) open in the
/// user's default applications and never in the panel; every other link loads in it. Main thread
/// only.
class HelpPanelController : public platform::ui::WindowController, public platform::ui::WKNavigationDelegate {
public:
    /// A shared controller that is already its web view's navigation delegate.
    static std::shared_ptr<HelpPanelController> make();
    /// Builds the panel, its content and its page. The web view holds its delegate weakly, so the
    /// controller becomes the delegate once it is held by a shared pointer: in `make`, else at the
    /// first `showWindow`.
    HelpPanelController();
    /// Takes `window` as it is: no content, `webView` empty.
    explicit HelpPanelController(std::shared_ptr<platform::ui::Window> window);

    /// Fronts the panel: the window controller's showing, centred, key and front, then the program
    /// is activated ignoring other applications.
    void showWindow(platform::ui::Responder* sender) override;

    /// The link policy: opens web and mail links outside and cancels them; allows the rest.
    void webViewDecidePolicyFor(
        platform::ui::WKWebView& webView, const platform::ui::WKNavigationAction& navigationAction,
        std::function<void(platform::ui::WKNavigationActionPolicy)> decisionHandler) override;

    /// The built-in page, made of the "help." texts of the language in force (inserted as they
    /// are, so a text may carry markup).
    static std::string builtInPage();

    std::shared_ptr<platform::ui::WKWebView> webView;

private:
    void setupUI();
    void loadHelpContent();
    void attachNavigationDelegate();
};

} // namespace tilmora
