#include "platform/ui/WKWebView.hpp"

#include "platform/dispatch/MainThread.hpp"
#include "platform/foundation/FileSystem.hpp"

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
}

void WKWebView::showURL(const std::string& url, std::string content) {
    url_ = url;
    setContent(std::move(content));
    baseURL_.reset();
    ++loads_;
}

} // namespace platform::ui
