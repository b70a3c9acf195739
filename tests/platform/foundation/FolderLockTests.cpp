#include "platform/foundation/Error.hpp"
#include "platform/foundation/FileSystem.hpp"
#include "platform/foundation/FolderLock.hpp"
#include "support/FoundationSandbox.hpp"
#include "support/SpecialFiles.hpp"

#include <gtest/gtest.h>

#include <csignal>
#include <filesystem>
#include <functional>
#include <string>
#include <vector>

#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

namespace {

namespace fs = std::filesystem;
using platform::FolderLock;

/// A child process that takes the lock of `folder` and holds it until it is killed.
class LockingChild {
public:
    explicit LockingChild(const fs::path& folder) {
        int ready[2];
        if (::pipe(ready) != 0) return;
        pid_ = ::fork();
        if (pid_ == 0) {
            ::close(ready[0]);
            char held = 'n';
            FolderLock lock;
            try {
                lock = FolderLock::tryLock(folder);
                if (lock.held()) held = 'y';
            } catch (...) {
            }
            (void)!::write(ready[1], &held, 1);
            for (;;)
                ::pause();
        }
        ::close(ready[1]);
        char answer = 'n';
        if (pid_ > 0 && ::read(ready[0], &answer, 1) == 1) held_ = answer == 'y';
        ::close(ready[0]);
    }
    ~LockingChild() { kill(); }
    LockingChild(const LockingChild&) = delete;
    LockingChild& operator=(const LockingChild&) = delete;

