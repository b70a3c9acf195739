// The simulated desktop's acceptance checks: one test per check.

#include "support/DesktopTest.hpp"

#include "platform/desktop/NSAppleScript.hpp"
#include "platform/desktop/NSScreen.hpp"
#include "platform/desktop/NSWorkspace.hpp"
#include "platform/desktop/Signal.hpp"
#include "platform/desktop/SkyLight.hpp"
#include "platform/desktop/WindowList.hpp"
#include "platform/foundation/NotificationCenter.hpp"

#include <cerrno>

using namespace platform;

namespace {

const CFDictionary* entryFor(const CFArray& list, std::uint32_t number) {
    for (const auto& v : list) {
        const CFDictionary* d = v.asDictionary();
        if (d && lookup(*d, kCGWindowNumber)->integerValue() == std::int64_t(number)) return d;
    }
    return nullptr;
}

} // namespace

TEST_F(DesktopTest, PositionReadsAndWritesInTopLeftSpaceAndTheListAgrees) {
    desk().useLaptop();
    pid_t pid = desk().run(notesApp(), {window("Doc", {100, 500, 800, 300})});
    std::uint32_t n = desk().windowsOf(pid).at(0).number;
    AXUIElement e = windowElement(pid, n);

    EXPECT_EQ(axPosition(e), (CGPoint{100, 100}));
    EXPECT_EQ(axSize(e), (CGSize{800, 300}));

    ASSERT_EQ(setPosition(e, {0, 0}), kAXErrorSuccess);
    EXPECT_EQ(desk().windowState(n)->frame, (CGRect{0, 600, 800, 300}));

    auto list = CGWindowListCopyWindowInfo(kCGWindowListOptionAll, kCGNullWindowID);
    ASSERT_TRUE(list);
    const CFDictionary* entry = entryFor(*list, n);
    ASSERT_NE(entry, nullptr);
    const CFDictionary& bounds = *lookup(*entry, kCGWindowBounds)->asDictionary();
    EXPECT_EQ(lookup(bounds, "X")->doubleValue(), 0.0);
    EXPECT_EQ(lookup(bounds, "Y")->doubleValue(), 0.0);
    EXPECT_EQ(lookup(bounds, "Width")->doubleValue(), 800.0);
    EXPECT_EQ(lookup(bounds, "Height")->doubleValue(), 300.0);
}

TEST_F(DesktopTest, MinimumSizeWinsOverASmallerWrite) {
    desk().useLaptop();
    WindowSpec w = window("Small", {100, 100, 600, 500});
    w.minSize = CGSize{500, 400};
    pid_t pid = desk().run(notesApp(), {w});
    AXUIElement e = windowElement(pid, desk().windowsOf(pid).at(0).number);
    EXPECT_EQ(setSize(e, {300, 300}), kAXErrorSuccess);
    EXPECT_EQ(axSize(e), (CGSize{500, 400}));
}

TEST_F(DesktopTest, DelayedWindowStillShowsItsOldFrameBeforeTheDelay) {
    desk().useLaptop();
    WindowSpec w = window("Slow", {100, 500, 800, 300});
    w.applyDelay = 0.050;
    pid_t pid = desk().run(notesApp(), {w});
    AXUIElement e = windowElement(pid, desk().windowsOf(pid).at(0).number);
    ASSERT_EQ(setPosition(e, {0, 0}), kAXErrorSuccess);
    ASSERT_EQ(setSize(e, {400, 200}), kAXErrorSuccess);
    sim().runFor(0.020);
    EXPECT_EQ(axPosition(e), (CGPoint{100, 100}));
    EXPECT_EQ(axSize(e), (CGSize{800, 300}));
    EXPECT_EQ(desk().windowState(desk().windowsOf(pid).at(0).number)->frame, (CGRect{100, 500, 800, 300}));
    sim().runFor(0.040);
    EXPECT_EQ(axPosition(e), (CGPoint{0, 0}));
    EXPECT_EQ(axSize(e), (CGSize{400, 200}));
}

TEST_F(DesktopTest, LaunchedApplicationAppearsAndGrowsItsWindowsOnSchedule) {
    desk().useLaptop();
    AppSpec app = notesApp();
    app.launchDelay = 1.2;
    app.windowsAtLaunch = {{1.5, window("One", {100, 100, 400, 300})},
                           {2.0, window("Two", {200, 200, 400, 300})}};
    desk().install(app);
    ASSERT_TRUE(NSWorkspace::shared().launchApp("com.example.notes", NSWorkspaceLaunchWithoutActivation));

    auto running = [] { return NSRunningApplication::runningApplications("com.example.notes"); };
    sim().runFor(1.19);
    EXPECT_TRUE(running().empty());
    sim().runFor(0.02);
    ASSERT_EQ(running().size(), 1u);
    pid_t pid = running()[0].processIdentifier();
    EXPECT_EQ(axWindowCount(pid), 0u);
    sim().runFor(0.30); // 1.51
    EXPECT_EQ(axWindowCount(pid), 1u);
    sim().runFor(0.48); // 1.99
    EXPECT_EQ(axWindowCount(pid), 1u);
    sim().runFor(0.02);
    EXPECT_EQ(axWindowCount(pid), 2u);
}

