#include "model/DefaultLayoutStore.hpp"
#include "model/ProfileAwareLayoutStore.hpp"
#include "model/StoreFile.hpp"

#include "ModelFixture.hpp"

#include "platform/control/FoldersControl.hpp"
#include "platform/foundation/FileSystem.hpp"
#include "platform/foundation/Folders.hpp"

#include <gtest/gtest.h>

#include <filesystem>
#include <functional>
#include <sys/stat.h>

using namespace tilmora;

namespace {

Layout layout(const std::string& name, const std::string& display,
              std::optional<LayoutId> id = std::nullopt) {
    return Layout{id.value_or(LayoutId(platform::UUID())),
                  name,
                  DisplayId(display),
                  {Tile{TileId(platform::UUID()), DisplayId(display), {0, 0, 0.5, 1}, std::nullopt}}};
}

std::vector<std::string> names(const std::vector<Layout>& layouts) {
    std::vector<std::string> result;
    for (const auto& l : layouts)
        result.push_back(l.name);
    return result;
}

class LayoutStoreTest : public modeltest::ModelFixture {
protected:
    std::filesystem::path file() const { return storeFolder() / "layouts.json"; }
    void writeFile(const std::string& text) { ModelFixture::writeFile(file(), text); }

    std::vector<std::filesystem::path> setAsideFiles(const std::string& suffix = "corrupt") const {
        std::vector<std::filesystem::path> found;
        for (const auto& entry : std::filesystem::directory_iterator(file().parent_path())) {
            if (entry.path().filename().string().starts_with("layouts.json." + suffix + "-"))
                found.push_back(entry.path());
        }
        return found;
    }
};

} // namespace

TEST_F(LayoutStoreTest, NoFileReadsEmptyAndTheFirstSaveCreatesTheFile) {
    DefaultLayoutStore store;
    EXPECT_EQ(store.url(), file());
    EXPECT_TRUE(store.allLayouts().empty());
    EXPECT_FALSE(store.layout(DisplayId("1")));
    EXPECT_FALSE(platform::FileSystem::fileExists(file().parent_path()));

    const Layout a = layout("A", "1");
    store.save(a);
    auto stored = platform::parseJson(platform::FileSystem::readFile(file()));
    ASSERT_TRUE(stored.is_array());
    EXPECT_EQ(stored.size(), 1u);
    EXPECT_EQ(store.allLayouts(), std::vector<Layout>{a});
    EXPECT_EQ(store.layout(DisplayId("1")), a);
    EXPECT_EQ(store.layout(a.id), a);
}

TEST_F(LayoutStoreTest, DuplicatesKeepTheLastAtItsOwnPositionAndSavesMoveToTheEnd) {
    const LayoutId id1{platform::UUID()};
    const Layout a = layout("A", "1", id1), b = layout("B", "2"), a2 = layout("A'", "1", id1);
    writeFile(platform::encodeJsonText(std::vector<Layout>{a, b, a2}));

    DefaultLayoutStore store;
    EXPECT_EQ(names(store.allLayouts()), (std::vector<std::string>{"B", "A'"}));
    EXPECT_EQ(store.layout(id1)->name, "A'");

    const std::string original = platform::FileSystem::readFile(file());
    const Layout c = layout("C", "3");
    store.save(c);
    EXPECT_EQ(names(store.allLayouts()), (std::vector<std::string>{"B", "A'", "C"}));
    // The file written back holds no duplicates any more; the original is kept aside and logged.
    EXPECT_EQ(platform::parseJson(platform::FileSystem::readFile(file())).size(), 3u);
    const auto aside = setAsideFiles("duplicates");
    ASSERT_EQ(aside.size(), 1u);
    EXPECT_EQ(platform::FileSystem::readFile(aside.front()), original);
    EXPECT_NE(platform::FileSystem::readFile(*platform::Folders::documents() / "Tilmora_log.txt")
                  .find("[LayoutStore] Moved file with several layouts of one id " + file().string() +
                        " aside to " + aside.front().string()),
              std::string::npos);

    Layout bRenamed = b;
    bRenamed.name = "B2";
    store.save(bRenamed);
    EXPECT_EQ(names(store.allLayouts()), (std::vector<std::string>{"A'", "C", "B2"}));
    EXPECT_EQ(setAsideFiles("duplicates").size(), 1u) << "a file without duplicates is not kept";
    EXPECT_TRUE(setAsideFiles().empty());
}

