#include "SnapTargetFixture.hpp"

#include "TilingFixture.hpp"
#include "model/Settings.hpp"

#include "platform/control/SimInput.hpp"
#include "snapping/DragSession.hpp"
#include "snapping/DragTargeting.hpp"
#include "snapping/SystemOverlayWindow.hpp"
#include "snapping/GridWindowMover.hpp"
#include "windows/GeometryBridge.hpp"

#include <gtest/gtest.h>

#include <algorithm>

namespace tilmora::testing {
namespace {

using platform::CGPoint;

class DragSessionTest : public SnapTargetTest {
protected:
    void SetUp() override {
        SnapTargetTest::SetUp();
        platform::UserDefaults::standard().set(false, settings::liveResizeDuringDrag.key);
    }

    platform::CGRect notesFrame() { return desk().windowsOf(notes).at(0).frame; }

    /// Starts a drag of Notes with the pointer on its title bar, then moves the pointer to `pointer`
    /// and the window to `frame` and lets the sampling tick run.
    void dragNotesTo(RoriDeru& grid, platform::CGPoint pointer, const platform::CGRect& frame) {
        platform::SimInput::shared().moveMouse({300, 790});
        grid.beginExternalDrag();
        platform::SimInput::shared().moveMouse(pointer);
        desk().setWindowFrame(notesWindow, frame);
        sim().runFor(0.05);
    }

    bool logged(const std::string& part) {
        const auto all = lines();
        return std::any_of(all.begin(), all.end(),
                           [&](const std::string& line) { return line.find(part) != std::string::npos; });
    }

    static platform::NSEvent dragged(platform::ModifierFlags flags) {
        platform::NSEvent event;
        event.type = platform::EventType::leftMouseDragged;
        event.modifierFlags = flags;
        return event;
    }

