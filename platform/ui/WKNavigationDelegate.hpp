#pragma once

#include <functional>
#include <optional>
#include <string>

namespace platform::ui {

class WKWebView;

/// What a navigation delegate answers for a navigation.
enum class WKNavigationActionPolicy { cancel = 0, allow = 1 };

/// A navigation the web view is about to make: the URL of its request (none when the request has
/// no URL), as text ("https://example.com", "file:///help/de.lproj/help.html", "#snapping").
struct WKNavigationAction {
    std::optional<std::string> url;
};

/// Decides whether the web view follows a navigation. The web view holds it weakly. Main thread.
class WKNavigationDelegate {
public:
    virtual ~WKNavigationDelegate() = default;
    /// Answers through `decisionHandler`, once. (The platform's
    /// `webView(_:decidePolicyFor:decisionHandler:)`.)
    virtual void webViewDecidePolicyFor(WKWebView& webView, const WKNavigationAction& navigationAction,
                                        std::function<void(WKNavigationActionPolicy)> decisionHandler) = 0;
};

} // namespace platform::ui