TEST_F(DesktopTest, DesktopSwitchScriptBringsASpaceOnScreenOnlyWithAutomation) {
    desk().addDisplay(testsupport::displaySpec(1, "Display", {0, 0, 1440, 900}, 2));
    WindowSpec w = window("Elsewhere", {100, 100, 400, 300});
    w.desktop = 2;
    pid_t pid = desk().run(notesApp(), {w});
    std::uint32_t n = desk().windowsOf(pid).at(0).number;
    EXPECT_FALSE(desk().windowState(n)->onScreen);
    auto listedOnScreen = [n] {
        auto list = CGWindowListCopyWindowInfo(kCGWindowListOptionOnScreenOnly, kCGNullWindowID);
        return list && entryFor(*list, n) != nullptr;
    };
    EXPECT_FALSE(listedOnScreen());

    int changes = 0;
    NSWorkspace::shared().notificationCenter().addObserver(NSWorkspaceActiveSpaceDidChangeNotification,
                                                           nullptr, [&](const Notification&) { ++changes; });
    const std::string source =
        "tell application \"System Events\"\n    key code 19 using {control down}\nend tell";

    desk().setAutomationStatus(-1743);
    std::optional<CFDictionary> error;
    EXPECT_FALSE(NSAppleScript::create(source)->executeAndReturnError(error));
    ASSERT_TRUE(error);
    EXPECT_EQ(lookup(*error, NSAppleScriptErrorNumber)->integerValue(), -1743);
    EXPECT_FALSE(desk().windowState(n)->onScreen);
    EXPECT_FALSE(listedOnScreen());
    EXPECT_EQ(changes, 0);

    desk().setAutomationStatus(0);
    EXPECT_TRUE(NSAppleScript::create(source)->executeAndReturnError(error));
    EXPECT_FALSE(error);
    EXPECT_TRUE(desk().windowState(n)->onScreen);
    EXPECT_TRUE(listedOnScreen());
    EXPECT_EQ(changes, 1);
}

TEST_F(DesktopTest, UnpluggedDisplayHandsItsWindowsToTheMainDisplayAndLeavesTheListAfterTheLag) {
    desk().useLaptopWithExternal();
    desk().setScreenListLag(2.0);
    pid_t pid = desk().run(notesApp(), {window("Outside", {2000, 300, 800, 600})});
    std::uint32_t n = desk().windowsOf(pid).at(0).number;

    desk().removeDisplay(2);
    CGRect f = desk().windowState(n)->frame;
    EXPECT_TRUE((CGRect{0, 0, 1440, 875}).intersection(f) == f) << "window left outside the main display";
    EXPECT_TRUE(desk().windowState(n)->onScreen);
    EXPECT_EQ(NSScreen::screens().size(), 2u);
    sim().runFor(1.9);
    EXPECT_EQ(NSScreen::screens().size(), 2u);
    sim().runFor(0.2);
    ASSERT_EQ(NSScreen::screens().size(), 1u);
    EXPECT_EQ(NSScreen::screens()[0].localizedName(), "Built-in Retina Display");
}

TEST_F(DesktopTest, ProbeSucceedsUntilTheObeyedSignalEndsTheProcess) {
    AppSpec app = notesApp();
    app.termination.obeysTerminate = false;
    app.termination.obeysSIGTERM = true;
    pid_t pid = desk().run(app);
    NSRunningApplication running(pid);
    EXPECT_TRUE(running.terminate());
    sim().runFor(3.0);
    EXPECT_EQ(platform::kill(pid, 0), 0);
    EXPECT_EQ(platform::kill(pid, 15), 0);
    errno = 0;
    EXPECT_EQ(platform::kill(pid, 0), -1);
    EXPECT_EQ(errno, ESRCH);
    EXPECT_TRUE(running.isTerminated());
}

TEST_F(DesktopTest, RemovedMoveSymbolFailsItsLookup) {
    DLHandle sky = platform::dlopen(kSkyLightFrameworkPath, kRTLDLazy);
    ASSERT_NE(sky, 0);
    EXPECT_NE(platform::dlsym(sky, "SLSMoveWindowsToManagedSpace"), nullptr);
    desk().removeSymbol("SLSMoveWindowsToManagedSpace");
    EXPECT_EQ(platform::dlsym(sky, "SLSMoveWindowsToManagedSpace"), nullptr);
    EXPECT_EQ(platform::dlsym(kRTLDDefault, "SLSMoveWindowsToManagedSpace"), nullptr);
    EXPECT_NE(platform::dlsym(sky, "CGSMoveWindowsToManagedSpace"), nullptr);
}
