#include "preferences/HelpPanelController.hpp"

#include "model/LocalizationManager.hpp"
#include "platform/desktop/NSWorkspace.hpp"
#include "platform/foundation/Text.hpp"
#include "platform/ui/Application.hpp"
#include "platform/ui/StackView.hpp"

namespace tilmora {

using platform::ui::WKNavigationActionPolicy;

namespace {

std::string t(const char* key) {
    return LocalizationManager::shared().localizedString(key);
}

std::shared_ptr<platform::ui::Panel> makePanel() {
    using namespace platform::ui;
    auto panel = std::make_shared<Panel>(platform::ui::Rect{0, 0, 720, 600},
                                         StyleMask::titled | StyleMask::closable | StyleMask::resizable,
                                         BackingStore::buffered, false);
    panel->title = t("help.title");
    panel->setLevel(WindowLevel::floating);
    return panel;
}

const char* const styleRules = R"(:root { color-scheme: light dark; }
body { font-family: -apple-system, Helvetica, Arial; font-size: 15px; line-height: 1.6; margin: 0; }
.wrap { max-width: 860px; margin: 16px auto 24px auto; padding: 0 16px; }
h1 { font-size: 22px; margin: 6px 0 12px 0; }
h2 { font-size: 16px; margin: 18px 0 8px 0; }
p { margin: 6px 0 10px 0; }
ul { margin: 6px 0 10px 22px; }
li { margin: 4px 0; }
ol { margin: 6px 0 10px 22px; }
.toc { background: rgba(127,127,127,0.12); padding: 10px 12px; border-radius: 8px; }
.toc ul { margin: 6px 0 0 18px; }
hr { border: none; border-top: 1px solid rgba(127,127,127,0.35); margin: 14px 0; }
a { text-decoration: none; }
a:hover { text-decoration: underline; }
@media (prefers-color-scheme: dark) {
  body { color: #eaeaea; background: #1e1f21; }
  a { color: #65b7ff; }
  .toc { background: rgba(255,255,255,0.06); }
}
@media (prefers-color-scheme: light) {
  body { color: #111; background: #ffffff; }
  a { color: #0366d6; }
}
)";

std::string list(const char* tag, std::initializer_list<const char*> keys) {
    std::string out = std::string("<") + tag + ">\n";
    for (const char* key : keys)
        out += "<li>" + t(key) + "</li>\n";
    return out + "</" + tag + ">\n";
}

std::string section(const char* id, const char* titleKey) {
    return std::string("<h2 id=\"") + id + "\">" + t(titleKey) + "</h2>\n";
}

std::string paragraph(const char* key) {
    return "<p>" + t(key) + "</p>\n";
}

} // namespace

HelpPanelController::HelpPanelController()
    : WindowController(makePanel()) {
    setupUI();
    loadHelpContent();
}

HelpPanelController::HelpPanelController(std::shared_ptr<platform::ui::Window> window)
    : WindowController(std::move(window)) {}

std::shared_ptr<HelpPanelController> HelpPanelController::make() {
    auto controller = std::make_shared<HelpPanelController>();
    controller->attachNavigationDelegate();
    return controller;
}

void HelpPanelController::setupUI() {
    using namespace platform::ui;
    if (!window()) return;
    auto stack = std::make_shared<StackView>();
    stack->orientation = UserInterfaceOrientation::vertical;
    stack->alignment = LayoutAttribute::leading;
    stack->spacing = 12;
    stack->translatesAutoresizingMaskIntoConstraints = false;
    auto content = window()->contentView();
    EdgeInsets insets;
    insets.top = 12;
    insets.left = 14;
    insets.bottom = 12;
    insets.right = 14;
    content->pinSubview(stack, insets);

    webView = std::make_shared<WKWebView>(platform::ui::Rect{}, WKWebViewConfiguration{});
    webView->identifier = "help.page";
    webView->translatesAutoresizingMaskIntoConstraints = false;
    webView->minHeightConstraint = 420;
    if (webView->respondsTo("setDrawsBackground:")) webView->setDrawsBackground(false);
    stack->addArrangedSubview(webView);
}

void HelpPanelController::attachNavigationDelegate() {
    if (!webView || !webView->navigationDelegate.expired()) return;
    // Only a controller held by a shared pointer can be the (weakly held) delegate.
    if (auto self = weak_from_this().lock())
        webView->navigationDelegate = std::dynamic_pointer_cast<platform::ui::WKNavigationDelegate>(self);
}

void HelpPanelController::loadHelpContent() {
    if (!webView) return;
    if (auto file = LocalizationManager::shared().urlForLocalizedResource("help", "html")) {
        webView->loadFileURL(platform::ui::WKWebView::fileURL(*file),
                             platform::ui::WKWebView::fileURL(file->parent_path()));
        return;
    }
    webView->loadHTMLString(builtInPage(), platform::ui::WKWebView::fileURL("/"));
}

std::string HelpPanelController::builtInPage() {
    std::string html = "<!DOCTYPE html>\n<html>\n<head>\n<meta charset=\"utf-8\">\n"
                       "<meta name=\"color-scheme\" content=\"light dark\">\n<style>\n";
    html += styleRules;
    html += "</style>\n</head>\n<body>\n<div class=\"wrap\">\n";
    html += "<h1>" + t("help.h1") + "</h1>\n";
    html += paragraph("help.intro");
    html += "<div class=\"toc\">\n<b>" + t("help.contents") + "</b>\n<ul>\n";
    const std::pair<const char*, const char*> toc[] = {{"quickstart", "help.quickstart.title"},
                                                       {"snapping", "help.snapping.title"},
                                                       {"snapareas", "help.snapAreas.title"},
                                                       {"preferences", "help.preferences.title"},
                                                       {"menus", "help.menus.title"},
                                                       {"shortcuts", "help.shortcuts.title"},
                                                       {"troubleshoot", "help.troubleshoot.title"}};
    for (const auto& [anchor, key] : toc)
        html += std::string("<li><a href=\"#") + anchor + "\">" + t(key) + "</a></li>\n";
    html += "</ul>\n</div>\n";
    html += section("quickstart", "help.quickstart.title");
    html += list("ol", {"help.quickstart.1", "help.quickstart.2", "help.quickstart.3", "help.quickstart.4"});
    html += section("snapping", "help.snapping.title");
    html += list("ul", {"help.snapping.1", "help.snapping.2", "help.snapping.3"});
    html += section("snapareas", "help.snapAreas.title");
    html += list("ul", {"help.snapAreas.1", "help.snapAreas.2"});
    html += section("preferences", "help.preferences.title");
    html += paragraph("help.preferences.blurb");
    html += section("menus", "help.menus.title");
    html += paragraph("help.menus.blurb");
    html += paragraph("help.menus.integration");
    html += section("shortcuts", "help.shortcuts.title");
    html += paragraph("help.shortcuts.blurb");
    html += section("troubleshoot", "help.troubleshoot.title");
    html += list("ul", {"help.troubleshoot.1", "help.troubleshoot.2"});
    html += "</div>\n</body>\n</html>\n";
    return html;
}

void HelpPanelController::showWindow(platform::ui::Responder* sender) {
    attachNavigationDelegate();
    WindowController::showWindow(sender);
    if (auto w = window()) {
        w->center();
        w->makeKeyAndOrderFront();
    }
    platform::ui::Application::shared().activate(true);
}

void HelpPanelController::webViewDecidePolicyFor(
    platform::ui::WKWebView&, const platform::ui::WKNavigationAction& navigationAction,
    std::function<void(WKNavigationActionPolicy)> decisionHandler) {
    if (!navigationAction.url) {
        decisionHandler(WKNavigationActionPolicy::allow);
        return;
    }
    const std::string& url = *navigationAction.url;
    auto colon = url.find(':');
    // A scheme is the text before the first ":" when it holds no "/", "?" or "#".
    std::string scheme;
    if (colon != std::string::npos && url.find_first_of("/?#") > colon) scheme = url.substr(0, colon);
    scheme = platform::Text::lowercased(scheme);
    if (scheme == "http" || scheme == "https" || scheme == "mailto") {
        // A link that cannot be opened is cancelled all the same; nothing is reported.
        platform::NSWorkspace::shared().openURL(url);
        decisionHandler(WKNavigationActionPolicy::cancel);
        return;
    }
    decisionHandler(WKNavigationActionPolicy::allow);
}

} // namespace tilmora
