#include "platform/control/FoldersControl.hpp"
#include "platform/foundation/Error.hpp"
#include "platform/foundation/FileSystem.hpp"
#include "platform/foundation/Folders.hpp"
#include "support/FoundationSandbox.hpp"

#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <sys/stat.h>
#include <unistd.h>

namespace fs = std::filesystem;
namespace FileSystem = platform::FileSystem;

namespace {

class FileSystemTest : public testsupport::FoundationSandbox {
protected:
    std::size_t entriesIn(const fs::path& folder) {
        return static_cast<std::size_t>(
            std::distance(fs::directory_iterator(folder), fs::directory_iterator()));
    }
};

TEST_F(FileSystemTest, AtomicWriteReplacesWholeFile) {
    const fs::path file = root() / "a" / "b" / "layouts.json";
    FileSystem::createDirectories(file.parent_path());
    FileSystem::createDirectories(file.parent_path()); // existing folder is fine
    FileSystem::writeAtomically(file, "first, longer contents");
    FileSystem::writeAtomically(file, "second");
    EXPECT_EQ(FileSystem::readFile(file), "second");
    EXPECT_EQ(entriesIn(file.parent_path()), 1u) << "no temporary file is left behind";
}

TEST_F(FileSystemTest, FailedAtomicWriteLeavesTargetUnchanged) {
    // The target is a folder with contents: the final rename must fail.
    const fs::path target = root() / "target";
    fs::create_directories(target / "child");
    EXPECT_THROW(FileSystem::writeAtomically(target, "new"), platform::Error);
    EXPECT_TRUE(fs::is_directory(target / "child"));
    EXPECT_EQ(entriesIn(root()), 3u) << "Documents, Library, target only; no temporary left";

    // The folder does not exist: nothing is created.
    EXPECT_THROW(FileSystem::writeAtomically(root() / "missing" / "x.json", "new"), platform::Error);
    EXPECT_FALSE(fs::exists(root() / "missing"));
}

TEST_F(FileSystemTest, FailedAtomicWriteInReadOnlyFolderKeepsOldContents) {
    if (::geteuid() == 0) GTEST_SKIP() << "permissions do not bind the super-user";
    const fs::path folder = root() / "locked";
    fs::create_directories(folder);
    FileSystem::writeAtomically(folder / "f.json", "old");
    ::chmod(folder.c_str(), 0555);
    EXPECT_THROW(FileSystem::writeAtomically(folder / "f.json", "new"), platform::Error);
    ::chmod(folder.c_str(), 0755);
    EXPECT_EQ(FileSystem::readFile(folder / "f.json"), "old");
    EXPECT_EQ(entriesIn(folder), 1u);
}

TEST_F(FileSystemTest, AppendNeedsAnExistingFile) {
    const fs::path file = root() / "log.txt";
    EXPECT_THROW(FileSystem::appendToFile(file, "x"), platform::Error);
    EXPECT_FALSE(FileSystem::fileExists(file));
    FileSystem::writeFile(file, "a");
    FileSystem::appendToFile(file, "b");
    FileSystem::appendToFile(file, "ç\n");
    EXPECT_EQ(FileSystem::readFile(file), "ab\xC3\xA7\n");
    try {
        FileSystem::appendToFile(root(), "x");
        FAIL() << "appending to a folder must fail";
    } catch (const platform::Error& e) {
        EXPECT_NE(std::string(e.what()).find(root().string()), std::string::npos) << e.what();
    }
}

TEST_F(FileSystemTest, RemoveAndMove) {
    const fs::path a = root() / "a.txt";
    const fs::path b = root() / "b.txt";
    FileSystem::writeFile(a, "A");
    FileSystem::writeFile(b, "B");
    FileSystem::moveItem(a, b);
    EXPECT_FALSE(FileSystem::fileExists(a));
    EXPECT_EQ(FileSystem::readFile(b), "A");
    EXPECT_THROW(FileSystem::moveItem(a, b), platform::Error);
    FileSystem::removeItem(b);
    EXPECT_FALSE(FileSystem::fileExists(b));
    EXPECT_THROW(FileSystem::removeItem(b), platform::Error);
    EXPECT_THROW(FileSystem::readFile(b), platform::Error);
    // A folder is never removed as an item, only by the call for folders; a link goes, not its
    // target.
    fs::create_directories(root() / "d" / "e");
    fs::create_directory_symlink(root() / "d", root() / "link");
    EXPECT_THROW(FileSystem::removeItem(root() / "d"), platform::Error);
    EXPECT_THROW(FileSystem::removeFolder(root() / "link"), platform::Error);
    EXPECT_TRUE(FileSystem::isDirectory(root() / "d" / "e"));
    FileSystem::removeItem(root() / "link");
    EXPECT_FALSE(FileSystem::isFileOrLink(root() / "link"));
    FileSystem::removeFolder(root() / "d");
    EXPECT_FALSE(FileSystem::isDirectory(root() / "d"));
}

TEST_F(FileSystemTest, SandboxFoldersLiveUnderTheRoot) {
    EXPECT_EQ(platform::Folders::documents(), root() / "Documents");
    EXPECT_EQ(platform::Folders::applicationSupport(), root() / "Library" / "Application Support");
    EXPECT_EQ(platform::Folders::preferences(), root() / "Library" / "Preferences");
    EXPECT_TRUE(FileSystem::isDirectory(*platform::Folders::documents()));
    const auto sandbox = platform::Folders::generation();
    EXPECT_NE(sandbox, 0u);

    platform::Folders::Layout none = platform::Folders::current();
    none.documents.reset();
    platform::FoldersControl::install(none);
    EXPECT_FALSE(platform::Folders::documents().has_value());
    EXPECT_NE(platform::Folders::generation(), sandbox) << "each installed layout has its own number";
    platform::FoldersControl::install(std::nullopt);
    EXPECT_EQ(platform::Folders::generation(), 0u) << "nothing may be kept from the system layout";
}

TEST(Folders, SystemLayoutFollowsXdg) {
    struct Env {
        const char* name;
        std::optional<std::string> old;
    };
    std::vector<Env> saved;
    for (const char* name : {"HOME", "XDG_DOCUMENTS_DIR", "XDG_DATA_HOME", "XDG_CONFIG_HOME"}) {
        const char* v = std::getenv(name);
        saved.push_back({name, v ? std::optional<std::string>(v) : std::nullopt});
    }
    ::setenv("HOME", "/home/u", 1);
    ::unsetenv("XDG_DOCUMENTS_DIR");
    ::setenv("XDG_DATA_HOME", "relative/ignored", 1);
    ::setenv("XDG_CONFIG_HOME", "/cfg", 1);
    auto layout = platform::Folders::systemLayout();
    EXPECT_EQ(layout.documents, fs::path("/home/u/Documents"));
    EXPECT_EQ(layout.applicationSupport, fs::path("/home/u/.local/share"));
    EXPECT_EQ(layout.preferences, fs::path("/cfg/tilmora"));
    ::unsetenv("HOME");
    ::unsetenv("XDG_DATA_HOME");
    layout = platform::Folders::systemLayout();
    EXPECT_FALSE(layout.documents.has_value());
    EXPECT_FALSE(layout.applicationSupport.has_value());
    for (const auto& env : saved) {
        if (env.old) {
            ::setenv(env.name, env.old->c_str(), 1);
        } else {
            ::unsetenv(env.name);
        }
    }
}

} // namespace