TEST_F(LayoutStoreTest, DeleteRemovesEveryCopyAndAnUnknownIdIsNoError) {
    DefaultLayoutStore store;
    const Layout a = layout("A", "1"), b = layout("B", "1");
    store.save(a);
    store.save(b);
    EXPECT_EQ(store.layout(DisplayId("1")), a); // the first of the display wins
    store.deleteLayout(a.id);
    EXPECT_EQ(names(store.allLayouts()), std::vector<std::string>{"B"});
    EXPECT_NO_THROW(store.deleteLayout(LayoutId(platform::UUID())));
    EXPECT_EQ(names(store.allLayouts()), std::vector<std::string>{"B"});
    EXPECT_FALSE(store.layout(DisplayId("10")));
}

TEST_F(LayoutStoreTest, UndecodableFileThrowsOnListingAndIsKeptAsideBySave) {
    struct Case {
        const char* content;
    };
    for (const Case c : {Case{"not json"}, Case{R"({"layouts": []})"}, Case{R"([{"id": 1}])"}}) {
        writeFile(c.content);
        DefaultLayoutStore store;
        EXPECT_THROW(store.allLayouts(), platform::Error) << c.content;
        EXPECT_FALSE(store.layout(DisplayId("1")));

        const Layout saved = layout("Saved", "1");
        store.save(saved);
        EXPECT_EQ(store.allLayouts(), std::vector<Layout>{saved});
        auto aside = setAsideFiles();
        ASSERT_EQ(aside.size(), 1u) << c.content;
        EXPECT_EQ(platform::FileSystem::readFile(aside.front()), c.content);
        std::filesystem::remove(aside.front());
    }
}

TEST_F(LayoutStoreTest, DeleteOverAnUndecodableFileWritesAnEmptyListAndKeepsTheOldFile) {
    writeFile("[garbage");
    DefaultLayoutStore store;
    store.deleteLayout(LayoutId(platform::UUID()));
    EXPECT_EQ(platform::FileSystem::readFile(file()), "[]");
    auto aside = setAsideFiles();
    ASSERT_EQ(aside.size(), 1u);
    EXPECT_EQ(platform::FileSystem::readFile(aside.front()), "[garbage");
    const std::string log =
        platform::FileSystem::readFile(*platform::Folders::documents() / "Tilmora_log.txt");
    EXPECT_NE(log.find("[LayoutStore] Moved unusable file " + file().string() + " aside to " +
                       aside.front().string()),
              std::string::npos)
        << log;
    // Two set-asides in the same second get distinct names.
    writeFile("[again");
    store.deleteLayout(LayoutId(platform::UUID()));
    EXPECT_EQ(setAsideFiles().size(), 2u);
}

TEST_F(LayoutStoreTest, AnUnreadableFileIsLoggedOnceFailsListingAndIsMovedAsideOnSave) {
    struct Case {
        const char* label;
        std::function<void(const std::filesystem::path&)> make;
        std::string reason;
    };
    const Case cases[] = {
        {"folder",
         [](const std::filesystem::path& p) { platform::FileSystem::createDirectories(p / "inside"); },
         "not a regular file"},
        {"pipe", [](const std::filesystem::path& p) { ASSERT_EQ(::mkfifo(p.c_str(), 0600), 0); },
         "not a regular file"},
        {"larger than a store file may be",
         [](const std::filesystem::path& p) {
             platform::FileSystem::writeFile(p, "[]");
             std::filesystem::resize_file(p, StoreFile::maxFileBytes + 1);
         },
         "larger than"},
    };
    const auto logFile = *platform::Folders::documents() / "Tilmora_log.txt";
    for (const auto& c : cases) {
        SCOPED_TRACE(c.label);
        platform::FileSystem::createDirectories(file().parent_path());
        c.make(file());
        DefaultLayoutStore store;
        for (int call = 0; call < 3; ++call) {
            EXPECT_THROW(store.allLayouts(), platform::Error);
            EXPECT_FALSE(store.layout(DisplayId("1")));
        }
        const std::string log = platform::FileSystem::readFile(logFile);
        const std::string line = "[LayoutStore] Cannot use " + file().string() + ": ";
        const auto first = log.find(line);
        ASSERT_NE(first, std::string::npos) << log;
        EXPECT_NE(log.find(c.reason, first), std::string::npos) << log;
        EXPECT_EQ(log.find(line, first + 1), std::string::npos) << log;

        store.save(layout("A", "1"));
        EXPECT_EQ(names(store.allLayouts()), std::vector<std::string>{"A"});
        const auto aside = setAsideFiles();
        ASSERT_EQ(aside.size(), 1u);
        EXPECT_EQ(std::filesystem::is_directory(aside.front()), std::string(c.label) == "folder");
        std::filesystem::remove_all(file().parent_path());
        std::filesystem::remove(logFile);
    }
}

