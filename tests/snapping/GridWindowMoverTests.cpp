#include "SnapTargetFixture.hpp"

#include "snapping/SystemOverlayWindow.hpp"
#include "snapping/GridWindowMover.hpp"

#include <gtest/gtest.h>

#include <limits>

namespace tilmora::testing {
namespace {

using platform::WindowSpec;

class WindowMoverTest : public SnapTargetTest {
protected:
    /// Replaces the behaviour of Notes' window, keeping its frame.
    void notesWindowBehaves(const std::function<void(WindowSpec&)>& change) {
        WindowSpec spec = window("Doc", desk().windowState(notesWindow)->frame);
        change(spec);
        desk().updateWindow(notesWindow, spec);
    }

    /// With Notes' window behaving as `change` says and standing at (100, 250, 800, 600), moves it
    /// onto the 200 x 100 tile at (100, 100) and returns the Accessibility steps of the move.
    std::vector<Step> moveBehavingNotes(const std::function<void(WindowSpec&)>& change) {
        notesWindowBehaves(change);
        desk().setWindowFrame(notesWindow, {100, 250, 800, 600});
        desk().clearJournal();
        RoriDeru grid;
        grid.moveFrontmostAXWindow({100, 100, 200, 100});
        return axSteps();
    }

    std::vector<std::string> axWriteTexts() const {
        std::vector<std::string> texts;
        for (const auto& step : axSteps())
            texts.push_back(step.text);
        return texts;
    }

