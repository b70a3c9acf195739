#include "platform/control/WebViewControl.hpp"

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
    return ui::WebViewNavigation::followLink(webView, url);
}

bool WebViewControl::canLoadFile(const ui::WKWebView& webView, const std::filesystem::path& file) {
    return webView.canReadFile(file);
}

} // namespace platform
