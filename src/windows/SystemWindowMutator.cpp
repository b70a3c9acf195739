#include "windows/SystemWindowMutator.hpp"

#include "platform/desktop/AXValue.hpp"
#include "platform/desktop/Accessibility.hpp"
#include "platform/desktop/CoordinateSpace.hpp"
#include "platform/desktop/WindowList.hpp"
#include "windows/AXAttributeNames.hpp"
#include "windows/GeometryBridge.hpp"

#include <charconv>
#include <cstdint>
#include <limits>
#include <string>

namespace tilmora {

using platform::AXUIElement;
using platform::CFValue;

namespace {

/// The window number written in `text`: decimal digits with an optional leading "+" or "-", the
/// value within the unsigned 32-bit range. None for anything else (blanks included).
std::optional<std::uint32_t> parseWindowNumber(const std::string& text) {
    std::string_view digits = text;
    bool negative = false;
    if (!digits.empty() && (digits.front() == '+' || digits.front() == '-')) {
        negative = digits.front() == '-';
        digits.remove_prefix(1);
    }
    if (digits.empty()) return std::nullopt;
    std::uint64_t value = 0;
    const auto [end, error] = std::from_chars(digits.data(), digits.data() + digits.size(), value);
    if (error != std::errc() || end != digits.data() + digits.size()) return std::nullopt;
    if (negative && value != 0) return std::nullopt;
    if (value > std::numeric_limits<std::uint32_t>::max()) return std::nullopt;
    return static_cast<std::uint32_t>(value);
}

} // namespace

void SystemWindowMutator::moveAndResize(const WindowId& windowId, const Rect& frame) {
    const auto window = axWindow(windowId, true);
    if (!window) return;
    const platform::CGRect rect = toCGRect(frame);
    const auto topLeft = platform::flipRect(rect, platform::mainDisplayHeight());
    if (auto position = platform::AXValueCreate(topLeft.origin))
        platform::AXUIElementSetAttributeValue(*window, "AXPosition", CFValue(*position));
    if (auto size = platform::AXValueCreate(platform::CGSize{frame.width, frame.height}))
        platform::AXUIElementSetAttributeValue(*window, "AXSize", CFValue(*size));
}

std::optional<AXUIElement> SystemWindowMutator::axWindow(const WindowId& windowId,
                                                         bool promptForPermissions) {
    if (!platform::AXIsProcessTrustedWithOptions(
            {{platform::kAXTrustedCheckOptionPrompt, CFValue(promptForPermissions)}}))
        return std::nullopt;
    const auto number = parseWindowNumber(windowId.rawValue);
    if (!number) return std::nullopt;

    const auto entries =
        platform::CGWindowListCopyWindowInfo(platform::kCGWindowListOptionIncludingWindow, *number);
    if (!entries || entries->empty() || !entries->front().asDictionary()) return std::nullopt;
    const CFValue* owner = platform::lookup(*entries->front().asDictionary(), platform::kCGWindowOwnerPID);
    if (!owner || !owner->isNumber()) return std::nullopt;
    const auto pid = owner->integerValue();
    if (!pid || *pid < std::numeric_limits<std::int32_t>::min() ||
        *pid > std::numeric_limits<std::int32_t>::max())
        return std::nullopt;

    const auto windows = copyWindows(platform::AXUIElementCreateApplication(static_cast<pid_t>(*pid)));
    if (!windows) return std::nullopt;
    for (const auto& window : *windows) {
        CFValue value;
        if (platform::AXUIElementCopyAttributeValue(window, kAXWindowNumberAttribute, value) !=
                platform::kAXErrorSuccess ||
            !value.isNumber())
            continue;
        if (value.integerValue() == std::optional<std::int64_t>(*number)) return window;
    }
    return std::nullopt;
}

std::optional<std::vector<AXUIElement>> SystemWindowMutator::copyWindows(const AXUIElement& app) {
    CFValue value;
    if (platform::AXUIElementCopyAttributeValue(app, "AXWindows", value) != platform::kAXErrorSuccess ||
        !value.asArray())
        return std::nullopt;
    std::vector<AXUIElement> windows;
    for (const auto& item : *value.asArray()) {
        if (!item.asElement()) return std::nullopt;
        windows.push_back(*item.asElement());
    }
    return windows;
}

} // namespace tilmora
