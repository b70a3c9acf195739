#include "console/LineHistoryFile.hpp"

#include "platform/foundation/FileSystem.hpp"
#include "support/PlatformTest.hpp"
#include "support/SpecialFiles.hpp"

#include <gtest/gtest.h>

#include <filesystem>
#include <functional>
#include <optional>
#include <string>

using tilmora::LineHistoryFile;

namespace {

namespace fs = std::filesystem;

class LineHistoryFileTest : public PlatformTest {
protected:
    fs::path history() const { return root() / ".tilmora_history"; }
    fs::path elsewhere() const { return root() / "elsewhere"; }
};

struct PlantCase {
    const char* name;
    /// Puts something at the history's path (given the path and a regular file elsewhere).
    std::function<void(const fs::path&, const fs::path&)> plant;
    /// What `read` gives: the text, or none with a problem starting so.
    std::optional<std::string> text;
    const char* problem;
};

// Only nothing or a regular file that starts as a history is read; anything else is left as it is
// (no link followed, no pipe opened) and is not written over.
TEST_F(LineHistoryFileTest, ReadsAndWritesOnlyAHistoryOfItsOwn) {
    const std::string stored = "_HiStOrY_V2_\nshow\\040screens\n";
    const auto write = [](const std::string& text) {
        return [text](const fs::path& at, const fs::path&) { platform::FileSystem::writeFile(at, text); };
    };
    const PlantCase cases[] = {
        {"nothing", [](const fs::path&, const fs::path&) {}, "", ""},
        {"a history", write(stored), stored, ""},
        {"an empty file", write(""), "", ""},
        {"notes", write("my notes\n"), std::nullopt, "does not start with libedit's history line _HiStOrY_V2_"},
        {"a link to a history", [](const fs::path& at, const fs::path& to) { fs::create_symlink(to, at); },
         std::nullopt, "is not a regular file"},
        {"a pipe", [](const fs::path& at, const fs::path&) { testsupport::plantSpecialFile(at, testsupport::SpecialFile::pipe); },
         std::nullopt, "is not a regular file"},
        {"a folder", [](const fs::path& at, const fs::path&) { fs::create_directory(at); }, std::nullopt, "is a folder"},
        {"2 GB", [](const fs::path& at, const fs::path&) { testsupport::plantSpecialFile(at, testsupport::SpecialFile::sparse2GB); },
         std::nullopt, "is larger than 16777216 bytes"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        resetSharedInstances(); // forgets the paths refused before
        fs::remove_all(history());
        platform::FileSystem::writeFile(elsewhere(), stored);
        ASSERT_NO_FATAL_FAILURE(c.plant(history(), elsewhere()));
        const LineHistoryFile file(history());
        std::string problem;
        EXPECT_EQ(file.read(problem), c.text);
        EXPECT_TRUE(problem.starts_with(c.problem)) << problem;

        // A history is replaced whole; anything else stays, and so does what a link points to.
        const auto before = fs::symlink_status(history()).type();
        const bool written = file.write("_HiStOrY_V2_\nquit\n", problem);
        EXPECT_EQ(written, c.text.has_value()) << problem;
        if (written) {
            EXPECT_EQ(platform::FileSystem::readFile(history()), "_HiStOrY_V2_\nquit\n");
        } else if (before != fs::file_type::regular) {
            EXPECT_EQ(fs::symlink_status(history()).type(), before);
        }
        EXPECT_EQ(platform::FileSystem::readFile(elsewhere()), stored);
    }
}

} // namespace
