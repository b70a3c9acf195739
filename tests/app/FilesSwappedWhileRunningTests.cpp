// Files the program owns, changed by someone else while the program runs: nothing is written
// through a link swapped in, and nothing at a side file of the snapshot store holds up a save.

#include "platform/control/SimScheduler.hpp"
#include "platform/foundation/FileSystem.hpp"
#include "platform/foundation/Folders.hpp"
#include "platform/foundation/SQLiteDatabase.hpp"
#include "snapshots/PersistenceController.hpp"
#include "support/ProgramScriptTest.hpp"
#include "support/SpecialFiles.hpp"

#include <gtest/gtest.h>

#include <filesystem>
#include <functional>
#include <string>

#include <sys/stat.h>

namespace {

namespace fs = std::filesystem;

class FilesSwappedWhileRunningTest : public ProgramScriptTest {
protected:
    bool has(const std::string& part) const { return out.str().find(part) != std::string::npos; }
    static std::size_t count(const std::string& text, const std::string& part) {
        std::size_t n = 0;
        for (auto at = text.find(part); at != std::string::npos; at = text.find(part, at + 1))
            ++n;
        return n;
    }
    /// Runs `change` at `seconds` from now on the virtual clock, while the script runs.
    void at(double seconds, std::function<void()> change) {
        platform::SimScheduler::shared().schedule(sim().now() + seconds, std::move(change));
    }
    static std::string chords(int n) {
        std::string text;
        for (int i = 0; i < n; ++i)
            text += i % 2 == 0 ? "key ctrl+opt+left\n" : "key ctrl+opt+right\n";
        return text;
    }
};

TEST_F(FilesSwappedWhileRunningTest, TheLogNeverWritesThroughALinkOrIntoAPipeSwappedInAtItsPath) {
    const fs::path log = *platform::Folders::documents() / "Tilmora_log.txt";
    const fs::path outside = root() / "outside.txt";
    const fs::path nowhere = root() / "nowhere.txt";
    const std::string mine = "the user's own text\n";
    platform::FileSystem::writeFile(outside, mine);
    const auto swap = [&log](const std::function<void()>& plant) {
        return [&log, plant] {
            fs::remove(log);
            plant();
        };
    };
    at(60, swap([&] { fs::create_symlink(outside, log); }));
    at(160, swap([&] { fs::create_symlink(nowhere, log); }));
    at(260, swap([&] {
           ASSERT_NO_FATAL_FAILURE(testsupport::plantSpecialFile(log, testsupport::SpecialFile::pipe));
       }));
    at(360, [&log] { fs::remove(log); });
    EXPECT_EQ(run("defaults write WMVerboseLogging bool true\ndesktop default\nprogram launch\n"
                  "app focus com.apple.TextEdit\n" +
                  chords(2) + "wait 100\n" + chords(10) + "wait 100\n" + chords(10) + "wait 100\n" +
                  chords(10) + "wait 100\n" + chords(2)),
              0)
        << out.str();
    const std::string printed = programLog();
    ASSERT_GT(count(printed, "[TILING]"), 30u) << "the chords log nothing";
    EXPECT_EQ(platform::FileSystem::readFile(outside), mine);
    EXPECT_FALSE(fs::exists(fs::symlink_status(nowhere)));
    // Each link was replaced by a file of the log's own, said once; the pipe was never opened,
    // said once, and the log's file came back once the pipe was gone.
    EXPECT_EQ(count(printed, "was a symbolic link: replaced it with a new log file"), 2u) << printed;
    EXPECT_EQ(count(printed, "the log goes to standard output only"), 1u) << printed;
    EXPECT_EQ(count(printed, "Error "), 1u) << printed;
    ASSERT_TRUE(fs::is_regular_file(fs::symlink_status(log)));
    const std::string file = platform::FileSystem::readFile(log);
    const std::string last = printed.substr(printed.rfind('\n', printed.size() - 2) + 1);
    EXPECT_TRUE(file.ends_with(last)) << file;
    EXPECT_EQ(file.find("standard output only"), std::string::npos);
}

TEST_F(FilesSwappedWhileRunningTest, ASaveOverAPipeALinkOrAFolderAtTheJournalFailsAtOnceAndKeepsTheStore) {
    using Plant = testsupport::SpecialFile;
    const fs::path store = *tilmora::PersistenceController::defaultStoreURL();
    const fs::path journal = store.string() + "-journal";
    const std::function<void()> plants[] = {
        [&] { ASSERT_NO_FATAL_FAILURE(testsupport::plantSpecialFile(journal, Plant::pipe)); },
        [&] { ASSERT_NO_FATAL_FAILURE(testsupport::plantSpecialFile(journal, Plant::zeroDeviceLink)); },
        [&] { fs::create_symlink(root() / "nowhere-journal", journal); },
        [&] { fs::create_directory(journal); },
    };
    for (const auto& plant : plants) {
        resetSharedInstances();
        tilmora::ProgramHost::shared().reset();
        fs::remove_all(store.parent_path());
        at(60, plant);
        const std::string save = "menu pick \"Show Snapshot Manager\"\n"
                                 "ui type \"Tilmora Snapshots\" \"snapshot.nameField\" \"%\"\n"
                                 "ui click \"Tilmora Snapshots\" \"snapshot.save\"\nwait 1\n";
        const auto saving = [&save](const std::string& name) {
            std::string text = save;
            text.replace(text.find('%'), 1, name);
            return text;
        };
        EXPECT_EQ(run("desktop default\nprogram launch\n" + saving("Kept") +
                      "expect toast \"Snapshot 'Kept' saved successfully.\"\nwait 100\n" + saving("Desk") +
                      "expect toast \"Snapshot 'Desk' could not be saved: \"\n"),
                  0)
            << out.str();
        const auto kind = fs::symlink_status(journal).type();
        tilmora::ProgramHost::shared().reset();
        SCOPED_TRACE(static_cast<int>(kind));
        EXPECT_FALSE(fs::exists(root() / "nowhere-journal"));
        EXPECT_EQ(fs::symlink_status(journal).type(), kind) << "the journal's stand-in was changed";
        fs::remove_all(journal);
        auto db = platform::SQLiteDatabase::openReadOnly(store);
        EXPECT_EQ(db.queryText("SELECT group_concat(name) FROM snapshot"), "Kept");
    }
}

} // namespace
