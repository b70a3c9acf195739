#include "snapshots/RestoreTest.hpp"

#include "model/Settings.hpp"

#include "platform/desktop/NSRunningApplication.hpp"
#include "platform/foundation/UserDefaults.hpp"

#include <gtest/gtest.h>

#include <cmath>

namespace tilmora::WindowManager {
namespace {

using platform::CGRect;
using platform::JournalEntry;

constexpr const char* kNotes = "com.example.notes";

class SnapshotRestoreTest : public RestoreTest {};

TEST_F(SnapshotRestoreTest, PlacesARunningApplicationsWindowAtItsSavedFrameAndReportsOnce) {
    struct Case {
        std::optional<std::string> name;
        std::string shown;
    };
    for (const auto& c : {Case{"S", "S"}, Case{std::nullopt, "Unnamed"}}) {
        SCOPED_TRACE(c.shown);
        resetSharedInstances();
        const pid_t pid = runNotes({window("Todo", {400, 300, 500, 300})});
        desk().clearJournal();

        const auto out = restore(snapshotOf(c.name, {row("Todo", {100, 50, 800, 600}, 1)}), 10);

        const auto element = titled(pid, "Todo");
        const auto position = axPosition(element);
        const auto size = axSize(element);
        ASSERT_TRUE(position && size);
        EXPECT_NEAR(position->x, 100, 0.001);
        EXPECT_NEAR(position->y, 75, 0.001);
        EXPECT_NEAR(size->width, 800, 0.001);
        EXPECT_NEAR(size->height, 600, 0.001);
        EXPECT_EQ(linesWith("Target screen for com.example.notes window 'Todo': id=1, name=Built-in Retina "
                            "Display [reason=ID]"),
                  1);
        EXPECT_EQ(out.calls, 1);
        EXPECT_TRUE(out.success);
        EXPECT_EQ(out.message, "Snapshot '" + c.shown + "' launched.\n");
        ASSERT_EQ(toasts->panel->contents.size(), 2u);
        EXPECT_EQ(toasts->panel->contents[0].title, "Launching Snapshot");
        EXPECT_EQ(toasts->panel->contents[0].message, "Restoring '" + c.shown + "'...");
        EXPECT_EQ(toasts->panel->contents[1].title, "Snapshot Restore");
        EXPECT_EQ(toasts->panel->contents[1].message, "Snapshot '" + c.shown + "' launched.");
        EXPECT_EQ(linesWith("=== restoreSnapshot: " + c.shown + " ==="), 1);
        EXPECT_EQ(linesWith("restoreSnapshot complete — success=true. Snapshot '" + c.shown + "' launched."),
                  1);
        EXPECT_EQ(journalCount(JournalEntry::Kind::launch), 0u);
    }
}

TEST_F(SnapshotRestoreTest, TheResultToastReplacesTheLaunchToastForThreeSeconds) {
    runNotes({window("Todo", {400, 300, 500, 300})});
    const auto out = restore(snapshotOf("S", {row("Todo", {100, 50, 800, 600}, 1)}), 3.1);
    ASSERT_EQ(out.calls, 1);
    ASSERT_EQ(toasts->panel->contents.size(), 2u);
    EXPECT_EQ(toasts->panel->orderedOut, 0); // shown at 0.15 s, up until 3.15 s
    sim().runFor(0.2);
    EXPECT_EQ(toasts->panel->orderedOut, 1);
}

TEST_F(SnapshotRestoreTest, CompletesAsSoonAsTheWindowsArePlaced) {
    struct Case {
        int apps;
        int rowsPerApp;
        double seconds;
    };
    for (const auto& c : {Case{1, 1, 0.15}, Case{1, 3, 0.23}, Case{3, 1, 0.15}}) {
        SCOPED_TRACE(std::to_string(c.apps) + " x " + std::to_string(c.rowsPerApp));
        resetSharedInstances();
        std::vector<WindowValue> rows;
        std::int64_t id = 0;
        for (int a = 0; a < c.apps; ++a) {
            auto spec = notesApp();
            spec.bundleIdentifier = "com.example.app" + std::to_string(a);
            std::vector<platform::WindowSpec> windows;
            for (int r = 0; r < c.rowsPerApp; ++r) {
                const std::string title = "W" + std::to_string(r);
                windows.push_back(window(title, {500.0 + 10 * r, 300, 400, 300}));
                rows.push_back(row(title, {20.0 + 30 * r, 40, 600, 400}, ++id, 1, {0, 0, 1440, 875}, 0,
                                   spec.bundleIdentifier));
            }
            desk().run(spec, windows);
        }
        const auto out = restore(snapshotOf("S", rows), 5);
        EXPECT_EQ(out.calls, 1);
        EXPECT_TRUE(out.success);
        EXPECT_NEAR(out.after, c.seconds, 0.0005);
    }
}

TEST_F(SnapshotRestoreTest, LaunchesMissingApplicationsWithoutActivatingThem) {
    struct Case {
        const char* what;
        double launchDelay;
        bool neverStarts;
        std::optional<double> maxWait;
        bool restored;
    };
    const Case cases[] = {
        {"starts in 2 s", 2, false, std::nullopt, true},
        {"starts in 7 s", 7, false, std::nullopt, false},
        {"never starts", 0.5, true, std::nullopt, false},
        {"no wait allowed", 0.5, false, 0.0, false},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        resetSharedInstances();
        auto notes = notesApp();
        notes.launchDelay = c.launchDelay;
        notes.neverStarts = c.neverStarts;
        notes.windowsAtLaunch = {platform::TimedWindow{0, window("Todo", {400, 300, 500, 300})}};
        desk().install(notes);
        if (c.maxWait)
            platform::UserDefaults::standard().set(*c.maxWait, settings::snapshotRestoreLaunchMaxWait.key);
        const pid_t front = desk().frontmost();

        const auto out = restore(snapshotOf("S", {row("Todo", {100, 50, 800, 600}, 1)}), 30);

        EXPECT_EQ(out.calls, 1);
        EXPECT_EQ(desk().frontmost(), front);
        EXPECT_EQ(journalCount(JournalEntry::Kind::launch), 1u);
        if (c.restored) {
            EXPECT_TRUE(out.success);
            const auto pids = desk().pids(kNotes);
            ASSERT_EQ(pids.size(), 1u);
            EXPECT_EQ(frameOf(pids[0], "Todo"), (CGRect{100, 225, 800, 600}));
        } else {
            EXPECT_FALSE(out.success);
            EXPECT_EQ(out.message, "Some apps failed to launch: com.example.notes\n");
            EXPECT_EQ(linesWith("[ERROR] Timed out waiting for app to launch: com.example.notes"), 1);
        }
    }
}

TEST_F(SnapshotRestoreTest, UnknownApplicationsAreReportedInTheOrderTheyFailed) {
    const auto out = restore(
        snapshotOf("S", {row("A", {0, 0, 500, 400}, 1, 1, {0, 0, 1440, 875}, 0, "com.example.gone"),
                         row("B", {0, 0, 500, 400}, 2, 1, {0, 0, 1440, 875}, 0, "com.example.lost")}));
    EXPECT_EQ(out.calls, 1);
    EXPECT_FALSE(out.success);
    EXPECT_EQ(out.message, "Some apps failed to launch: com.example.gone, com.example.lost\n");
    EXPECT_EQ(linesWith("[ERROR] Failed to launch app: com.example.gone"), 1);
    EXPECT_EQ(linesWith("[ERROR] Failed to launch app: com.example.lost"), 1);
    ASSERT_EQ(toasts->panel->contents.size(), 2u);
    EXPECT_EQ(toasts->panel->contents[1].message,
              "Some apps failed to launch: com.example.gone, com.example.lost");
}

TEST_F(SnapshotRestoreTest, ARunningApplicationWithoutWindowsIsNeverLaunchedAgain) {
    runNotes({});
    desk().clearJournal();
    const auto out = restore(snapshotOf("S", {row("Todo", {100, 50, 800, 600}, 1)}));
    EXPECT_EQ(out.calls, 1);
    EXPECT_TRUE(out.success);
    EXPECT_EQ(journalCount(JournalEntry::Kind::launch), 0u);
    EXPECT_EQ(linesWith("App already running: com.example.notes — restoring immediately"), 1);
    EXPECT_EQ(linesWith("No AX window available to assign for com.example.notes ‘Todo’"), 1);
}

TEST_F(SnapshotRestoreTest, RowsWithoutApplicationsOrWithoutAnyRowEndAtOnce) {
    auto a = row("A", {0, 0, 500, 400}, 1, 1, {0, 0, 1440, 875}, 0, std::nullopt);
    auto b = row("B", {0, 0, 500, 400}, 2, 1, {0, 0, 1440, 875}, 0, std::nullopt);
    auto out = restore(snapshotOf("S", {a, b}), 1);
    EXPECT_EQ(out.calls, 1);
    EXPECT_TRUE(out.success);
    EXPECT_EQ(out.message, "Snapshot 'S' launched.\n");
    EXPECT_EQ(linesWith("Restoring 2 windows across 0 app(s)"), 1);

    out = restore(snapshotOf("S", {}), 1);
    EXPECT_EQ(out.calls, 1);
    EXPECT_FALSE(out.success);
    EXPECT_EQ(out.message, "No windows to restore.\n");
    EXPECT_EQ(linesWith("[WARN] No windows to restore for snapshot S"), 1);
    ASSERT_EQ(toasts->panel->contents.size(), 4u);
    EXPECT_EQ(toasts->panel->contents[3].title, "Snapshot Restore");
    EXPECT_EQ(toasts->panel->contents[3].message, "No windows to restore.");
}

TEST_F(SnapshotRestoreTest, ACurrentSpaceSnapshotKeepsRowsSavedWithoutASpace) {
    desk().addSpace(1);
    const pid_t pid = runNotes({window("A", {400, 300, 500, 300}), window("B", {600, 300, 500, 300})});
    const auto out =
        restore(snapshotOf("S", {row("A", {10, 10, 500, 300}, 1), row("B", {700, 10, 500, 300}, 2)}));
    EXPECT_TRUE(out.success);
    EXPECT_EQ(linesWith("Restoring 2 windows across 1 app(s)"), 1);
    EXPECT_EQ(frameOf(pid, "A"), (CGRect{10, 565, 500, 300}));
    EXPECT_EQ(frameOf(pid, "B"), (CGRect{700, 565, 500, 300}));
}

TEST_F(SnapshotRestoreTest, AMissingDisplaysWindowsGoToItsReplacement) {
    desk().useLaptopWithExternal();
    sim().runFor(0.1);
    const pid_t pid = runNotes({window("Todo", {1600, 200, 900, 600})});
    desk().removeDisplay(2);
    sim().runFor(1);

    const auto out =
        restore(snapshotOf("S", {row("Todo", {960, 0, 960, 1055}, 1, 2, {1440, 0, 1920, 1055})}), 10);

    EXPECT_TRUE(out.success);
    EXPECT_EQ(linesWith("Screen remapping selections: [\"2->1 [moveOnly]\"]"), 1);
    EXPECT_EQ(linesWith("[reason=ID]"), 0);
    EXPECT_EQ(
        linesWith("Target screen for com.example.notes window 'Todo': id=1, name=Built-in Retina Display "
                  "[reason=Remap]"),
        1);
    EXPECT_EQ(frameOf(pid, "Todo"), (CGRect{720, 0, 720, 875}));
}

} // namespace
} // namespace tilmora::WindowManager
