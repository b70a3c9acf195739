#include "snapshots/PersistenceController.hpp"
#include "snapshots/SavedDisplayIdentity.hpp"

#include "model/NotificationManager.hpp"

#include "platform/control/SQLiteControl.hpp"
#include "platform/control/SimDesktop.hpp"
#include "platform/dispatch/DispatchQueue.hpp"
#include "platform/dispatch/DispatchSemaphore.hpp"
#include "platform/dispatch/DispatchTime.hpp"
#include "platform/dispatch/Thread.hpp"
#include "platform/foundation/FileSystem.hpp"
#include "platform/foundation/NotificationCenter.hpp"
#include "platform/foundation/SQLiteDatabase.hpp"
#include "platform/foundation/SQLiteError.hpp"
#include "platform/foundation/UserDefaults.hpp"
#include "support/PlatformTest.hpp"
#include "support/RecordingToastHost.hpp"

#include <gtest/gtest.h>

#include <filesystem>
#include <functional>
#include <limits>
#include <memory>
#include <optional>
#include <string>
#include <vector>

namespace tilmora {
namespace {

namespace fs = std::filesystem;
using platform::FileSystem::fileExists;
using platform::FileSystem::readFile;

class SnapshotStoreTest : public PlatformTest {
protected:
    void restoreFixture() override {
        PlatformTest::restoreFixture();
        platform::SimDesktop::shared().useLaptop();
        NotificationManager::installHost(host);
    }

    fs::path storeFile() const { return *PersistenceController::defaultStoreURL(); }
    fs::path storeFolder() const { return storeFile().parent_path(); }

    std::string logText() const {
        const fs::path log = root() / "Documents" / "Tilmora_log.txt";
        return fileExists(log) ? readFile(log) : std::string();
    }

    static WindowAttributes sampleWindow(int n) {
        WindowAttributes w;
        w.appName = "Notes " + std::to_string(n);
        w.bundleIdentifier = "com.example.notes";
        w.windowTitle = n == 0 ? "" : "Doc " + std::to_string(n);
        w.processID = -1;
        w.xPosition = 100.5 + n;
        w.yPosition = 50.25;
        w.width = 800;
        w.height = 300;
        w.screenUUID = WindowManager::packScreenUUID(1, 0xD1BADF2Au);
        w.spaceID = 4 + n;
        w.originalScreenHeight = 875;
        w.originalScreenWidth = 1440;
        w.windowID = WindowManager::packWindowID(-1920.4, 25.5);
        return w;
    }

    /// A new snapshot with `windows` in `context`, not saved.
    static std::shared_ptr<Snapshot> addSnapshot(SnapshotContext& context, std::string name, double time,
                                                 std::vector<WindowAttributes> windows = {}) {
        auto s = context.insertSnapshot();
        s->name = std::move(name);
        s->timestamp = platform::Date{time};
        for (const auto& attributes : windows) {
            auto w = context.insertWindow();
            static_cast<WindowAttributes&>(*w) = attributes;
            s->addWindowsObject(w);
        }
        return s;
    }

    static std::vector<std::string> names(const std::vector<std::shared_ptr<Snapshot>>& snapshots) {
        std::vector<std::string> result;
        for (const auto& s : snapshots)
            result.push_back(s->name.value_or("<none>"));
        return result;
    }

    std::int64_t windowRowCount(const std::string& where = "1") {
        auto db = platform::SQLiteDatabase::open(storeFile());
        return db.queryInt64("SELECT COUNT(*) FROM \"window\" WHERE " + where);
    }

