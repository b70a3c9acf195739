#include "model/SnapAreasStore.hpp"

#include "ModelFixture.hpp"

#include "platform/control/SharedInstances.hpp"
#include "platform/control/SystemLogControl.hpp"
#include "platform/foundation/FileSystem.hpp"
#include "platform/foundation/Folders.hpp"
#include "platform/foundation/NotificationCenter.hpp"
#include "platform/foundation/UserDefaults.hpp"

#include <gtest/gtest.h>

#include <csignal>
#include <sys/resource.h>

using namespace tilmora;
using modeltest::screen;

namespace {

const char* kId1 = "11111111-1111-1111-1111-111111111111";
const char* kId2 = "22222222-2222-2222-2222-222222222222";

std::string entry(const char* id, const std::string& extra) {
    return std::string(R"({"id":")") + id + R"(","name":"Area","x":0,"y":0,"width":0.5,"height":1)" + extra +
           "}";
}

class SnapAreasTest : public modeltest::ModelFixture {
protected:
    void restoreFixture() override {
        ModelFixture::restoreFixture();
        token = platform::NotificationCenter::defaultCenter().addObserver(
            "SnapAreasStoreDidChange", nullptr, [this](const platform::Notification& n) {
                ++posts;
                EXPECT_EQ(n.object, nullptr);
            });
    }
    std::filesystem::path file() const { return storeFolder() / "SnapAreas.json"; }
    void writeFile(const std::string& text) { ModelFixture::writeFile(file(), text); }
    bool migrated() const {
        return platform::UserDefaults::standard().boolForKey("SnapAreasScopeMigrated.v2");
    }

    int posts = 0;
    platform::ObserverToken token;
};

SnapArea area(bool all, std::optional<std::uint32_t> display = std::nullopt,
              std::optional<std::int64_t> w = std::nullopt, std::optional<std::int64_t> h = std::nullopt) {
    return SnapArea{platform::UUID(), "A", 0, 0, 1, 1, display, w, h, all};
}

} // namespace

TEST_F(SnapAreasTest, ReadingRulesForScopeAndName) {
    auto read = [](const std::string& text) { return platform::decodeJsonText<SnapArea>(text); };
    EXPECT_TRUE(read(entry(kId1, "")).appliesToAllDisplays);
    auto perDisplay = read(entry(kId1, R"(,"displayID":2)"));
    EXPECT_FALSE(perDisplay.appliesToAllDisplays);
    EXPECT_EQ(perDisplay.displayID, 2u);
    EXPECT_TRUE(read(entry(kId1, R"(,"displayID":null,"appliesToAllDisplays":null)")).appliesToAllDisplays);
    EXPECT_TRUE(read(entry(kId1, R"(,"displayID":2,"appliesToAllDisplays":true)")).appliesToAllDisplays);

    auto unnamed =
        read(R"({"id":"11111111-1111-1111-1111-111111111111","name":"","x":0,"y":0,"width":1,"height":1})");
    EXPECT_EQ(unnamed.name, "Untitled");
    EXPECT_EQ(platform::encodeJson(unnamed)["name"], "Untitled");
    EXPECT_EQ(
        read(R"({"id":"11111111-1111-1111-1111-111111111111","name":"  ","x":0,"y":0,"width":1,"height":1})")
            .name,
        "  ");

    // Written keys, in order; the display fields only when present.
    auto written = platform::jsonText(platform::encodeJson(perDisplay));
    EXPECT_EQ(written, std::string(R"({"id":")") + kId1 +
                           R"(","name":"Area","x":0.0,"y":0.0,"width":0.5,"height":1.0,"displayID":2,)"
                           R"("appliesToAllDisplays":false})");
}

TEST_F(SnapAreasTest, AnEntryWithoutXYieldsNoAreasAndNoRewrite) {
    const std::string content =
        "[" + entry(kId1, "") + R"(,{"id":")" + kId2 + R"(","name":"B","y":0,"width":1,"height":1}])";
    writeFile(content);
    auto& store = SnapAreasStore::shared();
    EXPECT_TRUE(store.areas.empty());
    EXPECT_EQ(platform::FileSystem::readFile(file()), content);
    EXPECT_TRUE(migrated());
    EXPECT_EQ(posts, 0);
    bool logged = false;
    for (const auto& line : platform::SystemLogControl::recordedLines())
        logged |= line.starts_with("[SnapAreasStore] Could not read " + file().string() +
                                   "; starting with no snap areas: ");
    EXPECT_TRUE(logged);
}

TEST_F(SnapAreasTest, FirstRunMigratesOnceAndSecondRunDoesNot) {
    writeFile("[" + entry(kId1, R"(,"displayID":1,"appliesToAllDisplays":true)") + "," +
              entry(kId2, R"(,"resolutionHeight":1080,"appliesToAllDisplays":true)") + "]");
    auto& store = SnapAreasStore::shared();
    ASSERT_EQ(store.areas.size(), 2u);
    EXPECT_FALSE(store.areas[0].appliesToAllDisplays);
    EXPECT_TRUE(store.areas[1].appliesToAllDisplays); // a height alone does not count
    EXPECT_EQ(posts, 1);
    EXPECT_TRUE(migrated());
    EXPECT_TRUE(systemLogged("[SnapAreasStore] Migrated legacy snap areas to per-display scope"));
    auto saved = platform::decodeJsonText<std::vector<SnapArea>>(platform::FileSystem::readFile(file()));
    EXPECT_FALSE(saved[0].appliesToAllDisplays);
    EXPECT_EQ(store.area(*platform::UUID::fromString(kId2))->name, "Area");
    EXPECT_FALSE(store.area(platform::UUID()));

    // Second run: the flag is set, nothing is migrated even over an old file.
    writeFile("[" + entry(kId1, R"(,"displayID":1,"appliesToAllDisplays":true)") + "]");
    resetSharedInstances();
    EXPECT_TRUE(SnapAreasStore::shared().areas[0].appliesToAllDisplays);
    EXPECT_EQ(posts, 1);
}