    void addDisplay2() {
        platform::DisplaySpec display;
        display.displayID = 2;
        display.name = "External";
        display.frame = {1440, 0, 1440, 900};
        display.visibleFrame = display.frame;
        display.backingScaleFactor = 2;
        desk().addDisplay(display);
    }
};

TEST_F(DragSessionTest, FirstDraggedEventStartsTheSessionUnderTheOptionRule) {
    const auto option = platform::ModifierFlags::option;
    struct Case {
        const char* name;
        bool snapping;
        bool requireOption;
        platform::ModifierFlags first;
        platform::ModifierFlags second;
        bool dragging;
    };
    const Case cases[] = {
        {"plain drag", true, false, {}, {}, true},
        {"option required, missing, pressed later", true, true, {}, option, false},
        {"option required, held then released", true, true, option, {}, true},
        {"snapping off", false, false, {}, {}, false},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        RoriDeru grid;
        {
            auto switches = SnapGridParts::switches(grid);
            switches.snappingEnabled = c.snapping;
            SnapGridParts::restoreSwitches(grid, switches);
        }
        grid.setDragRequireOption(c.requireOption);
        platform::SimInput::shared().moveMouse({300, 790});
        SnapGridParts::dragSession(grid).handleDragged(dragged(c.first));
        platform::SimInput::shared().moveMouse({340, 700});
        SnapGridParts::dragSession(grid).handleDragged(dragged(c.second));
        EXPECT_EQ(SnapGridParts::dragSession(grid).state().isDragging, c.dragging);
        EXPECT_EQ(SnapGridParts::dragSession(grid).state().sampleTimer != nullptr, c.dragging);
        if (c.dragging) {
            ASSERT_TRUE(SnapGridParts::dragSession(grid).state().dragStartMouseLocation);
            EXPECT_EQ(SnapGridParts::dragSession(grid).state().dragStartMouseLocation->x, 300);
            EXPECT_EQ(SnapGridParts::dragSession(grid).state().dragStartMouseLocation->y, 790);
        }
        grid.handleMouseUp();
        EXPECT_FALSE(SnapGridParts::dragSession(grid).state().isDragging);
        EXPECT_FALSE(SnapGridParts::dragSession(grid).state().dragRefusedForOption);
        grid.stopMonitoring();
    }
}

TEST_F(DragSessionTest, PointerThresholdLogsUntilTwelvePointsAndThenStaysPassed) {
    RoriDeru grid;
    platform::SimInput::shared().moveMouse({300, 700});
    grid.beginExternalDrag();
    platform::SimInput::shared().moveMouse({306.5, 708});
    sim().runFor(0.02);
    EXPECT_TRUE(logged("updateHighlight early-exit: pointer threshold not exceeded (dx=6.5, dy=8.0)"));
    EXPECT_FALSE(SnapGridParts::dragSession(grid).state().dragExceededThreshold);
    EXPECT_TRUE(SnapGridParts::overlayLifecycle(grid).overlays().empty());
    platform::SimInput::shared().moveMouse({312, 700});
    sim().runFor(0.02);
    EXPECT_TRUE(SnapGridParts::dragSession(grid).state().dragExceededThreshold);
    newLines();
    platform::SimInput::shared().moveMouse({301, 700});
    sim().runFor(0.02);
    EXPECT_TRUE(SnapGridParts::dragSession(grid).state().dragExceededThreshold);
    EXPECT_TRUE(newLinesWith("pointer threshold not exceeded").empty());
    grid.endExternalDrag();
    EXPECT_FALSE(SnapGridParts::dragSession(grid).state().isDragging);
    EXPECT_FALSE(SnapGridParts::dragSession(grid).state().sampleTimer);
}

TEST_F(DragSessionTest, HighlightKeepsItsTileNearTheBorderAndDebounces) {
    RoriDeru grid;
    auto overlay = std::make_shared<RecordingOverlay>();
    SnapGridParts::overlayLifecycle(grid).adopt(1, overlay);
    const GridPreset preset(2, 2, 0, 0);
    SnapGridParts::overlayLifecycle(grid).setActivePreset(1, preset);
    grid.setDragAssumeTileSize(true);
    const DragTargeting::Target target{1, builtIn(), preset};
    const Rect t0{0, 0, 720, 450};
    const Rect t1{720, 0, 720, 450};
    struct Step {
        CGPoint pointer;
        double at;
        Rect tile;
    };
    const Step steps[] = {
        {{720, 200}, 0.00, t0}, {{734, 200}, 0.10, t0}, {{735, 200}, 0.20, t1},
        {{100, 200}, 0.22, t1}, {{100, 200}, 0.26, t0},
    };
    const double start = sim().now();
    for (const auto& step : steps) {
        SCOPED_TRACE(step.at);
        sim().runFor(start + step.at - sim().now());
        platform::SimInput::shared().moveMouse(step.pointer);
        auto& session = SnapGridParts::dragSession(grid);
        session.targeting().highlight(session.state().dragExceededThreshold, target, *overlay, {100, 500, 400, 300});
        EXPECT_EQ(session.tiles().lastTileForScreen.at(1), step.tile);
        EXPECT_EQ(overlay->calls.back(), "setHighlight " + platform::NSStringFromRect(toCGRect(step.tile)));
    }
}

TEST_F(DragSessionTest, DebugReadOutNamesTheTileTheHitPointAndTheOffsets) {
    RoriDeru grid;
    grid.setDebugEnabled(true);
    auto overlay = std::make_shared<SystemOverlayWindow>(builtIn());
    const GridPreset preset(2, 2, 0, 0);
    SnapGridParts::overlayLifecycle(grid).setActivePreset(1, preset);
    const DragTargeting::Target target{1, builtIn(), preset};
    platform::SimInput::shared().moveMouse({1000, 200});
    auto& session = SnapGridParts::dragSession(grid);
    session.targeting().highlight(session.state().dragExceededThreshold, target, *overlay, {100, 500, 400, 300});
    const auto& view = overlay->view();
    ASSERT_TRUE(view.debugTextLayer->string.has_value());
    EXPECT_EQ(*view.debugTextLayer->string,
              "Scale: 2.00\nCenter: (1000.0, 200.0)\nTile Index: r1,c2\nTile: {{720, 0}, {720, 450}}\n"
              "Window: {{100, 500}, {400, 300}}\nOffsets: L -620.0  B 500.0  R 940.0  T -350.0");
    EXPECT_FALSE(view.debugWindowLayer->hidden);
    ASSERT_TRUE(view.debugWindowLayer->path.has_value());
    EXPECT_EQ(view.debugWindowLayer->path->elements().at(0).rect, (platform::CGRect{100, 500, 400, 300}));
    ASSERT_TRUE(view.debugCenterLayer->path.has_value());
    EXPECT_EQ(view.debugCenterLayer->path->elements().at(0).rect, (platform::CGRect{996.5, 196.5, 7, 7}));

    // Without debugging nothing is drawn.
    grid.setDebugEnabled(false);
    auto plain = std::make_shared<SystemOverlayWindow>(builtIn());
    session.targeting().highlight(session.state().dragExceededThreshold, target, *plain, {100, 500, 400, 300});
    EXPECT_TRUE(plain->view().debugTextLayer->hidden);
    EXPECT_FALSE(plain->view().debugWindowLayer->path.has_value());
}

TEST_F(DragSessionTest, BestOverlayPrefersThePointerThenTheLargestOverlap) {
    addDisplay2();
    struct Case {
        const char* name;
        std::vector<std::uint32_t> overlays;
        std::vector<std::uint32_t> presets;
        CGPoint pointer;
        Rect window;
        std::optional<std::uint32_t> expected;
    };
    const Case cases[] = {
        {"pointer display has one", {1, 2}, {1, 2}, {2000, 400}, {100, 100, 200, 200}, 2},
        {"pointer elsewhere, largest overlap", {1, 2}, {1, 2}, {3000, 400}, {1300, 100, 400, 200}, 2},
        {"tie goes to the earlier", {1, 2}, {1, 2}, {3000, 400}, {1340, 100, 200, 200}, 1},
        {"no overlap, first eligible", {1, 2}, {1, 2}, {3000, 400}, {5000, 5000, 10, 10}, 1},
        {"overlay without preset is passed over", {1, 2}, {2}, {500, 400}, {100, 100, 200, 200}, 2},
        {"no overlays", {}, {1}, {500, 400}, {100, 100, 200, 200}, std::nullopt},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        RoriDeru grid;
        for (auto display : c.overlays)
            SnapGridParts::overlayLifecycle(grid).adopt(display, std::make_shared<RecordingOverlay>());
        for (auto display : c.presets)
            SnapGridParts::overlayLifecycle(grid).setActivePreset(display, GridPreset(2, 2, 0, 0));
        platform::SimInput::shared().moveMouse(c.pointer);
        const auto best = grid.bestOverlay(c.window);
        ASSERT_EQ(best.has_value(), c.expected.has_value());
        if (best) {
            EXPECT_EQ(best->sid, *c.expected);
        }
    }
}

TEST_F(DragSessionTest, LiveResizeCentresTheTileSizeAndSpacesTheMoves) {
    RoriDeru grid;
    grid.setLiveResizeDuringDrag(true);
    auto overlay = std::make_shared<RecordingOverlay>();
    SnapGridParts::overlayLifecycle(grid).adopt(1, overlay);
    desk().setWindowFrame(notesWindow, {400, 350, 200, 100});
    const GridPreset preset(2, 2, 0, 0);
    sim().runFor(1.0);
    grid.applyLiveResizeIfNeeded({400, 350, 200, 100}, {0, 0, 300, 200}, builtIn(), preset, 1);
    EXPECT_EQ(toRect(notesFrame()), (Rect{350, 300, 300, 200}));
    sim().runFor(0.05);
    grid.applyLiveResizeIfNeeded(toRect(notesFrame()), {0, 0, 400, 300}, builtIn(), preset, 1);
    EXPECT_EQ(toRect(notesFrame()), (Rect{350, 300, 300, 200}));
    sim().runFor(0.07);
    grid.applyLiveResizeIfNeeded(toRect(notesFrame()), {0, 0, 400, 300}, builtIn(), preset, 1);
    EXPECT_EQ(notesFrame().size.width, 400);

    // Below the application's minimum size: the notice once per tile and display.
    for (int i = 0; i < 3; ++i) {
        sim().runFor(0.2);
        SnapGridParts::dragSession(grid).tiles().lastAppliedTileForScreen.clear();
        grid.applyLiveResizeIfNeeded(toRect(notesFrame()), {0, 0, 200, 100}, builtIn(), preset, 1);
    }
    const auto toasts = std::count(overlay->calls.begin(), overlay->calls.end(),
                                   std::string("showToast ") + DragTargeting::minimumSizeMessage);
    EXPECT_EQ(toasts, 1);
    // In the same tick the mover, which could not shrink the window to the tile, replaces the
    // notice with its own on the same overlay.
    const auto showing = std::find(overlay->calls.begin(), overlay->calls.end(),
                                   std::string("showToast ") + DragTargeting::minimumSizeMessage);
    const auto snapped = std::find(overlay->calls.begin(), overlay->calls.end(),
                                   std::string("showToast ") + GridWindowMover::minimumSizeMessage);
    ASSERT_NE(snapped, overlay->calls.end());
    EXPECT_LT(showing, snapped);
}

TEST_F(DragSessionTest, DropSnapsIntoThePaddedTileUnderThePointer) {
    RoriDeru grid;
    editMarking(grid, [&](auto& state) { state.inMenu = true; });
    SnapGridParts::overlayLifecycle(grid).setActivePreset(1, GridPreset(2, 2, 0, 4));
    SnapGridParts::overlayLifecycle(grid).adopt(1, std::make_shared<RecordingOverlay>());
    desk().setWindowFrame(notesWindow, {100, 500, 400, 300});
    platform::SimInput::shared().moveMouse({1000, 200});
    grid.snapFrontmostWindowToNearestTileIfApplicable();
    EXPECT_EQ(toRect(notesFrame()), (Rect{724, 4, 712, 442}));
    EXPECT_TRUE(logged("Snap on Built-in (id=1) window="));
    EXPECT_TRUE(logged("tile={{724, 4}, {712, 442}} vis={{0, 0}, {1440, 900}}"));
}

TEST_F(DragSessionTest, DropOnADisplayWithoutOverlayIsSkipped) {
    addDisplay2();
    struct Case {
        const char* name;
        CGPoint pointer;
        platform::CGRect window;
        const char* line;
    };
    const Case cases[] = {
        {"pointer on 2",
         {2000, 400},
         {1600, 300, 400, 300},
         "Cross-display drop on External with no overlay; skipping snap and leaving window as dropped"},
        {"pointer on 1, window mostly on 2",
         {1400, 400},
         {1380, 300, 400, 300},
         "Drop dominated by External on External with no overlay; skipping snap"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        RoriDeru grid;
        editMarking(grid, [&](auto& state) { state.inMenu = true; });
        SnapGridParts::overlayLifecycle(grid).setActivePreset(1, GridPreset(2, 2, 0, 0));
        SnapGridParts::overlayLifecycle(grid).adopt(1, std::make_shared<RecordingOverlay>());
        desk().setWindowFrame(notesWindow, c.window);
        platform::SimInput::shared().moveMouse(c.pointer);
        grid.snapFrontmostWindowToNearestTileIfApplicable();
        EXPECT_EQ(toRect(notesFrame()), toRect(c.window));
        EXPECT_TRUE(logged(c.line));
    }
}

TEST_F(DragSessionTest, MonitorsInstallOnceAndStopEndsTheSession) {
    RoriDeru grid;
    ASSERT_TRUE(grid.isMonitoring());
    const auto drag = SnapGridParts::dragMonitors(grid).dragMonitor();
    const auto up = SnapGridParts::dragMonitors(grid).upMonitor();
    grid.startMonitoringIfNeeded();
    EXPECT_EQ(SnapGridParts::dragMonitors(grid).dragMonitor(), drag);
    EXPECT_EQ(SnapGridParts::dragMonitors(grid).upMonitor(), up);

    SnapGridParts::overlayLifecycle(grid).adopt(1, std::make_shared<RecordingOverlay>());
    grid.beginExternalDrag();
    editSession(grid, [&](auto& state) { state.dragExceededThreshold = true; });
    grid.stopMonitoring();
    EXPECT_FALSE(grid.isMonitoring());
    EXPECT_FALSE(SnapGridParts::dragSession(grid).state().isDragging);
    EXPECT_FALSE(SnapGridParts::dragSession(grid).state().sampleTimer);
    EXPECT_FALSE(SnapGridParts::dragSession(grid).state().dragExceededThreshold);
    EXPECT_EQ(SnapGridParts::overlayLifecycle(grid).overlays().size(), 1u);
    grid.stopMonitoring();

    platform::UserDefaults::standard().set(false, settings::snappingEnabled.key);
    platform::UserDefaults::standard().set(std::string("yes"), settings::dragAssumeTileSize.key);
    RoriDeru off;
    EXPECT_FALSE(off.isMonitoring());
    EXPECT_TRUE(SnapGridParts::switches(off).dragAssumeTileSize);
    off.startMonitoringIfNeeded();
    EXPECT_FALSE(off.isMonitoring());
    off.setSnappingEnabled(true);
    EXPECT_TRUE(off.isMonitoring());
}

} // namespace
} // namespace tilmora::testing

namespace tilmora::testing {
namespace {

class DragFlowTest : public DragSessionTest {};

TEST_F(DragFlowTest, OverlaysShowOnlyOnceTheWindowMovesTwoPoints) {
    struct Case {
        double shift;
        bool shows;
    };
    for (const auto& c : {Case{1.9, false}, Case{2.0, true}}) {
        SCOPED_TRACE(c.shift);
        RoriDeru grid;
        editMarking(grid, [&](auto& state) { state.inMenu = true; });
        SnapGridParts::overlayLifecycle(grid).setActivePreset(1, GridPreset(2, 2, 0, 0));
        desk().setWindowFrame(notesWindow, {100, 500, 400, 300});
        dragNotesTo(grid, {320, 790}, {100 + c.shift, 500, 400, 300});
        EXPECT_EQ(!SnapGridParts::overlayLifecycle(grid).overlays().empty(), c.shows);
        EXPECT_EQ(SnapGridParts::dragSession(grid).state().createdOverlaysForDragSession, c.shows);
        grid.endExternalDrag();
        EXPECT_TRUE(SnapGridParts::overlayLifecycle(grid).overlays().empty());
        const bool snapped = toRect(notesFrame()) != (Rect{100 + c.shift, 500, 400, 300});
        EXPECT_EQ(snapped, c.shows);
        EXPECT_FALSE(SnapGridParts::dragSession(grid).state().isDragging);
        EXPECT_TRUE(SnapGridParts::dragSession(grid).tiles().lastTileForScreen.empty());
    }
}

TEST_F(DragFlowTest, OverlaysShowingBeforeTheDragSurviveTheDrop) {
    RoriDeru grid;
    editMarking(grid, [&](auto& state) { state.inMenu = true; });
    SnapGridParts::overlayLifecycle(grid).setActivePreset(1, GridPreset(2, 2, 0, 0));
    auto overlay = std::make_shared<RecordingOverlay>();
    SnapGridParts::overlayLifecycle(grid).adopt(1, overlay);
    dragNotesTo(grid, {1000, 200}, {900, 100, 400, 300});
    grid.endExternalDrag();
    ASSERT_EQ(SnapGridParts::overlayLifecycle(grid).overlays().size(), 1u);
    EXPECT_EQ(SnapGridParts::overlayLifecycle(grid).overlays().at(1), overlay);
    EXPECT_EQ(std::count(overlay->calls.begin(), overlay->calls.end(), "orderOut"), 0);
    EXPECT_EQ(toRect(notesFrame()), (Rect{720, 0, 720, 450}));
}

TEST_F(DragFlowTest, SelectedKindHighlightsItsRectangleAndTheDropSnapsThere) {
    RoriDeru grid;
    editSelection(grid, [&](auto& state) { state.byDisplay[1] = SnapIconKind::leftHalf; });
    auto overlay = std::make_shared<RecordingOverlay>();
    SnapGridParts::overlayLifecycle(grid).adopt(1, overlay);
    dragNotesTo(grid, {900, 300}, {700, 100, 400, 300});
    EXPECT_EQ(overlay->calls.back(), "setHighlight {{0, 0}, {720, 900}}");
    EXPECT_EQ(SnapGridParts::dragSession(grid).tiles().lastTileForScreen.at(1), (Rect{0, 0, 720, 900}));
    EXPECT_TRUE(SnapGridParts::dragSession(grid).tiles().lastTileChangeAtByScreen.count(1));
    grid.endExternalDrag();
    EXPECT_EQ(toRect(notesFrame()), (Rect{0, 0, 720, 900}));
}

TEST_F(DragFlowTest, ScreenChangeReframesOnlyDisplaysWithAnOverlay) {
    RoriDeru grid;
    auto one = std::make_shared<RecordingOverlay>();
    auto gone = std::make_shared<RecordingOverlay>();
    SnapGridParts::overlayLifecycle(grid).adopt(1, one);
    SnapGridParts::overlayLifecycle(grid).adopt(7, gone);
    addDisplay2();
    EXPECT_NE(std::find(one->calls.begin(), one->calls.end(), "setFrame {{0, 0}, {1440, 900}} display"),
              one->calls.end());
    EXPECT_TRUE(gone->calls.empty());
    EXPECT_FALSE(SnapGridParts::overlayLifecycle(grid).overlays().count(2));
}

TEST_F(DragFlowTest, ActivationOfAnotherApplicationIsRemembered) {
    RoriDeru grid;
    const auto other = desk().run(app("com.example.mail", "Mail"), {window("Inbox", {0, 0, 300, 300})});
    desk().setFrontmost(other);
    sim().runFor(0.01);
    ASSERT_TRUE(SnapGridParts::activeApplications(grid).lastNonSelfActiveApp());
    EXPECT_EQ(SnapGridParts::activeApplications(grid).lastNonSelfActiveApp()->processIdentifier(), other);
    desk().setFrontmost(desk().programPid());
    sim().runFor(0.01);
    ASSERT_TRUE(SnapGridParts::activeApplications(grid).lastNonSelfActiveApp());
    EXPECT_EQ(SnapGridParts::activeApplications(grid).lastNonSelfActiveApp()->processIdentifier(), other);
    platform::AppSpec bare;
    bare.localizedName = "Bare";
    const auto anonymous = desk().run(bare, {window("Bare", {0, 0, 300, 300})});
    desk().setFrontmost(anonymous);
    sim().runFor(0.01);
    ASSERT_TRUE(SnapGridParts::activeApplications(grid).lastNonSelfActiveApp());
    EXPECT_EQ(SnapGridParts::activeApplications(grid).lastNonSelfActiveApp()->processIdentifier(), anonymous);
}

TEST_F(DragFlowTest, TitleBarDragOfThePointerSnapsIntoTheRightHalf) {
    RoriDeru grid;
    editMarking(grid, [&](auto& state) { state.inMenu = true; });
    SnapGridParts::overlayLifecycle(grid).setActivePreset(1, GridPreset(1, 2, 0, 0));
    desk().setWindowFrame(notesWindow, {100, 500, 400, 300});
    platform::SimInput::shared().drag({300, 790}, {1200, 500}, 0.5, 30);
    sim().runFor(1.0);
    EXPECT_EQ(toRect(notesFrame()), (Rect{720, 0, 720, 900}));
    EXPECT_TRUE(SnapGridParts::overlayLifecycle(grid).overlays().empty());
    EXPECT_FALSE(SnapGridParts::dragSession(grid).state().isDragging);
    EXPECT_FALSE(SnapGridParts::dragSession(grid).state().sampleTimer);
}

TEST_F(DragFlowTest, WindowsThatLagOrIgnoreTheTitleBarDragSnapOnlyOnceTheyMoved) {
    struct Case {
        std::string name;
        bool moves;
        double lag;
        bool overlayBeforeLag; ///< overlays show right after the pointer's last move
        Rect dropped;          ///< the window after the release
    };
    const std::vector<Case> cases = {
        {"follows the pointer", true, 0, true, {720, 0, 720, 900}},
        {"lags 0.2 s behind the pointer", true, 0.2, false, {720, 0, 720, 900}},
        {"ignores the title-bar drag", false, 0, false, {100, 500, 400, 300}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        RoriDeru grid;
        editMarking(grid, [&](auto& state) { state.inMenu = true; });
        SnapGridParts::overlayLifecycle(grid).setActivePreset(1, GridPreset(1, 2, 0, 0));
        desk().setWindowFrame(notesWindow, {100, 500, 400, 300});
        platform::WindowSpec spec = window("Doc", {100, 500, 400, 300});
        spec.movesWithTitleBarDrag = c.moves;
        spec.titleBarDragLag = c.lag;
        desk().updateWindow(notesWindow, spec);
        auto& input = platform::SimInput::shared();
        input.moveMouse({300, 790});
        input.mouseDown();
        for (int step = 1; step <= 10; ++step) {
            input.moveMouse({300 + 90.0 * step, 790 - 29.0 * step});
            sim().runFor(0.02);
        }
        EXPECT_EQ(!SnapGridParts::overlayLifecycle(grid).overlays().empty(), c.overlayBeforeLag);
        sim().runFor(0.3);
        EXPECT_EQ(!SnapGridParts::overlayLifecycle(grid).overlays().empty(), c.moves);
        input.mouseUp();
        sim().runFor(0.5);
        EXPECT_EQ(toRect(notesFrame()), c.dropped);
        EXPECT_TRUE(SnapGridParts::overlayLifecycle(grid).overlays().empty());
        EXPECT_FALSE(SnapGridParts::dragSession(grid).state().isDragging);
    }
}

} // namespace
} // namespace tilmora::testing

namespace tilmora::testing {
namespace {

class DragTilingTest : public DragSessionTest {
protected:
    void SetUp() override {
        DragSessionTest::SetUp();
        displays = std::make_shared<FakeDisplayProvider>();
        displays->displays = {DisplayDescriptor{"1", "Built-in", Rect{0, 0, 1440, 900}, 2}};
        mutator = std::make_shared<RecordingMutator>();
        controller = std::make_shared<TilingController>(displays, std::make_shared<WindowProvider>(), mutator,
                                                        std::make_shared<DefaultTilingEngine>(), nullptr);
        controller->onShowOverlay = [this](const DisplayDescriptor& d, const Layout&) {
            events.push_back("show " + d.id.rawValue);
        };
        controller->onHighlightTile = [this](const std::optional<TileId>& id) {
            events.push_back(id ? "highlight tile" : "highlight nil");
        };
        controller->onHideOverlay = [this] { events.push_back("hide"); };
        controller->setTransientLayout(TilingController::defaultHalvesLayout(displays->displays[0]), "1");
    }

