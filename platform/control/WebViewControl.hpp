#pragma once

#include "platform/ui/WKWebView.hpp"

#include <filesystem>
#include <optional>
#include <string>

/// The simulator's control of web views: a user's click on a link, and what a page may read.
/// Tests and the desktop console only. Main thread only.
namespace platform::WebViewControl {

/// Clicks a link to `url` (none: a request without a URL), in the view's window laid out first as
/// the pointer's click finds it. The view asks its navigation delegate
/// (no delegate allows); when allowed, an in-page anchor ("#part") keeps the page and moves to
/// the anchor, a file URL the page may read loads that file, any other URL becomes the page's URL
/// with nothing shown. A delegate that never answers counts as cancel. Returns the answer.
ui::WKNavigationActionPolicy followLink(ui::WKWebView& webView, const std::optional<std::string>& url);

/// Whether the page may load `file` (an image or a style sheet it refers to): the view's
/// readable folder holds it and it exists.
bool canLoadFile(const ui::WKWebView& webView, const std::filesystem::path& file);

} // namespace platform::WebViewControl
