#pragma once

#include "platform/ui/ScrollPosition.hpp"
#include "platform/ui/View.hpp"
#include "platform/ui/WKNavigationDelegate.hpp"
#include "platform/ui/WebPageLayout.hpp"
#include "platform/ui/WebPageText.hpp"

#include <filesystem>
#include <memory>
#include <optional>
#include <string>
#include <vector>

namespace platform::ui {

/// The settings a web view is made with (the default ones are all there is).
struct WKWebViewConfiguration {};

/// A web view: shows one page, loaded from a file with a folder it may read, or from a text with a
/// base URL. The simulated view shows the page's text, block by block (`shownText`, which the
/// screen capture draws); it keeps the page's URL and HTML for whoever reads them, and follows
/// links only through `WebViewControl` (control API), asking its navigation delegate first. URLs are texts; file URLs are "file://" followed by an absolute path. Answers
/// the selector "setDrawsBackground:". The page is set in the view's width (`pageLayout`) and
/// scrolls vertically (by the wheel, `scrollBy`, and to the block an in-page link names); a new
/// page starts at its top. Main thread only.
class WKWebView : public View {
public:
    WKWebView(Rect frame, WKWebViewConfiguration configuration);

    std::weak_ptr<WKNavigationDelegate> navigationDelegate;

    /// Loads the file of the file URL `url`, which may read the files under the folder of the file
    /// URL `readAccessURL` (the file itself must lie there). A file it cannot read leaves an empty
    /// page.
    void loadFileURL(const std::string& url, const std::string& readAccessURL);
    /// Shows `html`; relative links resolve against `baseURL`.
    void loadHTMLString(const std::string& html, const std::optional<std::string>& baseURL);

    /// The URL of the page shown (with its "#fragment" after an in-page link); none before a load.
    const std::optional<std::string>& url() const { return url_; }
    /// The page's HTML text.
    const std::string& pageContent() const { return content_; }
    /// What the page shows: its headings, paragraphs, list items and links in order.
    const std::vector<WebPageText::Block>& shownText() const { return shown_; }
    /// The base URL of an HTML-text load; none for a file load.
    const std::optional<std::string>& baseURL() const { return baseURL_; }
    /// The folder a file load may read; none for an HTML-text load.
    const std::optional<std::filesystem::path>& readAccessFolder() const { return readAccess_; }
    /// How many loads the view made (file, text or followed link; in-page anchors do not count).
    int loadCount() const { return loads_; }

    /// The page set in the view's width (made again when the width or the page changes).
    const WebPageLayout& pageLayout() const;
    /// How far the page is scrolled from its top (points, from 0 to how far the page passes the
    /// view's height).
    double scrollOffset() const;
    /// Scrolls `delta` points down the page (negative: up), within the page. False when the page
    /// did not move.
    bool scrollBy(double delta);
    /// Scrolls the block that the anchor `anchor` (an element's id, without "#") starts to the
    /// view's top, as far as the page goes. False when no block has that anchor.
    bool scrollToAnchor(const std::string& anchor);
    /// Whether the page's block at `index` shows whole in the view at the current scroll offset.
    bool showsBlockWhole(std::size_t index) const;
    /// A box of the page (page space: points, y down from the page's top, as `pageLayout` gives)
    /// in the view's own space (points, y up from its bottom) at the current scroll offset.
    Rect pageRectInView(const Rect& pageRect) const;
    /// The wheel over the view scrolls the page by `-scrollingDeltaY`; a wheel that moves nothing
    /// goes on to the superview.
    void scrollWheel(const NSEvent& event) override;
    /// A click on a link where the page shows it (`PlacedBlock::linkFrames`: a table of contents'
    /// entry, a link inside a paragraph) follows the link, as `followLink` says; a click elsewhere
    /// on the page does nothing.
    void mouseDown(const NSEvent& event) override;

    bool drawsBackground() const { return drawsBackground_; }
    void setDrawsBackground(bool draws) { drawsBackground_ = draws; }

    /// Whether the page may read `file`: a file load's readable folder holds it and it exists.
    bool canReadFile(const std::filesystem::path& file) const;

    /// The path of a "file://" URL; none for another scheme.
    static std::optional<std::filesystem::path> pathOfFileURL(const std::string& url);
    /// The "file://" URL of an absolute path.
    static std::string fileURL(const std::filesystem::path& path);

private:
    friend class WebViewNavigation;
    /// Follows a link to `url` (none: a request without a URL): asks the navigation delegate (no
    /// delegate allows; one that never answers cancels); when allowed, an in-page anchor ("#part")
    /// keeps the page and moves to the anchor, a file URL the page may read loads that file, any
    /// other URL becomes the page's URL with nothing shown. Returns the answer. Main thread.
    WKNavigationActionPolicy followLink(const std::optional<std::string>& url);
    void showFragment(const std::string& fragment);
    void showURL(const std::string& url, std::string content);

    std::optional<std::string> url_;
    void setContent(std::string content);

    std::string content_;
    std::vector<WebPageText::Block> shown_;
    std::optional<std::string> baseURL_;
    std::optional<std::filesystem::path> readAccess_;
    int loads_ = 0;
    bool drawsBackground_ = true;
    ScrollPosition scroll_;
    mutable std::optional<WebPageLayout> layout_; // the page set at `layoutWidth_`
    mutable double layoutWidth_ = -1;
};

} // namespace platform::ui
