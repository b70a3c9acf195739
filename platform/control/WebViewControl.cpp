#include "platform/control/WebViewControl.hpp"

#include "platform/dispatch/MainThread.hpp"
#include "platform/foundation/FileSystem.hpp"

namespace platform::ui {

/// The control API's access to a web view's page.
class WebViewNavigation {
public:
    static void showFragment(WKWebView& view, const std::string& fragment) { view.showFragment(fragment); }
    static void showURL(WKWebView& view, const std::string& url, std::string content) {
        view.showURL(url, std::move(content));
    }
};

} // namespace platform::ui

namespace platform {

using ui::WKNavigationActionPolicy;

WKNavigationActionPolicy WebViewControl::followLink(ui::WKWebView& webView,
                                                    const std::optional<std::string>& url) {
    requireMainThread("WebViewControl::followLink");
    WKNavigationActionPolicy policy = WKNavigationActionPolicy::allow;
    if (auto delegate = webView.navigationDelegate.lock()) {
        std::optional<WKNavigationActionPolicy> answer;
        delegate->webViewDecidePolicyFor(webView, ui::WKNavigationAction{url},
                                         [&answer](WKNavigationActionPolicy p) {
                                             if (!answer) answer = p;
                                         });
        policy = answer.value_or(WKNavigationActionPolicy::cancel);
    }
    if (policy != WKNavigationActionPolicy::allow || !url) return policy;
    if (!url->empty() && url->front() == '#') {
        ui::WebViewNavigation::showFragment(webView, *url);
        return policy;
    }
    std::string content;
    if (auto path = ui::WKWebView::pathOfFileURL(*url); path && webView.canReadFile(*path)) {
        try {
            content = FileSystem::readRegularFile(*path, FileSystem::maxWholeFileBytes);
        } catch (const std::exception&) {
            content.clear();
        }
    }
    ui::WebViewNavigation::showURL(webView, *url, std::move(content));
    return policy;
}

bool WebViewControl::canLoadFile(const ui::WKWebView& webView, const std::filesystem::path& file) {
    return webView.canReadFile(file);
}

} // namespace platform
