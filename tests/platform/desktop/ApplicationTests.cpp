#include "support/DesktopTest.hpp"

#include "platform/control/SimDesktop.hpp"
#include "platform/desktop/CGEvent.hpp"
#include "platform/desktop/NSWorkspace.hpp"
#include "platform/desktop/Signal.hpp"
#include "platform/dispatch/DispatchQueue.hpp"
#include "platform/dispatch/MainThread.hpp"
#include "platform/foundation/NotificationCenter.hpp"

#include <cerrno>

using namespace platform;

TEST_F(DesktopTest, ActivationBehavesAsConfigured) {
    struct Case {
        ActivationBehaviour behaviour;
        bool answer;
        bool frontAtOnce;
        bool frontLater;
    };
    for (Case c : {Case{ActivationBehaviour::immediate, true, true, true},
                   Case{ActivationBehaviour::delayed, true, false, true},
                   Case{ActivationBehaviour::ignored, true, false, false},
                   Case{ActivationBehaviour::refused, false, false, false}}) {
        SCOPED_TRACE(int(c.behaviour));
        SimDesktop::clear();
        desk().useLaptop();
        AppSpec a = notesApp();
        a.activation = c.behaviour;
        a.activationDelay = 0.3;
        pid_t pid = desk().run(a, {window("W", {0, 0, 300, 300})});
        int activations = 0;
        NSWorkspace::shared().notificationCenter().addObserver(
            NSWorkspaceDidActivateApplicationNotification, nullptr, [&](const Notification& n) {
                EXPECT_EQ(NSWorkspace::applicationOf(n)->processIdentifier(), pid);
                ++activations;
            });
        NSRunningApplication app(pid);
        EXPECT_EQ(app.activate(NSApplicationActivateIgnoringOtherApps), c.answer);
        EXPECT_EQ(app.isActive(), c.frontAtOnce);
        sim().runFor(0.5);
        EXPECT_EQ(app.isActive(), c.frontLater);
        EXPECT_EQ(activations, c.frontLater ? 1 : 0);
    }
}

TEST_F(DesktopTest, WorkspaceObserversRunOnTheMainThreadWhicheverThreadMadeTheChange) {
    desk().useLaptop();
    const pid_t first = desk().run(notesApp(), {window("W", {0, 0, 300, 300})});
    AppSpec other = notesApp();
    other.bundleIdentifier = "com.example.other";
    const pid_t second = desk().run(other, {window("O", {0, 0, 300, 300})});
    std::vector<std::pair<std::string, bool>> seen; // name, on the main thread
    for (const char* name :
         {NSWorkspaceDidActivateApplicationNotification, NSWorkspaceDidTerminateApplicationNotification})
        NSWorkspace::shared().notificationCenter().addObserver(
            name, nullptr, [&](const Notification& n) { seen.emplace_back(n.name, isMainThread()); });
    // On the main thread the observers run before the call returns.
    NSRunningApplication(first).activate(NSApplicationActivateIgnoringOtherApps);
    EXPECT_EQ(seen, (std::vector<std::pair<std::string, bool>>{
                        {NSWorkspaceDidActivateApplicationNotification, true}}));
    // A worker's changes (a restore activating an application) are announced on the main thread.
    seen.clear();
    DispatchQueue::global().async([first, second] {
        NSRunningApplication(second).activate(NSApplicationActivateIgnoringOtherApps);
        NSRunningApplication(first).terminate();
    });
    sim().runFor(1.0);
    EXPECT_EQ(seen, (std::vector<std::pair<std::string, bool>>{
                        {NSWorkspaceDidActivateApplicationNotification, true},
                        {NSWorkspaceDidTerminateApplicationNotification, true}}));
}

