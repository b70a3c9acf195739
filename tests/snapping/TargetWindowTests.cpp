#include "SnapTargetFixture.hpp"

#include "platform/desktop/Accessibility.hpp"
#include "platform/ui/Window.hpp"

#include <gtest/gtest.h>

namespace tilmora::testing {
namespace {

using platform::AXUIElementCreateApplication;
using platform::CGSize;
using platform::WindowSpec;

class TargetWindowTest : public SnapTargetTest {};

TEST_F(TargetWindowTest, TargetIsFrontmostElseLastActiveElseTheOwnerUnderThePointer) {
    const pid_t mail = desk().run(app("com.example.mail", "Mail"), {window("Inbox", {600, 100, 400, 300})});
    const pid_t gone = desk().run(app("com.example.gone", "Gone"), {window("Old", {0, 0, 50, 50})});
    desk().quit(gone);
    auto& input = platform::SimInput::shared();

    struct Case {
        const char* name;
        bool programFront;
        bool lastGone;
        platform::CGPoint pointer;
        const pid_t* expected; ///< null: none
        const char* line;
        const pid_t* lastAfter;
    };
    pid_t none = 0;
    const Case cases[] = {
        {"another application in front",
         false,
         false,
         {50, 50},
         &notes,
         "frontmost (com.example.notes)",
         &notes},
        {"program in front, last application alive",
         true,
         false,
         {700, 200},
         &notes,
         "lastActive (com.example.notes)",
         &notes},
        {"last application ended: owner under the pointer",
         true,
         true,
         {700, 200},
         &mail,
         "underMouse (com.example.mail)",
         &mail},
        {"nothing under the pointer", true, true, {50, 50}, nullptr, "could not be determined", &none},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        RoriDeru grid;
        auto& applications = SnapGridParts::activeApplications(grid);
        applications.remember(platform::NSRunningApplication(c.lastGone ? gone : notes));
        desk().setFrontmost(c.programFront ? desk().programPid() : notes);
        input.moveMouse(c.pointer);
        newLines();

        const auto target = grid.targetApplicationForSnapping();
        if (c.expected) {
            ASSERT_TRUE(target);
            EXPECT_EQ(target->processIdentifier(), *c.expected);
        } else {
            EXPECT_FALSE(target);
        }
        const auto lines = newLinesWith("[AX]");
        ASSERT_EQ(lines.size(), 1u);
        EXPECT_NE(lines[0].find(c.line), std::string::npos) << lines[0];
        if (*c.lastAfter) {
            ASSERT_TRUE(applications.lastNonSelfActiveApp());
            EXPECT_EQ(applications.lastNonSelfActiveApp()->processIdentifier(), *c.lastAfter);
        }
    }
}

TEST_F(TargetWindowTest, ChoiceLinesNameTheBundleAndPid) {
    RoriDeru grid;
    grid.targetApplicationForSnapping();
    EXPECT_EQ(newLinesWith("[AX]"),
              (std::vector<std::string>{"[...] [AX] Target app = frontmost (com.example.notes) pid=" +
                                        std::to_string(notes)}));
    desk().setFrontmost(desk().programPid());
    platform::SimInput::shared().moveMouse({50, 50});
    SnapGridParts::activeApplications(grid).forget();
    grid.targetApplicationForSnapping();
    EXPECT_EQ(newLinesWith("[AX]"),
              (std::vector<std::string>{"[...] [AX] Target app could not be determined"}));
}

TEST_F(TargetWindowTest, PointerLookupSkipsTheProgramsOwnWindowsAndOtherLayers) {
    const pid_t mail = desk().run(app("com.example.mail", "Mail"), {window("Inbox", {600, 100, 400, 300})});
    WindowSpec palette = window("Palette", {650, 150, 100, 100});
    palette.layer = 3;
    runFrontmost(app("com.example.tools", "Tools"), {palette});
    const auto own = std::make_shared<platform::ui::Window>(platform::CGRect{600, 100, 300, 300},
                                                            platform::ui::StyleMask::borderless);
    own->orderFrontRegardless();
    desk().setFrontmost(desk().programPid());

    RoriDeru grid;
    platform::SimInput::shared().moveMouse({700, 200});
    const auto under = grid.appUnderMouse();
    ASSERT_TRUE(under);
    EXPECT_EQ(under->processIdentifier(), mail);

    desk().setWindowListUnavailable(true);
    EXPECT_FALSE(grid.appUnderMouse());
}

TEST_F(TargetWindowTest, FrameReadFlipsTheAccessibilityPosition) {
    RoriDeru grid;
    ASSERT_EQ(axPosition(windowElement(notes, notesWindow)), (platform::CGPoint{100, 50}));
    EXPECT_EQ(grid.frontmostWindowAppKitRect(), (Rect{100, 250, 800, 600}));
    EXPECT_EQ(grid.frontmostWindowRect(), (Rect{100, 250, 800, 600}));
    const auto keyed = grid.frontmostWindowKeyAndRect();
    ASSERT_TRUE(keyed);
    EXPECT_EQ(keyed->key, "com.example.notes|Doc");
    EXPECT_EQ(keyed->rect, (Rect{100, 250, 800, 600}));
}

TEST_F(TargetWindowTest, OnlyStandardMovableWindowsAreChosen) {
    // Whether the window is chosen.
    const testsupport::WindowKindCase cases[] = {
        {"standard", {"AXWindow", "AXStandardWindow", true, true}, true},
        {"document", {"AXWindow", "AXDocumentWindow", true, true}, true},
        {"no subrole", {"AXWindow", std::nullopt, true, true}, true},
        {"size settable only", {"AXWindow", "AXStandardWindow", false, true}, true},
        {"position settable only", {"AXWindow", "AXStandardWindow", true, false}, true},
        {"neither settable", {"AXWindow", "AXStandardWindow", false, false}, false},
        {"dialog", {"AXWindow", "AXDialog", true, true}, false},
        {"floating", {"AXWindow", "AXFloatingWindow", true, true}, false},
        {"sheet role", {"AXSheet", "AXStandardWindow", true, true}, false},
    };
    RoriDeru grid;
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        const pid_t pid = desk().run(app(std::string("com.example.") + c.name, "Case"),
                                     {testsupport::windowSpec("Only", {0, 0, 300, 200}, c.kind)});
        const auto found = grid.findAXWindow(AXUIElementCreateApplication(pid));
        EXPECT_EQ(found.has_value(), c.counts);
        if (found) {
            EXPECT_EQ(found->window, desk().windowsOf(pid).at(0).number);
        }
        desk().quit(pid);
    }
}

TEST_F(TargetWindowTest, FocusedDialogIsSkippedForMovingButItsFrameIsRead) {
    WindowSpec dialog = window("Find", {300, 400, 200, 100});
    dialog.subrole = "AXDialog";
    desk().openWindow(notes, dialog);
    RoriDeru grid;
    const auto chosen = grid.findAXWindow(AXUIElementCreateApplication(notes));
    ASSERT_TRUE(chosen);
    EXPECT_EQ(chosen->window, notesWindow);
    EXPECT_EQ(grid.frontmostWindowAppKitRect(), (Rect{300, 400, 200, 100}));
    EXPECT_EQ(grid.frontmostWindowKeyAndRect()->rect, (Rect{100, 250, 800, 600}));

    desk().setAccessibilityTrusted(false);
    EXPECT_FALSE(grid.frontmostWindowAppKitRect());
    EXPECT_EQ(desk().accessibilityPrompts(), 0);
}

TEST_F(TargetWindowTest, KeyFallsBackToThePidAndUntitled) {
    // Started in either order, the key carries the pid of the application without an identifier.
    for (const bool bundledFirst : {true, false}) {
        SCOPED_TRACE(bundledFirst ? "bundled first" : "bare first");
        WindowSpec untitled = window("", {0, 0, 400, 300});
        pid_t bare = 0, bundled = 0;
        if (bundledFirst)
            bundled = desk().run(app("com.example.other", "Other"), {window("W", {0, 0, 10, 10})});
        bare = desk().run(app("", "Bare"), {untitled});
        if (!bundledFirst)
            bundled = desk().run(app("com.example.other", "Other"), {window("W", {0, 0, 10, 10})});
        desk().setFrontmost(bare);
        RoriDeru grid;
        const auto keyed = grid.frontmostWindowKeyAndRect();
        ASSERT_TRUE(keyed);
        EXPECT_EQ(keyed->key, std::to_string(bare) + "|untitled");
        desk().quit(bare);
        desk().quit(bundled);
    }
}

TEST_F(TargetWindowTest, WindowNumberIsReadInDecimal) {
    struct Case {
        const char* name;
        platform::AXNumberForm form;
        bool present;
    };
    const Case cases[] = {
        {"AXWindowNumber answers", platform::AXNumberForm::windowNumber, true},
        {"only the older attribute", platform::AXNumberForm::windowIDOnly, false},
        {"no number at all", platform::AXNumberForm::none, false},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        WindowSpec spec = window("Doc", {100, 250, 800, 600});
        spec.numberForm = c.form;
        desk().updateWindow(notesWindow, spec);
        RoriDeru grid;
        const auto id = grid.currentFrontmostWindowId();
        EXPECT_EQ(id.has_value(), c.present);
        if (id) {
            EXPECT_EQ(id->rawValue, std::to_string(notesWindow));
        }
    }
}

TEST_F(TargetWindowTest, MinimumSizeFollowsTheWorkspacesFrontmostApplication) {
    const pid_t terminal =
        desk().run(app("com.apple.Terminal", "Terminal"), {window("sh", {0, 0, 500, 300})});
    const pid_t chrome = desk().run(app("com.google.Chrome", "Chrome"), {window("Tab", {0, 0, 500, 300})});
    struct Case {
        const char* name;
        pid_t front;
        CGSize size;
    };
    const Case cases[] = {
        {"Terminal", terminal, {360, 260}},
        {"Chrome", chrome, {420, 320}},
        {"no entry", notes, {220, 160}},
        {"the program itself", desk().programPid(), {220, 160}},
    };
    RoriDeru grid;
    SnapGridParts::activeApplications(grid).remember(platform::NSRunningApplication(terminal));
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        desk().setFrontmost(c.front);
        EXPECT_EQ(grid.frontmostAppMinSize(), c.size);
    }
}

} // namespace
} // namespace tilmora::testing
