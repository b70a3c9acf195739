#include "snapping/TargetWindow.hpp"

#include "platform/desktop/AXValue.hpp"
#include "platform/desktop/Accessibility.hpp"
#include "platform/desktop/CoordinateSpace.hpp"
#include "platform/desktop/NSWorkspace.hpp"
#include "platform/desktop/WindowList.hpp"
#include "platform/foundation/Bundle.hpp"
#include "platform/input/NSEvent.hpp"
#include "snapping/ActiveApplicationTracker.hpp"
#include "snapping/TLog.hpp"
#include "windows/AXAttributeReads.hpp"

#include <cmath>
#include <cstdint>
#include <limits>

namespace tilmora::TargetWindow {

namespace {

using AXAttributeReads::copyAttribute;
using AXAttributeReads::isSettable;

using platform::AXUIElement;
using platform::CFValue;
using platform::NSRunningApplication;


/// An attribute that holds an Accessibility element.
std::optional<AXUIElement> copyElement(const AXUIElement& element, const char* attribute) {
    const auto value = copyAttribute(element, attribute);
    if (!value || !value->asElement()) return std::nullopt;
    return *value->asElement();
}

/// An attribute that holds a list of Accessibility elements; none when the read fails or any
/// entry is something else.
std::optional<std::vector<AXUIElement>> copyElements(const AXUIElement& element, const char* attribute) {
    const auto value = copyAttribute(element, attribute);
    if (!value || !value->asArray()) return std::nullopt;
    std::vector<AXUIElement> elements;
    for (const auto& entry : *value->asArray()) {
        if (!entry.asElement()) return std::nullopt;
        elements.push_back(*entry.asElement());
    }
    return elements;
}


std::string bundleText(const NSRunningApplication& app) {
    return app.bundleIdentifier().value_or("unknown");
}

void logChoice(const char* how, const NSRunningApplication& app) {
    TLog::log("AX", std::string("Target app = ") + how + " (" + bundleText(app) +
                        ") pid=" + std::to_string(app.processIdentifier()));
}

/// A 32-bit integer of the window list; none for other values.
std::optional<std::int32_t> int32Of(const CFValue* value) {
    if (!value || !value->isNumber()) return std::nullopt;
    const auto n = value->integerValue();
    if (!n || *n < std::numeric_limits<std::int32_t>::min() || *n > std::numeric_limits<std::int32_t>::max())
        return std::nullopt;
    if (const auto d = value->doubleValue(); !d || *d != static_cast<double>(*n)) return std::nullopt;
    return static_cast<std::int32_t>(*n);
}

/// The window list's bounds dictionary as a top-left rectangle; none unless all four are numbers.
std::optional<platform::CGRect> boundsOf(const CFValue* value) {
    if (!value || !value->asDictionary()) return std::nullopt;
    const auto& bounds = *value->asDictionary();
    double parts[4];
    const char* keys[4] = {"X", "Y", "Width", "Height"};
    for (int i = 0; i < 4; ++i) {
        const CFValue* part = platform::lookup(bounds, keys[i]);
        if (!part || !part->isNumber()) return std::nullopt;
        parts[i] = part->doubleValue().value_or(0);
    }
    return platform::CGRect{parts[0], parts[1], parts[2], parts[3]};
}

/// Whether a top-left rectangle holds the point (right and top edges outside, as the window
/// server's hit test).
bool holds(const platform::CGRect& r, platform::CGPoint p) {
    return p.x >= r.minX() && p.x < r.maxX() && p.y >= r.minY() && p.y < r.maxY();
}

/// The decimal text of a window number read as a number object's 32-bit value; none when it is
/// not finite or out of the 32-bit range.
std::optional<std::string> int32Text(double value) {
    if (!std::isfinite(value)) return std::nullopt;
    const double truncated = std::trunc(value);
    if (truncated < std::numeric_limits<std::int32_t>::min() ||
        truncated > std::numeric_limits<std::int32_t>::max())
        return std::nullopt;
    return std::to_string(static_cast<std::int32_t>(truncated));
}

} // namespace

std::optional<NSRunningApplication> targetApplication(ActiveApplicationTracker& applications) {
    const auto ownIdentifier = platform::Bundle::main().bundleIdentifier();
    if (const auto front = platform::NSWorkspace::shared().frontmostApplication();
        front && front->bundleIdentifier() != ownIdentifier) {
        applications.remember(*front);
        logChoice("frontmost", *front);
        return front;
    }
    if (const auto& last = applications.lastNonSelfActiveApp(); last && !last->isTerminated()) {
        logChoice("lastActive", *last);
        return last;
    }
    if (const auto under = appUnderMouse()) {
        applications.remember(*under);
        logChoice("underMouse", *under);
        return under;
    }
    TLog::log("AX", "Target app could not be determined");
    return std::nullopt;
}

std::optional<NSRunningApplication> appUnderMouse() {
    const platform::CGPoint pointer = platform::NSEvent::mouseLocation();
    const platform::CGPoint point = platform::flipPoint(pointer, platform::mainDisplayHeight());
    const auto list = platform::CGWindowListCopyWindowInfo(platform::kCGWindowListOptionOnScreenOnly |
                                                               platform::kCGWindowListExcludeDesktopElements,
                                                           platform::kCGNullWindowID);
    if (!list) return std::nullopt;
    const pid_t ownPid = NSRunningApplication::current().processIdentifier();
    for (const auto& entry : *list) {
        const auto* info = entry.asDictionary();
        if (!info) return std::nullopt;
        const auto* layer = platform::lookup(*info, platform::kCGWindowLayer);
        if (!layer || !layer->isNumber() || layer->integerValue() != 0 || layer->doubleValue() != 0.0)
            continue;
        const auto owner = int32Of(platform::lookup(*info, platform::kCGWindowOwnerPID));
        if (!owner || *owner == ownPid) continue;
        const auto bounds = boundsOf(platform::lookup(*info, platform::kCGWindowBounds));
        if (!bounds || !holds(*bounds, point)) continue;
        return NSRunningApplication::runningApplication(*owner);
    }
    return std::nullopt;
}

bool isStandardMovableWindow(const AXUIElement& window) {
    const auto role = copyAttribute(window, "AXRole");
    if (!role || !role->asString() || *role->asString() != "AXWindow") return false;
    if (const auto subrole = copyAttribute(window, "AXSubrole"); subrole && subrole->asString()) {
        const std::string& text = *subrole->asString();
        if (text != "AXStandardWindow" && text != "AXDocumentWindow") return false;
    }
    return isSettable(window, "AXPosition") || isSettable(window, "AXSize");
}

std::optional<AXUIElement> findAXWindow(const AXUIElement& application) {
    for (const char* attribute : {"AXFocusedWindow", "AXMainWindow"}) {
        if (const auto window = copyElement(application, attribute);
            window && isStandardMovableWindow(*window))
            return window;
    }
    const auto windows = copyElements(application, "AXWindows");
    if (!windows) return std::nullopt;
    for (const auto& window : *windows) {
        if (isStandardMovableWindow(window)) return window;
    }
    return std::nullopt;
}

std::optional<Rect> frame(const AXUIElement& window) {
    const auto position = copyAttribute(window, "AXPosition");
    const auto size = copyAttribute(window, "AXSize");
    if (!position || !size || !position->asAXValue() || !size->asAXValue()) return std::nullopt;
    platform::CGPoint origin;
    platform::CGSize extent;
    if (!platform::AXValueGetValue(*position->asAXValue(), platform::AXValueType::cgPoint, origin) ||
        !platform::AXValueGetValue(*size->asAXValue(), platform::AXValueType::cgSize, extent))
        return std::nullopt;
    const double mainHeight = platform::mainDisplayHeight();
    return Rect{origin.x, mainHeight - origin.y - extent.height, extent.width, extent.height};
}

std::optional<Rect> frontmostWindowAppKitRect(ActiveApplicationTracker& applications) {
    const auto app = targetApplication(applications);
    if (!app) return std::nullopt;
    if (!platform::AXIsProcessTrusted()) return std::nullopt;
    const auto element = platform::AXUIElementCreateApplication(app->processIdentifier());
    for (const char* attribute : {"AXFocusedWindow", "AXMainWindow"}) {
        if (const auto window = copyElement(element, attribute)) {
            if (const auto rect = frame(*window)) return rect;
        }
    }
    const auto windows = copyElements(element, "AXWindows");
    if (!windows || windows->empty()) return std::nullopt;
    return frame(windows->front());
}

std::optional<KeyAndRect> keyAndRect(ActiveApplicationTracker& applications) {
    const auto app = targetApplication(applications);
    if (!app) return std::nullopt;
    const std::string base = app->bundleIdentifier().value_or(std::to_string(app->processIdentifier()));
    const auto window = findAXWindow(platform::AXUIElementCreateApplication(app->processIdentifier()));
    if (!window) return std::nullopt;
    std::string title = "untitled";
    if (const auto value = copyAttribute(*window, "AXTitle");
        value && value->asString() && !value->asString()->empty())
        title = *value->asString();
    const auto rect = frame(*window);
    if (!rect) return std::nullopt;
    return KeyAndRect{base + "|" + title, *rect};
}

std::optional<WindowId> currentWindowId(ActiveApplicationTracker& applications) {
    const auto app = targetApplication(applications);
    if (!app) return std::nullopt;
    const auto window = findAXWindow(platform::AXUIElementCreateApplication(app->processIdentifier()));
    if (!window) return std::nullopt;
    const auto value = copyAttribute(*window, AXWindowNumberAttribute);
    if (!value) return std::nullopt;
    // Integers keep their value; other number objects are read as 32-bit integers.
    if (const auto* v = value->get<std::int32_t>()) return WindowId(std::to_string(*v));
    if (const auto* v = value->get<std::int64_t>()) return WindowId(std::to_string(*v));
    if (const auto* v = value->get<CFValue::PlatformInt>()) return WindowId(std::to_string(v->value));
    if (value->isNumber()) {
        if (const auto text = int32Text(value->doubleValue().value_or(NAN))) return WindowId(*text);
    }
    return std::nullopt;
}

const std::vector<std::pair<std::string, platform::CGSize>>& minByBundle() {
    static const std::vector<std::pair<std::string, platform::CGSize>> sizes = {
        {"com.microsoft.Outlook", {560, 380}}, {"com.microsoft.Word", {520, 360}},
        {"com.microsoft.Excel", {520, 360}},   {"com.microsoft.teams2", {600, 420}},
        {"com.google.Chrome", {420, 320}},     {"com.microsoft.VSCode", {500, 360}},
        {"com.apple.Terminal", {360, 260}},
    };
    return sizes;
}

platform::CGSize minSize(const std::string& bundleIdentifier) {
    for (const auto& [identifier, size] : minByBundle()) {
        if (identifier == bundleIdentifier) return size;
    }
    return defaultMin;
}

platform::CGSize frontmostAppMinSize() {
    const auto front = platform::NSWorkspace::shared().frontmostApplication();
    return minSize(front ? front->bundleIdentifier().value_or("") : std::string());
}

} // namespace tilmora::TargetWindow