    pid_t pid() const { return pid_; }
    bool held() const { return held_; }
    /// Ends the child as SIGKILL does, with no chance to let go of anything itself.
    void kill() {
        if (pid_ <= 0) return;
        ::kill(pid_, SIGKILL);
        ::waitpid(pid_, nullptr, 0);
        pid_ = -1;
    }

private:
    pid_t pid_ = -1;
    bool held_ = false;
};

class FolderLockTest : public testsupport::FoundationSandbox {
protected:
    fs::path folder() const { return root() / "home"; }
    fs::path lockFile() const { return folder() / FolderLock::lockFileName; }
    void SetUp() override {
        FoundationSandbox::SetUp();
        fs::create_directories(folder());
    }
    /// The lock file's size, change time and modification time, to tell that nothing touched it.
    std::string lockFileStamp() const {
        struct stat info {};
        if (::lstat(lockFile().c_str(), &info) != 0) return "none";
        return std::to_string(info.st_size) + " " + std::to_string(info.st_mtim.tv_nsec) + " " +
               std::to_string(info.st_ctim.tv_nsec) + " " + std::to_string(info.st_mtim.tv_sec);
    }
};

TEST_F(FolderLockTest, OneHolderAtATimeAndTheOthersLearnWhichProcessItIs) {
    FolderLock first = FolderLock::tryLock(folder());
    ASSERT_TRUE(first.held());
    EXPECT_TRUE(fs::is_regular_file(lockFile()));
    const std::string stamp = lockFileStamp();

    // This process again: refused, naming itself, and the first lock survives the refusal.
    FolderLock again = FolderLock::tryLock(folder());
    EXPECT_FALSE(again.held());
    EXPECT_EQ(again.holder(), static_cast<long>(::getpid()));
    {
        LockingChild child(folder());
        EXPECT_FALSE(child.held()) << "the first lock went with the refused one's descriptor";
    }
    first.release();

    // Another process: refused with its process id; nothing in the folder changes; once the holder
    // is killed the folder is free.
    LockingChild child(folder());
    ASSERT_TRUE(child.held());
    FolderLock refused = FolderLock::tryLock(folder());
    EXPECT_FALSE(refused.held());
    EXPECT_EQ(refused.holder(), static_cast<long>(child.pid()));
    EXPECT_EQ(lockFileStamp(), stamp);
    child.kill();
    EXPECT_TRUE(FolderLock::tryLock(folder()).held());
}

TEST_F(FolderLockTest, ALockFileThatIsNotAPlainFileIsRefusedAndLeftAsItIs) {
    const fs::path elsewhere = root() / "elsewhere.txt";
    platform::FileSystem::writeFile(elsewhere, "keep");
    const std::function<void()> plants[] = {
        [&] { fs::create_symlink(elsewhere, lockFile()); },
        [&] { ASSERT_NO_FATAL_FAILURE(testsupport::plantSpecialFile(lockFile(), testsupport::SpecialFile::pipe)); },
        [&] { fs::create_directory(lockFile()); },
    };
    for (const auto& plant : plants) {
        fs::remove_all(lockFile());
        plant();
        const auto type = fs::symlink_status(lockFile()).type();
        try {
            FolderLock::tryLock(folder());
            ADD_FAILURE() << "taken over a " << static_cast<int>(type);
        } catch (const platform::Error& e) {
            EXPECT_EQ(std::string(e.what()).rfind(lockFile().string() + ": ", 0), 0u) << e.what();
        }
        EXPECT_EQ(fs::symlink_status(lockFile()).type(), type);
    }
    EXPECT_EQ(platform::FileSystem::readFile(elsewhere), "keep");
}

TEST_F(FolderLockTest, ALockFileRemovedOrReplacedWhileHeldKeepsTheFolderHeld) {
    const std::function<void()> changes[] = {
        [&] { fs::remove(lockFile()); },
        [&] {
            platform::FileSystem::writeFile(folder() / "other", "");
            fs::rename(folder() / "other", lockFile());
        },
    };
    for (const auto& change : changes) {
        FolderLock held = FolderLock::tryLock(folder());
        ASSERT_TRUE(held.held());
        change();
        EXPECT_EQ(FolderLock::tryLock(folder()).holder(), static_cast<long>(::getpid()));
        {
            LockingChild child(folder());
            EXPECT_FALSE(child.held());
        }
        held.release();
        LockingChild child(folder());
        EXPECT_TRUE(child.held()) << "the folder stayed locked after its release";
    }
}

TEST_F(FolderLockTest, AFolderRenamedWhileHeldTakesNoMoreWritesAndSaysSoOnce) {
    std::vector<std::string> said;
    FolderLock::setReportHandler([&said](const std::string& line) { said.push_back(line); });
    FolderLock held = FolderLock::tryLock(folder());
    ASSERT_TRUE(held.held());
    const fs::path file = folder() / "Library" / "settings.json";
    platform::FileSystem::createDirectories(file.parent_path());
    platform::FileSystem::writeAtomically(file, "one");

    fs::rename(folder(), root() / "renamed");
    fs::create_directory(folder()); // another session's folder, say
    const std::function<void()> writes[] = {
        [&] { platform::FileSystem::createDirectories(file.parent_path()); },
        [&] { platform::FileSystem::writeAtomically(file, "two"); },
        [&] { platform::FileSystem::writeFile(folder() / "plain", "two"); },
        [&] { platform::FileSystem::moveItem(root() / "renamed" / "Library", folder() / "Library"); },
    };
    for (const auto& write : writes) {
        try {
            write();
            ADD_FAILURE() << "written into the folder that took the name";
        } catch (const platform::Error& e) {
            EXPECT_NE(std::string(e.what()).find("the folder it lies in is no longer this session's"),
                      std::string::npos)
                << e.what();
        }
    }
    EXPECT_TRUE(fs::is_empty(folder()));
    EXPECT_TRUE(FolderLock::allowsWriting(root() / "elsewhere"));
    ASSERT_EQ(said.size(), 1u);
    EXPECT_EQ(said[0], "The folder " + folder().string() +
                           " is no longer this session's folder (it was renamed or replaced while the session "
                           "ran): nothing more is written there");

    // Back under its name, the folder takes writes again.
    fs::remove(folder());
    fs::rename(root() / "renamed", folder());
    platform::FileSystem::writeAtomically(file, "three");
    EXPECT_EQ(platform::FileSystem::readFile(file), "three");
    FolderLock::setReportHandler({});
}

} // namespace
