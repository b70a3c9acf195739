// The running program, worked from the console as a hostile or unlucky user would: nothing crashes
// and nothing the user owns is lost or changed behind their back.

#include "platform/control/FileSystemControl.hpp"
#include "platform/control/SimDesktop.hpp"
#include "platform/control/SimScheduler.hpp"
#include "platform/foundation/FileSystem.hpp"
#include "platform/foundation/Folders.hpp"
#include "platform/foundation/SQLiteDatabase.hpp"
#include "platform/foundation/UserDefaults.hpp"
#include "snapshots/PersistenceController.hpp"
#include "support/DesktopBuilders.hpp"
#include "support/ProgramScriptTest.hpp"
#include "support/SpecialFiles.hpp"

#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <functional>
#include <sstream>
#include <string>
#include <unistd.h>
#include <vector>

using tilmora::DesktopConsole;

namespace {

namespace fs = std::filesystem;

class StoredDataSafetyTest : public ProgramScriptTest {
protected:
    void restoreFixture() override {
        ProgramScriptTest::restoreFixture();
        platform::SimDesktop::shared().useLaptop();
    }
    bool has(const std::string& part) const { return out.str().find(part) != std::string::npos; }

    static fs::path storeFile() { return *tilmora::PersistenceController::defaultStoreURL(); }
    /// A store file holding one snapshot named `name`, written before the program runs.
    static void storeOneSnapshot(const std::string& name) {
        tilmora::PersistenceController store(false);
        auto snapshot = store.viewContext().insertSnapshot();
        snapshot->name = name;
        store.viewContext().save();
    }

