#include "windows/RestoreWindowMover.hpp"

#include "platform/desktop/AXValue.hpp"
#include "platform/desktop/Accessibility.hpp"
#include "platform/desktop/CoordinateSpace.hpp"
#include "platform/desktop/LargestOverlap.hpp"
#include "platform/desktop/NSAppleScript.hpp"
#include "platform/desktop/NSGeometry.hpp"
#include "platform/desktop/NSRunningApplication.hpp"
#include "platform/desktop/NSScreen.hpp"
#include "platform/dispatch/Thread.hpp"
#include "platform/foundation/Text.hpp"
#include "windows/AXAttributeNames.hpp"
#include "windows/AXWindowReader.hpp"
#include "windows/WindowManager.hpp"
#include "windows/AXAttributeReads.hpp"

#include <cmath>
#include <optional>

namespace tilmora::WindowManager {

using platform::AXError;
using platform::AXUIElement;
using platform::CFValue;
using platform::CGRect;

namespace {

using AXAttributeReads::isSettable;

constexpr AXError kSkipped = platform::kAXErrorSuccess;

bool isFinite(const CGRect& r) {
    return std::isfinite(r.origin.x) && std::isfinite(r.origin.y) && std::isfinite(r.size.width) &&
           std::isfinite(r.size.height);
}

/// The Accessibility position of a global rectangle: its top-left corner in top-left coordinates.
platform::CGPoint axPositionOf(const CGRect& rect, double mainHeight) {
    const CGRect flipped = platform::flipRect(rect, mainHeight);
    return flipped.origin;
}


void logOrderFailure(bool sizeFirst, AXError e1, AXError e2) {
    logLine("ERROR", std::string("AX set order ") + (sizeFirst ? "size→position" : "position→size") +
                         " failed (e1=" + std::to_string(e1) + ", e2=" + std::to_string(e2) + ")");
}

/// The position and size writes of one move, each skipped (answering success) when its attribute
/// is not settable.
struct FrameWriter {
    AXUIElement window;
    CFValue position;
    CFValue size;
    bool positionSettable = false;
    bool sizeSettable = false;

    AXError writePosition() const {
        return positionSettable ? platform::AXUIElementSetAttributeValue(window, "AXPosition", position)
                                : kSkipped;
    }
    AXError writeSize() const {
        return sizeSettable ? platform::AXUIElementSetAttributeValue(window, "AXSize", size) : kSkipped;
    }