TEST_F(LayoutStoreTest, EncodingFailureThrowsAndLeavesTheFileAlone) {
    writeFile("corrupt");
    DefaultLayoutStore store;
    Layout bad = layout("NaN", "1");
    bad.tiles.front().normalizedFrame.x = std::numeric_limits<double>::quiet_NaN();
    EXPECT_THROW(store.save(bad), platform::Error);
    EXPECT_EQ(platform::FileSystem::readFile(file()), "corrupt");
    EXPECT_TRUE(setAsideFiles().empty());
}

TEST_F(LayoutStoreTest, AStorageUrlIsUsedAsGiven) {
    auto path = root() / "elsewhere" / "mine.json";
    DefaultLayoutStore store(path);
    store.save(layout("A", "1"));
    EXPECT_TRUE(platform::FileSystem::fileExists(path));
    EXPECT_FALSE(platform::FileSystem::fileExists(file()));
    // A second store on the same file sees the first one's writes.
    EXPECT_EQ(names(DefaultLayoutStore(path).allLayouts()), std::vector<std::string>{"A"});
}

TEST_F(LayoutStoreTest, ProfileAwareStoreAnswersThroughTheProfileFirst) {
    auto inner = std::make_shared<DefaultLayoutStore>();
    const Layout onTwo = layout("On two", "2"), onOne = layout("On one", "1");
    inner->save(onTwo);
    inner->save(onOne);

    std::optional<LayoutProfile> profile;
    ProfileAwareLayoutStore store(inner, [&] { return profile; });
    EXPECT_EQ(store.layout(DisplayId("1")), onOne); // no profile

    profile = LayoutProfile{ProfileId(platform::UUID()),
                            "P",
                            MonitorConfigurationSignature({"1", "2"}),
                            {{DisplayId("1"), onTwo.id}}};
    EXPECT_EQ(store.layout(DisplayId("1")), onTwo); // the layout's own display plays no part
    EXPECT_EQ(store.layout(DisplayId("2")), onTwo); // no entry: the store's own answer

    profile->layouts.insert_or_assign(DisplayId("1"), LayoutId(platform::UUID())); // a stale id
    EXPECT_EQ(store.layout(DisplayId("1")), onOne);

    // The other calls pass through.
    const Layout extra = layout("Extra", "3");
    store.save(extra);
    EXPECT_EQ(store.layout(extra.id), extra);
    store.deleteLayout(extra.id);
    EXPECT_EQ(store.allLayouts().size(), 2u);
}

TEST_F(LayoutStoreTest, WithoutApplicationSupportTheStoresReadEmptyAndRefuseToWrite) {
    auto folders = platform::Folders::current();
    folders.applicationSupport.reset();
    platform::FoldersControl::install(folders);
    DefaultLayoutStore store;
    EXPECT_TRUE(store.url().empty());
    EXPECT_TRUE(store.allLayouts().empty());
    EXPECT_THROW(store.save(layout("A", "1")), platform::Error);
    EXPECT_THROW(store.deleteLayout(LayoutId(platform::UUID())), platform::Error);
}

TEST_F(LayoutStoreTest, ADisplayKeyFindsItsLayoutComposedOrDecomposed) {
    DefaultLayoutStore store;
    const Layout saved = layout("A", "Caf\xC3\xA9-0.0-0.0"); // U+00E9
    store.save(saved);
    EXPECT_EQ(store.layout(DisplayId("Cafe\xCC\x81-0.0-0.0")), saved); // "e" + U+0301
    EXPECT_FALSE(store.layout(DisplayId("Cafe-0.0-0.0")));
}