    /// A window to save: "Todo" of Notes.
    static constexpr const char* withAWindow =
        "app install com.example.notes \"Notes\"\nwindow open com.example.notes \"Todo\" 100 200 700 500\n";
    /// Opens the manager and saves the current windows under `name` (typed as is).
    static std::string saveScript(const std::string& name) {
        return "menu pick \"Show Snapshot Manager\"\nui type \"Tilmora Snapshots\" \"snapshot.nameField\" "
               "\"" +
               name + "\"\nui click \"Tilmora Snapshots\" \"snapshot.save\"\nwait 1\n";
    }
};

TEST_F(StoredDataSafetyTest, ARestoreThatLaunchesItsAppWhileTheSnapBarShowsCompletes) {
    // The restore activates the launched app on its worker; the snap bar hears of it on the main
    // thread and hides.
    auto& desk = platform::SimDesktop::shared();
    auto notes = testsupport::notesApp();
    auto todo = testsupport::windowSpec("Todo", {300, 300, 500, 400});
    notes.windowsAtLaunch = {{0.2, todo}};
    desk.install(notes);
    todo.frame = {100, 200, 700, 500};
    desk.run("com.example.notes", {todo});
    EXPECT_EQ(run("defaults write WMSnapBarVisible bool true\nprogram launch\n" + saveScript("Desk") +
                  R"(app quit com.example.notes
wait 1
expect window com.example.notes "Todo" missing
ui click "Tilmora Snapshots" "snapshot.launch.p1"
wait 5
expect toast "Snapshot 'Desk' launched."
expect window com.example.notes "Todo" frame 100 200 700 500 tolerance 1
expect log "[SnapBar] Hide on app switch to com.example.notes"
)"),
              0)
        << out.str();
}

TEST_F(StoredDataSafetyTest, AnotherProgramsDatabaseAtTheStorePathIsLeftByteForByte) {
    platform::FileSystem::createDirectories(storeFile().parent_path());
    {
        auto db = platform::SQLiteDatabase::open(storeFile());
        db.exec("CREATE TABLE recipes (name TEXT); INSERT INTO recipes VALUES ('bread')");
    }
    const std::string bytes = platform::FileSystem::readFile(storeFile());
    EXPECT_EQ(run(withAWindow + std::string("program launch\n") + saveScript("Desk") +
                  R"(expect toast "Snapshots are kept only until Tilmora quits."
expect toast "Snapshot 'Desk' is kept only until Tilmora quits: the snapshot store cannot be used."
expect log "Unresolved error the file is another program's database"
)"),
              0)
        << out.str();
    EXPECT_EQ(platform::FileSystem::readFile(storeFile()), bytes);
    EXPECT_FALSE(platform::FileSystem::fileExists(storeFile().string() + "-journal"));
}

TEST_F(StoredDataSafetyTest, ANameWithInvalidUtf8IsStoredAsValidUtf8OfTheSameLength) {
    EXPECT_EQ(run(withAWindow + std::string("program launch\n") + saveScript(" Caf\xE9\xFF ") +
                  "expect toast \"Caf\xEF\xBF\xBD\xEF\xBF\xBD\"\n"),
              0)
        << out.str();
    tilmora::ProgramHost::shared().reset();
    auto db = platform::SQLiteDatabase::openReadOnly(storeFile());
    EXPECT_EQ(db.queryText("SELECT name FROM snapshot"), " Caf\xEF\xBF\xBD\xEF\xBF\xBD ");
}

TEST_F(StoredDataSafetyTest, AStoreTheUserCannotWriteIsListedAndTheSaveSaysWhy) {
    for (bool folder : {false, true}) {
        SCOPED_TRACE(folder ? "folder" : "file");
        resetSharedInstances();
        fs::remove_all(storeFile().parent_path());
        storeOneSnapshot("Kept");
        const std::string bytes = platform::FileSystem::readFile(storeFile());
        const fs::path denied = folder ? storeFile().parent_path() : storeFile();
        platform::FileSystemControl::setWriteDenied(denied, true);
        EXPECT_EQ(run("program launch\nmenu pick \"Show Snapshot Manager\"\n"
                      "ui type \"Tilmora Snapshots\" \"snapshot.nameField\" \"New\"\n"
                      "ui show \"Tilmora Snapshots\"\n"
                      "expect log \"is read-only (no permission to write " +
                      denied.string() + ")\"\n"),
                  0)
            << out.str();
        EXPECT_TRUE(has("\"Kept\"")) << out.str();
        EXPECT_TRUE(
            has("id=snapshot.readOnlyNotice \"New snapshots cannot be stored: you do not have permission to "
                "write " +
                denied.string() + "."))
            << out.str();
        EXPECT_TRUE(has("id=snapshot.save \"Save Snapshot\" disabled")) << out.str();
        tilmora::ProgramHost::shared().reset();
        EXPECT_EQ(platform::FileSystem::readFile(storeFile()), bytes);
    }
}

TEST_F(StoredDataSafetyTest, AStoreAnotherProgramHoldsIsWaitedForAndNoSaveIsReportedAsStored) {
    storeOneSnapshot("Kept");
    const std::string bytes = platform::FileSystem::readFile(storeFile());
    auto holder = platform::SQLiteDatabase::open(storeFile());

    // Held at launch past the wait: the launch and the manager say so; snapshots live in memory.
    holder.exec("BEGIN EXCLUSIVE");
    EXPECT_EQ(run(std::string(withAWindow) + "program launch\n" +
                  "expect toast \"Snapshots are kept only until Tilmora quits.\"\n" + saveScript("Desk") +
                  "ui show \"Tilmora Snapshots\"\nexpect log \"Unresolved error database is locked, \"\n"
                  "expect toast \"Snapshot 'Desk' is kept only until Tilmora quits: the snapshot store is in "
                  "use by another program.\"\nshow toasts\n"),
              0)
        << out.str();
    EXPECT_FALSE(has("saved successfully")) << out.str();
    EXPECT_TRUE(has("id=snapshot.storeNotice \"The snapshot store " + storeFile().string() +
                    " is in use by another program: new snapshots are kept only until Tilmora quits.\""))
        << out.str();
    tilmora::ProgramHost::shared().reset();
    holder.exec("COMMIT");
    EXPECT_EQ(platform::FileSystem::readFile(storeFile()), bytes);

    // Taken while the program runs: the save waits, then fails and says so, naming the snapshot.
    resetSharedInstances();
    platform::SimScheduler::shared().schedule(sim().now() + 30, [&holder] { holder.exec("BEGIN EXCLUSIVE"); });
    EXPECT_EQ(run(std::string(withAWindow) +
                  "program launch\nmenu pick \"Show Snapshot Manager\"\n"
                  "ui type \"Tilmora Snapshots\" \"snapshot.nameField\" \"Desk\"\nwait 30\n"
                  "ui click \"Tilmora Snapshots\" \"snapshot.save\"\nwait 1\n"
                  "expect toast \"Snapshot 'Desk' could not be saved: database is locked\"\n"
                  "ui show \"Tilmora Snapshots\"\n"),
              0)
        << out.str();
    EXPECT_FALSE(has("saved successfully")) << out.str();
    EXPECT_FALSE(has("id=snapshot.storeNotice")) << out.str();
    tilmora::ProgramHost::shared().reset();
    holder.exec("COMMIT");
    EXPECT_EQ(platform::FileSystem::readFile(storeFile()), bytes);
}

TEST_F(StoredDataSafetyTest, TheDefaultsReportsAndTheSystemLogGoToTheLogNeverToTheTerminal) {
    const fs::path settings = platform::UserDefaults::standard().storagePath();
    platform::FileSystem::createDirectories(settings.parent_path());
    platform::FileSystem::writeFile(settings, "{ not json");
    resetSharedInstances();
    testing::internal::CaptureStderr();
    EXPECT_EQ(run("program launch\nmenu pick \"Grid 2 × 2\"\nshow log\n"), 0) << out.str();
    EXPECT_EQ(testing::internal::GetCapturedStderr(), "");
    EXPECT_TRUE(has("[UserDefaults] Corrupt defaults file " + settings.string())) << out.str();
    EXPECT_TRUE(has("tilmora[system]: [DisplayLayoutMemory] Captured 1 preset(s)")) << out.str();
}

TEST_F(StoredDataSafetyTest, ASpecialFileAtOneOfTheProgramsPathsIsLeftAloneAndTheProgramRuns) {
    using Plant = testsupport::SpecialFile;
    struct Case {
        const char* what;
        std::function<fs::path()> path;
        Plant plant;
        std::string logged;
    };
    const auto log = [] { return *platform::Folders::documents() / "Tilmora_log.txt"; };
    const auto preferences = [] { return platform::UserDefaults::standard().storagePath(); };
    const std::string notRegular = " is not a regular file; left as it is, working in memory only";
    const Case cases[] = {
        {"pipe at the log", log, Plant::pipe,
         "\" is not a regular file; the log goes to standard output only"},
        {"pipe at the preferences", preferences, Plant::pipe, notRegular},
        {"pipe at the store", storeFile, Plant::pipe, ".sqlite is not a regular file; left as it is"},
        {"pipe at the store's journal", [] { return fs::path(storeFile().string() + "-journal"); },
         Plant::pipe, "-journal is not a regular file; left as it is"},
        {"preferences a link to /dev/zero", preferences, Plant::zeroDeviceLink, notRegular},
        {"preferences a 2 GB sparse file", preferences, Plant::sparse2GB,
         "(larger than 268435456 bytes) moved aside"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        resetSharedInstances();
        const fs::path path = c.path();
        fs::create_directories(path.parent_path());
        fs::remove(path);
        ASSERT_NO_FATAL_FAILURE(testsupport::plantSpecialFile(path, c.plant));
        const auto kind = fs::symlink_status(path).type();
        resetSharedInstances();
        EXPECT_EQ(run("desktop default\nprogram launch\napp focus com.apple.TextEdit\nkey ctrl+opt+left\nwait 1\n"
                      "expect window com.apple.TextEdit \"Untitled\" frame 0 0 720 875\n"
                      "defaults read WMGapSize\n"),
                  0)
            << out.str();
        EXPECT_NE(programLog().find(c.logged), std::string::npos) << programLog().substr(0, 3000);
        // The registered value, not one read from the file.
        EXPECT_TRUE(has("WMGapSize = double 0.0")) << out.str();
        tilmora::ProgramHost::shared().reset();
        if (c.plant == Plant::sparse2GB) {
            EXPECT_TRUE(fs::is_regular_file(fs::symlink_status(path)));
            for (const auto& entry : fs::directory_iterator(path.parent_path()))
                if (entry.path().filename().string().starts_with(path.filename().string() + ".corrupt-"))
                    fs::remove(entry.path());
        } else {
            EXPECT_EQ(fs::symlink_status(path).type(), kind);
        }
        fs::remove(path);
    }
}

TEST_F(StoredDataSafetyTest, ShowLogPrintsEachLineOnceAfterLinesLongerThanTheJournal) {
    // The save logs the name twice: two lines of 1.2 MB, each longer than the journal keeps.
    std::string name;
    for (int i = 0; i < 600'001; ++i)
        name += "\xC3\xA9";
    EXPECT_EQ(run(withAWindow + std::string("program launch\nshow log\n") + saveScript(name) + "show log\nshow log\n"),
              0)
        << out.str().substr(0, 2000);
    const std::string text = out.str();
    // What each `show log` printed, as lines.
    std::vector<std::vector<std::string>> shown;
    for (std::size_t at = text.find("> show log\n"); at != std::string::npos; at = text.find("> show log\n", at + 1)) {
        const std::size_t from = at + 11;
        const std::size_t next = text.find("\n> ", from - 1);
        const std::size_t to = next == std::string::npos ? text.size() : next + 1;
        std::vector<std::string> lines;
        std::istringstream in(text.substr(from, to - from));
        for (std::string line; std::getline(in, line);)
            if (!line.empty()) lines.push_back(line);
        shown.push_back(std::move(lines));
    }
    ASSERT_EQ(shown.size(), 3u);
    EXPECT_FALSE(shown[0].empty());
    EXPECT_FALSE(shown[1].empty());
    for (const auto& line : shown[1])
        EXPECT_EQ(std::count(shown[0].begin(), shown[0].end(), line), 0) << line.substr(0, 200);
    EXPECT_TRUE(shown[2].empty()) << shown[2].size();
}

TEST_F(StoredDataSafetyTest, ALogThatCannotBeReadIsSaidInPlainWords) {
    const fs::path documents = *platform::Folders::documents();
    fs::remove_all(documents);
    fs::create_directory_symlink(documents, documents); // a loop: every look-up inside fails
    EXPECT_EQ(run("show log\n"), DesktopConsole::exitError);
    EXPECT_TRUE(has("error: line 1: cannot read the log: too many levels of symbolic links\n")) << out.str();
    if (::geteuid() == 0) return; // permissions do not bind the super-user
    fs::remove(documents);
    fs::create_directories(documents);
    fs::permissions(documents, fs::perms::none);
    run("show log\n");
    fs::permissions(documents, fs::perms::owner_all);
    EXPECT_TRUE(has("error: line 1: cannot read the log: permission denied\n")) << out.str();
}

} // namespace
