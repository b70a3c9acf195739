// The running program, worked from the console as a hostile or unlucky user would: nothing crashes
// and nothing the user owns is lost or changed behind their back.

#include "platform/control/FileSystemControl.hpp"
#include "platform/control/SimDesktop.hpp"
#include "platform/foundation/FileSystem.hpp"
#include "platform/foundation/Folders.hpp"
#include "platform/foundation/SQLiteDatabase.hpp"
#include "platform/foundation/UserDefaults.hpp"
#include "snapshots/PersistenceController.hpp"
#include "support/DesktopBuilders.hpp"
#include "support/ProgramScriptTest.hpp"

#include <gtest/gtest.h>

#include <filesystem>
#include <sstream>
#include <string>
#include <unistd.h>

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
expect toast "Snapshot 'Desk' saved successfully."
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
