#pragma once

#include "snapshots/SavedDisplayIdentity.hpp"
#include "snapshots/WindowValue.hpp"
#include "windows/WindowAccessTest.hpp"

#include "platform/control/DesktopSpecs.hpp"
#include "platform/desktop/NSScreen.hpp"

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

/// A desktop test (the laptop by default) with builders of saved rows and displays for the
/// display-matching code.
class DisplayMatchingTest : public WindowAccessTest {
protected:
    /// A row of "com.example.notes" titled "Todo", saved on display `displayID` with fingerprint
    /// `fingerprint` whose visible frame was `visible` (global, points, y up).
    static tilmora::WindowValue savedRow(std::uint32_t displayID, std::uint32_t fingerprint,
                                         const platform::CGRect& visible, std::optional<std::int64_t> rowID = {}) {
        tilmora::WindowValue row;
        row.bundleIdentifier = "com.example.notes";
        row.windowTitle = "Todo";
        row.screenUUID = tilmora::WindowManager::packScreenUUID(displayID, fingerprint);
        row.windowID = tilmora::WindowManager::packWindowID(visible.origin.x, visible.origin.y);
        row.originalScreenWidth = visible.size.width;
        row.originalScreenHeight = visible.size.height;
        row.rowID = rowID;
        return row;
    }

    /// A display with a 25-point menu bar unless `visible` says otherwise.
    static platform::DisplaySpec display(std::uint32_t id, const std::string& name, const platform::CGRect& frame,
                                         std::optional<platform::CGRect> visible = {}) {
        platform::DisplaySpec spec;
        spec.displayID = id;
        spec.name = name;
        spec.frame = frame;
        spec.visibleFrame = visible;
        spec.backingScaleFactor = 1;
        spec.vendor = 100 + id; // a fingerprint of its own
        return spec;
    }

    /// Replaces the displays by `specs` (the first is main, its origin (0, 0)) and lets the screen
    /// list follow.
    void useDisplays(const std::vector<platform::DisplaySpec>& specs) {
        desk().useLaptop();
        desk().updateDisplay(1, specs.front());
        for (std::size_t i = 1; i < specs.size(); ++i)
            desk().addDisplay(specs[i]);
        sim().runFor(0.1);
    }

    static std::vector<platform::NSScreen> screens() { return platform::NSScreen::screens(); }

    /// The log lines after the first `from`.
    static std::vector<std::string> linesFrom(std::size_t from) {
        auto lines = logLines();
        if (from >= lines.size()) return {};
        return {lines.begin() + static_cast<long>(from), lines.end()};
    }
};
