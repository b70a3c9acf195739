#include "windows/AXWindowReader.hpp"

#include "platform/desktop/AXValue.hpp"
#include "platform/desktop/Accessibility.hpp"
#include "platform/desktop/CoordinateSpace.hpp"
#include "platform/dispatch/Thread.hpp"
#include "platform/foundation/Date.hpp"
#include "platform/foundation/Text.hpp"
#include "windows/AXAttributeNames.hpp"
#include "windows/AXAttributeReads.hpp"
#include "windows/ScreenIdentity.hpp"
#include "windows/WindowManager.hpp"

#include <algorithm>
#include <cmath>
#include <cstdlib>
#include <unordered_set>

namespace tilmora::WindowManager {

using platform::AXUIElement;
using platform::CFValue;
using platform::CGRect;

namespace {

using AXAttributeReads::copyAttribute;
using AXAttributeReads::isSettable;

/// The subroles that never count as ordinary windows.
bool isExcludedSubrole(const std::string& subrole) {
    return subrole == "AXSystemDialog";
}



std::optional<std::int64_t> numberAttribute(const AXUIElement& element, const char* attribute) {
    auto value = copyAttribute(element, attribute);
    if (!value || !value->isNumber()) return std::nullopt;
    return value->integerValue();
}

/// The elements of a list value; none when it is not a list of elements only.
std::vector<AXUIElement> elementList(const std::optional<CFValue>& value) {
    std::vector<AXUIElement> elements;
    if (!value || !value->asArray()) return elements;
    for (const CFValue& item : *value->asArray()) {
        const AXUIElement* element = item.asElement();
        if (!element) return {};
        elements.push_back(*element);
    }
    return elements;
}

/// One pass over the application's windows: "AXWindows", else the focused, else the main window.
std::vector<AXUIElement> listWindows(const AXUIElement& app) {
    std::vector<AXUIElement> windows = elementList(copyAttribute(app, "AXWindows"));
    for (const char* single : {"AXFocusedWindow", "AXMainWindow"}) {
        if (!windows.empty()) break;
        if (auto value = copyAttribute(app, single); value && value->asElement())
            windows.push_back(*value->asElement());
    }
    return windows;
}

double centreDistance(const CGRect& a, const CGRect& b) {
    return std::hypot(a.midX() - b.midX(), a.midY() - b.midY());
}

double scoreWindow(const AXUIElement& window, std::optional<std::int64_t> number, const CGRect& targetRect,
                   const platform::NSScreen& targetScreen, const std::string& expectedTitle,
                   std::optional<std::int64_t> expectedNumber) {
    double score = 0;
    if (expectedNumber && number) {
        if (*number == *expectedNumber) {
            score += 5000;
        } else {
            // Computed in doubles: two numbers far apart cannot overflow the difference.
            const double difference = std::abs(double(*number) - double(*expectedNumber));
            score += std::max(0.0, 600 - 40 * difference);
        }
    }
    if (!expectedTitle.empty()) {
        if (auto title = readAXTitle(window)) {
            if (platform::Text::caseInsensitiveEquals(*title, expectedTitle)) {
                score += 1000;
            } else {
                const std::string have = platform::Text::lowercased(*title);
                const std::string want = platform::Text::lowercased(expectedTitle);
                if (have.find(want) != std::string::npos || want.find(have) != std::string::npos)
                    score += 400;
            }
        }
    }
    if (auto frame = readAXRect(window)) {
        if (auto screen = screenForRect(*frame);
            screen && tlm_displayID(*screen) == tlm_displayID(targetScreen))
            score += 200;
        const double overlap = frame->intersection(targetRect).area();
        score += 120 * overlap / std::max(targetRect.area(), 1.0);
        score -= centreDistance(*frame, targetRect) / 10;
        score -= 0.125 * (std::abs(frame->width() - targetRect.width()) +
                          std::abs(frame->height() - targetRect.height()));
    }
    return score;
}

} // namespace

std::optional<std::string> axStringAttr(const AXUIElement& element, const std::string& attribute) {
    auto value = copyAttribute(element, attribute);
    if (!value || !value->asString()) return std::nullopt;
    return *value->asString();
}

std::optional<std::string> readAXTitle(const AXUIElement& element) {
    return axStringAttr(element, "AXTitle");
}

std::optional<std::int64_t> axWindowNumber(const AXUIElement& element) {
    if (auto number = numberAttribute(element, kAXWindowNumberAttribute)) return number;
    return numberAttribute(element, kAXWindowIDAttribute);
}

std::optional<CGRect> readAXRect(const AXUIElement& element) {
    auto position = copyAttribute(element, "AXPosition");
    auto size = copyAttribute(element, "AXSize");
    if (!position || !size || !position->asAXValue() || !size->asAXValue()) return std::nullopt;
    platform::CGPoint p;
    platform::CGSize s;
    if (!platform::AXValueGetValue(*position->asAXValue(), platform::AXValueType::cgPoint, p) ||
        !platform::AXValueGetValue(*size->asAXValue(), platform::AXValueType::cgSize, s))
        return std::nullopt;
    // Top-left (y down) to global (y up) through the main display's current height.
    return platform::flipRect(CGRect(p, s), platform::mainDisplayHeight());
}

bool isStandardMovableWindow(const AXUIElement& element) {
    if (axStringAttr(element, "AXRole") != std::optional<std::string>("AXWindow")) return false;
    if (auto subrole = axStringAttr(element, "AXSubrole"); subrole && isExcludedSubrole(*subrole))
        return false;
    return isSettable(element, "AXPosition") || isSettable(element, "AXSize");
}

std::vector<AXUIElement> uniqueAXWindowsByNumber(const std::vector<AXUIElement>& windows) {
    std::vector<AXUIElement> unique;
    std::unordered_set<std::int64_t> seen;
    for (const auto& window : windows) {
        if (auto number = axWindowNumber(window); number && !seen.insert(*number).second) continue;
        unique.push_back(window);
    }
    return unique;
}

std::vector<AXUIElement> fetchAXWindows(const platform::NSRunningApplication& app, int minCount,
                                        double timeout, const std::optional<std::string>& bundleID) {
    const AXUIElement appElement = platform::AXUIElementCreateApplication(app.processIdentifier());
    const platform::Date deadline{platform::Date::now().timeIntervalSince1970 + timeout};
    const bool dedupe = bundleID == std::optional<std::string>("com.apple.Terminal");
    std::vector<AXUIElement> lastNonEmpty;
    while (true) {
        std::vector<AXUIElement> kept;
        for (const auto& window : listWindows(appElement))
            if (isStandardMovableWindow(window)) kept.push_back(window);
        if (dedupe) kept = uniqueAXWindowsByNumber(kept);
        if (!kept.empty()) lastNonEmpty = kept;
        if (std::ssize(kept) >= minCount) return kept;
        platform::Thread::sleep(0.1);
        if (!(platform::Date::now() < deadline)) return lastNonEmpty;
    }
}

std::optional<AXUIElement> pickAXWindow(const std::vector<AXUIElement>& windows,
                                        const AXWindowTracker& tracker, const std::string& title) {
    std::optional<AXUIElement> firstUnused;
    for (const auto& window : windows) {
        if (tracker.isUsed(window, axWindowNumber(window))) continue;
        if (auto windowTitle = readAXTitle(window);
            windowTitle && platform::Text::caseInsensitiveEquals(*windowTitle, title))
            return window;
        if (!firstUnused) firstUnused = window;
    }
    return firstUnused;
}

std::optional<AXUIElement> pickBestAXWindow(const platform::NSRunningApplication& /*app*/,
                                            const std::vector<AXUIElement>& windows, AXWindowTracker& tracker,
                                            const CGRect& targetRect, const platform::NSScreen& targetScreen,
                                            const std::string& expectedTitle,
                                            std::optional<std::int64_t> windowNumber) {
    const std::string title = platform::Text::trimmingWhitespaceAndNewlines(expectedTitle);
    std::optional<AXUIElement> best;
    std::optional<std::int64_t> bestNumber;
    double bestScore = 0;
    for (const auto& window : windows) {
        const auto number = axWindowNumber(window);
        if (tracker.isUsed(window, number) || !isStandardMovableWindow(window)) continue;
        const double score = scoreWindow(window, number, targetRect, targetScreen, title, windowNumber);
        if (!best || score > bestScore) {
            best = window;
            bestNumber = number;
            bestScore = score;
        }
    }
    if (!best) {
        best = pickAXWindow(windows, tracker, title);
        if (best) bestNumber = axWindowNumber(*best);
    }
    if (best) tracker.record(*best, bestNumber);
    return best;
}

} // namespace tilmora::WindowManager
