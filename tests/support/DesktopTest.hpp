#pragma once

#include "platform/control/SimDesktop.hpp"
#include "platform/desktop/Accessibility.hpp"
#include "support/DesktopBuilders.hpp"
#include "support/PlatformTest.hpp"

#include <optional>
#include <string>
#include <vector>

/// A platform test on a fresh simulated desktop (empty, as every shared instance is reset), with
/// helpers for Accessibility reads.
class DesktopTest : public PlatformTest {
protected:
    platform::SimDesktop& desk() { return platform::SimDesktop::shared(); }

    static platform::AXUIElement windowElement(pid_t pid, std::uint32_t number) {
        platform::AXUIElement e;
        e.pid = pid;
        e.kind = platform::AXUIElement::Kind::window;
        e.window = number;
        return e;
    }

    static std::optional<platform::CGPoint> axPosition(const platform::AXUIElement& e) {
        platform::CFValue v;
        if (platform::AXUIElementCopyAttributeValue(e, "AXPosition", v) != platform::kAXErrorSuccess)
            return {};
        platform::CGPoint p;
        if (!v.asAXValue() || !platform::AXValueGetValue(*v.asAXValue(), platform::AXValueType::cgPoint, p))
            return {};
        return p;
    }

    static std::optional<platform::CGSize> axSize(const platform::AXUIElement& e) {
        platform::CFValue v;
        if (platform::AXUIElementCopyAttributeValue(e, "AXSize", v) != platform::kAXErrorSuccess) return {};
        platform::CGSize s;
        if (!v.asAXValue() || !platform::AXValueGetValue(*v.asAXValue(), platform::AXValueType::cgSize, s))
            return {};
        return s;
    }

    static platform::AXError setPosition(const platform::AXUIElement& e, platform::CGPoint p) {
        return platform::AXUIElementSetAttributeValue(e, "AXPosition",
                                                      platform::CFValue(*platform::AXValueCreate(p)));
    }

    static platform::AXError setSize(const platform::AXUIElement& e, platform::CGSize s) {
        return platform::AXUIElementSetAttributeValue(e, "AXSize",
                                                      platform::CFValue(*platform::AXValueCreate(s)));
    }

    static std::size_t axWindowCount(pid_t pid) {
        platform::CFValue v;
        if (platform::AXUIElementCopyAttributeValue(platform::AXUIElementCreateApplication(pid), "AXWindows",
                                                    v) != platform::kAXErrorSuccess)
            return 0;
        return v.asArray() ? v.asArray()->size() : 0;
    }

    /// An installed regular application with this bundle identifier and (optional) name.
    static platform::AppSpec app(const std::string& bundle, std::optional<std::string> name = {}) {
        return testsupport::appSpec(bundle, std::move(name));
    }

    /// An installed regular application "Notes" ("com.example.notes").
    static platform::AppSpec notesApp() { return testsupport::notesApp(); }

    static platform::WindowSpec window(const std::string& title, platform::CGRect frame) {
        return testsupport::windowSpec(title, frame);
    }

    /// Runs `spec` with these windows and makes it the frontmost application; returns its pid.
    pid_t runFrontmost(const platform::AppSpec& spec, const std::vector<platform::WindowSpec>& windows) {
        const pid_t pid = desk().run(spec, windows);
        desk().setFrontmost(pid);
        return pid;
    }
};
