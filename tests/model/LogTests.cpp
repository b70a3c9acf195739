#include "model/Log.hpp"

#include "platform/control/FoldersControl.hpp"
#include "platform/control/SharedInstances.hpp"
#include "platform/dispatch/DispatchGroup.hpp"
#include "platform/dispatch/DispatchQueue.hpp"
#include "platform/foundation/FileSystem.hpp"
#include "platform/foundation/Folders.hpp"
#include "support/FoundationSandbox.hpp"
#include "support/PlatformTest.hpp"

#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <functional>
#include <optional>
#include <sstream>
#include <string>
#include <sys/stat.h>
#include <unistd.h>
#include <vector>

namespace fs = std::filesystem;
using platform::FileSystem::readFile;

namespace {

class LogTest : public testsupport::FoundationSandbox {
protected:
    fs::path logFile() const { return root() / "Documents" / "Tilmora_log.txt"; }

    // Runs `body` and returns what it wrote to standard output.
    static std::string stdoutOf(const std::function<void()>& body) {
        testing::internal::CaptureStdout();
        body();
        return testing::internal::GetCapturedStdout();
    }
};

TEST_F(LogTest, WritesTheSameTextToStandardOutputAndTheFile) {
    struct Case {
        const char* label;
        std::function<void()> call;
        std::string expected;
    };
    const std::vector<Case> cases = {
        {"one item, defaults", [] { tilmora::print("[RoriDeru] started"); }, "[RoriDeru] started\n"},
        {"separator and terminator",
         [] {
             tilmora::print({"a", "b"}, "-", "");
         },
         "a-b"},
        {"default separator",
         [] {
             tilmora::print({"x", "y", "z"});
         },
         "x y z\n"},
        {"no items", [] { tilmora::print({}, "-", "END"); }, "END"},
        {"non-ASCII", [] { tilmora::print("Größe → 50 %"); }, "Größe → 50 %\n"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.label);
        std::error_code ec;
        fs::remove(logFile(), ec);
        EXPECT_EQ(stdoutOf(c.call), c.expected);
        EXPECT_EQ(readFile(logFile()), c.expected);
    }
}

TEST_F(LogTest, AppendsAndStartsANewFileAfterRemoval) {
    stdoutOf([] {
        tilmora::print("first");
        tilmora::print("second");
    });
    EXPECT_EQ(readFile(logFile()), "first\nsecond\n");
    fs::remove(logFile());
    stdoutOf([] { tilmora::print("third"); });
    EXPECT_EQ(readFile(logFile()), "third\n");
    EXPECT_EQ(tilmora::logFilePath(), logFile());
}

TEST_F(LogTest, EachLineGoesWhereTheLogsPathLeadsNow) {
    // The file stays open between lines: whatever took its path since the first line decides
    // where the next two go, as if the second were the run's first line.
    const fs::path elsewhere = root() / "elsewhere.txt";
    const std::string refused = "Error writing to log file: \"" + logFile().string() +
                                "\" is not a regular file; the log goes to standard output only\n";
    const std::string replaced =
        "Log file \"" + logFile().string() + "\" was a symbolic link: replaced it with a new log file\n";
    const auto plantFile = [&] { platform::FileSystem::writeFile(elsewhere, "other\n"); };
    const auto linkTo = [&](const fs::path& target) {
        fs::remove(logFile());
        fs::create_symlink(target, logFile());
    };
    struct Case {
        const char* name;
        std::function<void()> change;
        std::string printed;                // standard output of the second and third lines
        std::optional<std::string> log;     // the log's contents after them; none: no regular file there
        std::optional<std::string> aside;   // the contents of `elsewhere`; none: nothing there
    };
    std::vector<Case> cases = {
        {"removed", [&] { fs::remove(logFile()); }, "two\nthree\n", "two\nthree\n", std::nullopt},
        {"moved aside", [&] { fs::rename(logFile(), elsewhere); }, "two\nthree\n", "two\nthree\n", "one\n"},
        {"emptied", [&] { fs::resize_file(logFile(), 0); }, "two\nthree\n", "two\nthree\n", std::nullopt},
        {"replaced by another file",
         [&] {
             plantFile();
             fs::rename(elsewhere, logFile());
         },
         "two\nthree\n", "other\ntwo\nthree\n", std::nullopt},
        // A link is never followed: a file of the log's own takes its place.
        {"a link to another file",
         [&] {
             plantFile();
             linkTo(elsewhere);
         },
         "two\n" + replaced + "three\n", "two\nthree\n", "other\n"},
        {"a link to the file itself",
         [&] {
             fs::rename(logFile(), elsewhere);
             fs::create_symlink(elsewhere, logFile());
         },
         "two\n" + replaced + "three\n", "two\nthree\n", "one\n"},
        {"a dangling link", [&] { linkTo(elsewhere); }, "two\n" + replaced + "three\n", "two\nthree\n",
         std::nullopt},
        {"a link to a device", [&] { linkTo("/dev/null"); }, "two\n" + replaced + "three\n", "two\nthree\n",
         std::nullopt},
        {"a pipe",
         [&] {
             fs::remove(logFile());
             ASSERT_EQ(::mkfifo(logFile().c_str(), 0644), 0);
         },
         "two\n" + refused + "three\n", std::nullopt, std::nullopt},
    };
    if (::geteuid() != 0) { // permissions do not bind the super-user
        const std::string denied = "Error writing to log file: could not open for appending \"" +
                                   logFile().string() + "\": Permission denied\n";
        cases.push_back({"made read-only", [&] { fs::permissions(logFile(), fs::perms::owner_read); },
                         "two\n" + denied + "three\n" + denied, "one\n", std::nullopt});
    }
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        platform::SharedInstances::resetAll();
        fs::remove(logFile());
        fs::remove(elsewhere);
        stdoutOf([] { tilmora::print("one"); });
        ASSERT_NO_FATAL_FAILURE(c.change());
        EXPECT_EQ(stdoutOf([] {
                      tilmora::print("two");
                      tilmora::print("three");
                  }),
                  c.printed);
        if (c.log) {
            EXPECT_EQ(readFile(logFile()), *c.log);
        } else {
            EXPECT_FALSE(fs::is_regular_file(fs::symlink_status(logFile())));
        }
        EXPECT_EQ(fs::exists(elsewhere) ? std::optional(readFile(elsewhere)) : std::nullopt, c.aside);
    }
}