TEST_F(DesktopTest, ActivatingAnApplicationOnlyOnAnotherSpaceGoesThere) {
    desk().addDisplay(testsupport::displaySpec(1, "Display", {0, 0, 1440, 900}, 3));
    WindowSpec w = window("Far", {0, 0, 300, 300});
    w.desktop = 3;
    pid_t pid = desk().run(notesApp(), {w});
    NSRunningApplication(pid).activate(0);
    EXPECT_EQ(desk().activeSpace(1), desk().spaces(1)[2]);
}

TEST_F(DesktopTest, LaunchRequestsFollowTheInstalledApplications) {
    desk().useLaptop();
    AppSpec broken = notesApp();
    broken.bundleIdentifier = "com.example.never";
    broken.neverStarts = true;
    desk().install(notesApp());
    desk().install(broken);
    std::vector<std::string> launched;
    NSWorkspace::shared().notificationCenter().addObserver(
        NSWorkspaceDidLaunchApplicationNotification, nullptr, [&](const Notification& n) {
            launched.push_back(*NSWorkspace::applicationOf(n)->bundleIdentifier());
        });
    EXPECT_FALSE(NSWorkspace::shared().launchApp("com.example.unknown", 0));
    EXPECT_TRUE(NSWorkspace::shared().launchApp("com.example.never", NSWorkspaceLaunchWithoutActivation));
    EXPECT_TRUE(NSWorkspace::shared().launchApp("com.example.notes", NSWorkspaceLaunchWithoutActivation));
    EXPECT_TRUE(NSWorkspace::shared().launchApp("com.example.notes", NSWorkspaceLaunchWithoutActivation));
    sim().runFor(5);
    EXPECT_EQ(launched, (std::vector<std::string>{"com.example.notes"}));
    EXPECT_EQ(NSRunningApplication::runningApplications("com.example.notes").size(), 1u);
    EXPECT_TRUE(NSRunningApplication::runningApplications("com.example.never").empty());
    EXPECT_FALSE(NSWorkspace::shared().frontmostApplication()) << "launched without activation";
}

TEST_F(DesktopTest, TerminationLadderStepsEndOnlyObedientProcesses) {
    struct Case {
        const char* name;
        TerminationSpec spec;
        std::function<void(NSRunningApplication&)> request;
        bool endsWithin1s;
        int killResult;
        int killErrno;
    };
    TerminationSpec stubborn;
    stubborn.obeysTerminate = stubborn.obeysForceTerminate = stubborn.obeysSIGTERM = false;
    TerminationSpec foreign;
    foreign.signalsPermitted = false;
    const std::vector<Case> cases = {
        {"terminate obeyed", {}, [](auto& a) { a.terminate(); }, true, -1, ESRCH},
        {"terminate ignored", stubborn, [](auto& a) { a.terminate(); }, false, 0, 0},
        {"force terminate ignored", stubborn, [](auto& a) { a.forceTerminate(); }, false, 0, 0},
        {"SIGTERM ignored", stubborn, [](auto& a) { platform::kill(a.processIdentifier(), 15); }, false, 0,
         0},
        {"SIGKILL", stubborn, [](auto& a) { platform::kill(a.processIdentifier(), 9); }, true, -1, ESRCH},
        {"not permitted", foreign, [](auto& a) { platform::kill(a.processIdentifier(), 9); }, false, -1,
         EPERM},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        SimDesktop::clear();
        AppSpec a = notesApp();
        a.termination = c.spec;
        NSRunningApplication app(desk().run(a));
        int ended = 0;
        NSWorkspace::shared().notificationCenter().addObserver(
            NSWorkspaceDidTerminateApplicationNotification, nullptr, [&](const Notification&) { ++ended; });
        c.request(app);
        sim().runFor(1.0);
        EXPECT_EQ(app.isTerminated(), c.endsWithin1s);
        EXPECT_EQ(ended, c.endsWithin1s ? 1 : 0);
        errno = 0;
        EXPECT_EQ(platform::kill(app.processIdentifier(), 0), c.killResult);
        EXPECT_EQ(errno, c.killErrno);
    }
    errno = 0;
    EXPECT_EQ(platform::kill(0, 0), -1);
    EXPECT_EQ(errno, ESRCH);
    EXPECT_EQ(platform::kill(desk().programPid(), 0), 0);
}

