#pragma once

#include "platform/desktop/CFValue.hpp"
#include "platform/desktop/Geometry.hpp"

#include <memory>
#include <optional>
#include <string>
#include <vector>

namespace platform {

namespace desktop_detail {
struct ScreenSnapshot;
}

/// One screen as the screen list shows it. A screen is a snapshot taken when the list was last
/// published (the list may lag a display change); two screens are equal when they stand for the
/// same physical display, whatever its number. Frames are in global coordinates (points, y up from
/// the bottom of the main display). Any thread; logs nothing.
class NSScreen {
public:
    /// The published screens, the one with the menu bar first; empty without displays.
    static std::vector<NSScreen> screens();
    /// The screen of the key window (the frontmost application's focused window), else the first
    /// screen; none without screens.
    static std::optional<NSScreen> main();

    CGRect frame() const;
    /// The frame without the menu bar and the Dock.
    CGRect visibleFrame() const;
    double backingScaleFactor() const;
    std::string localizedName() const;
    /// Holds "NSScreenNumber" (the window-server display number) unless the display hides it;
    /// the value may be of any type the desktop was told to give. The snapshot's own dictionary,
    /// valid as long as this screen object (or a copy of it) lives.
    const CFDictionary& deviceDescription() const;

    bool operator==(const NSScreen& other) const;

private:
    /// Screens come only from `screens` and `main`.
    explicit NSScreen(std::shared_ptr<const desktop_detail::ScreenSnapshot> snapshot);

    std::shared_ptr<const desktop_detail::ScreenSnapshot> snapshot_;
};

} // namespace platform
