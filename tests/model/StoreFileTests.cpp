#include "model/DefaultLayoutStore.hpp"
#include "model/DefaultProfileStore.hpp"
#include "model/SnapAreasStore.hpp"
#include "model/StoreFile.hpp"

#include "ModelFixture.hpp"

#include "platform/foundation/FileSystem.hpp"
#include "platform/foundation/Folders.hpp"

#include <gtest/gtest.h>

#include <csignal>
#include <filesystem>
#include <functional>
#include <sys/resource.h>

using namespace tilmora;

namespace {

/// Makes every write beyond `bytes` of a file fail (EFBIG), as a full disk would, while it lives.
/// Renames and removals still work. Restores the limit and the SIGXFSZ disposition on destruction.
class FileSizeLimit {
public:
    explicit FileSizeLimit(rlim_t bytes) {
        getrlimit(RLIMIT_FSIZE, &saved_);
        rlimit limited = saved_;
        limited.rlim_cur = bytes;
        setrlimit(RLIMIT_FSIZE, &limited);
        savedHandler_ = std::signal(SIGXFSZ, SIG_IGN);
    }
    ~FileSizeLimit() {
        setrlimit(RLIMIT_FSIZE, &saved_);
        std::signal(SIGXFSZ, savedHandler_);
    }
    FileSizeLimit(const FileSizeLimit&) = delete;
    FileSizeLimit& operator=(const FileSizeLimit&) = delete;

private:
    rlimit saved_{};
    void (*savedHandler_)(int) = nullptr;
};

class StoreFileTest : public modeltest::ModelFixture {
protected:
    std::filesystem::path folder() const { return storeFolder(); }

    /// Names in the store folder other than `keep`.
    std::vector<std::string> others(const std::filesystem::path& keep) const {
        std::vector<std::string> names;
        for (const auto& entry : std::filesystem::directory_iterator(folder())) {
            if (entry.path() != keep) names.push_back(entry.path().filename().string());
        }
        return names;
    }
};

Layout storedLayout(const std::string& name) {
    return Layout{LayoutId(platform::UUID()),
                  name,
                  DisplayId("1"),
                  {Tile{TileId(platform::UUID()), DisplayId("1"), {0, 0, 0.5, 1}, std::nullopt}}};
}

LayoutProfile storedProfile(const std::string& name) {
    return LayoutProfile{
        ProfileId(platform::UUID()), name, MonitorConfigurationSignature({DisplayId("1")}), {}};
}

} // namespace

TEST_F(StoreFileTest, AFailedWriteOverAnUnusableFileLeavesItsBytesInPlace) {
    struct Case {
        const char* name;
        const char* fileName;
        std::function<void()> write;
    };
    const std::vector<Case> cases = {
        {"layout save", "layouts.json", [] { DefaultLayoutStore().save(storedLayout("New")); }},
        {"layout delete", "layouts.json",
         [] { DefaultLayoutStore().deleteLayout(LayoutId(platform::UUID())); }},
        {"profile save", "profiles.json", [] { DefaultProfileStore().save(storedProfile("New")); }},
        {"snap areas save", "SnapAreas.json",
         [] {
             SnapAreasStore store; // reads the unusable file anew
             store.areas.push_back(SnapArea{platform::UUID(), "New", 0, 0, 0.5, 1, std::nullopt, std::nullopt,
                                            std::nullopt, true});
             if (!store.save()) throw platform::Error("the snap areas were not saved");
         }},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        std::filesystem::remove_all(folder());
        const auto file = folder() / c.fileName;
        const std::string corrupt = "[{\"broken\"";
        writeFile(file, corrupt);
        {
            // Not even room for "[]".
            FileSizeLimit full(1);
            EXPECT_THROW(c.write(), platform::Error);
        }
        EXPECT_EQ(platform::FileSystem::readFile(file), corrupt);
        EXPECT_EQ(others(file), std::vector<std::string>{}) << "no set-aside copy and no temporary file";

        // With room again the write goes through and the old bytes are kept aside.
        EXPECT_NO_THROW(c.write());
        EXPECT_NE(platform::FileSystem::readFile(file), corrupt);
        auto aside = others(file);
        ASSERT_EQ(aside.size(), 1u);
        EXPECT_TRUE(aside.front().starts_with(std::string(c.fileName) + ".corrupt-")) << aside.front();
        EXPECT_EQ(platform::FileSystem::readFile(folder() / aside.front()), corrupt);
    }
}

TEST_F(StoreFileTest, ReplaceSetsAsideOnlyWhenAskedAndSomethingIsThere) {
    struct Case {
        const char* name;
        std::optional<std::string> before;
        bool setAsideOld;
        std::size_t setAsideCopies;
    };
    const std::vector<Case> cases = {
        {"no file, plain write", std::nullopt, false, 0},
        {"no file, set-aside asked", std::nullopt, true, 0},
        {"usable file overwritten", "[1]", false, 0},
        {"unusable file kept", "{{{", true, 1},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        std::filesystem::remove_all(folder());
        const auto file = folder() / "sub" / "items.json";
        if (c.before) writeFile(file, *c.before);
        StoreFile::replace(file, "[2]", c.setAsideOld, "[Test]");
        EXPECT_EQ(platform::FileSystem::readFile(file), "[2]");
        std::size_t copies = 0;
        for (const auto& entry : std::filesystem::directory_iterator(file.parent_path())) {
            if (entry.path() == file) continue;
            ++copies;
            EXPECT_TRUE(entry.path().filename().string().starts_with("items.json.corrupt-"));
            EXPECT_EQ(platform::FileSystem::readFile(entry.path()), *c.before);
        }
        EXPECT_EQ(copies, c.setAsideCopies);
    }
}

TEST_F(StoreFileTest, LenientReadTellsMissingFromUnusable) {
    struct Case {
        const char* name;
        std::function<void(const std::filesystem::path&)> prepare;
        std::size_t elements;
        bool unusable;
        bool decodingError;
    };
    const std::vector<Case> cases = {
        {"missing", [](const auto&) {}, 0, false, false},
        {"empty array", [this](const auto& p) { writeFile(p, "[]"); }, 0, false, false},
        {"two numbers", [this](const auto& p) { writeFile(p, "[1, 2]"); }, 2, false, false},
        {"not an array", [this](const auto& p) { writeFile(p, "{\"a\": 1}"); }, 0, true, true},
        {"wrong element type", [this](const auto& p) { writeFile(p, "[1, \"x\"]"); }, 0, true, true},
        {"empty file", [this](const auto& p) { writeFile(p, ""); }, 0, true, true},
        {"NUL after a whole array", [this](const auto& p) { writeFile(p, std::string("[1]\0[2, 3]", 10)); },
         0, true, true},
        {"folder in its place", [](const auto& p) { platform::FileSystem::createDirectories(p); }, 0, true,
         false},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        std::filesystem::remove_all(folder());
        const auto file = folder() / "numbers.json";
        c.prepare(file);
        auto read = StoreFile::readArrayLenient<int>(file);
        EXPECT_EQ(read.elements.size(), c.elements);
        EXPECT_EQ(read.unusable, c.unusable);
        EXPECT_EQ(read.decodingError.has_value(), c.decodingError);
        if (c.unusable)
            EXPECT_THROW(StoreFile::readArray<int>(file), platform::Error);
        else
            EXPECT_EQ(StoreFile::readArray<int>(file).size(), c.elements);
    }
    EXPECT_TRUE(StoreFile::readArray<int>({}).empty());
    EXPECT_FALSE(StoreFile::readArrayLenient<int>({}).unusable);
}