    std::string overlayToast(RoriDeru& grid) {
        const auto overlay =
            std::dynamic_pointer_cast<SystemOverlayWindow>(SnapGridParts::overlayLifecycle(grid).overlays().at(1));
        return overlay->view().toastTextLayer->string.value_or("");
    }
};

TEST_F(WindowMoverTest, CooperativeWindowGetsSizeThenPositionThenRaise) {
    RoriDeru grid;
    grid.moveFrontmostAXWindow({100, 100, 200, 100});
    EXPECT_EQ(axSteps(), (std::vector<Step>{{"AXMinimized 0", 0},
                                            {"AXFullScreen 0", 0},
                                            {"AXSize (320, 160)", 0},
                                            {"AXPosition (40, 670)", 0.02},
                                            {"AXRaise", 0.02}}));
    EXPECT_EQ(desk().windowState(notesWindow)->frame, (platform::CGRect{40, 70, 320, 160}));
    EXPECT_EQ(newLinesWith("Moved window"),
              (std::vector<std::string>{"[RoriDeru] Moved window -> {{40, 70}, {320, 160}})"}));
}

TEST_F(WindowMoverTest, RefusedWritesTryTheOtherOrder) {
    struct Case {
        const char* name;
        int failFirstWrites;
        std::vector<Step> steps;
    };
    const Case cases[] = {
        {"first size write fails",
         1,
         {{"AXMinimized 0", 0},
          {"AXFullScreen 0", 0},
          {"AXSize (320, 160) failed", 0},
          {"AXPosition (40, 670)", 0.02},
          {"AXPosition (40, 670)", 0.02},
          {"AXSize (320, 160)", 0.04},
          {"AXRaise", 0.04}}},
        {"every write fails: four attempts and the one correction",
         100,
         {{"AXMinimized 0", 0},
          {"AXFullScreen 0", 0},
          {"AXSize (320, 160) failed", 0},
          {"AXPosition (40, 670) failed", 0.02},
          {"AXPosition (40, 670) failed", 0.02},
          {"AXSize (320, 160) failed", 0.04},
          {"AXSize (320, 160) failed", 0.04},
          {"AXPosition (40, 670) failed", 0.06},
          {"AXPosition (40, 670) failed", 0.06},
          {"AXSize (320, 160) failed", 0.08},
          {"AXSize (320, 160) failed", 0.08},
          {"AXPosition (40, 670) failed", 0.095},
          {"AXRaise", 0.095}}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        const auto failing = [&](WindowSpec& spec) { spec.failFirstWrites = c.failFirstWrites; };
        EXPECT_EQ(moveBehavingNotes(failing), c.steps);
    }
}

TEST_F(WindowMoverTest, OneCorrectionOnlyWhenTheWindowLandsMoreThanAlmostAPointOff) {
    struct Case {
        const char* name;
        double nudge;
        int sizeWrites;
    };
    const Case cases[] = {{"exact", 0, 1}, {"half a point", 0.5, 1}, {"0.75 point", 0.75, 2}, {"far", 30, 2}};
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        const auto steps = moveBehavingNotes([&](WindowSpec& spec) { spec.nudge = c.nudge; });
        int sizeWrites = 0;
        for (const auto& step : steps)
            sizeWrites += step.text.rfind("AXSize", 0) == 0;
        EXPECT_EQ(sizeWrites, c.sizeWrites);
        if (c.sizeWrites == 2) {
            // Size, 15 ms, position, then the raise.
            ASSERT_EQ(steps.size(), 7u);
            EXPECT_EQ(steps[4].text, "AXSize (320, 160)");
            EXPECT_EQ(steps[5].text, "AXPosition (40, 670)");
            EXPECT_NEAR(steps[5].at - steps[4].at, 0.015, 1e-9);
            EXPECT_EQ(steps[6].text, "AXRaise");
        }
    }
}

TEST_F(WindowMoverTest, SmallTargetsGrowAboutTheirCentreToTheApplicationsMinimum) {
    pid_t terminal = desk().run(app("com.apple.Terminal", "Terminal"), {window("sh", {0, 0, 800, 500})});
    struct Case {
        const char* name;
        pid_t* front;
        Rect target;
        std::string size;
        std::string position;
        bool toast;
    };
    const Case cases[] = {
        {"200 x 100 for the default minimum", &notes, {100, 100, 200, 100}, "(320, 160)", "(40, 670)", true},
        {"zero width stays zero wide", &notes, {100, 100, 0, 100}, "(0, 900)", "(100, 0)", true},
        {"Terminal's minimum, clamped into the screen",
         &terminal,
         {0, 0, 720, 130},
         "(1440, 260)",
         "(0, 640)",
         true},
        {"large enough: aligned only", &notes, {10.3, 20.6, 500, 400}, "(500, 400)", "(10.5, 479.5)", false},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        desk().setFrontmost(*c.front);
        desk().clearJournal();
        toastHost->panel->contents.clear();
        RoriDeru grid;
        grid.moveFrontmostAXWindow(c.target);
        const auto texts = axWriteTexts();
        ASSERT_GE(texts.size(), 4u);
        EXPECT_EQ(texts[2], "AXSize " + c.size);
        EXPECT_EQ(texts[3], "AXPosition " + c.position);
        EXPECT_EQ(toastHost->panel->contents.size(), c.toast ? 1u : 0u);
    }
}

TEST_F(WindowMoverTest, MinimumSizeMessageGoesToTheOverlayElseToAToast) {
    {
        SCOPED_TRACE("no overlay: a toast titled RoriDeru for 2.5 s");
        RoriDeru grid;
        const double start = sim().now();
        grid.moveFrontmostAXWindow({100, 100, 200, 100});
        ASSERT_EQ(toastHost->panel->contents.size(), 1u);
        EXPECT_EQ(toastHost->panel->contents[0].title, "RoriDeru");
        EXPECT_EQ(toastHost->panel->contents[0].message,
                  "Tile is smaller than this app\u2019s minimum size. Snapped to the smallest possible.");
        sim().runFor(3);
        ASSERT_EQ(toastHost->panel->fadeStartedAt.size(), 1u);
        EXPECT_NEAR(toastHost->panel->fadeStartedAt[0] - start, 2.5, 0.01);
    }
    {
        SCOPED_TRACE("the display's overlay shows it");
        toastHost->panel->contents.clear();
        RoriDeru grid;
        grid.showOverlay(builtIn(), RoriDeru::Preset(2, 2, 0, 0), true, true, std::nullopt);
        grid.moveFrontmostAXWindow({100, 100, 200, 100});
        EXPECT_EQ(overlayToast(grid), GridWindowMover::minimumSizeMessage);
        EXPECT_TRUE(toastHost->panel->contents.empty());
    }
}

TEST_F(WindowMoverTest, NoMoveWithoutWindowTrustOrFiniteFrame) {
    struct Case {
        const char* name;
        bool trusted;
        bool standardWindow;
        Rect target;
        int prompts;
        std::string line;
    };
    const double nan = std::numeric_limits<double>::quiet_NaN();
    const double inf = std::numeric_limits<double>::infinity();
    const Case cases[] = {
        {"no standard window",
         true,
         false,
         {100, 100, 500, 400},
         0,
         "No movable AX window found for app pid="},
        {"no trust", false, true, {100, 100, 500, 400}, 1, ""},
        {"NaN origin", false, true, {nan, 100, 200, 100}, 0, "Ignoring move to a frame that is not finite"},
        {"infinite width",
         true,
         true,
         {100, 100, inf, 100},
         0,
         "Ignoring move to a frame that is not finite"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        resetSharedInstances();
        toastHost->panel->contents.clear();
        notes = desk().run(notesApp(), {});
        desk().setFrontmost(notes);
        WindowSpec spec = window("Doc", {100, 250, 800, 600});
        if (!c.standardWindow) spec.subrole = "AXDialog";
        notesWindow = desk().openWindow(notes, spec);
        desk().setAccessibilityTrusted(c.trusted);
        desk().clearJournal();
        newLines();

        RoriDeru grid;
        grid.moveFrontmostAXWindow(c.target);
        EXPECT_TRUE(axSteps().empty());
        EXPECT_EQ(desk().accessibilityPrompts(), c.prompts);
        EXPECT_TRUE(toastHost->panel->contents.empty());
        const auto printed = newLinesWith("[RoriDeru]");
        if (c.line.empty()) {
            EXPECT_TRUE(printed.empty());
        } else {
            ASSERT_EQ(printed.size(), 1u);
            EXPECT_NE(printed[0].find(c.line), std::string::npos) << printed[0];
        }
        if (!c.standardWindow) {
            EXPECT_EQ(printed[0],
                      "[RoriDeru] No movable AX window found for app pid=" + std::to_string(notes));
        }
    }
}

TEST_F(WindowMoverTest, ExplicitSnapKeepsTheCellInsideThePreset) {
    RoriDeru grid;
    grid.snapFrontmost(5, 0, builtIn(), RoriDeru::Preset(3, 3, 0, 0));
    EXPECT_EQ(desk().windowState(notesWindow)->frame, (platform::CGRect{0, 600, 480, 300}));
    EXPECT_EQ(
        newLinesWith("Snap explicit"),
        (std::vector<std::string>{
            "[...] [TILING] Snap explicit on Built-in (id=1) row=5 col=0 tile={{0, 600}, {480, 300}}"}));

    grid.snapFrontmost(2, 3, builtIn(), RoriDeru::Preset(2, 3, 0, 10));
    EXPECT_EQ(desk().windowState(notesWindow)->frame, (platform::CGRect{970, 460, 460, 430}));
}

TEST_F(WindowMoverTest, FullScreenFallsBackToTheSystemEventsKeystroke) {
    struct Case {
        const char* name;
        bool refuses;
        bool trusted;
        bool result;
        bool fullScreen;
        std::size_t scripts;
        int prompts;
    };
    const Case cases[] = {
        {"window accepts", false, true, true, true, 0, 0},
        {"window refuses", true, true, true, true, 1, 0},
        {"no trust: prompt, keystroke refused", false, false, false, false, 1, 1},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        resetSharedInstances();
        notes = desk().run(notesApp(), {});
        desk().setFrontmost(notes);
        WindowSpec spec = window("Doc", {100, 250, 800, 600});
        spec.refusesFullScreen = c.refuses;
        notesWindow = desk().openWindow(notes, spec);
        desk().setAccessibilityTrusted(c.trusted);
        RoriDeru grid;
        EXPECT_EQ(grid.enterNativeFullScreen(), c.result);
        EXPECT_EQ(desk().windowState(notesWindow)->fullScreen, c.fullScreen);
        EXPECT_EQ(desk().journal(platform::JournalEntry::Kind::script).size(), c.scripts);
        EXPECT_EQ(desk().accessibilityPrompts(), c.prompts);
    }
}

} // namespace
} // namespace tilmora::testing
