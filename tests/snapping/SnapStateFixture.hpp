#pragma once

#include "model/Log.hpp"
#include "model/Settings.hpp"
#include "platform/desktop/NSGeometry.hpp"
#include "platform/foundation/NotificationCenter.hpp"
#include "platform/foundation/UserDefaults.hpp"
#include "snapping/RoriDeru.hpp"
#include "support/DesktopTest.hpp"
#include "support/LogReading.hpp"
#include "support/ScreenLookup.hpp"
#include "support/SnapGridState.hpp"
#include "windows/ScreenIdentity.hpp"

#include <memory>
#include <optional>
#include <string>
#include <vector>

namespace tilmora::testing {

/// An overlay that records what the state code asks of it, one text per call.
class RecordingOverlay : public OverlayWindow {
public:
    void setFrame(const platform::CGRect& frame, bool display) override {
        calls.push_back("setFrame " + platform::NSStringFromRect(frame) + (display ? " display" : ""));
    }
    void orderOut() override { calls.push_back("orderOut"); }
    void present() override { calls.push_back("present"); }
    void orderFrontRegardless() override { calls.push_back("orderFrontRegardless"); }
    void updateForScreen(const platform::NSScreen& screen) override {
        calls.push_back("updateForScreen " + screen.localizedName());
    }
    void setGrid(std::int64_t rows, std::int64_t cols, double gutter) override {
        calls.push_back("setGrid " + std::to_string(rows) + "x" + std::to_string(cols) + " gutter " +
                        std::to_string(static_cast<long long>(gutter)));
    }
    void setNeedsLayout() override { calls.push_back("setNeedsLayout"); }
    void setGridOpacity(double value) override { opacity = value; }
    double gridOpacity() const override { return opacity; }
    void setHighlight(const Rect& tile) override {
        calls.push_back("setHighlight " +
                        platform::NSStringFromRect({tile.x, tile.y, tile.width, tile.height}));
    }
    void hideHighlight() override { calls.push_back("hideHighlight"); }
    void clearDebug() override { calls.push_back("clearDebug"); }
    void showDebug(const Rect& windowRect, const platform::CGPoint& hitPoint,
                   const std::string& text) override {
        (void)windowRect;
        (void)hitPoint;
        calls.push_back("showDebug " + text);
    }
    void showToast(const std::string& text) override { calls.push_back("showToast " + text); }

    std::vector<std::string> calls;
    double opacity = 0;
};

/// A seam that records the overlay calls, one text per call (and then does what the program's seam
/// does), and answers the target window with what the test sets.
class RecordingSeam : public SnapGridSeam {
public:
    using SnapGridSeam::SnapGridSeam;

    void showOverlay(const platform::NSScreen& screen, const GridPreset& preset, bool force, bool markActive,
                     const std::optional<PresetEdges>& customEdges) override {
        calls.push_back("showOverlay " + displayText(screen) + " " + std::to_string(preset.rows) + "x" +
                        std::to_string(preset.cols) + " force=" + (force ? "true" : "false") +
                        " markActive=" + (markActive ? "true" : "false"));
        SnapGridSeam::showOverlay(screen, preset, force, markActive, customEdges);
    }
    void hideOverlay(const platform::NSScreen& screen, bool clearPreset) override {
        calls.push_back("hideOverlay " + displayText(screen) +
                        " clearPreset=" + (clearPreset ? "true" : "false"));
        SnapGridSeam::hideOverlay(screen, clearPreset);
    }
    void hideAll(bool clearPresets) override {
        calls.push_back(std::string("hideAll clearPresets=") + (clearPresets ? "true" : "false"));
        SnapGridSeam::hideAll(clearPresets);
    }
    std::optional<TargetWindow::KeyAndRect> frontmostWindowKeyAndRect() override { return frontmost; }

    std::vector<std::string> calls;
    std::optional<TargetWindow::KeyAndRect> frontmost;

private:
    static std::string displayText(const platform::NSScreen& screen) {
        const auto display = tlm_displayID(screen);
        return display ? std::to_string(*display) : std::string("none");
    }
};

/// A snap grid over a `RecordingSeam`: `calls` lists the overlay calls of the grid and of its parts,
/// and `frontmost` is its target window.
class RecordingGrid : public RoriDeru {
public:
    RecordingGrid()
        : RoriDeru([](OverlayLifecycle& overlays, ActiveApplicationTracker& applications) {
            return std::make_unique<RecordingSeam>(overlays, applications);
        }) {}

    /// Puts a recording overlay on a display and returns it.
    std::shared_ptr<RecordingOverlay> addOverlay(std::uint32_t display) {
        auto overlay = std::make_shared<RecordingOverlay>();
        SnapGridParts::overlayLifecycle(*this).adopt(display, overlay);
        return overlay;
    }

    std::vector<std::string>& calls = seam().calls;
    std::optional<KeyAndRect>& frontmost = seam().frontmost;

private:
    RecordingSeam& seam() { return static_cast<RecordingSeam&>(SnapGridParts::seam(*this)); }
};

/// The defaults the shell registers at launch, as far as the snap grid reads them: verbose logging,
/// snapping and the drag's grid lines on, every other switch off and every gap 0.
inline void registerShellDefaults() {
    platform::PropertyDictionary defaults{
        {settings::verboseLogging.key, true},
        {settings::snappingEnabled.key, true},
        {settings::showGridLinesDuringDrag.key, true},
    };
    for (const char* off :
         {settings::magnetDragMode.key, settings::dragRequireOption.key, settings::liveResizeDuringDrag.key,
          settings::gridAllDisplays.key, settings::gapsIncludeScreenEdges.key, settings::gapsEdgesLeft.key,
          settings::gapsEdgesRight.key, settings::gapsEdgesTop.key, settings::gapsEdgesBottom.key,
          settings::applyGapsToMaximize.key})
        defaults[off] = false;
    for (const char* gap : {settings::gapSize.key, settings::gapHorizontal.key, settings::gapVertical.key})
        defaults[gap] = 0.0;
    platform::UserDefaults::standard().registerDefaults(defaults);
}

/// A desktop test that reads the log, with the laptop (display 1 "Built-in Retina Display", 1440 x
/// 900 at scale 2, key "1-2880x1800") and the external display 2 to its right, verbose logging on,
/// and a count of the selection notifications a grid posts.
class SnapStateTest : public ::DesktopTest, protected testsupport::LogReading {
protected:
    void restoreFixture() override {
        DesktopTest::restoreFixture();
        desk().useLaptopWithExternal();
        platform::UserDefaults::standard().set(true, settings::verboseLogging.key);
    }

    static platform::NSScreen screen(std::uint32_t display) { return testsupport::screenOfDisplay(display); }

    /// Counts "RoriDeruSelectedKindDidChange" posts with `grid` as object from now on.
    void countPosts(const RoriDeru& grid) {
        posts = 0;
        auto& center = platform::NotificationCenter::defaultCenter();
        if (postObserver.isValid()) center.removeObserver(postObserver);
        postObserver = center.addObserver(RoriDeru::selectedKindDidChangeNotification, &grid,
                                          [this](const platform::Notification&) { ++posts; });
    }

    int posts = 0;
    platform::ObserverToken postObserver;
};

} // namespace tilmora::testing
