#include "snapshots/CaptureTest.hpp"

#include "model/Settings.hpp"

#include "snapshots/DisplayFingerprint.hpp"
#include "snapshots/SavedDisplayIdentity.hpp"

#include "platform/control/SQLiteControl.hpp"
#include "snapshots/WindowDetailBuilder.hpp"
#include "support/TableRow.hpp"

#include <gtest/gtest.h>

#include <cstdint>
#include <cstdio>
#include <map>
#include <string>
#include <vector>

namespace tilmora::WindowManager {
namespace {

using platform::UserDefaults;

class SnapshotSaveTest : public CaptureTest {
protected:
    std::vector<WindowValue> storedWindows() {
        const auto snapshots = context().fetchSnapshots();
        return snapshots.empty() ? std::vector<WindowValue>{} : snapshots.front()->value().windows;
    }
};

TEST_F(SnapshotSaveTest, EachAttributeHoldsWhatTheRestoreReadsBack) {
    struct Case {
        std::optional<std::string> appName;
        std::string name;
        std::string storedAppName;
    };
    const Case cases[] = {
        {"Notes", "  a  ", "Notes"},
        {std::nullopt, "", "com.example.notes"},
    };
    for (const auto& c : cases) {
        for (pid_t pid : desk().pids("com.example.notes"))
            desk().quit(pid);
        auto spec = notesApp();
        spec.localizedName = c.appName;
        const pid_t pid = desk().run(spec, {axWindow("T", 100, 100, 800, 300)});
        const auto outcome = save(c.name);
        ASSERT_TRUE(outcome.success) << outcome.message;
        const auto snapshot = context().fetchSnapshots().front();
        EXPECT_EQ(snapshot->name, c.name);
        EXPECT_EQ(snapshot->scope, 0);
        EXPECT_EQ(toasts->panel->contents.back().message, "Snapshot '" + c.name + "' saved successfully.");
        const auto rows = snapshot->value().windows;
        ASSERT_EQ(rows.size(), 1u);
        WindowAttributes expected;
        expected.appName = c.storedAppName;
        expected.bundleIdentifier = "com.example.notes";
        expected.windowTitle = "T";
        expected.processID = pid;
        expected.xPosition = 100;
        expected.yPosition = 100;
        expected.width = 800;
        expected.height = 300;
        expected.screenUUID = -3334107202632810495LL;
        expected.originalScreenWidth = 1440;
        expected.originalScreenHeight = 875;
        expected.windowID = 25;
        expected.spaceID = 0;
        EXPECT_EQ(static_cast<const WindowAttributes&>(rows[0]), expected);
    }
}

TEST_F(SnapshotSaveTest, TheDisplayIdentityOfEachRowFollowsItsDisplay) {
    platform::DisplaySpec left;
    left.displayID = 5;
    left.frame = {-1440, 900, 1440, 900};
    left.visibleFrame = platform::CGRect{-1440, 900, 1440, 900};
    left.vendor = 1552;
    left.model = 41040;
    left.serial = 7;
    desk().addDisplay(left);
    left.displayID = 6;
    left.serial = 8;
    left.frame = platform::CGRect{-1440, -900, 1440, 900};
    left.visibleFrame = left.frame;
    desk().addDisplay(left);
    runNotes({axWindow("Main", 100, 100, 800, 300), window("Left", {-1000, 1200, 400, 300}),
              window("Lower", {-1000, -600, 400, 300})});
    ASSERT_TRUE(save("Displays").success);
    std::map<std::string, WindowValue> rows;
    for (const auto& row : storedWindows())
        rows[*row.windowTitle] = row;
    ASSERT_EQ(rows.size(), 3u);
    EXPECT_EQ(static_cast<std::uint64_t>(rows["Left"].windowID), 0xFFFFFA6000000384ull);
    EXPECT_EQ(savedDisplayNumber(rows["Left"].screenUUID), 5u);
    EXPECT_EQ(savedDisplayNumber(rows["Lower"].screenUUID), 6u);
    EXPECT_NE(savedFingerprint(rows["Left"].screenUUID), savedFingerprint(rows["Lower"].screenUUID));
    EXPECT_EQ(savedFingerprint(rows["Left"].screenUUID), displayFingerprintHash(5));
    EXPECT_EQ(rows["Main"].windowID, 25);
}

TEST_F(SnapshotSaveTest, TheScopeAndSpacesFollowTheAllSpacesSetting) {
    const auto second = desk().addSpace(1);
    auto onSecond = axWindow("Second", 100, 100, 800, 300);
    onSecond.desktop = 2;
    runNotes({axWindow("First", 100, 500, 800, 300), onSecond});
    struct Case {
        bool allSpaces;
        platform::SpaceAnswerForm answers;
        platform::WorkspaceNumberForm workspaces;
        std::int16_t scope;
        std::int64_t secondSpace;
        bool warned;
    };
    const Case cases[] = {
        {false, platform::SpaceAnswerForm::uint64Numbers, platform::WorkspaceNumberForm::int32, 0, 0, false},
        {true, platform::SpaceAnswerForm::uint64Numbers, platform::WorkspaceNumberForm::int32, 1,
         static_cast<std::int64_t>(second), false},
        {true, platform::SpaceAnswerForm::empty, platform::WorkspaceNumberForm::absent, 1, 0, true},
    };
    verbose();
    for (const auto& c : cases) {
        UserDefaults::standard().set(c.allSpaces, settings::snapshotAllSpaces.key);
        desk().setSpaceAnswerForm(c.answers);
        desk().setWorkspaceNumberForm(c.workspaces);
        std::remove(logFilePath()->c_str());
        ASSERT_TRUE(save("S").success);
        EXPECT_EQ(context().fetchSnapshots().front()->scope, c.scope);
        for (const auto& row : storedWindows())
            if (row.windowTitle == "Second") {
                EXPECT_EQ(row.spaceID, c.secondSpace) << c.allSpaces;
            }
        const auto lines = logLines();
        const auto info = std::find_if(lines.begin(), lines.end(),
                                       [](const auto& l) { return l.rfind("[INFO] [SAVE][SPACE]", 0) == 0; });
        ASSERT_NE(info, lines.end());
        const bool warned =
            info + 1 != lines.end() && (info + 1)->rfind("[WARN] [SAVE][SPACE][WARN] All-Spaces "
                                                         "is enabled, but no windows returned a "
                                                         "spaceID. ",
                                                         0) == 0;
        EXPECT_EQ(warned, c.warned) << c.allSpaces;
    }
}

TEST_F(SnapshotSaveTest, ReportsAndToastsComeBeforeTheSaveReturns) {
    struct Case {
        bool withWindow;
        bool success;
        const char* message;
        const char* toast;
        std::size_t snapshots;
    };
    const Case cases[] = {
        {false, false, "No windows to save.\n", "No windows to save.", 0},
        {true, true, "Snapshot saved successfully.\n", "Snapshot 'W' saved successfully.", 1},
    };
    for (const auto& c : cases) {
        if (c.withWindow) runNotes({axWindow("T", 100, 100, 800, 300)});
        toasts->panel->contents.clear();
        const auto outcome = save("W");
        EXPECT_EQ(outcome.calls, 1);
        EXPECT_EQ(outcome.success, c.success);
        EXPECT_EQ(outcome.message, c.message);
        ASSERT_EQ(outcome.toastsAtCompletion, 1u) << "the toast comes before the completion";
        EXPECT_EQ(toasts->panel->contents[0].title, "Snapshot");
        EXPECT_EQ(toasts->panel->contents[0].message, c.toast);
        EXPECT_EQ(context().fetchSnapshots().size(), c.snapshots);
        EXPECT_FALSE(context().hasChanges());
    }
    // The toast stays for three seconds, then fades out over 0.2 s.
    sim().runFor(2.9);
    EXPECT_EQ(toasts->panel->orderedOut, 0);
    sim().runFor(0.4);
    EXPECT_EQ(toasts->panel->orderedOut, 1);
}

TEST_F(SnapshotSaveTest, ASaveIntoAStoreStandingInForItsFileSaysItLastsOnlyUntilQuit) {
    runNotes({axWindow("T", 100, 100, 800, 300)});
    using StandIn = SnapshotContext::StandIn;
    const testsupport::TableRow<StandIn, const char*> rows[] = {
        {"in use", {"/u/SnapShot.sqlite", true},
         "Snapshot 'W' is kept only until Tilmora quits: the snapshot store is in use by another program."},
        {"unusable", {"/u/SnapShot.sqlite", false},
         "Snapshot 'W' is kept only until Tilmora quits: the snapshot store cannot be used."},
    };
    for (const auto& row : rows) {
        context().setStandsInFor(row.given);
        toasts->panel->contents.clear();
        const auto outcome = save("W");
        EXPECT_TRUE(outcome.success) << row.name;
        ASSERT_EQ(toasts->panel->contents.size(), 1u) << row.name;
        EXPECT_EQ(toasts->panel->contents[0].message, row.expected);
    }
}

TEST_F(SnapshotSaveTest, AFailedSaveLeavesNothingOfItselfBehind) {
    runNotes({axWindow("T", 100, 100, 800, 300), axWindow("U", 100, 500, 800, 300)});
    ASSERT_TRUE(save("Kept").success);
    auto kept = context().fetchSnapshots().front();
    kept->name = "Renamed"; // another pending change, which must stay

    struct Case {
        const char* name;
        std::function<void()> arm;
        const char* message;
        const char* toast = nullptr;
    };
    const Case cases[] = {
        {"full disk", [] { platform::SQLiteControl::failNextCommit(); },
         "Failed to save snapshot: database or disk is full\n",
         "Snapshot 'Lost' could not be saved: database or disk is full"},
        {"snapshot insert yields a window",
         [this] {
             context().setInsertSeam([](SnapshotContext& ctx,
                                        std::string_view entity) -> std::shared_ptr<StoredObject> {
                 return entity == "Snapshot" ? std::shared_ptr<StoredObject>(ctx.insertWindow()) : nullptr;
             });
         },
         "Core Data Snapshot insert failed\n"},
        {"snapshot insert yields nothing",
         [this] { context().setInsertSeam([](SnapshotContext&, std::string_view) { return nullptr; }); },
         "Core Data Snapshot insert failed\n"},
    };
    for (const auto& c : cases) {
        c.arm();
        toasts->panel->contents.clear();
        const auto outcome = save("Lost");
        context().setInsertSeam({});
        EXPECT_FALSE(outcome.success) << c.name;
        EXPECT_EQ(outcome.message, c.message) << c.name;
        if (c.toast) {
            ASSERT_EQ(toasts->panel->contents.size(), 1u) << c.name;
            EXPECT_EQ(toasts->panel->contents[0].title, "Snapshot");
            EXPECT_EQ(toasts->panel->contents[0].message, c.toast);
        } else {
            EXPECT_TRUE(toasts->panel->contents.empty()) << c.name;
        }
        const auto listed = context().fetchSnapshots();
        ASSERT_EQ(listed.size(), 1u) << c.name;
        EXPECT_EQ(listed[0]->name, "Renamed") << c.name;
        EXPECT_EQ(listed[0]->windowsSet().size(), 2u) << c.name;
    }
    ASSERT_TRUE(save("Next").success);
    context().rollback();
    const auto listed = context().fetchSnapshots();
    ASSERT_EQ(listed.size(), 2u);
    EXPECT_EQ(listed[0]->name, "Next");
    EXPECT_EQ(listed[0]->windowsSet().size(), 2u);
    EXPECT_EQ(listed[1]->name, "Renamed") << "the other pending change was saved with the next save";
}

TEST_F(SnapshotSaveTest, AWindowInsertOfTheWrongKindLeavesThatWindowOut) {
    runNotes({axWindow("T", 100, 100, 800, 300), axWindow("U", 100, 500, 800, 300)});
    int windowInserts = 0;
    context().setInsertSeam(
        [&](SnapshotContext& ctx, std::string_view entity) -> std::shared_ptr<StoredObject> {
            if (entity == "Snapshot") return ctx.insertSnapshot();
            if (windowInserts++ == 0) return ctx.insertSnapshot(); // a stray that must not be stored
            return ctx.insertWindow();
        });
    ASSERT_TRUE(save("Partial").success);
    const auto listed = context().fetchSnapshots();
    ASSERT_EQ(listed.size(), 1u);
    ASSERT_EQ(listed[0]->windowsSet().size(), 1u);
    // "U", in front, is captured first and left out.
    EXPECT_EQ(listed[0]->windowsSet()[0]->windowTitle, "T");
}

TEST_F(SnapshotSaveTest, VerboseLinesComeInOrderAndNoneWithoutVerbose) {
    for (bool on : {false, true}) {
        UserDefaults::standard().set(on, settings::verboseLogging.key);
        for (pid_t pid : desk().pids("com.example.notes"))
            desk().quit(pid);
        runNotes({axWindow("T", 100, 100, 800, 300), axWindow("Thin", 100, 100, 79, 300)});
        std::remove(logFilePath()->c_str());
        ASSERT_TRUE(save("W").success);
        if (!on) {
            EXPECT_TRUE(logLines().empty());
            continue;
        }
        EXPECT_EQ(
            logLines(),
            (std::vector<std::string>{
                "[CONFIG] Capture primary rule: center",
                "[START] === saveSnapshot: W ===",
                "[INFO] [SAVE] captureCurrentWindows(allSpaces=false) workspaces=1 raw=2 kept=1 dup=0 "
                "offscreen=0 small=1 clipped=0 desk=0 missing=0",
                "[INFO] [SAVE][SPACE] allSpacesPref=false windows=1 windowsWithSpaceID=0 distinctSpaces=0",
                "",
                "[GROUP] Saved on Built-in Retina Display (id=1): 1 window(s)",
                "[GROUP]   \u2022 com.example.notes \u2018T\u2019 px=(x:100, y:100, w:800, h:300) "
                "norm=(x:0.069, y:0.114, w:0.556, h:0.343) origDisplayBounds=(x:0, y:25, w:1440, h:875)",
                "",
            }));
    }
}

TEST_F(SnapshotSaveTest, TheGroupedLogOrdersDisplaysAndGuardsTinyScreens) {
    verbose();
    // A screen narrower than a point, far to the left.
    auto a = snapshotstest::windowDetail("a", "A", 99, {3, 5, 5, 10});
    a.originalScreenWidth = 0.5;
    a.originalScreenHeight = 10;
    a.originalScreenOriginX = -1919.9;
    WindowDetail b = a;
    b.windowTitle = "B";
    b.screenID = 1;
    logCaptureGroupedByDisplay({a, b});
    EXPECT_EQ(
        logLines(),
        (std::vector<std::string>{
            "",
            "[GROUP] Saved on Built-in Retina Display (id=1): 1 window(s)",
            "[GROUP]   \u2022 a \u2018B\u2019 px=(x:3, y:5, w:5, h:10) norm=(x:3.000, y:0.500, w:5.000, "
            "h:1.000) origDisplayBounds=(x:-1919, y:0, w:0, h:10)",
            "",
            "[GROUP] Saved on Unknown (id=99): 1 window(s)",
            "[GROUP]   \u2022 a \u2018A\u2019 px=(x:3, y:5, w:5, h:10) norm=(x:3.000, y:0.500, w:5.000, "
            "h:1.000) origDisplayBounds=(x:-1919, y:0, w:0, h:10)",
            "",
        }));
    EXPECT_EQ(screenName(99), "Unknown");
    EXPECT_EQ(screenName(1), "Built-in Retina Display");
}

TEST_F(SnapshotSaveTest, ASnapshotSavedFromTheDesktopIsListedAfterARestart) {
    runNotes({window("Todo", {100, 200, 800, 500}), window("Tiny", {300, 300, 60, 200})});
    {
        PersistenceController onDisk(false);
        bool saved = false;
        saveSnapshot("Work", onDisk.viewContext(), [&](bool ok, const std::string&) { saved = ok; });
        ASSERT_TRUE(saved);
    }
    PersistenceController reopened(false);
    const auto listed = reopened.viewContext().fetchSnapshots();
    ASSERT_EQ(listed.size(), 1u);
    EXPECT_EQ(listed[0]->name, "Work");
    ASSERT_EQ(listed[0]->windowsSet().size(), 1u);
    EXPECT_EQ(listed[0]->windowsSet()[0]->windowTitle, "Todo");
}

} // namespace
} // namespace tilmora::WindowManager
