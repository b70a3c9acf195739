#include "platform/ui/WKWebView.hpp"

#include "platform/dispatch/MainThread.hpp"
#include "platform/foundation/FileSystem.hpp"

#include <algorithm>
#include <system_error>

namespace platform::ui {

namespace {

// The absolute, normalised form of `path`, following links where they exist.
std::filesystem::path resolved(const std::filesystem::path& path) {
    std::error_code error;
    auto canonical = std::filesystem::weakly_canonical(path, error);
    return error ? path.lexically_normal() : canonical;
}

bool isInside(const std::filesystem::path& file, const std::filesystem::path& folder) {
    auto f = resolved(file);
    auto d = resolved(folder);
    auto fi = f.begin();
    for (auto di = d.begin(); di != d.end(); ++di, ++fi) {
        if (di->empty()) continue; // a trailing separator
        if (fi == f.end() || *fi != *di) return false;
    }
    return true;
}

} // namespace

WKWebView::WKWebView(Rect frame, WKWebViewConfiguration)
    : View(frame) {
    registerAction("setDrawsBackground:", [](Responder*) {});
}

std::optional<std::filesystem::path> WKWebView::pathOfFileURL(const std::string& url) {
    if (url.rfind("file://", 0) != 0) return std::nullopt;
    std::string path = url.substr(7);
    auto hash = path.find('#');
    if (hash != std::string::npos) path.erase(hash);
    if (path.empty()) path = "/";
    return std::filesystem::path(path);
}

std::string WKWebView::fileURL(const std::filesystem::path& path) {
    return "file://" + path.string();
}

bool WKWebView::canReadFile(const std::filesystem::path& file) const {
    if (!readAccess_) return false;
    std::error_code error;
    if (!std::filesystem::is_regular_file(file, error)) return false;
    return isInside(file, *readAccess_);
}

void WKWebView::loadFileURL(const std::string& url, const std::string& readAccessURL) {
    requireMainThread("WKWebView::loadFileURL");
    baseURL_.reset();
    readAccess_ = pathOfFileURL(readAccessURL);
    url_ = url;
    setContent({});
    ++loads_;
    auto path = pathOfFileURL(url);
    if (!path || !canReadFile(*path)) return;
    try {
        setContent(FileSystem::readRegularFile(*path, FileSystem::maxWholeFileBytes));
    } catch (const std::exception&) {
        setContent({});
    }
}

void WKWebView::setContent(std::string content) {
    content_ = std::move(content);
    shown_ = WebPageText::blocks(content_);
    layout_.reset();
    scroll_.setOffset(0);
}

const WebPageLayout& WKWebView::pageLayout() const {
    const double width = frame().width();
    if (!layout_ || layoutWidth_ != width) {
        layout_ = WebPageLayout::make(shown_, width);
        layoutWidth_ = width;
    }
    return *layout_;
}

namespace {

/// How far the page passes the view's height (points).
double overhang(const WKWebView& view) {
    return std::max(0.0, view.pageLayout().height() - view.frame().height());
}

} // namespace

double WKWebView::scrollOffset() const {
    return std::clamp(scroll_.offset(), 0.0, overhang(*this));
}

bool WKWebView::scrollBy(double delta) {
    requireMainThread("WKWebView::scrollBy");
    scroll_.setOffset(scrollOffset());
    return scroll_.scrollBy(delta, {overhang(*this), 0, 0});
}

bool WKWebView::scrollToAnchor(const std::string& anchor) {
    requireMainThread("WKWebView::scrollToAnchor");
    const auto& page = pageLayout();
    for (const auto& block : page.blocks()) {
        const auto& anchors = shown_[block.index].anchors;
        if (std::find(anchors.begin(), anchors.end(), anchor) == anchors.end()) continue;
        scroll_.setOffset(block.frame.minY());
        scroll_.limitTo(overhang(*this));
        return true;
    }
    return false;
}

bool WKWebView::showsBlockWhole(std::size_t index) const {
    const auto& blocks = pageLayout().blocks();
    if (index >= blocks.size()) return false;
    const Rect& f = blocks[index].frame;
    const double top = scrollOffset();
    return f.minY() >= top - 0.01 && f.maxY() <= top + frame().height() + 0.01;
}

void WKWebView::scrollWheel(const NSEvent& event) {
    if (scrollBy(-event.scrollingDeltaY)) return;
    View::scrollWheel(event);
}

Rect WKWebView::pageRectInView(const Rect& pageRect) const {
    return {pageRect.minX(), frame().height() - (pageRect.maxY() - scrollOffset()), pageRect.width(),
            pageRect.height()};
}

void WKWebView::mouseDown(const NSEvent& event) {
    const Point local = locationOfEvent(event);
    for (const auto& block : pageLayout().blocks()) {
        const auto& links = shown_[block.index].links;
        for (std::size_t i = 0; i < block.linkFrames.size() && i < links.size(); ++i) {
            const Rect f = pageRectInView(block.linkFrames[i]);
            if (f.isEmpty() || local.x < f.minX() || local.x > f.maxX() || local.y < f.minY() ||
                local.y > f.maxY())
                continue;
            followLink(links[i].href);
            return;
        }
    }
}

WKNavigationActionPolicy WKWebView::followLink(const std::optional<std::string>& url) {
    requireMainThread("WKWebView::followLink");
    WKNavigationActionPolicy policy = WKNavigationActionPolicy::allow;
    if (auto delegate = navigationDelegate.lock()) {
        std::optional<WKNavigationActionPolicy> answer;
        delegate->webViewDecidePolicyFor(*this, WKNavigationAction{url}, [&answer](WKNavigationActionPolicy p) {
            if (!answer) answer = p;
        });
        policy = answer.value_or(WKNavigationActionPolicy::cancel);
    }
    if (policy != WKNavigationActionPolicy::allow || !url) return policy;
    if (!url->empty() && url->front() == '#') {
        showFragment(*url);
        return policy;
    }
    std::string content;
    if (auto path = pathOfFileURL(*url); path && canReadFile(*path)) {
        try {
            content = FileSystem::readRegularFile(*path, FileSystem::maxWholeFileBytes);
        } catch (const std::exception&) {
            content.clear();
        }
    }
    showURL(*url, std::move(content));
    return policy;
}

void WKWebView::loadHTMLString(const std::string& html, const std::optional<std::string>& baseURL) {
    requireMainThread("WKWebView::loadHTMLString");
    readAccess_.reset();
    baseURL_ = baseURL;
    url_ = baseURL;
    setContent(html);
    ++loads_;
}

void WKWebView::showFragment(const std::string& fragment) {
    std::string base = url_.value_or("");
    auto hash = base.find('#');
    if (hash != std::string::npos) base.erase(hash);
    url_ = base + fragment;
    // The page scrolls to the block the fragment names; an unknown one leaves it where it is.
    if (fragment.size() > 1 && fragment[0] == '#') scrollToAnchor(fragment.substr(1));
}

void WKWebView::showURL(const std::string& url, std::string content) {
    url_ = url;
    setContent(std::move(content));
    baseURL_.reset();
    ++loads_;
}

} // namespace platform::ui