TEST_F(DesktopTest, CommandNOpensAWindowOnlyWhereSupportedAndTrusted) {
    desk().useLaptop();
    AppSpec a = notesApp();
    a.newWindow = TimedWindow{0.1, window("Untitled", {100, 100, 500, 400})};
    pid_t pid = desk().run(a);
    AppSpec plain = notesApp();
    plain.bundleIdentifier = "com.example.plain";
    pid_t other = desk().run(plain);
    auto press = [](std::optional<pid_t> target) {
        auto source = CGEventSourceCreate(CGEventSourceStateID::combinedSessionState);
        auto down = CGEventCreateKeyboardEvent(source, 45, true);
        auto up = CGEventCreateKeyboardEvent(source, 45, false);
        CGEventSetFlags(*down, kCGEventFlagMaskCommand);
        CGEventSetFlags(*up, kCGEventFlagMaskCommand);
        if (target) {
            CGEventPostToPid(*target, *down);
            CGEventPostToPid(*target, *up);
        } else {
            CGEventPost(CGEventTapLocation::hid, *down);
            CGEventPost(CGEventTapLocation::hid, *up);
        }
    };
    press(pid);
    press(other);
    sim().runFor(0.2);
    EXPECT_EQ(axWindowCount(pid), 1u);
    EXPECT_EQ(axWindowCount(other), 0u);
    desk().setFrontmost(pid);
    press(std::nullopt);
    sim().runFor(0.2);
    EXPECT_EQ(axWindowCount(pid), 2u);
    desk().setAccessibilityTrusted(false);
    press(std::nullopt);
    sim().runFor(0.2);
    desk().setAccessibilityTrusted(true);
    EXPECT_EQ(axWindowCount(pid), 2u) << "events are dropped without trust";
    desk().setEventSourceFails(true);
    EXPECT_FALSE(CGEventSourceCreate(CGEventSourceStateID::combinedSessionState));
    EXPECT_EQ(desk().journal(JournalEntry::Kind::keyEvent).size(), 8u);
}

TEST_F(DesktopTest, WindowsOfARunningApplicationOpenAsOneByOne) {
    struct Case {
        const char* label;
        std::vector<WindowSpec> windows;
    };
    WindowSpec small = window("Small", {0, 0, 50, 50});
    small.minSize = CGSize{200, 100};
    WindowSpec second = window("Second", {10, 10, 300, 300});
    second.desktop = 2;
    const Case cases[] = {
        {"none", {}},
        {"one", {window("A", {0, 0, 300, 300})}},
        {"three with a minimum size and a Desktop",
         {window("A", {0, 0, 300, 300}), small, second, window("Off", {90000, 90000, 10, 10})}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.label);
        std::vector<std::vector<SimDesktop::WindowState>> results;
        for (bool together : {true, false}) {
            SimDesktop::clear();
            desk().useLaptop();
            desk().run(notesApp(), {window("Earlier", {5, 5, 100, 100})});
            AppSpec other = notesApp();
            other.bundleIdentifier = "com.example.other";
            pid_t pid = together ? desk().run(other, c.windows) : desk().run(other, {});
            if (!together)
                for (const WindowSpec& w : c.windows)
                    desk().openWindow(pid, w);
            results.push_back(desk().allWindows());
        }
        ASSERT_EQ(results[0].size(), results[1].size());
        for (std::size_t i = 0; i < results[0].size(); ++i) {
            const auto& a = results[0][i];
            const auto& b = results[1][i];
            EXPECT_EQ(a.number, b.number) << i;
            EXPECT_EQ(a.title, b.title) << i;
            EXPECT_EQ(a.frame, b.frame) << i;
            EXPECT_EQ(a.space, b.space) << i;
        }
    }
}
