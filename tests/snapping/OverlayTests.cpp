#include "SnapTargetFixture.hpp"

#include "model/Settings.hpp"

#include "platform/ui/Path.hpp"
#include "snapping/OverlayView.hpp"
#include "snapping/SystemOverlayWindow.hpp"

#include <gtest/gtest.h>

#include <functional>

namespace tilmora::testing {
namespace {

using platform::CGPoint;
using platform::CGRect;
using Segment = std::pair<CGPoint, CGPoint>;

class OverlayTest : public SnapTargetTest {
protected:
    static std::shared_ptr<SystemOverlayWindow> overlayOf(RoriDeru& grid, std::uint32_t display) {
        const auto it = SnapGridParts::overlayLifecycle(grid).overlays().find(display);
        if (it == SnapGridParts::overlayLifecycle(grid).overlays().end()) return nullptr;
        return std::dynamic_pointer_cast<SystemOverlayWindow>(it->second);
    }

    /// A view as large as `screenFrame` pointed at the two frames, laid out.
    static std::shared_ptr<OverlayView> viewFor(const CGRect& screenFrame, const CGRect& visibleFrame) {
        auto view = std::make_shared<OverlayView>(CGRect{0, 0, screenFrame.width(), screenFrame.height()});
        view->screenFrame = screenFrame;
        view->visibleFrame = visibleFrame;
        return view;
    }