    std::shared_ptr<testsupport::RecordingToastHost> host =
        std::make_shared<testsupport::RecordingToastHost>();
};

TEST_F(SnapshotStoreTest, SavedSnapshotsComeBackNewestFirstWithEveryAttribute) {
    std::vector<SnapshotValue> saved;
    {
        PersistenceController store(false);
        ASSERT_FALSE(store.isInMemory());
        auto& context = store.viewContext();
        auto older = addSnapshot(context, "Morning", 1000, {sampleWindow(1), sampleWindow(0)});
        auto newer = addSnapshot(context, "Evening", 2000, {sampleWindow(2)});
        auto odd = sampleWindow(3);
        odd.appName.reset();
        odd.xPosition = std::numeric_limits<double>::infinity();
        auto scoped = addSnapshot(context, "", 1500, {odd});
        scoped->scope = 2;
        context.save();
        for (const auto& s : context.fetchSnapshots())
            saved.push_back(s->value());
    }
    ASSERT_TRUE(fileExists(storeFile()));

    PersistenceController reopened(false);
    const auto snapshots = reopened.viewContext().fetchSnapshots();
    EXPECT_EQ(names(snapshots), (std::vector<std::string>{"Evening", "", "Morning"}));
    std::vector<SnapshotValue> loaded;
    for (const auto& s : snapshots)
        loaded.push_back(s->value());
    EXPECT_EQ(loaded, saved);
    ASSERT_EQ(loaded[2].windows.size(), 2u);
    EXPECT_EQ(loaded[2].windows[0].processID, -1);
    EXPECT_EQ(loaded[2].windows[0].screenUUID, -3334107202632810495LL);
    EXPECT_EQ(loaded[2].windows[0].windowID, -8246337208294LL);
    EXPECT_EQ(loaded[2].windows[1].windowTitle, "");
    EXPECT_EQ(loaded[2].id, "p1");
    EXPECT_EQ(loaded[1].scope, 2);
    EXPECT_FALSE(Snapshot::scopeFromRawValue(loaded[1].scope));
}

TEST_F(SnapshotStoreTest, ScopeFormsOnlyFromZeroAndOne) {
    struct Case {
        std::int16_t raw;
        std::optional<Snapshot::Scope> scope;
    };
    const Case cases[] = {{0, Snapshot::Scope::currentSpace},
                          {1, Snapshot::Scope::allSpaces},
                          {2, std::nullopt},
                          {-1, std::nullopt}};
    for (const Case& c : cases) {
        SCOPED_TRACE(c.raw);
        EXPECT_EQ(Snapshot::scopeFromRawValue(c.raw), c.scope);
    }
}

TEST_F(SnapshotStoreTest, EqualTimeStampsOrderByIdAndNewObjectsComeFirst) {
    PersistenceController store(false);
    auto& context = store.viewContext();
    addSnapshot(context, "a", 500);
    addSnapshot(context, "b", 500);
    auto untimed = addSnapshot(context, "c", 0);
    untimed->timestamp.reset();
    context.save();
    addSnapshot(context, "new", 500);
    EXPECT_EQ(names(context.fetchSnapshots()), (std::vector<std::string>{"new", "b", "a", "c"}));
}

TEST_F(SnapshotStoreTest, IdsAreNeverReusedAndDeletedSnapshotsTakeTheirWindows) {
    PersistenceController store(false);
    auto& context = store.viewContext();
    auto first = addSnapshot(context, "one", 1, {sampleWindow(1)});
    auto second = addSnapshot(context, "two", 2, {sampleWindow(2), sampleWindow(3)});
    context.save();
    EXPECT_EQ(first->idText(), "p1");
    EXPECT_EQ(second->idText(), "p2");
    EXPECT_EQ(windowRowCount("snapshot_id = 2"), 2);

    context.deleteObject(context.snapshotWithID("p2"));
    EXPECT_EQ(names(context.fetchSnapshots()), (std::vector<std::string>{"one"}))
        << "pending delete is left out";
    context.save();
    EXPECT_EQ(windowRowCount("snapshot_id = 2"), 0);
    EXPECT_EQ(windowRowCount(), 1);

    auto third = addSnapshot(context, "three", 3);
    context.save();
    EXPECT_EQ(third->idText(), "p3");

    // After a restart the counter still stands past every id handed out.
    context.deleteObject(third);
    context.save();
    PersistenceController reopened(false);
    auto fourth = addSnapshot(reopened.viewContext(), "four", 4);
    reopened.viewContext().save();
    EXPECT_EQ(fourth->idText(), "p4");
}

TEST_F(SnapshotStoreTest, AFullDiskKeepsTheOldRowsAndThePendingChanges) {
    PersistenceController store(false);
    auto& context = store.viewContext();
    addSnapshot(context, "kept", 1, {sampleWindow(1)});
    context.save();
    const std::string before = readFile(storeFile());

    auto fresh = addSnapshot(context, "new", 2, {sampleWindow(2)});
    platform::SQLiteControl::failNextCommit();
    try {
        context.save();
        FAIL() << "the save should fail";
    } catch (const platform::Error& e) {
        EXPECT_STREQ(e.what(), "database or disk is full");
    }
    EXPECT_EQ(readFile(storeFile()), before);
    EXPECT_TRUE(context.hasChanges());
    EXPECT_FALSE(fresh->rowID());
    EXPECT_EQ(names(context.fetchSnapshots()), (std::vector<std::string>{"new", "kept"}));
    {
        PersistenceController other(false);
        EXPECT_EQ(names(other.viewContext().fetchSnapshots()), (std::vector<std::string>{"kept"}));
    }

    context.discard({fresh});
    EXPECT_EQ(names(context.fetchSnapshots()), (std::vector<std::string>{"kept"}));
    EXPECT_FALSE(context.hasChanges());
    EXPECT_EQ(windowRowCount(), 1);

    // The next save goes through and hands out the id the failed one did not keep.
    auto later = addSnapshot(context, "later", 3);
    context.save();
    EXPECT_EQ(later->idText(), "p2");
}

TEST_F(SnapshotStoreTest, RenameRollbackDiscardAndTheChangeNotification) {
    int changes = 0;
    platform::NotificationCenter::defaultCenter().addObserver(
        SnapshotContext::didChangeNotification, nullptr, [&](const platform::Notification&) { ++changes; });
    PersistenceController store(false);
    auto& context = store.viewContext();
    auto a = addSnapshot(context, "a", 1, {sampleWindow(1), sampleWindow(2)});
    auto b = addSnapshot(context, "b", 2);
    context.save();
    EXPECT_EQ(changes, 1);

    // A rename, a delete and a new snapshot, all rolled back.
    a->name = "renamed";
    context.deleteObject(b);
    EXPECT_EQ(changes, 2);
    auto c = addSnapshot(context, "c", 3);
    context.rollback();
    EXPECT_EQ(changes, 3);
    EXPECT_EQ(names(context.fetchSnapshots()), (std::vector<std::string>{"b", "a"}));
    EXPECT_FALSE(context.hasChanges());
    EXPECT_FALSE(c->isInserted());

    // A deleted window comes back with a discard of it; a rename is stored by the next save.
    auto window = a->windowsSet().front();
    context.deleteObject(window);
    EXPECT_EQ(a->windowsSet().size(), 1u);
    context.discard({window});
    EXPECT_EQ(a->windowsSet().size(), 2u);
    EXPECT_EQ(a->windowsSet().front(), window) << "row-id order";

    a->name = "renamed";
    context.save();
    PersistenceController reopened(false);
    EXPECT_EQ(names(reopened.viewContext().fetchSnapshots()), (std::vector<std::string>{"b", "renamed"}));
}

TEST_F(SnapshotStoreTest, AWindowMovedToAnotherSnapshotIsStoredThere) {
    PersistenceController store(false);
    auto& context = store.viewContext();
    auto a = addSnapshot(context, "a", 1, {sampleWindow(1)});
    auto b = addSnapshot(context, "b", 2);
    context.save();
    b->addWindowsObject(a->windowsSet().front());
    EXPECT_TRUE(a->windowsSet().empty());
    context.save();
    EXPECT_EQ(windowRowCount("snapshot_id = 2"), 1);
    EXPECT_EQ(windowRowCount("snapshot_id = 1"), 0);
}

TEST_F(SnapshotStoreTest, AWindowWithoutASnapshotFailsTheSaveAndStaysPending) {
    PersistenceController store(false);
    auto& context = store.viewContext();
    addSnapshot(context, "a", 1);
    auto loose = context.insertWindow();
    EXPECT_THROW(context.save(), platform::Error);
    EXPECT_EQ(windowRowCount(), 0);
    EXPECT_TRUE(context.hasChanges());
    context.deleteObject(loose);
    context.save();
    EXPECT_EQ(names(PersistenceController(false).viewContext().fetchSnapshots()),
              (std::vector<std::string>{"a"}));
}

TEST_F(SnapshotStoreTest, AnUnusableFileIsKeptAsideAndAFreshStoreOpens) {
    struct Case {
        const char* name;
        std::function<void(const fs::path&)> write;
        const char* reason;
        bool withJournal;
    };
    const std::vector<Case> cases = {
        {"not a database", [](const fs::path& p) { platform::FileSystem::writeFile(p, "hello"); },
         "file is not a database", true},
        {"newer schema",
         [](const fs::path& p) {
             auto db = platform::SQLiteDatabase::open(p);
             db.exec("CREATE TABLE t (x); PRAGMA user_version = 9");
         },
         "schema version 9 is newer than 1", false},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        platform::FileSystem::createDirectories(storeFolder());
        for (const auto& entry : fs::directory_iterator(storeFolder()))
            fs::remove(entry.path());
        c.write(storeFile());
        if (c.withJournal)
            platform::FileSystem::writeFile(storeFile().string() + "-journal", "journal bytes");
        const std::string bytes = readFile(storeFile());
        const std::string logBefore = logText();

        PersistenceController store(false);
        const fs::path kept = storeFolder() / "SnapShot.sqlite.corrupt-20260101T000000Z";
        ASSERT_TRUE(fileExists(kept));
        EXPECT_EQ(readFile(kept), bytes);
        if (c.withJournal) {
            EXPECT_EQ(readFile(kept.string() + "-journal"), "journal bytes");
        }
        const std::string printed = logText().substr(logBefore.size());
        const std::string unresolved = std::string("Unresolved error ") + c.reason + ", ";
        const std::string keptLine =
            std::string("Snapshot store could not be opened (") + c.reason +
            "); kept it as SnapShot.sqlite.corrupt-20260101T000000Z and started an empty store\n";
        EXPECT_EQ(printed.find(unresolved), 0u) << printed;
        EXPECT_NE(printed.find(keptLine), std::string::npos) << printed;
        EXPECT_FALSE(store.isInMemory());
        EXPECT_TRUE(store.viewContext().fetchSnapshots().empty());
        EXPECT_EQ(platform::SQLiteDatabase::open(storeFile()).queryInt64("PRAGMA user_version"), 1);
        EXPECT_TRUE(host->panel->contents.empty());
    }

    // A second damaged file in the same second takes the next free name.
    platform::FileSystem::writeFile(storeFile(), "again");
    PersistenceController store(false);
    EXPECT_EQ(readFile(storeFolder() / "SnapShot.sqlite.corrupt-20260101T000000Z-2"), "again");
}

TEST_F(SnapshotStoreTest, AnEmptyFileIsMigratedToTheCurrentVersion) {
    platform::FileSystem::createDirectories(storeFolder());
    platform::FileSystem::writeFile(storeFile(), "");
    PersistenceController store(false);
    EXPECT_FALSE(store.isInMemory());
    addSnapshot(store.viewContext(), "a", 1, {sampleWindow(1)});
    store.viewContext().save();
    auto db = platform::SQLiteDatabase::open(storeFile());
    EXPECT_EQ(db.queryInt64("PRAGMA user_version"), 1);
    EXPECT_EQ(db.queryText("PRAGMA journal_mode"), "delete");
    EXPECT_FALSE(fileExists(storeFolder() / "SnapShot.sqlite.corrupt-20260101T000000Z"));
}

TEST_F(SnapshotStoreTest, WithoutAUsableFolderOrFileSnapshotsLiveInMemory) {
    struct Case {
        const char* name;
        std::function<void(const fs::path& file)> prepare;
        const char* line;
    };
    const std::vector<Case> cases = {
        {"a plain file in place of the folder",
         [](const fs::path& file) { platform::FileSystem::writeFile(file.parent_path(), "not a folder"); },
         "Failed to create Application Support directory: "},
        {"the store does not open",
         [](const fs::path& file) {
             platform::FileSystem::createDirectories(file.parent_path());
             platform::SQLiteControl::failNextOpen();
         },
         "Unresolved error unable to open database file, "},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        resetSharedInstances();
        fs::remove_all(storeFolder());
        host->panel->contents.clear();
        c.prepare(storeFile());
        const std::string logBefore = logText();

        PersistenceController store(false);
        EXPECT_TRUE(store.isInMemory());
        EXPECT_EQ(logText().substr(logBefore.size()).find(c.line), 0u) << logText();
        auto s = addSnapshot(store.viewContext(), "a", 1, {sampleWindow(1)});
        store.viewContext().save();
        EXPECT_EQ(s->idText(), "p1");
        EXPECT_EQ(names(store.viewContext().fetchSnapshots()), (std::vector<std::string>{"a"}));
        EXPECT_FALSE(fileExists(storeFile()));
        ASSERT_EQ(host->panel->contents.size(), 1u);
        EXPECT_EQ(host->panel->contents[0].title, "Snapshot");
        EXPECT_EQ(host->panel->contents[0].message, "Snapshots are kept only until Tilmora quits.");
        const auto standIn = store.viewContext().standsInFor();
        ASSERT_TRUE(standIn);
        EXPECT_EQ(standIn->store, storeFile());
        EXPECT_FALSE(standIn->inUse);
    }
}

TEST_F(SnapshotStoreTest, AStoreAnotherConnectionHoldsIsWaitedForAtOpeningAndAtEachSave) {
    {
        PersistenceController first(false);
        addSnapshot(first.viewContext(), "kept", 1);
        first.viewContext().save();
    }
    struct Case {
        const char* name;
        std::optional<double> heldFor; // none: past the wait
    };
    for (const Case& c : {Case{"released within the wait", 1.0}, Case{"held past the wait", std::nullopt}}) {
        SCOPED_TRACE(c.name);
        host->panel->contents.clear();
        const std::string logBefore = logText();
        auto holder = platform::SQLiteDatabase::open(storeFile());
        holder.exec("BEGIN EXCLUSIVE");
        platform::DispatchSemaphore released;
        if (c.heldFor)
            platform::DispatchQueue::global().async([&holder, &released, hold = *c.heldFor] {
                platform::Thread::sleep(hold);
                holder.exec("COMMIT");
                released.signal();
            });
        const double start = sim().now();
        PersistenceController store(false);
        EXPECT_NEAR(sim().now() - start, c.heldFor.value_or(PersistenceController::busyTimeoutSeconds), 0.11);
        if (c.heldFor) {
            released.wait(platform::DispatchTime::distantFuture());
            EXPECT_FALSE(store.isInMemory());
            EXPECT_EQ(names(store.viewContext().fetchSnapshots()), std::vector<std::string>{"kept"});
            EXPECT_FALSE(store.viewContext().standsInFor());
            EXPECT_TRUE(host->panel->contents.empty());
            continue;
        }
        holder.exec("COMMIT");
        EXPECT_TRUE(store.isInMemory());
        const auto standIn = store.viewContext().standsInFor();
        ASSERT_TRUE(standIn);
        EXPECT_EQ(standIn->store, storeFile());
        EXPECT_TRUE(standIn->inUse);
        EXPECT_EQ(logText().substr(logBefore.size()).find("Unresolved error database is locked, "), 0u) << logText();
        ASSERT_EQ(host->panel->contents.size(), 1u);
        EXPECT_EQ(host->panel->contents[0].message, "Snapshots are kept only until Tilmora quits.");
    }

    // A save that meets the lock waits as long, then fails and keeps its changes pending.
    PersistenceController store(false);
    ASSERT_FALSE(store.isInMemory());
    auto holder = platform::SQLiteDatabase::open(storeFile());
    holder.exec("BEGIN EXCLUSIVE");
    addSnapshot(store.viewContext(), "later", 2);
    const double start = sim().now();
    try {
        store.viewContext().save();
        ADD_FAILURE() << "saved under another connection's lock";
    } catch (const platform::SQLiteError& e) {
        EXPECT_EQ(e.code(), platform::SQLiteError::busy);
    }
    EXPECT_NEAR(sim().now() - start, PersistenceController::busyTimeoutSeconds, 1e-6);
    holder.exec("COMMIT");
    store.viewContext().save();
    EXPECT_EQ(names(PersistenceController(false).viewContext().fetchSnapshots()),
              (std::vector<std::string>{"later", "kept"}));
}

TEST_F(SnapshotStoreTest, AnInMemoryStoreMakesNoFileAndShowsNoToast) {
    PersistenceController store(true);
    EXPECT_TRUE(store.isInMemory());
    EXPECT_FALSE(store.viewContext().standsInFor());
    addSnapshot(store.viewContext(), "a", 1, {sampleWindow(1)});
    store.viewContext().save();
    EXPECT_FALSE(fileExists(storeFolder()));
    EXPECT_TRUE(host->panel->contents.empty());
}

TEST_F(SnapshotStoreTest, AFreshStoreStartsAboveTheStoredSnapshotShortcuts) {
    struct Case {
        const char* name;
        std::vector<std::string> keys;
        std::string firstId;
    };
    const std::vector<Case> cases = {
        {"none", {}, "p1"},
        {"a quit chord", {"GlobalShortcuts_quit-p41"}, "p42"},
        {"the highest of launch and quit", {"GlobalShortcuts_launch-p7", "GlobalShortcuts_quit-p3"}, "p8"},
        {"not numbers",
         {"GlobalShortcuts_launch-p", "GlobalShortcuts_launch-px9", "GlobalShortcuts_quit-p4a"},
         "p1"},
        {"other names", {"GlobalShortcuts_snapLeft", "GlobalShortcuts_open-p40"}, "p1"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        resetSharedInstances();
        fs::remove_all(storeFolder());
        for (const auto& key : c.keys)
            platform::UserDefaults::standard().set(platform::PropertyValue(std::string("{}")), key);
        PersistenceController store(false);
        auto s = addSnapshot(store.viewContext(), "a", 1);
        store.viewContext().save();
        EXPECT_EQ(s->idText(), c.firstId);
        for (const auto& key : c.keys)
            platform::UserDefaults::standard().removeObjectForKey(key);
    }
}

TEST_F(SnapshotStoreTest, TheSharedStoreLivesInTheBundleFolder) {
    auto& store = PersistenceController::shared();
    EXPECT_EQ(store.storeURL(),
              root() / "Library" / "Application Support" / "com.quorvane.Tilmora" / "SnapShot.sqlite");
    EXPECT_EQ(&store, &PersistenceController::shared());
}

} // namespace
} // namespace tilmora