TEST_F(SnapAreasTest, NoAreasStillSetsTheFlagWithoutSaving) {
    SnapAreasStore::shared();
    EXPECT_TRUE(migrated());
    EXPECT_FALSE(platform::FileSystem::fileExists(file()));
    EXPECT_EQ(posts, 0);
    EXPECT_TRUE(platform::SystemLogControl::recordedLines().empty()); // no file is no error
}

TEST_F(SnapAreasTest, AFailedMigrationSaveLeavesTheFlagUnsetSoTheNextRunRetries) {
    writeFile("[" + entry(kId1, R"(,"displayID":1,"appliesToAllDisplays":true)") + "]");
    {
        // A file-size limit below the file's size makes the write fail (root ignores permissions).
        rlimit original{};
        ::getrlimit(RLIMIT_FSIZE, &original);
        auto previousHandler = std::signal(SIGXFSZ, SIG_IGN);
        rlimit tiny = original;
        tiny.rlim_cur = 16;
        ASSERT_EQ(::setrlimit(RLIMIT_FSIZE, &tiny), 0);
        SnapAreasStore::shared();
        ::setrlimit(RLIMIT_FSIZE, &original);
        std::signal(SIGXFSZ, previousHandler);
    }
    EXPECT_FALSE(migrated());
    EXPECT_EQ(posts, 0);
    bool failedLine = false;
    for (const auto& line : platform::SystemLogControl::recordedLines())
        failedLine |= line.starts_with("[SnapAreasStore] Failed to save: ");
    EXPECT_TRUE(failedLine);
    resetSharedInstances();
    SnapAreasStore::shared();
    EXPECT_TRUE(migrated());
    EXPECT_EQ(posts, 1);
}

TEST_F(SnapAreasTest, ResolvingTheScreenOfAnArea) {
    const auto s1 = screen(1, 0, 1440, 900, 2), s2 = screen(2, 1440, 1920, 1080),
               unnumbered = screen(std::nullopt, -800, 800, 600), empty = screen(3, 0, 0, 0);
    screens->list = {s1, s2, unnumbered};

    struct Case {
        const char* what;
        SnapArea area;
        std::vector<ScreenInfo> preferred;
        std::optional<ScreenInfo> expected;
    };
    const Case cases[] = {
        {"all displays: first preferred", area(true), {s2, s1}, s2},
        {"all displays: main screen", area(true), {}, s1},
        {"display 2 at its resolution", area(false, 2, 1920, 1080), {s1}, s2},
        {"display 2 at another resolution", area(false, 2, 2560, 1440), {s2}, std::nullopt},
        {"display 2, only a width", area(false, 2, 2560), {}, s2},
        {"resolution only", area(false, std::nullopt, 2880, 1800), {unnumbered, s1}, s1},
        {"neither: first preferred with a frame", area(false), {empty, unnumbered, s1}, unnumbered},
        {"neither, no preferred: first screen", area(false), {}, s1},
        {"display that is not connected", area(false, 9), {s1, s2}, std::nullopt},
        {"repeats ignored", area(false, std::nullopt, 1920, 1080), {s2, s2, s1}, s2},
    };
    for (const auto& c : cases)
        EXPECT_EQ(c.area.resolveScreen(c.preferred), c.expected) << c.what;

    // An all-displays area without a main screen takes the first screen, or none.
    screens->mainIsFirst = false;
    EXPECT_EQ(area(true).resolveScreen({}), s1);
    screens->list.clear();
    EXPECT_EQ(area(true).resolveScreen({}), std::nullopt);
}

TEST_F(SnapAreasTest, ASaveAfterAnUnusableFileKeepsItsBytesAside) {
    struct Case {
        const char* label;
        std::string text; // empty: a folder stands in place of the file
    };
    const Case cases[] = {
        {"not json", "[{\"id\": "},
        {"not an array", "{\"areas\": []}"},
        {"NUL inside", std::string("[]") + std::string(1, '\0') + "[]"},
        {"folder", ""},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.label);
        if (c.text.empty()) {
            platform::FileSystem::createDirectories(file() / "inside");
        } else {
            writeFile(c.text);
        }
        SnapAreasStore store;
        EXPECT_TRUE(store.areas.empty());
        store.areas = {area(false, 1)};
        ASSERT_TRUE(store.save());
        std::vector<std::filesystem::path> aside;
        for (const auto& entry : std::filesystem::directory_iterator(file().parent_path()))
            if (entry.path().filename().string().starts_with("SnapAreas.json.corrupt-"))
                aside.push_back(entry.path());
        ASSERT_EQ(aside.size(), 1u);
        if (c.text.empty()) {
            EXPECT_TRUE(std::filesystem::is_directory(aside.front() / "inside"));
        } else {
            EXPECT_EQ(platform::FileSystem::readFile(aside.front()), c.text);
        }
        EXPECT_EQ(SnapAreasStore().areas.size(), 1u);
        std::filesystem::remove_all(file().parent_path());
    }
}