    /// Size, a pause, position (`sizeFirst`), or position, a pause, size; logs the failure of that
    /// order. True when both succeeded.
    bool writeInOrder(bool sizeFirst) const {
        const AXError e1 = sizeFirst ? writeSize() : writePosition();
        platform::Thread::sleep(0.04);
        const AXError e2 = sizeFirst ? writePosition() : writeSize();
        if (e1 == kSkipped && e2 == kSkipped) return true;
        logOrderFailure(sizeFirst, e1, e2);
        return false;
    }
    bool sizeThenPosition() const { return writeInOrder(true); }
    bool positionThenSize() const { return writeInOrder(false); }
};

/// A number of the fallback script: truncated toward zero; none when it is not finite or beyond
/// the range of a 64-bit integer.
std::optional<long long> scriptNumber(double value) {
    const double truncated = std::trunc(value);
    if (!std::isfinite(truncated) || std::abs(truncated) >= 9.2e18) return std::nullopt;
    return static_cast<long long>(truncated);
}

} // namespace

bool pressAXZoomIfAvailable(const AXUIElement& window) {
    CFValue value;
    if (platform::AXUIElementCopyAttributeValue(window, kAXZoomButtonAttributeCF, value) !=
            platform::kAXErrorSuccess ||
        !value.asElement())
        return false;
    platform::AXUIElementPerformAction(*value.asElement(), "AXPress");
    return true;
}

bool moveAXWindow(const AXUIElement& window, const CGRect& target, const CGRect& visibleFrame, bool raise) {
    const double mainHeight = platform::mainDisplayHeight();
    // A target that is not finite has no position or size to write.
    if (!isFinite(target)) return false;
    const auto position = platform::AXValueCreate(axPositionOf(target, mainHeight));
    const auto size = platform::AXValueCreate(platform::CGSize{target.width(), target.height()});
    if (!position || !size) return false;

    FrameWriter writer{window, CFValue(*position), CFValue(*size), isSettable(window, "AXPosition"),
                       isSettable(window, "AXSize")};
    if (!writer.positionSettable && !writer.sizeSettable) return false;

    platform::AXUIElementSetAttributeValue(window, "AXMinimized", CFValue(false));
    platform::AXUIElementSetAttributeValue(window, kAXFullScreenAttribute, CFValue(false));

    const bool written = [&] {
        if (writer.sizeThenPosition()) return true;
        if (writer.positionThenSize()) return true;
        pressAXZoomIfAvailable(window);
        platform::Thread::sleep(0.06);
        if (writer.sizeThenPosition()) return true;
        if (writer.positionThenSize()) return true;

        // Centred placement: a frame of the target's size clipped to the visible frame, centred in
        // it. Its position is written whatever the settable flags say.
        const double w = std::min(visibleFrame.width(), target.width());
        const double h = std::min(visibleFrame.height(), target.height());
        const CGRect centred =
            platform::CGRectIntegral({visibleFrame.midX() - w / 2, visibleFrame.midY() - h / 2, w, h});
        if (auto centredPosition = platform::AXValueCreate(axPositionOf(centred, mainHeight)))
            platform::AXUIElementSetAttributeValue(window, "AXPosition", CFValue(*centredPosition));
        platform::Thread::sleep(0.1);
        if (writer.sizeThenPosition()) return true;
        return writer.positionThenSize();
    }();
    if (!written) return appleScriptMoveFrontWindow(target);

    if (auto actual = readAXRect(window)) {
        const bool off = std::abs(actual->width() - target.width()) > 1.5 ||
                         std::abs(actual->height() - target.height()) > 1.5 ||
                         std::abs(actual->minX() - target.minX()) > 2.0 ||
                         std::abs(actual->minY() - target.minY()) > 2.0;
        if (off) writer.writePosition();
    }
    if (raise) platform::AXUIElementPerformAction(window, "AXRaise");
    return true;
}

bool appleScriptMoveFrontWindow(const CGRect& target) {
    // The script takes the top-left position, as Accessibility does.
    const CGRect topLeft = platform::globalToTopLeft(target);
    const auto x = scriptNumber(topLeft.minX());
    const auto y = scriptNumber(topLeft.minY());
    const auto w = scriptNumber(target.width());
    const auto h = scriptNumber(target.height());
    if (!x || !y || !w || !h) return false;
    const std::string front = "front window of (first application process whose frontmost is true)";
    const std::string source = "tell application \"System Events\"\n  try\n    set position of " + front +
                               " to {" + std::to_string(*x) + ", " + std::to_string(*y) +
                               "}\n    set size of " + front + " to {" + std::to_string(*w) + ", " +
                               std::to_string(*h) +
                               "}\n    return true\n  on error\n    return false\n  end try\nend tell";
    auto script = platform::NSAppleScript::create(source);
    if (!script) return false;
    std::optional<platform::CFDictionary> error;
    const auto result = script->executeAndReturnError(error);
    if (error) logLine("WARN", "AppleScript move fallback error: " + CFValue(*error).description());
    return result && result->booleanValue();
}

void resetWindows(const std::string& bundleID, const std::vector<ResetTarget>& targets) {
    if (targets.empty()) return;
    if (!platform::AXIsProcessTrusted()) {
        // Without trust no window can be read: ask once and leave instead of polling for nothing.
        platform::AXIsProcessTrustedWithOptions({{platform::kAXTrustedCheckOptionPrompt, CFValue(true)}});
        return;
    }
    const auto apps = platform::NSRunningApplication::runningApplications(bundleID);
    if (apps.empty()) return;
    logLine("RESET", "Resetting " + std::to_string(targets.size()) + " window(s) for bundle " + bundleID);
    for (const auto& app : apps) {
        const auto windows = fetchAXWindows(app, 1, 0.6, std::nullopt);
        if (windows.empty()) continue;
        for (const auto& target : targets) {
            std::optional<AXUIElement> match;
            for (const auto& window : windows) {
                if (auto title = readAXTitle(window);
                    title && platform::Text::caseInsensitiveEquals(*title, target.title)) {
                    match = window;
                    break;
                }
            }
            if (!match) continue;
            const auto screens = platform::NSScreen::screens();
            if (screens.empty()) continue;
            const auto screen = platform::screenWithLargestOverlap(
                target.rect, screens, platform::ScreenArea::visibleFrame, screens.front());
            logLine("RESET", "Reset window ‘" + target.title + "’ on " + screen->localizedName() + " to " +
                                 platform::NSStringFromRect(target.rect));
            moveAXWindow(*match, target.rect, screen->visibleFrame(), true);
        }
    }
}

} // namespace tilmora::WindowManager