TEST_F(LogTest, TheFileIsClosedWhenTheProgramIsLaunchedAgain) {
    // Whether a descriptor of this process is open on the log file.
    const auto logIsOpen = [&] {
        const fs::path file = fs::canonical(logFile());
        std::error_code ec;
        for (const auto& entry : fs::directory_iterator("/proc/self/fd", ec))
            if (fs::read_symlink(entry.path(), ec) == file) return true;
        return false;
    };
    stdoutOf([] { tilmora::print("one"); });
    EXPECT_TRUE(logIsOpen());
    platform::SharedInstances::resetProgram();
    EXPECT_FALSE(logIsOpen());
}

TEST_F(LogTest, ALineAfterTheFoldersMovedGoesToTheNewDocumentsFolder) {
    stdoutOf([] { tilmora::print("one"); });
    platform::FoldersControl::useRoot(root() / "moved");
    stdoutOf([] { tilmora::print("two"); });
    EXPECT_EQ(readFile(logFile()), "one\n");
    EXPECT_EQ(readFile(root() / "moved" / "Documents" / "Tilmora_log.txt"), "two\n");
}

TEST_F(LogTest, WithoutDocumentsFolderNothingIsWrittenAnywhere) {
    auto layout = platform::Folders::current();
    layout.documents.reset();
    platform::FoldersControl::install(layout);
    EXPECT_EQ(stdoutOf([] { tilmora::print("lost"); }), "");
    EXPECT_FALSE(tilmora::logFilePath().has_value());
    for (const auto& entry : fs::recursive_directory_iterator(root()))
        EXPECT_NE(entry.path().filename(), "Tilmora_log.txt") << entry.path();
}