    static bool windowListed(std::uint32_t number) {
        for (const auto& w : platform::SimDesktop::shared().allWindows())
            if (w.number == number && w.onScreen) return true;
        return false;
    }
};

TEST_F(OverlayTest, OverlayWindowIsAClickThroughScreenSaverLevelWindowOverTheScreen) {
    RoriDeru grid;
    grid.showOverlay(builtIn(), RoriDeru::Preset(3, 2, 0, 0), true, true, std::nullopt);
    const auto overlay = overlayOf(grid, 1);
    ASSERT_TRUE(overlay);
    const auto& window = overlay->window();
    EXPECT_EQ(window.level(), 1000);
    EXPECT_TRUE(window.ignoresMouseEvents());
    EXPECT_EQ(window.collectionBehavior, 257u);
    EXPECT_FALSE(window.hasShadow);
    EXPECT_FALSE(window.isOpaque);
    EXPECT_TRUE(window.backgroundColor.isClear());
    EXPECT_EQ(window.styleMask(), 0u);
    EXPECT_EQ(window.frame(), (CGRect{0, 0, 1440, 900}));
    EXPECT_TRUE(window.isVisible());
    EXPECT_EQ(window.contentView().get(), &overlay->view());
    EXPECT_EQ(overlay->view().autoresizingMask, 18u);

    const auto& view = overlay->view();
    const auto& layers = view.layer()->sublayers();
    ASSERT_EQ(layers.size(), 6u);
    EXPECT_EQ(layers[0], view.gridLayer);
    EXPECT_EQ(layers[5], view.toastTextLayer);
    EXPECT_TRUE(view.debugWindowLayer->hidden);
    EXPECT_TRUE(view.debugTextLayer->hidden);
    EXPECT_EQ(view.toastTextLayer->opacity, 0);
    EXPECT_EQ(view.scale, 2);
}

TEST_F(OverlayTest, ClicksAndTitleBarDragsPassThroughTheOverlay) {
    const pid_t mail = desk().run(app("com.example.mail", "Mail"), {window("Inbox", {900, 100, 400, 300})});
    desk().setFrontmost(notes);
    RoriDeru grid;
    grid.showOverlay(builtIn(), RoriDeru::Preset(2, 2, 0, 0), true, true, std::nullopt);
    // Only the window server's handling is looked at: no drag snapping or live resize.
    grid.setSnappingEnabled(false);
    sim().runFor(0.1);
    ASSERT_TRUE(windowListed(std::uint32_t(overlayOf(grid, 1)->window().windowNumber())));

    EXPECT_EQ(desk().windowAt({1000, 200})->pid, mail);
    platform::SimInput::shared().drag({1000, 390}, {900, 490}, 0.2, 4);
    sim().runFor(0.5);
    EXPECT_EQ(desk().frontmost(), mail);
    EXPECT_EQ(desk().windowsOf(mail).at(0).frame, (CGRect{800, 200, 400, 300}));
}

TEST_F(OverlayTest, GridPathDrawsTheInsetBorderAndALineBeforeEveryCell) {
    struct Case {
        const char* name;
        CGRect screenFrame;
        CGRect visibleFrame;
        std::int64_t rows;
        std::int64_t cols;
        CGRect border;
        std::vector<Segment> lines;
    };
    const Case cases[] = {
        {"1 x 1: the border only", {0, 0, 1440, 900}, {0, 0, 1440, 900}, 1, 1, {0.5, 0.5, 1439, 899}, {}},
        {"3 rows, 2 columns",
         {0, 0, 1440, 900},
         {0, 0, 1440, 900},
         3,
         2,
         {0.5, 0.5, 1439, 899},
         {{{719.5, 0}, {719.5, 900}}, {{0, 299.5}, {1440, 299.5}}, {{0, 599.5}, {1440, 599.5}}}},
        {"visible frame below a menu bar, on a display to the right",
         {1440, 0, 1920, 1080},
         {1440, 0, 1920, 1055},
         1,
         2,
         {0.5, 0.5, 1919, 1054},
         {{{959.5, 0}, {959.5, 1055}}}},
        {"no rows or columns counts as one",
         {0, 0, 1440, 900},
         {0, 0, 1440, 900},
         0,
         -3,
         {0.5, 0.5, 1439, 899},
         {}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        const auto view = viewFor(c.screenFrame, c.visibleFrame);
        view->rows = c.rows;
        view->cols = c.cols;
        view->scale = 1;
        view->layout();
        ASSERT_TRUE(view->gridLayer->path);
        const auto& elements = view->gridLayer->path->elements();
        ASSERT_FALSE(elements.empty());
        EXPECT_EQ(elements[0].kind, platform::ui::Path::ElementKind::rect);
        EXPECT_EQ(elements[0].rect, c.border);
        EXPECT_EQ(view->gridLayer->path->lineSegments(), c.lines);
        EXPECT_EQ(view->gridLayer->strokeColor, platform::ui::Color::rgba(0, 1, 0, 0.98));
        EXPECT_EQ(view->gridLayer->lineWidth, 3);
        EXPECT_EQ(view->gridLayer->lineJoin, "round");
    }
}

TEST_F(OverlayTest, HighlightIsARoundedTileWithAPlusSign) {
    struct Case {
        const char* name;
        CGRect screenFrame;
        CGRect tile;
        CGRect rounded;
        double arm;
    };
    const Case cases[] = {
        {"20 x 10: the arms' minimum of 6", {0, 0, 1440, 900}, {100, 100, 20, 10}, {100, 100, 20, 10}, 6},
        {"200 x 100: 18 % of the shorter side",
         {0, 0, 1440, 900},
         {100, 100, 200, 100},
         {100, 100, 200, 100},
         18},
        {"fractional tile on a display to the right",
         {1440, 0, 1920, 1080},
         {1500.4, 10.6, 300, 200},
         {60, 10, 301, 201},
         36.18},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        const auto view = viewFor(c.screenFrame, c.screenFrame);
        view->setHighlight(c.tile);
        ASSERT_TRUE(view->highlightLayer->path);
        const auto& elements = view->highlightLayer->path->elements();
        ASSERT_FALSE(elements.empty());
        EXPECT_EQ(elements[0].kind, platform::ui::Path::ElementKind::roundedRect);
        EXPECT_EQ(elements[0].rect, c.rounded);
        EXPECT_EQ(elements[0].radiusX, 6);
        const CGPoint mid{c.rounded.midX(), c.rounded.midY()};
        const auto segments = view->highlightLayer->path->lineSegments();
        ASSERT_EQ(segments.size(), 2u);
        EXPECT_NEAR(segments[0].first.x, mid.x - c.arm, 1e-9);
        EXPECT_NEAR(segments[0].second.x, mid.x + c.arm, 1e-9);
        EXPECT_EQ(segments[0].first.y, mid.y);
        EXPECT_NEAR(segments[1].first.y, mid.y - c.arm, 1e-9);
        EXPECT_NEAR(segments[1].second.y, mid.y + c.arm, 1e-9);
        EXPECT_FALSE(view->highlightLayer->hidden);

        view->hideHighlight();
        EXPECT_TRUE(view->highlightLayer->hidden);
        EXPECT_FALSE(view->highlightLayer->path);
    }
}

TEST_F(OverlayTest, ToastAndDebugTextFitTheVisibleFrame) {
    struct Case {
        double visibleWidth;
        double toastWidth;
        double debugWidth;
    };
    const Case cases[] = {{1440, 520, 420}, {544, 520, 420}, {500, 476, 420}, {300, 276, 288}, {10, 0, 0}};
    for (const auto& c : cases) {
        SCOPED_TRACE(c.visibleWidth);
        const auto view = viewFor({0, 0, 1440, 900}, {100, 0, c.visibleWidth, 875});
        view->layout();
        const CGRect toast = view->toastTextLayer->frame;
        EXPECT_EQ(toast.width(), c.toastWidth);
        EXPECT_EQ(toast.height(), 28);
        EXPECT_EQ(toast.midX(), 100 + c.visibleWidth / 2);
        EXPECT_EQ(toast.minY(), 875 - 42);
        const CGRect debug = view->debugTextLayer->frame;
        EXPECT_EQ(debug.width(), c.debugWidth);
        EXPECT_EQ(debug.origin, (CGPoint{108, 875 - 108}));
    }
}

TEST_F(OverlayTest, LaterToastReplacesTheTextAndRestartsTheFade) {
    const auto view = viewFor({0, 0, 1440, 900}, {0, 0, 1440, 900});
    const double start = sim().now();
    view->showToast("one");
    EXPECT_EQ(view->toastTextLayer->opacity, 1);
    sim().runFor(1.0);
    view->showToast("two");
    EXPECT_EQ(view->toastTextLayer->string, "two");
    EXPECT_EQ(view->toastTextLayer->opacity, 1);

    sim().runFor(start + 1.41 - sim().now());
    EXPECT_FALSE(view->toastTextLayer->animation("fade"));
    EXPECT_EQ(view->toastTextLayer->opacity, 1);
    sim().runFor(start + 2.39 - sim().now());
    EXPECT_EQ(view->toastTextLayer->opacity, 1);

    sim().runFor(start + 2.41 - sim().now());
    const auto fade = view->toastTextLayer->animation("fade");
    ASSERT_TRUE(fade);
    EXPECT_EQ(fade->keyPath, "opacity");
    EXPECT_EQ(fade->fromValue, 1.0);
    EXPECT_EQ(fade->toValue, 0.0);
    EXPECT_EQ(fade->duration, 0.25);
    EXPECT_EQ(view->toastTextLayer->opacity, 0);
    EXPECT_EQ(view->toastTextLayer->string, "two");

    // A toast after the fade shows at once, without the old animation.
    view->showToast("three");
    EXPECT_FALSE(view->toastTextLayer->animation("fade"));
    EXPECT_EQ(view->toastTextLayer->opacity, 1);
}

/// What a map holds for display 1 after an operation.
enum class Entry { seeded, fresh, absent };

TEST_F(OverlayTest, EachOperationChangesExactlyItsMaps) {
    const RoriDeru::Preset seededPreset(2, 2, 0, 0);
    const RoriDeru::Preset shownPreset(3, 3, 0, 0);
    const PresetEdges seededEdges{{0, 0.5, 1}, {0, 1}};
    const PresetEdges shownEdges{{0, 0.25, 1}, {0, 1}};

    struct Case {
        const char* name;
        std::function<void(RoriDeru&)> operation;
        Entry overlay;
        Entry active;
        Entry transient;
        Entry edges;
    };
    const auto screen1 = builtIn();
    const Case cases[] = {
        {"show, markActive false, no edges",
         [&](RoriDeru& g) { g.showOverlay(screen1, shownPreset, true, false, std::nullopt); }, Entry::seeded,
         Entry::seeded, Entry::fresh, Entry::seeded},
        {"show, markActive true, edges",
         [&](RoriDeru& g) { g.showOverlay(screen1, shownPreset, true, true, shownEdges); }, Entry::seeded,
         Entry::fresh, Entry::absent, Entry::fresh},
        {"hide, clearPreset false", [&](RoriDeru& g) { g.hideOverlay(screen1, false); }, Entry::absent,
         Entry::seeded, Entry::absent, Entry::absent},
        {"hide, clearPreset true", [&](RoriDeru& g) { g.hideOverlay(screen1, true); }, Entry::absent,
         Entry::absent, Entry::absent, Entry::absent},
        {"hideAll, clearPresets false", [&](RoriDeru& g) { g.hideAll(false); }, Entry::absent, Entry::seeded,
         Entry::absent, Entry::seeded},
        {"hideAll, clearPresets true", [&](RoriDeru& g) { g.hideAll(true); }, Entry::absent, Entry::absent,
         Entry::absent, Entry::absent},
        {"prune of a present display", [&](RoriDeru& g) { g.pruneOverlays({2}); }, Entry::absent,
         Entry::seeded, Entry::absent, Entry::absent},
        {"prune keeping it", [&](RoriDeru& g) { g.pruneOverlays({1}); }, Entry::seeded, Entry::seeded,
         Entry::seeded, Entry::seeded},
        {"prune with an empty keep-set", [&](RoriDeru& g) { g.pruneOverlays({}); }, Entry::seeded,
         Entry::seeded, Entry::seeded, Entry::seeded},
        {"pruneTransientPresets", [&](RoriDeru& g) { g.pruneTransientPresets({2}); }, Entry::seeded,
         Entry::seeded, Entry::absent, Entry::seeded},
        {"pruneTransientPresets with an empty keep-set", [&](RoriDeru& g) { g.pruneTransientPresets({}); },
         Entry::seeded, Entry::seeded, Entry::seeded, Entry::seeded},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        RoriDeru grid;
        grid.showOverlay(screen1, seededPreset, true, false, seededEdges);
        SnapGridParts::overlayLifecycle(grid).setActivePreset(1, seededPreset);
        const auto seededOverlay = SnapGridParts::overlayLifecycle(grid).overlays().at(1);

        c.operation(grid);

        const auto overlay = SnapGridParts::overlayLifecycle(grid).overlays().find(1);
        EXPECT_EQ(overlay == SnapGridParts::overlayLifecycle(grid).overlays().end()     ? Entry::absent
                  : overlay->second == seededOverlay ? Entry::seeded
                                                     : Entry::fresh,
                  c.overlay);
        const auto presetEntry = [](const std::map<std::uint32_t, RoriDeru::Preset>& map,
                                    const RoriDeru::Preset& seeded) {
            const auto it = map.find(1);
            if (it == map.end()) return Entry::absent;
            return it->second == seeded ? Entry::seeded : Entry::fresh;
        };
        const auto& overlays = SnapGridParts::overlayLifecycle(grid);
        EXPECT_EQ(presetEntry(overlays.activePresets(), seededPreset), c.active);
        EXPECT_EQ(presetEntry(overlays.transientPresets(), seededPreset), c.transient);
        const auto edges = overlays.customPresetEdges().find(1);
        EXPECT_EQ(edges == overlays.customPresetEdges().end() ? Entry::absent
                  : edges->second == seededEdges        ? Entry::seeded
                                                        : Entry::fresh,
                  c.edges);
        // A retired overlay is off the screen, highlight and debug layers cleared.
        if (c.overlay == Entry::absent) {
            const auto& retired = dynamic_cast<SystemOverlayWindow&>(*seededOverlay);
            EXPECT_FALSE(retired.window().isVisible());
            EXPECT_TRUE(retired.view().highlightLayer->hidden);
            EXPECT_TRUE(retired.view().debugTextLayer->hidden);
        }
    }
}

TEST_F(OverlayTest, GoneDisplayLosesEverythingAndItsWindowIsOrderedOut) {
    RoriDeru grid;
    grid.showOverlay(builtIn(), RoriDeru::Preset(2, 2, 0, 0), true, true, std::nullopt);
    // Display 7 was unplugged during the drag: its overlay and presets are still held.
    auto orphan = std::make_shared<SystemOverlayWindow>(builtIn());
    orphan->present();
    orphan->setHighlight({100, 100, 200, 200});
    SnapGridParts::overlayLifecycle(grid).adopt(7, orphan);
    SnapGridParts::overlayLifecycle(grid).setActivePreset(7, RoriDeru::Preset(3, 3, 0, 0));
    SnapGridParts::overlayLifecycle(grid).setTransientPreset(7, RoriDeru::Preset(1, 2, 0, 0));
    SnapGridParts::overlayLifecycle(grid).setCustomEdges(7, PresetEdges{{0, 1}, {0, 1}});
    ASSERT_TRUE(windowListed(std::uint32_t(orphan->window().windowNumber())));
    newLines();

    grid.pruneOverlays({1});
    EXPECT_EQ(SnapGridParts::overlayLifecycle(grid).overlays().size(), 1u);
    EXPECT_TRUE(SnapGridParts::overlayLifecycle(grid).overlays().count(1));
    EXPECT_FALSE(SnapGridParts::overlayLifecycle(grid).activePresets().count(7));
    EXPECT_FALSE(SnapGridParts::overlayLifecycle(grid).transientPresets().count(7));
    EXPECT_FALSE(SnapGridParts::overlayLifecycle(grid).customPresetEdges().count(7));
    EXPECT_FALSE(orphan->window().isVisible());
    EXPECT_FALSE(windowListed(std::uint32_t(orphan->window().windowNumber())));
    EXPECT_TRUE(orphan->view().highlightLayer->hidden);
    EXPECT_TRUE(newLinesWith("[TILING]").empty());
}

TEST_F(OverlayTest, HidingADisplayWithoutOverlayChangesNothing) {
    RoriDeru grid;
    SnapGridParts::overlayLifecycle(grid).setActivePreset(1, RoriDeru::Preset(2, 2, 0, 0));
    newLines();
    grid.hideOverlay(builtIn(), true);
    EXPECT_TRUE(SnapGridParts::overlayLifecycle(grid).activePresets().count(1));
    EXPECT_TRUE(newLines().empty());

    // After hiding everything without clearing presets a new show makes a new window.
    grid.showOverlay(builtIn(), RoriDeru::Preset(2, 2, 0, 0), true, true, std::nullopt);
    const auto first = SnapGridParts::overlayLifecycle(grid).overlays().at(1);
    grid.hideAll(false);
    EXPECT_TRUE(SnapGridParts::overlayLifecycle(grid).activePresets().count(1));
    grid.showOverlay(builtIn(), RoriDeru::Preset(2, 2, 0, 0), true, true, std::nullopt);
    EXPECT_NE(SnapGridParts::overlayLifecycle(grid).overlays().at(1), first);
}

TEST_F(OverlayTest, ShowLogsTheScreenAndItsTiles) {
    RoriDeru grid;
    const RoriDeru::Preset preset(2, 2, 2.7, 0);
    grid.showOverlay(builtIn(), preset, true, true, std::nullopt);
    const auto tiles = grid.tiles(builtIn(), preset);
    ASSERT_EQ(tiles.size(), 4u);
    std::vector<std::string> expected = {
        "[...] [TILING] Show overlay on Built-in (id=1) preset=2x2 gutter=2 padding=0)",
        "[...] [TILING]   Screen.frame=(0.0, 0.0, 1440.0, 900.0) visibleFrame=(0.0, 0.0, 1440.0, 900.0) "
        "scale=2.0",
        "[...] [TILING]   Tiles (4):",
    };
    for (std::size_t i = 0; i < tiles.size(); ++i)
        expected.push_back(
            "[...] [TILING]     [0" + std::to_string(i) + "] " +
            platform::NSStringFromRect({tiles[i].x, tiles[i].y, tiles[i].width, tiles[i].height}));
    EXPECT_EQ(newLinesWith("[TILING]"), expected);

    platform::UserDefaults::standard().set(false, settings::verboseLogging.key);
    grid.showOverlay(builtIn(), preset, true, true, std::nullopt);
    EXPECT_TRUE(newLines().empty());
}

TEST_F(OverlayTest, UnforcedShowNeedsActivatedSnapping) {
    RoriDeru grid;
    grid.showOverlay(builtIn(), RoriDeru::Preset(2, 2, 0, 0), false, false, std::nullopt);
    EXPECT_TRUE(SnapGridParts::overlayLifecycle(grid).overlays().empty());
    EXPECT_TRUE(SnapGridParts::overlayLifecycle(grid).transientPresets().empty());
    EXPECT_EQ(
        newLinesWith("[RoriDeru]"),
        (std::vector<std::string>{"[RoriDeru] Skip overlay on Built-in \u2014 snapping not activated"}));

    grid.activateSnap(builtIn());
    grid.showOverlay(builtIn(), RoriDeru::Preset(2, 2, 0, 0), false, false, std::nullopt);
    EXPECT_TRUE(SnapGridParts::overlayLifecycle(grid).overlays().count(1));
    EXPECT_EQ(SnapGridParts::overlayLifecycle(grid).transientPresets().at(1), RoriDeru::Preset(2, 2, 0, 0));
}

TEST_F(OverlayTest, GridShowsOnlyWhenForcedOrMarkedAndNoKindIsSelected) {
    struct Case {
        const char* name;
        bool force;
        bool marked;
        bool kindSelected;
        double opacity;
    };
    const Case cases[] = {
        {"forced", true, false, false, 1},
        {"forced with a selected kind", true, false, true, 0},
        {"marked", false, true, false, 1},
        {"marked with a selected kind", false, true, true, 0},
        {"neither forced nor marked", false, false, false, 0},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        RoriDeru grid;
        grid.activateSnap(builtIn());
        editMarking(grid, [&](auto& state) { state.inMenu = c.marked; });
        if (c.kindSelected) grid.setSelectedKind(SnapIconKind::leftHalf, builtIn());
        grid.showOverlay(builtIn(), RoriDeru::Preset(2, 2, 0, 0), c.force, true, std::nullopt);
        EXPECT_EQ(overlayOf(grid, 1)->gridOpacity(), c.opacity);
    }
}

TEST_F(OverlayTest, ShowOnAllDisplaysUsesTheMenuMarkForTheGrid) {
    RoriDeru grid;
    grid.activateSnap(builtIn());
    grid.showOverlayOnAllDisplays(RoriDeru::Preset(2, 3, 0, 0));
    ASSERT_TRUE(overlayOf(grid, 1));
    EXPECT_EQ(overlayOf(grid, 1)->gridOpacity(), 0);
    EXPECT_EQ(SnapGridParts::overlayLifecycle(grid).activePresets().at(1), RoriDeru::Preset(2, 3, 0, 0));
    editMarking(grid, [&](auto& state) { state.inMenu = true; });
    grid.showOverlayOnAllDisplays(RoriDeru::Preset(2, 3, 0, 0));
    EXPECT_EQ(overlayOf(grid, 1)->gridOpacity(), 1);

    RoriDeru inactive;
    newLines();
    inactive.showOverlayOnAllDisplays(RoriDeru::Preset(2, 3, 0, 0));
    EXPECT_TRUE(SnapGridParts::overlayLifecycle(inactive).overlays().empty());
    EXPECT_EQ(newLinesWith("[RoriDeru]"),
              (std::vector<std::string>{
                  "[RoriDeru] Skip overlay-on-all for Built-in \u2014 snapping not activated"}));
}

} // namespace
} // namespace tilmora::testing
