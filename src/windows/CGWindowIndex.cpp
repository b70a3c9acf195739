#include "windows/CGWindowIndex.hpp"

#include "platform/desktop/WindowList.hpp"
#include "platform/dispatch/Thread.hpp"
#include "platform/foundation/Date.hpp"
#include "platform/foundation/Text.hpp"

#include <algorithm>
#include <cmath>
#include <limits>

namespace tilmora::WindowManager {

using platform::CFDictionary;
using platform::CFValue;
using platform::CGRect;

namespace {

std::optional<std::int64_t> integerEntry(const CFDictionary& entry, const char* key) {
    const CFValue* value = platform::lookup(entry, key);
    if (!value || !value->isNumber()) return std::nullopt;
    return value->integerValue();
}

std::optional<std::string> stringEntry(const CFDictionary& entry, const char* key) {
    const CFValue* value = platform::lookup(entry, key);
    if (!value || !value->asString()) return std::nullopt;
    return *value->asString();
}

bool boolEntry(const CFDictionary& entry, const char* key) {
    const CFValue* value = platform::lookup(entry, key);
    return value && value->asBool() && *value->asBool();
}

/// The entry's bounds (top-left coordinates); a missing dictionary or field reads as 0.
std::optional<CGRect> boundsEntry(const CFDictionary& entry) {
    const CFValue* value = platform::lookup(entry, platform::kCGWindowBounds);
    if (!value || !value->asDictionary()) return std::nullopt;
    auto field = [&](const char* key) {
        const CFValue* f = platform::lookup(*value->asDictionary(), key);
        return f ? f->doubleValue().value_or(0) : 0.0;
    };
    return CGRect(field("X"), field("Y"), field("Width"), field("Height"));
}

/// The entry's workspace number when it is a number within the signed 32-bit range.
std::optional<std::int32_t> workspaceEntry(const CFDictionary& entry) {
    const auto value = integerEntry(entry, platform::kCGWindowWorkspace);
    if (!value || *value < std::numeric_limits<std::int32_t>::min() ||
        *value > std::numeric_limits<std::int32_t>::max())
        return std::nullopt;
    return static_cast<std::int32_t>(*value);
}

std::optional<platform::CFArray> windowList(platform::CGWindowListOption option) {
    return platform::CGWindowListCopyWindowInfo(option, platform::kCGNullWindowID);
}

double centresApart(const CGRect& a, const CGRect& b) {
    return std::hypot(a.midX() - b.midX(), a.midY() - b.midY());
}

/// Neither text contains the other, compared ignoring case as the user's locale does.
bool unrelatedTitles(const std::string& a, const std::string& b) {
    return !platform::Text::caseInsensitiveContains(a, b) && !platform::Text::caseInsensitiveContains(b, a);
}

double titlePenaltyForMove(const std::optional<std::string>& expected,
                           const std::optional<std::string>& title) {
    if (!expected || expected->empty()) return 0;
    if (!title || title->empty()) return 140;
    if (*title == *expected) return 0;
    return unrelatedTitles(*title, *expected) ? 120 : 35;
}

} // namespace

CGWindowIndex buildCGWindowIndex() {
    CGWindowIndex index;
    const auto list = windowList(platform::kCGWindowListOptionAll);
    if (!list) return index;
    for (const CFValue& item : *list) {
        const CFDictionary* entry = item.asDictionary();
        if (!entry) continue;
        const auto number = integerEntry(*entry, platform::kCGWindowNumber);
        const auto pid = integerEntry(*entry, platform::kCGWindowOwnerPID);
        if (!number || !pid) continue;
        CGWindowLite window;
        window.windowID = static_cast<std::uint32_t>(*number);
        window.pid = static_cast<std::int32_t>(*pid);
        window.bounds = boundsEntry(*entry).value_or(CGRect());
        window.title = stringEntry(*entry, platform::kCGWindowName).value_or("");
        window.isOnscreen = boolEntry(*entry, platform::kCGWindowIsOnscreen);
        index[window.pid].push_back(std::move(window));
    }
    return index;
}

std::optional<std::uint32_t> resolveCGWindowID(std::int64_t axWindowNumber, std::int32_t pid,
                                               const CGRect& rect, const std::string& title,
                                               const CGWindowIndex& index) {
    const auto found = index.find(pid);
    if (found == index.end() || found->second.empty()) return std::nullopt;
    const auto& windows = found->second;
    if (axWindowNumber >= 1) {
        for (const auto& window : windows)
            if (std::int64_t(window.windowID) == axWindowNumber) return window.windowID;
    }
    std::optional<std::uint32_t> best;
    double bestScore = 0;
    for (const auto& window : windows) {
        const CGRect& b = window.bounds;
        if (b.isEmpty() || b.width() < 40 || b.height() < 40) continue;
        const double a1 = std::max(b.area(), 1.0);
        const double a2 = std::max(rect.width() * rect.height(), 1.0);
        double score = centresApart(b, rect) + 200 * (std::max(a1, a2) / std::min(a1, a2) - 1);
        if (!title.empty() && !window.title.empty() && unrelatedTitles(title, window.title)) score += 30;
        if (!best || score < bestScore) {
            best = window.windowID;
            bestScore = score;
        }
    }
    return best;
}

bool cgWindowIsOnscreen(std::int64_t windowNumber) {
    if (windowNumber < 1) return false;
    const auto list = windowList(platform::kCGWindowListOptionAll);
    if (!list) return false;
    for (const CFValue& item : *list) {
        const CFDictionary* entry = item.asDictionary();
        if (!entry || integerEntry(*entry, platform::kCGWindowNumber) != windowNumber) continue;
        return boolEntry(*entry, platform::kCGWindowIsOnscreen);
    }
    return false;
}

std::optional<std::int32_t> currentWorkspaceID() {
    const auto list = windowList(platform::kCGWindowListOptionOnScreenOnly);
    if (!list) return std::nullopt;
    for (const CFValue& item : *list) {
        const CFDictionary* entry = item.asDictionary();
        if (!entry) continue;
        if (integerEntry(*entry, platform::kCGWindowLayer) != std::optional<std::int64_t>(0)) continue;
        if (!boolEntry(*entry, platform::kCGWindowIsOnscreen)) continue;
        if (const CFValue* alpha = platform::lookup(*entry, platform::kCGWindowAlpha)) {
            if (auto a = alpha->doubleValue(); a && *a < 0.01) continue;
        }
        if (auto workspace = workspaceEntry(*entry)) return workspace;
    }
    return std::nullopt;
}

std::set<std::int32_t> detectWorkspaceIDs() {
    std::set<std::int32_t> ids;
    const auto list = windowList(platform::kCGWindowListOptionAll);
    if (!list) return ids;
    for (const CFValue& item : *list) {
        if (const CFDictionary* entry = item.asDictionary())
            if (auto workspace = workspaceEntry(*entry)) ids.insert(*workspace);
    }
    return ids;
}

std::optional<std::uint32_t> resolveCGWindowIDForMove(std::int32_t appPID, const CGRect& approxRect,
                                                      const std::optional<std::string>& expectedTitle,
                                                      double maxWait) {
    const platform::Date start = platform::Date::now();
    if (!(maxWait > 0)) return std::nullopt;
    while (true) {
        const auto list = windowList(platform::kCGWindowListOptionAll);
        if (!list) return std::nullopt;
        std::optional<std::uint32_t> best;
        double bestScore = 0;
        for (const CFValue& item : *list) {
            const CFDictionary* entry = item.asDictionary();
            if (!entry ||
                integerEntry(*entry, platform::kCGWindowOwnerPID) != std::optional<std::int64_t>(appPID))
                continue;
            const auto number = integerEntry(*entry, platform::kCGWindowNumber);
            const auto bounds = boundsEntry(*entry);
            if (!number || !bounds || bounds->isEmpty()) continue;
            auto title = stringEntry(*entry, platform::kCGWindowName);
            if (!title) title = stringEntry(*entry, platform::kCGWindowOwnerName);
            const double score = centresApart(*bounds, approxRect) +
                                 0.35 * (std::abs(bounds->width() - approxRect.width()) +
                                         std::abs(bounds->height() - approxRect.height())) +
                                 titlePenaltyForMove(expectedTitle, title);
            if (!best || score < bestScore) {
                best = static_cast<std::uint32_t>(*number);
                bestScore = score;
            }
        }
        if (best && bestScore < 260) return best;
        platform::Thread::sleep(0.12);
        if (platform::Date::now().timeIntervalSince(start) >= maxWait) return best;
    }
}

} // namespace tilmora::WindowManager