TEST_F(LogTest, UnwritableFileStillPrintsTheLineAndTheError) {
    fs::create_directories(logFile()); // something that exists but cannot be opened for writing
    const std::string out = stdoutOf([] { tilmora::print("line"); });
    const std::string prefix = "line\nError writing to log file: ";
    ASSERT_EQ(out.substr(0, prefix.size()), prefix) << out;
    EXPECT_NE(out.find(logFile().string()), std::string::npos) << out;
    EXPECT_EQ(out.back(), '\n');
    EXPECT_EQ(std::count(out.begin(), out.end(), '\n'), 2);
    EXPECT_TRUE(fs::is_directory(logFile()));
}

TEST_F(LogTest, APipeAtThePathIsNeverOpenedAndTheLogGoesToStandardOutputUntilItIsGone) {
    // A pipe without a reader would block an ordinary open for ever.
    ASSERT_EQ(::mkfifo(logFile().c_str(), 0644), 0);
    const std::string out = stdoutOf([] {
        tilmora::print("one");
        tilmora::print("two");
    });
    EXPECT_EQ(out, "one\nError writing to log file: \"" + logFile().string() +
                       "\" is not a regular file; the log goes to standard output only\ntwo\n");
    // Once the pipe is gone the log has a file of its own again.
    fs::remove(logFile());
    EXPECT_EQ(stdoutOf([] { tilmora::print("three"); }), "three\n");
    EXPECT_EQ(readFile(logFile()), "three\n");
}

TEST_F(LogTest, MissingDocumentsFolderReportsCreationError) {
    fs::remove_all(root() / "Documents");
    const std::string out = stdoutOf([] { tilmora::print("line"); });
    const std::string prefix = "line\nError creating log file: ";
    EXPECT_EQ(out.substr(0, prefix.size()), prefix) << out;
    EXPECT_FALSE(fs::exists(root() / "Documents"));
}

TEST_F(LogTest, InvalidUtf8ReachesStandardOutputOnly) {
    const std::string bad = "bad \xC3( byte";
    EXPECT_EQ(stdoutOf([&] { tilmora::print(bad); }), bad + "\n");
    EXPECT_FALSE(fs::exists(logFile()));
}

// Real worker threads of the platform (the real mode), so that the callers truly overlap.
class LogConcurrencyTest : public RealPlatformTest {
protected:
    fs::path logFile() const { return root() / "Documents" / "Tilmora_log.txt"; }
};

TEST_F(LogConcurrencyTest, ConcurrentCallersNeverInterleaveLines) {
    constexpr int kThreads = 4;
    constexpr int kLines = 40;
    testing::internal::CaptureStdout();
    platform::DispatchGroup group;
    for (int t = 0; t < kThreads; ++t) {
        platform::DispatchQueue::global().async(group, [t] {
            const std::string body(300, static_cast<char>('a' + t));
            for (int i = 0; i < kLines; ++i)
                tilmora::print(body);
        });
    }
    const auto finished = group.wait(platform::DispatchTime::now() + 60.0);
    testing::internal::GetCapturedStdout();
    ASSERT_EQ(finished, platform::DispatchTimeoutResult::success);
    std::istringstream file(readFile(logFile()));
    std::string line;
    int count = 0;
    while (std::getline(file, line)) {
        ++count;
        ASSERT_EQ(line.size(), 300u);
        EXPECT_EQ(line.find_first_not_of(line[0]), std::string::npos) << "interleaved line";
    }
    EXPECT_EQ(count, kThreads * kLines);
}

} // namespace
