#pragma once

#include "platform/control/DesktopSpecs.hpp"

#include <cstdint>
#include <optional>
#include <string>
#include <utility>

namespace testsupport {

/// An installed regular application with this bundle identifier and (optional) name.
inline platform::AppSpec appSpec(const std::string& bundle, std::optional<std::string> name = {}) {
    platform::AppSpec spec;
    spec.bundleIdentifier = bundle;
    spec.localizedName = std::move(name);
    return spec;
}

/// An installed regular application "Notes" ("com.example.notes").
inline platform::AppSpec notesApp() {
    return appSpec("com.example.notes", "Notes");
}

/// A standard window titled `title` at `frame` (global coordinates).
inline platform::WindowSpec windowSpec(const std::string& title, platform::CGRect frame) {
    platform::WindowSpec spec;
    spec.title = title;
    spec.frame = frame;
    return spec;
}

/// What Accessibility tells of a window's kind: its role and subrole and which of its position and
/// size it lets be set.
struct WindowKind {
    std::string role = "AXWindow";
    std::optional<std::string> subrole = std::string("AXStandardWindow");
    bool positionSettable = true;
    bool sizeSettable = true;
};

/// A row of a table of window kinds: whether a window of `kind` counts for the code under test.
struct WindowKindCase {
    const char* name;
    WindowKind kind;
    bool counts;
};

/// A window titled `title` at `frame` of this kind.
inline platform::WindowSpec windowSpec(const std::string& title, platform::CGRect frame,
                                       const WindowKind& kind) {
    auto spec = windowSpec(title, frame);
    spec.role = kind.role;
    spec.subrole = kind.subrole;
    spec.positionSettable = kind.positionSettable;
    spec.sizeSettable = kind.sizeSettable;
    return spec;
}

/// A display with this number, name and frame (global coordinates); its visible frame is the
/// frame without the menu bar unless the caller sets one, its scale 2.
inline platform::DisplaySpec displaySpec(std::uint32_t displayID, const std::string& name,
                                         platform::CGRect frame, int spaces = 1) {
    platform::DisplaySpec spec;
    spec.displayID = displayID;
    spec.name = name;
    spec.frame = frame;
    spec.spaces = spaces;
    return spec;
}

/// The same display with no menu bar: its visible frame is its whole frame.
inline platform::DisplaySpec bareDisplaySpec(std::uint32_t displayID, const std::string& name,
                                             platform::CGRect frame) {
    auto spec = displaySpec(displayID, name, frame);
    spec.visibleFrame = frame;
    return spec;
}

/// `spec` made the laptop's built-in panel: vendor 1552, model 41040, 1512 x 982 pixels; with the
/// default serial 0 its display fingerprint is 0xD1BADF2A.
inline platform::DisplaySpec asLaptopPanel(platform::DisplaySpec spec) {
    spec.builtin = true;
    spec.vendor = 1552;
    spec.model = 41040;
    spec.pixelsWide = 1512;
    spec.pixelsHigh = 982;
    return spec;
}

/// Display 1 "Built-in", a built-in panel with no menu bar: frame and visible frame (0, 0, 1440,
/// 900), scale 2.
inline platform::DisplaySpec builtInPanelSpec() {
    auto spec = bareDisplaySpec(1, "Built-in", {0, 0, 1440, 900});
    spec.builtin = true;
    return spec;
}

/// The bundle identifier of the program itself (its main bundle and its running application).
inline const char* const programBundleIdentifier = "com.quorvane.Tilmora";

} // namespace testsupport