    /// Starts a drag of Notes on display 1 and moves it far enough for the tick to act.
    void dragNotes(RoriDeru& grid) {
        desk().setWindowFrame(notesWindow, {100, 500, 400, 300});
        dragNotesTo(grid, {1000, 300}, {800, 100, 400, 300});
    }

    std::shared_ptr<FakeDisplayProvider> displays;
    std::shared_ptr<RecordingMutator> mutator;
    std::shared_ptr<TilingController> controller;
    std::vector<std::string> events;
};

TEST_F(DragTilingTest, ATransientLayoutTakesTheDragAndTheGridDoesNotSnap) {
    RoriDeru grid;
    grid.setTilingController(controller);
    editMarking(grid, [&](auto& state) { state.inMenu = true; });
    SnapGridParts::overlayLifecycle(grid).setActivePreset(1, GridPreset(2, 2, 0, 0));
    dragNotes(grid);
    EXPECT_TRUE(SnapGridParts::dragSession(grid).state().tilingDragActive);
    ASSERT_FALSE(events.empty());
    EXPECT_EQ(events.front(), "show 1");
    grid.endExternalDrag();
    EXPECT_EQ(mutator->calls.size(), 1u);
    EXPECT_EQ(toRect(notesFrame()), (Rect{800, 100, 400, 300}));
    EXPECT_FALSE(SnapGridParts::dragSession(grid).state().tilingDragActive);
    EXPECT_FALSE(SnapGridParts::dragSession(grid).state().tilingWindowId);
}

TEST_F(DragTilingTest, StoppingMonitoringCancelsTheTilingDragAndTheNextDragStartsAfresh) {
    RoriDeru grid;
    grid.setTilingController(controller);
    dragNotes(grid);
    ASSERT_TRUE(SnapGridParts::dragSession(grid).state().tilingDragActive);
    events.clear();
    grid.stopMonitoring();
    grid.startMonitoringIfNeeded();
    EXPECT_EQ(events, (std::vector<std::string>{"hide", "highlight nil"}));
    EXPECT_FALSE(SnapGridParts::dragSession(grid).state().tilingDragActive);
    EXPECT_FALSE(SnapGridParts::dragSession(grid).state().tilingWindowId);
    EXPECT_FALSE(SnapGridParts::dragSession(grid).state().dragExceededThreshold);
    grid.handleMouseUp();
    EXPECT_TRUE(mutator->calls.empty());
    EXPECT_EQ(toRect(notesFrame()), (Rect{800, 100, 400, 300}));

    platform::SimInput::shared().moveMouse({300, 790});
    grid.beginExternalDrag();
    platform::SimInput::shared().moveMouse({305, 790});
    sim().runFor(0.02);
    EXPECT_FALSE(newLinesWith("pointer threshold not exceeded").empty());
    grid.endExternalDrag();
    EXPECT_TRUE(mutator->calls.empty());
}

} // namespace
} // namespace tilmora::testing

namespace tilmora::testing {
namespace {

TEST_F(DragFlowTest, MagnetModeSnapsEvenWhenTheOverlaysWereHiddenMidDrag) {
    RoriDeru grid;
    grid.setMagnetMode(true);
    editSelection(grid, [&](auto& state) { state.byDisplay[1] = SnapIconKind::leftHalf; });
    desk().setWindowFrame(notesWindow, {100, 500, 400, 300});
    dragNotesTo(grid, {900, 300}, {700, 100, 400, 300});
    ASSERT_FALSE(SnapGridParts::overlayLifecycle(grid).overlays().empty());
    grid.hideAll(false);
    EXPECT_TRUE(SnapGridParts::overlayLifecycle(grid).overlays().empty());
    grid.endExternalDrag();
    EXPECT_EQ(toRect(notesFrame()), (Rect{0, 0, 720, 900}));
    EXPECT_TRUE(SnapGridParts::overlayLifecycle(grid).overlays().empty());
    EXPECT_FALSE(SnapGridParts::dragSession(grid).state().createdOverlaysForDragSession);
}

TEST_F(DragFlowTest, LiveResizeGivesTheTileSizeBeforeTheRelease) {
    RoriDeru grid;
    grid.setLiveResizeDuringDrag(true);
    editMarking(grid, [&](auto& state) { state.inMenu = true; });
    SnapGridParts::overlayLifecycle(grid).setActivePreset(1, GridPreset(1, 2, 0, 0));
    desk().setWindowFrame(notesWindow, {100, 500, 400, 300});
    platform::SimInput::shared().drag({300, 790}, {1200, 500}, 0.5, 30);
    sim().runFor(0.48);
    EXPECT_EQ(notesFrame().size.width, 720);
    EXPECT_EQ(notesFrame().size.height, 900);
    sim().runFor(1.0);
    EXPECT_EQ(toRect(notesFrame()), (Rect{720, 0, 720, 900}));
    EXPECT_FALSE(SnapGridParts::dragSession(grid).state().isDragging);
}

} // namespace
} // namespace tilmora::testing
