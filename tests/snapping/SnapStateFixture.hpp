#pragma once

#include "model/Log.hpp"
#include "model/Settings.hpp"
#include "platform/desktop/NSGeometry.hpp"
#include "platform/foundation/NotificationCenter.hpp"
#include "platform/foundation/UserDefaults.hpp"
#include "snapping/RoriDeru.hpp"
#include "support/DesktopTest.hpp"
#include "support/SnapGridState.hpp"
#include "windows/ScreenIdentity.hpp"

#include <fstream>
#include <memory>
#include <optional>
#include <sstream>
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
        calls.push_back("setHighlight " + platform::NSStringFromRect({tile.x, tile.y, tile.width, tile.height}));
    }
    void hideHighlight() override { calls.push_back("hideHighlight"); }
    void clearDebug() override { calls.push_back("clearDebug"); }
    void showDebug(const Rect& windowRect, const platform::CGPoint& hitPoint, const std::string& text) override {
        (void)windowRect;
        (void)hitPoint;
        calls.push_back("showDebug " + text);
    }
    void showToast(const std::string& text) override { calls.push_back("showToast " + text); }

    std::vector<std::string> calls;
    double opacity = 0;
};

/// A snap grid whose overlay and target-window seams record their calls (and then do what the
/// snap grid's own bodies do); the target window is what the test sets.
class RecordingGrid : public RoriDeru {
public:
    void showOverlay(const platform::NSScreen& screen, const Preset& preset, bool force, bool markActive,
                     const std::optional<PresetEdges>& customEdges) override {
        calls.push_back("showOverlay " + displayText(screen) + " " + std::to_string(preset.rows) + "x" +
                        std::to_string(preset.cols) + " force=" + (force ? "true" : "false") +
                        " markActive=" + (markActive ? "true" : "false"));
        RoriDeru::showOverlay(screen, preset, force, markActive, customEdges);
    }
    void hideOverlay(const platform::NSScreen& screen, bool clearPreset) override {
        calls.push_back("hideOverlay " + displayText(screen) +
                        " clearPreset=" + (clearPreset ? "true" : "false"));
        RoriDeru::hideOverlay(screen, clearPreset);
    }
    void hideAll(bool clearPresets) override {
        calls.push_back(std::string("hideAll clearPresets=") + (clearPresets ? "true" : "false"));
        RoriDeru::hideAll(clearPresets);
    }
    std::optional<KeyAndRect> frontmostWindowKeyAndRect() override { return frontmost; }

    /// Puts a recording overlay on a display and returns it.
    std::shared_ptr<RecordingOverlay> addOverlay(std::uint32_t display) {
        auto overlay = std::make_shared<RecordingOverlay>();
        overlayLifecycle().adopt(display, overlay);
        return overlay;
    }

    std::vector<std::string> calls;
    std::optional<KeyAndRect> frontmost;

private:
    static std::string displayText(const platform::NSScreen& screen) {
        const auto display = tlm_displayID(screen);
        return display ? std::to_string(*display) : std::string("none");
    }
};

/// The defaults the shell registers at launch, as far as the snap grid reads them.
inline void registerShellDefaults() {
    platform::UserDefaults::standard().registerDefaults({
        {settings::verboseLogging.key, true},
        {settings::snappingEnabled.key, true},
        {settings::magnetDragMode.key, false},
        {settings::dragRequireOption.key, false},
        {settings::liveResizeDuringDrag.key, false},
        {settings::showGridLinesDuringDrag.key, true},
        {settings::gridAllDisplays.key, false},
        {settings::gapSize.key, 0.0},
        {settings::gapHorizontal.key, 0.0},
        {settings::gapVertical.key, 0.0},
        {settings::gapsIncludeScreenEdges.key, false},
        {settings::gapsEdgesLeft.key, false},
        {settings::gapsEdgesRight.key, false},
        {settings::gapsEdgesTop.key, false},
        {settings::gapsEdgesBottom.key, false},
        {settings::applyGapsToMaximize.key, false},
    });
}

/// A desktop test with the laptop (display 1 "Built-in Retina Display", 1440 x 900 at scale 2, key
/// "1-2880x1800") and the external display 2 to its right, verbose logging on, and a count of the
/// selection notifications a grid posts.
class SnapStateTest : public ::DesktopTest {
protected:
    void restoreFixture() override {
        DesktopTest::restoreFixture();
        desk().useLaptopWithExternal();
        platform::UserDefaults::standard().set(true, settings::verboseLogging.key);
    }

    static platform::NSScreen screen(std::uint32_t display) {
        for (const auto& candidate : platform::NSScreen::screens()) {
            if (tlm_displayID(candidate) == display) return candidate;
        }
        throw std::runtime_error("no screen " + std::to_string(display));
    }

    /// Counts "RoriDeruSelectedKindDidChange" posts with `grid` as object from now on.
    void countPosts(const RoriDeru& grid) {
        posts = 0;
        auto& center = platform::NotificationCenter::defaultCenter();
        if (postObserver.isValid()) center.removeObserver(postObserver);
        postObserver = center.addObserver(RoriDeru::selectedKindDidChangeNotification, &grid,
                                          [this](const platform::Notification&) { ++posts; });
    }

    /// Every line printed so far, time stamps shown as "[...]".
    static std::vector<std::string> lines() {
        std::vector<std::string> result;
        const auto path = logFilePath();
        if (!path) return result;
        std::ifstream file(*path);
        std::string line;
        while (std::getline(file, line)) {
            // "[HH:mm:ss.SSS] " is 15 characters.
            if (line.size() > 15 && line[0] == '[' && line[3] == ':' && line[13] == ']')
                line = "[...]" + line.substr(14);
            result.push_back(line);
        }
        return result;
    }

    /// The lines printed since the last call.
    std::vector<std::string> newLines() {
        auto all = lines();
        std::vector<std::string> fresh(all.begin() + static_cast<std::ptrdiff_t>(std::min(seen, all.size())),
                                       all.end());
        seen = all.size();
        return fresh;
    }

    int posts = 0;
    platform::ObserverToken postObserver;
    std::size_t seen = 0;
};

} // namespace tilmora::testing
