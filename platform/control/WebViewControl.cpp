#include "platform/control/WebViewControl.hpp"

#include "platform/ui/Window.hpp"

namespace platform::ui {

/// The control API's access to a web view's page.
class WebViewNavigation {
public:
    static WKNavigationActionPolicy followLink(WKWebView& view, const std::optional<std::string>& url) {
        return view.followLink(url);
    }
};

} // namespace platform::ui

namespace platform {

using ui::WKNavigationActionPolicy;

WKNavigationActionPolicy WebViewControl::followLink(ui::WKWebView& webView,
                                                    const std::optional<std::string>& url) {
    // A click reaches a window laid out, as the pointer's does: the page is set in the view's
    // width before the link moves it.
    if (auto* window = webView.window(); window && window->contentView())
        window->contentView()->layoutSubtreeIfNeeded();
    return ui::WebViewNavigation::followLink(webView, url);
}

bool WebViewControl::canLoadFile(const ui::WKWebView& webView, const std::filesystem::path& file) {
    return webView.canReadFile(file);
}

} // namespace platform
