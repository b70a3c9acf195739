#include "snapshots/RestoreTest.hpp"

#include "model/Settings.hpp"

#include "snapshots/PersistenceController.hpp"
#include "snapshots/Snapshot.hpp"
#include "snapshots/SnapshotContext.hpp"
#include "snapshots/Window.hpp"
#include "windows/SpacesService.hpp"

#include "platform/foundation/UserDefaults.hpp"

#include <gtest/gtest.h>

namespace tilmora::WindowManager {
namespace {

using platform::CGRect;
using platform::JournalEntry;

constexpr const char* kWindowNotes = "com.example.notes";

class RestoreWindowTest : public RestoreTest {
protected:
    /// Display 1 gets three Spaces; their ids.
    std::vector<std::uint64_t> threeSpaces() {
        desk().addSpace(1);
        desk().addSpace(1);
        return desk().spaces(1);
    }

    /// The number of Accessibility position writes in the journal.
    int positionWrites() {
        int n = 0;
        for (const auto& call : axCalls())
            if (call.rfind("AXPosition", 0) == 0) ++n;
        return n;
    }
};

TEST_F(RestoreWindowTest, EveryRowKeepsItsOwnFrameWhenTheDesktopIsSwitchedPerSpace) {
    struct Case {
        bool killSwitch;
        std::string policyEnd;
    };
    for (const auto& c : {Case{false, "useSkyLightMoves=false, useNoCheatFallback=true, killSwitch=false"},
                          Case{true, "useSkyLightMoves=false, useNoCheatFallback=false, killSwitch=true"}}) {
        SCOPED_TRACE(c.policyEnd);
        resetSharedInstances();
        desk().setSkyLightLoadable(false);
        platform::UserDefaults::standard().set(c.killSwitch, settings::spacesKillSwitch.key);
        const auto s = threeSpaces();
        const pid_t pid = runNotes({window("A", {300, 300, 400, 300}), window("B", {320, 320, 400, 300}),
                                    window("C", {340, 340, 400, 300})});
        const auto out =
            restore(snapshotOf("S",
                               {row("A", {10, 10, 500, 300}, 1, 1, {0, 0, 1440, 875}, std::int64_t(s[2])),
                                row("B", {600, 10, 400, 250}, 2, 1, {0, 0, 1440, 875}, std::int64_t(s[1])),
                                row("C", {10, 400, 700, 350}, 3, 1, {0, 0, 1440, 875}, std::int64_t(s[2]))},
                               1));
        EXPECT_TRUE(out.success);
        EXPECT_EQ(frameOf(pid, "A"), (CGRect{10, 565, 500, 300}));
        EXPECT_EQ(frameOf(pid, "B"), (CGRect{600, 615, 400, 250}));
        EXPECT_EQ(frameOf(pid, "C"), (CGRect{10, 125, 700, 350}));
        const int policy = lineIndex("Spaces restore policy: scope=allSpaces, savedSpaceIDs=3/3 distinct=2");
        ASSERT_GE(policy, 0);
        EXPECT_TRUE(lines()[std::size_t(policy)].ends_with(c.policyEnd));
        const std::string s2 =
            "Spaces(no-cheat) switching to Space " + std::to_string(s[1]) + " for " + kWindowNotes + " group…";
        const std::string s3 =
            "Spaces(no-cheat) switching to Space " + std::to_string(s[2]) + " for " + kWindowNotes + " group…";
        if (c.killSwitch) {
            EXPECT_EQ(linesWith("Spaces(no-cheat) switching"), 0);
            EXPECT_FALSE(SpacesService::shared().hasAnyAnchor());
        } else {
            EXPECT_EQ(linesWith("Spaces(no-cheat) switching"), 2);
            EXPECT_LT(lineIndex(s2), lineIndex(s3));
            EXPECT_LT(lineIndex("window 'B'"), lineIndex("window 'A'"));
            EXPECT_LT(lineIndex("window 'A'"), lineIndex("window 'C'"));
        }
    }
}

TEST_F(RestoreWindowTest, AWindowOffByMoreThanTheToleranceIsCorrectedTwiceAtMost) {
    struct Case {
        double nudge;
        int writes;
    };
    for (const auto& c : {Case{0.7, 3}, Case{0.5, 1}, Case{0.0, 1}}) {
        SCOPED_TRACE(c.nudge);
        resetSharedInstances();
        auto spec = window("Todo", {400, 300, 500, 300});
        spec.nudge = c.nudge;
        runNotes({spec});
        desk().clearJournal();
        EXPECT_TRUE(restore(snapshotOf("S", {row("Todo", {100, 50, 800, 600}, 1)})).success);
        EXPECT_EQ(positionWrites(), c.writes);
    }
}

TEST_F(RestoreWindowTest, TwoRowsWithTheSameFrameTakeTwoWindows) {
    const pid_t pid = runNotes({window("Doc", {300, 300, 400, 300}), window("Doc", {500, 200, 400, 300})});
    EXPECT_TRUE(
        restore(snapshotOf("S", {row("Doc", {10, 10, 500, 300}, 1), row("Doc", {10, 10, 500, 300}, 2)}))
            .success);
    for (const auto& w : desk().windowsOf(pid))
        EXPECT_EQ(w.frame, (CGRect{10, 565, 500, 300}));
    EXPECT_EQ(linesWith("No AX window available"), 0);
}

TEST_F(RestoreWindowTest, AWindowThatCannotBeMovedOnlySkipsItsRow) {
    struct Case {
        const char* what;
        bool readOnly;
        bool valueCreationFails;
        std::string line;
    };
    const Case cases[] = {
        {"read-only", true, false, "[WARN] No AX window available to assign for com.example.notes ‘Todo’"},
        {"no values", false, true, "[ERROR] Failed to move window for com.example.notes ‘Todo’"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        resetSharedInstances();
        auto spec = window("Todo", {400, 300, 500, 300});
        spec.positionSettable = !c.readOnly;
        spec.sizeSettable = !c.readOnly;
        const pid_t pid = runNotes({spec});
        desk().setAXValueCreationFails(c.valueCreationFails);
        desk().clearJournal();
        const auto out = restore(snapshotOf("S", {row("Todo", {100, 50, 800, 600}, 1)}));
        EXPECT_EQ(out.calls, 1);
        EXPECT_TRUE(out.success);
        EXPECT_EQ(linesWith(c.line), 1);
        EXPECT_EQ(frameOf(pid, "Todo"), (CGRect{400, 300, 500, 300}));
        if (c.readOnly) {
            EXPECT_TRUE(axCalls().empty());
        }
    }
}

TEST_F(RestoreWindowTest, WindowServerMovesReturnWindowsToTheirSpaces) {
    const auto s = threeSpaces();
    const pid_t pid = runNotes({window("A", {300, 300, 400, 300}), window("B", {320, 320, 400, 300})});
    const auto out =
        restore(snapshotOf("S",
                           {row("A", {10, 10, 500, 300}, 1, 1, {0, 0, 1440, 875}, std::int64_t(s[1])),
                            row("B", {600, 10, 400, 250}, 2, 1, {0, 0, 1440, 875}, std::int64_t(s[2]))},
                           1));
    EXPECT_TRUE(out.success);
    for (const auto& w : desk().windowsOf(pid))
        EXPECT_EQ(w.space, w.title == "A" ? s[1] : s[2]) << w.title;
    EXPECT_EQ(linesWith("useSkyLightMoves=true, useNoCheatFallback=false"), 1);
}

TEST_F(RestoreWindowTest, AFailingWindowServerMoveFallsBackToTheDesktopSwitch) {
    const auto s = threeSpaces();
    runNotes({window("A", {300, 300, 400, 300})});
    desk().queueSkyLightMoveResults(std::vector<std::int32_t>(12, 1000));
    desk().clearJournal();
    const auto out = restore(
        snapshotOf("S", {row("A", {10, 10, 500, 300}, 1, 1, {0, 0, 1440, 875}, std::int64_t(s[1]))}, 1));
    EXPECT_TRUE(out.success);
    EXPECT_EQ(journalCount(JournalEntry::Kind::spaceMove), 12u);
    EXPECT_EQ(linesWith("Spaces(SkyLight) move failed — attempting no-cheat fallback for Space " +
                        std::to_string(s[1]) + " (com.example.notes ‘A’)."),
              1);
    EXPECT_EQ(linesWith("Spaces(no-cheat) fallback unavailable: no known anchors yet (KnownSpaces=[])."), 1);
    bool switchScript = false;
    for (const auto& entry : desk().journal(JournalEntry::Kind::script))
        switchScript =
            switchScript || entry.what.find("key code 19 using {control down}") != std::string::npos;
    EXPECT_TRUE(switchScript);
}

TEST_F(RestoreWindowTest, WindowsWithoutAccessibilityNumbersAreFoundInTheWindowList) {
    const auto s = threeSpaces();
    auto first = window("Doc", {300, 300, 400, 300});
    auto second = window("Doc", {700, 100, 400, 300});
    first.numberForm = second.numberForm = platform::AXNumberForm::none;
    const pid_t pid = runNotes({first, second});
    const auto out =
        restore(snapshotOf("S",
                           {row("Doc", {100, 100, 800, 300}, 1, 1, {0, 0, 1440, 875}, std::int64_t(s[1])),
                            row("Doc", {100, 500, 800, 300}, 2, 1, {0, 0, 1440, 875}, std::int64_t(s[2]))},
                           1));
    EXPECT_TRUE(out.success);
    for (const auto& w : desk().windowsOf(pid)) {
        if (w.frame == CGRect{100, 475, 800, 300}) {
            EXPECT_EQ(w.space, s[1]);
        } else {
            EXPECT_EQ(w.frame, (CGRect{100, 75, 800, 300}));
            EXPECT_EQ(w.space, s[2]);
        }
    }
    EXPECT_EQ(linesWith("Spaces(SkyLight) move (resolved CGWindowID)"), 2);
}

TEST_F(RestoreWindowTest, TerminalIsAskedForTheWindowsItLacks) {
    struct Case {
        bool opensWindows;
        int windowsAfter;
    };
    for (const auto& c : {Case{true, 3}, Case{false, 1}}) {
        SCOPED_TRACE(c.opensWindows);
        resetSharedInstances();
        platform::AppSpec terminal;
        terminal.bundleIdentifier = "com.apple.Terminal";
        terminal.localizedName = "Terminal";
        terminal.bundlePath = "/System/Applications/Utilities/Terminal.app";
        if (c.opensWindows)
            terminal.newWindow = platform::TimedWindow{0.3, window("T", {200, 200, 600, 400})};
        const pid_t pid = desk().run(terminal, {window("T1", {100, 100, 600, 400})});
        desk().clearJournal();
        const auto out = restore(
            snapshotOf("S",
                       {row("T1", {10, 10, 600, 400}, 1, 1, {0, 0, 1440, 875}, 0, "com.apple.Terminal"),
                        row("T2", {700, 10, 600, 400}, 2, 1, {0, 0, 1440, 875}, 0, "com.apple.Terminal"),
                        row("T3", {10, 450, 600, 400}, 3, 1, {0, 0, 1440, 875}, 0, "com.apple.Terminal")}),
            120);
        EXPECT_TRUE(out.success);
        std::size_t windows = 0;
        for (const pid_t p : desk().pids("com.apple.Terminal"))
            windows += desk().windowsOf(p).size();
        EXPECT_EQ(windows, std::size_t(c.windowsAfter));
        if (c.opensWindows) {
            int commandN = 0;
            for (const auto& entry : desk().journal(JournalEntry::Kind::keyEvent))
                if (entry.what == "45" && entry.pid == pid) ++commandN;
            EXPECT_EQ(commandN, 4); // two presses, each down and up
            const auto frames = desk().windowsOf(pid);
            for (const CGRect expected :
                 {CGRect{10, 465, 600, 400}, CGRect{700, 465, 600, 400}, CGRect{10, 25, 600, 400}}) {
                bool found = false;
                for (const auto& w : frames)
                    found = found || w.frame == expected;
                EXPECT_TRUE(found) << expected.description();
            }
        } else {
            EXPECT_GE(linesWith("Terminal spawn made no progress; stopping at count=1/3"), 1);
            EXPECT_EQ(linesWith("No AX window available to assign for com.apple.Terminal ‘T2’"), 1);
        }
    }
}

TEST_F(RestoreWindowTest, ChromeIsAskedThroughItsMenuThenByKeystroke) {
    struct Case {
        int automation;
        bool placed;
    };
    for (const auto& c : {Case{0, true}, Case{-1743, false}}) {
        SCOPED_TRACE(c.automation);
        resetSharedInstances();
        platform::AppSpec chrome;
        chrome.bundleIdentifier = "com.google.Chrome";
        chrome.localizedName = "Google Chrome";
        chrome.newWindow = platform::TimedWindow{0, window("New", {200, 200, 600, 400})};
        const pid_t pid = desk().run(chrome, {window("One", {100, 100, 600, 400})});
        desk().setAutomationStatus(c.automation);
        desk().clearJournal();
        const auto out = restore(snapshotOf(
            "S", {row("One", {10, 10, 600, 400}, 1, 1, {0, 0, 1440, 875}, 0, "com.google.Chrome"),
                  row("Two", {700, 10, 600, 400}, 2, 1, {0, 0, 1440, 875}, 0, "com.google.Chrome")}));
        EXPECT_TRUE(out.success);
        const auto scripts = desk().journal(JournalEntry::Kind::script);
        ASSERT_FALSE(scripts.empty());
        EXPECT_NE(scripts.front().what.find("tell process \"Google Chrome\""), std::string::npos);
        if (c.placed) {
            EXPECT_EQ(desk().windowsOf(pid).size(), 2u);
            EXPECT_EQ(frameOf(pid, "New"), (CGRect{700, 465, 600, 400}));
        } else {
            EXPECT_GE(linesWith("[WARN] Menu click New Window error for com.google.Chrome: "), 1);
            bool keystroke = false;
            for (const auto& s : scripts)
                keystroke =
                    keystroke || s.what.find("keystroke \"n\" using {command down}") != std::string::npos;
            EXPECT_TRUE(keystroke);
        }
    }
}

TEST_F(RestoreWindowTest, TheRestoreFinishesFromItsCopyWhenTheSnapshotIsDeleted) {
    PersistenceController store(true);
    auto& context = store.viewContext();
    auto snapshot = context.insertSnapshot();
    snapshot->name = "S";
    auto w = context.insertWindow();
    static_cast<WindowAttributes&>(*w) = row("Todo", {100, 50, 800, 600}, 1);
    snapshot->addWindowsObject(w);
    context.save();

    auto notes = notesApp();
    notes.launchDelay = 2;
    notes.windowsAtLaunch = {platform::TimedWindow{0, window("Todo", {400, 300, 500, 300})}};
    desk().install(notes);

    int calls = 0;
    bool success = false;
    restoreSnapshot(*snapshot, context, [&](bool ok, const std::string&) {
        ++calls;
        success = ok;
    });
    sim().runFor(1);
    context.deleteObject(snapshot);
    context.save();
    sim().runFor(10);

    EXPECT_EQ(calls, 1);
    EXPECT_TRUE(success);
    const auto pids = desk().pids(kWindowNotes);
    ASSERT_EQ(pids.size(), 1u);
    EXPECT_EQ(frameOf(pids[0], "Todo"), (CGRect{100, 225, 800, 600}));
}

TEST_F(RestoreWindowTest, FiveApplicationsWithTwoFailingGiveOneReport) {
    std::vector<WindowValue> rows;
    for (int i = 0; i < 5; ++i) {
        const std::string bundle = "com.example.app" + std::to_string(i);
        if (i % 2 == 0) {
            auto spec = notesApp();
            spec.bundleIdentifier = bundle;
            desk().run(spec, {window("W", {300, 300, 400, 300})});
        } else if (i == 3) {
            auto spec = notesApp();
            spec.bundleIdentifier = bundle;
            spec.neverStarts = true;
            desk().install(spec);
        }
        rows.push_back(row("W", {10.0 * i, 10, 500, 300}, i + 1, 1, {0, 0, 1440, 875}, 0, bundle));
    }
    const auto out = restore(snapshotOf("S", rows));
    EXPECT_EQ(out.calls, 1);
    EXPECT_FALSE(out.success);
    EXPECT_EQ(out.message, "Some apps failed to launch: com.example.app1, com.example.app3\n");
    ASSERT_EQ(toasts->panel->contents.size(), 2u);
    EXPECT_EQ(toasts->panel->contents[1].title, "Snapshot Restore");
}

TEST_F(RestoreWindowTest, ASavedSnapshotIsRestoredOntoTheRemainingDisplay) {
    desk().useLaptopWithExternal();
    sim().runFor(0.1);
    const pid_t pid = runNotes({window("Todo", {1600, 200, 900, 600})});
    PersistenceController store(true);
    auto& context = store.viewContext();
    bool saved = false;
    saveSnapshot("Desk", context, [&](bool ok, const std::string&) { saved = ok; });
    ASSERT_TRUE(saved);

    desk().removeDisplay(2);
    sim().runFor(1);
    const auto snapshots = context.fetchSnapshots();
    ASSERT_EQ(snapshots.size(), 1u);
    int calls = 0;
    const std::size_t toastsBefore = toasts->panel->contents.size();
    restoreSnapshot(*snapshots[0], context, [&](bool, const std::string&) { ++calls; });
    sim().runFor(3);

    EXPECT_EQ(calls, 1);
    ASSERT_EQ(toasts->panel->contents.size(), toastsBefore + 2);
    EXPECT_EQ(toasts->panel->contents.back().message, "Snapshot 'Desk' launched.");
    const auto frame = frameOf(pid, "Todo");
    EXPECT_NEAR(frame.origin.x, 120, 1);
    EXPECT_NEAR(frame.origin.y, 165.9, 1);
    EXPECT_NEAR(frame.size.width, 675, 1);
    EXPECT_NEAR(frame.size.height, 497.6, 1);
}

} // namespace
} // namespace tilmora::WindowManager
