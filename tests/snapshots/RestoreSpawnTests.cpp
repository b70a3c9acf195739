#include "snapshots/RestoreTest.hpp"
#include "snapshots/WindowSpawning.hpp"

#include "platform/control/SimScheduler.hpp"

#include <gtest/gtest.h>

namespace tilmora::WindowManager {
namespace {

using platform::CGRect;
using platform::JournalEntry;

constexpr const char* kTerminal = "com.apple.Terminal";

class RestoreSpawnTest : public RestoreTest {
protected:
    static platform::AppSpec terminalApp() {
        platform::AppSpec t;
        t.bundleIdentifier = kTerminal;
        t.localizedName = "Terminal";
        t.bundlePath = "/System/Applications/Utilities/Terminal.app";
        return t;
    }
};

TEST_F(RestoreSpawnTest, WaitingForAnApplicationPollsUntilItRunsOrTheTimeRunsOut) {
    struct Case {
        const char* what;
        double launchDelay; // < 0: not launched
        double timeout;
        bool found;
        double returnsAfter;
    };
    const Case cases[] = {
        {"no time", 0.05, 0, false, 0},
        {"negative time", 0.05, -1, false, 0},
        {"appears at 0.25 s", 0.25, 1, true, 0.3},
        {"never appears", -1, 0.5, false, 0.5},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        resetSharedInstances();
        auto notes = notesApp();
        notes.launchDelay = c.launchDelay;
        desk().install(notes);
        if (c.launchDelay >= 0) desk().launch(notes.bundleIdentifier);
        const double start = platform::mediaTime();
        const auto app = waitForRunningApp(notes.bundleIdentifier, c.timeout);
        EXPECT_EQ(app.has_value(), c.found);
        EXPECT_NEAR(platform::mediaTime() - start, c.returnsAfter, 1e-9);
    }
}

TEST_F(RestoreSpawnTest, AnApplicationsWindowsAreGatheredAcrossItsInstancesOnce) {
    auto twice = window("Twice", {100, 100, 600, 400});
    twice.axListings = 2;
    desk().run(terminalApp(), {twice});
    desk().run(terminalApp(), {window("Other", {200, 100, 600, 400})});
    ASSERT_EQ(desk().pids(kTerminal).size(), 2u);
    const double start = platform::mediaTime();
    const auto windows = fetchAXWindowsForBundleID(kTerminal, 1, 2);
    EXPECT_EQ(windows.size(), 2u);
    EXPECT_NEAR(platform::mediaTime() - start, 0, 1e-9);
}

TEST_F(RestoreSpawnTest, CommandNIsPostedAsOftenAsAsked) {
    struct Case {
        int repeat;
        bool toPid;
        std::size_t events;
        double seconds;
    };
    for (const auto& c : {Case{0, false, 0, 0}, Case{2, true, 4, 0.24}, Case{1, false, 2, 0.12}}) {
        SCOPED_TRACE(c.repeat);
        resetSharedInstances();
        const pid_t pid = runNotes({window("Todo", {100, 100, 600, 400})});
        desk().clearJournal();
        const double start = platform::mediaTime();
        EXPECT_TRUE(attemptCmdNKeyEvent(c.repeat, c.toPid ? std::optional<pid_t>(pid) : std::nullopt));
        EXPECT_NEAR(platform::mediaTime() - start, c.seconds, 1e-9);
        const auto events = desk().journal(JournalEntry::Kind::keyEvent);
        EXPECT_EQ(events.size(), c.events);
        for (const auto& e : events)
            EXPECT_EQ(e.what, "45");
    }
}

TEST_F(RestoreSpawnTest, ANewInstanceIsStartedWithAnArgumentList) {
    struct Case {
        const char* what;
        std::string bundle;
        bool missingOpen;
        bool ok;
    };
    const Case cases[] = {
        {"installed", "com.example.notes", false, true},
        {"unknown", "com.example.gone; rm -rf ~", false, false},
        {"open missing", "com.example.notes", true, false},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        resetSharedInstances();
        desk().install(notesApp());
        desk().setExecutableMissing("/usr/bin/open", c.missingOpen);
        EXPECT_EQ(runShellOpenNewInstance(c.bundle), c.ok);
        if (c.missingOpen) {
            EXPECT_EQ(linesWith("[WARN] open -n -b failed for " + c.bundle + ": "), 1);
        } else {
            const auto runs = desk().journal(JournalEntry::Kind::process);
            ASSERT_EQ(runs.size(), 1u);
            EXPECT_EQ(runs[0].argv, (std::vector<std::string>{"/usr/bin/open", "-n", "-b", c.bundle}));
        }
    }
}

TEST_F(RestoreSpawnTest, AWindowIsDescribedByNumberTabsRolesAndTitle) {
    auto plain = window("Doc", {100, 100, 600, 400});
    auto tabbed = window("Tabs", {200, 100, 600, 400});
    tabbed.numberForm = platform::AXNumberForm::none;
    tabbed.tabs = 3;
    tabbed.subrole = std::nullopt;
    const pid_t pid = runNotes({plain, tabbed});
    const auto number = std::to_string(desk().windowsOf(pid).back().number);
    EXPECT_EQ(describeAXWindow(titled(pid, "Doc")), "num=" + number + " tabs=nil role=AXWindow sub=AXStandardWindow title=Doc");
    EXPECT_EQ(describeAXWindow(titled(pid, "Tabs")), "num=nil tabs=3 role=AXWindow sub=? title=Tabs");
}

TEST_F(RestoreSpawnTest, ARowWithoutASavedDisplayNeverTakesAnotherRowsPlacement) {
    const pid_t pid = runNotes({window("A", {300, 300, 400, 300}), window("B", {320, 320, 400, 300})});
    auto a = row("A", {10, 10, 500, 300}, 1);
    a.screenUUID = 0; // saved without a display number: no engine placement
    const auto b = row("B", {600, 10, 400, 250}, 2);
    EXPECT_TRUE(restore(snapshotOf("S", {a, b})).success);
    EXPECT_EQ(frameOf(pid, "A"), (CGRect{10, 565, 500, 300}));
    EXPECT_EQ(frameOf(pid, "B"), (CGRect{600, 615, 400, 250}));
}

} // namespace
} // namespace tilmora::WindowManager
