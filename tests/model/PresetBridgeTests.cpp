#include "model/DefaultLayoutStore.hpp"
#include "model/LayoutStoreVesk.hpp"
#include "model/Settings.hpp"

#include "ModelFixture.hpp"

#include "platform/control/LocaleControl.hpp"
#include "platform/foundation/FileSystem.hpp"
#include "platform/foundation/Folders.hpp"
#include "platform/foundation/Bundle.hpp"
#include "platform/foundation/Text.hpp"
#include "platform/foundation/UserDefaults.hpp"

#include <gtest/gtest.h>

using namespace tilmora;

namespace {

VeskTile bridgeTile(const std::string& name, Rect rect) {
    return VeskTile{platform::UUID(), name, rect};
}

VeskPreset bridgePreset(const std::string& name, VeskPresetKind kind, std::vector<VeskTile> tiles,
                  std::optional<platform::UUID> id = std::nullopt) {
    return VeskPreset{id.value_or(platform::UUID()), name, kind, "ignored", std::move(tiles), 7};
}

Layout layoutNamed(const std::string& name, const std::string& display, std::size_t tiles = 2,
                   std::optional<platform::UUID> id = std::nullopt) {
    Layout layout{LayoutId(id.value_or(platform::UUID())), name, DisplayId(display), {}};
    for (std::size_t i = 0; i < tiles; ++i)
        layout.tiles.push_back(Tile{TileId(platform::UUID()), DisplayId(display), {0, 0, 1, 1}, "t"});
    return layout;
}

std::string logText() {
    auto documents = platform::Folders::documents();
    auto path = *documents / "Tilmora_log.txt";
    return platform::FileSystem::fileExists(path) ? platform::FileSystem::readFile(path) : std::string();
}

// Lists exactly what it holds, duplicates included.
class InMemoryLayouts : public LayoutStore {
public:
    std::vector<Layout> layouts;
    std::vector<Layout> allLayouts() override { return layouts; }
    std::optional<Layout> layout(const DisplayId&) override { return std::nullopt; }
    std::optional<Layout> layout(const LayoutId&) override { return std::nullopt; }
    void save(const Layout& layout) override { layouts.push_back(layout); }
    void deleteLayout(const LayoutId&) override {}
};

class PresetBridgeTest : public modeltest::ModelFixture {
protected:
    void SetUp() override {
        ModelFixture::SetUp();
        // Names order as the user's language does; pin it, whatever the host's locale.
        platform::LocaleControl::setCurrentLanguageCode(std::optional<std::string>("en"));
        storage = std::make_unique<DefaultLayoutStore>(); // inside the sandbox's folders
    }
    std::unique_ptr<DefaultLayoutStore> storage;
};

} // namespace

TEST_F(PresetBridgeTest, ListsByCaseInsensitiveNameThenUpperCaseIdText) {
    DefaultLayoutStore& store = *storage;
    const auto low = *platform::UUID::fromString("00000000-0000-0000-0000-000000000001");
    const auto high = *platform::UUID::fromString("F0000000-0000-0000-0000-000000000000");
    store.save(layoutNamed("beta", "1"));
    store.save(layoutNamed("alpha", "1", 2, high));
    store.save(layoutNamed("Alpha", "1", 2, low));
    store.save(layoutNamed("other display", "10"));
    store.save(layoutNamed("Zed", "2"));

    auto presets = veskPresets(store, DisplayId("1"));
    ASSERT_EQ(presets.size(), 3u);
    EXPECT_EQ(presets[0].name, "Alpha");
    EXPECT_EQ(presets[1].name, "alpha");
    EXPECT_EQ(presets[2].name, "beta");
    for (const auto& p : presets) {
        EXPECT_EQ(p.displayId, "1");
        EXPECT_EQ(p.sortOrder, 0);
    }
    EXPECT_TRUE(veskPresets(store, DisplayId("")).empty());
}

TEST_F(PresetBridgeTest, KindFollowsTheTileCountAndDisplayIsTheArgument) {
    DefaultLayoutStore& store = *storage;
    const auto rect = Rect{0.25, 0, 0.5, 1};
    saveVeskPreset(store, bridgePreset("One", VeskPresetKind::grid, {bridgeTile("Middle", rect)}), DisplayId("1"));
    saveVeskPreset(store,
                   bridgePreset("Two", VeskPresetKind::singleTile, {bridgeTile("a", rect), bridgeTile("b", rect)}),
                   DisplayId("1"));
    saveVeskPreset(store, bridgePreset("Empty", VeskPresetKind::singleTile, {}), DisplayId("1"));
    auto presets = veskPresets(store, DisplayId("1"));
    ASSERT_EQ(presets.size(), 3u);
    EXPECT_EQ(presets[0].name, "Empty");
    EXPECT_EQ(presets[0].kind, VeskPresetKind::grid);
    EXPECT_EQ(presets[1].name, "One");
    EXPECT_EQ(presets[1].kind, VeskPresetKind::singleTile);
    ASSERT_EQ(presets[1].tiles.size(), 1u);
    EXPECT_EQ(presets[1].tiles[0].name, "Middle");
    EXPECT_EQ(presets[1].tiles[0].normalisedRect, rect);
    EXPECT_EQ(presets[2].kind, VeskPresetKind::grid);

    // Stored as an ordinary layout of the given display, with labelled tiles of that display.
    auto stored = store.allLayouts();
    ASSERT_EQ(stored.size(), 3u);
    EXPECT_EQ(stored[0].displayId, DisplayId("1"));
    EXPECT_EQ(stored[0].tiles[0].label, "Middle");
    EXPECT_EQ(stored[0].tiles[0].displayId, DisplayId("1"));
    EXPECT_TRUE(veskPresets(store, DisplayId("10")).empty());
}

TEST_F(PresetBridgeTest, TilesGetNewIdsOnEveryListingAndUnlabelledTilesTheDefaultName) {
    DefaultLayoutStore& store = *storage;
    Layout layout = layoutNamed("Grid", "1", 1);
    layout.tiles[0].label.reset();
    store.save(layout);
    auto first = veskPresets(store, DisplayId("1"));
    auto second = veskPresets(store, DisplayId("1"));
    ASSERT_EQ(first.size(), 1u);
    EXPECT_NE(first[0].tiles[0].id, second[0].tiles[0].id);
    EXPECT_EQ(first[0].tiles[0].name, second[0].tiles[0].name);
    EXPECT_EQ(first[0].id, layout.id.rawValue);
    // Without string tables the key itself is the name; saving stores it as the label.
    EXPECT_EQ(first[0].tiles[0].name, "layoutEditor.tile.defaultName");
    saveVeskPreset(store, first[0], DisplayId("1"));
    EXPECT_EQ(store.allLayouts()[0].tiles[0].label, "layoutEditor.tile.defaultName");
}

TEST_F(PresetBridgeTest, DeleteRemovesThePresetAndAnUnreadableStoreListsNothing) {
    DefaultLayoutStore& store = *storage;
    auto p = bridgePreset("Gone", VeskPresetKind::grid, {});
    saveVeskPreset(store, p, DisplayId("1"));
    deleteVeskPreset(store, p.id);
    EXPECT_TRUE(veskPresets(store, DisplayId("1")).empty());

    platform::FileSystem::writeFile(store.url(), "not json");
    EXPECT_TRUE(veskPresets(store, DisplayId("1")).empty());
}

TEST_F(PresetBridgeTest, LogsOnlyWhileVerboseLoggingIsOn) {
    DefaultLayoutStore& store = *storage;
    // A store that lists one id twice: the later copy is the preset.
    const auto id = platform::UUID();
    Layout later = layoutNamed("Later", "1", 2, id);
    InMemoryLayouts twice;
    twice.layouts = {layoutNamed("Earlier", "1", 2, id), later};

    EXPECT_FALSE(veskVerboseEnabled()); // nothing stored or registered
    veskPresets(twice, DisplayId("1"));
    EXPECT_EQ(logText(), "");

    platform::UserDefaults::standard().registerDefaults({{settings::verboseLogging.key, true}});
    EXPECT_TRUE(veskVerboseEnabled());
    auto listed = veskPresets(twice, DisplayId("1"));
    ASSERT_EQ(listed.size(), 1u);
    EXPECT_EQ(listed[0].name, "Later");
    auto p = bridgePreset("Saved", VeskPresetKind::singleTile, {bridgeTile("x", {})});
    saveVeskPreset(store, p, DisplayId("2"));
    deleteVeskPreset(store, p.id);
    const std::string expected = "[VESK][STORE] load displayId=1 presets=1 (raw=2)\n"
                                 "[VESK][STORE] save displayId=2 id=" +
                                 p.id.uuidString() + " name=Saved kind=singleTile tiles=1\n" +
                                 "[VESK][STORE] delete id=" + p.id.uuidString() + "\n";
    EXPECT_EQ(logText(), expected);

    platform::UserDefaults::standard().set(false, settings::verboseLogging.key);
    EXPECT_FALSE(veskVerboseEnabled());
}

TEST_F(PresetBridgeTest, NamesCompareAsTheEnglishLocaleDoesIgnoringCase) {
    struct Case {
        const char* a;
        const char* b;
        int expected;
    };
    const Case cases[] = {
        {"Alpha", "alpha", 0},
        {"alpha", "Beta", -1},
        {"b", "A", 1},
        {"ab", "abc", -1},
        {"", "", 0},
        {"\xC3\x84rger", "\xC3\xA4rger", 0}, // Ä and ä
        {"\xC3\x89"
         "cran",
         "Fenster", -1},                        // É with E, before F
        {"\xC3\x84pfel", "Birne", -1},          // Ä with A
        {"resume", "R\xC3\xA9sum\xC3\xA9", -1}, // equal but for accents: the plain one first
        {"\xC3\xB8st", "ozean", -1},            // ø with o: the accent decides only on a tie
        {"\xC3\xBEorn", "zebra", 1},            // thorn after z
        {"~Top", "1 Left", -1},                 // symbols before digits
        {"10 Columns", "2 Columns", -1},        // digits as text
        {"2x2", "Alpha", -1},                   // digits before letters
        {"{Wide}", "Wide", -1},
        {"Left Half", "Left-Half", -1}, // blank before punctuation
        {"Zed", "\xCE\xB1lpha", -1},    // other scripts after Latin letters
    };
    for (const auto& c : cases) {
        EXPECT_EQ(platform::Text::localizedCaseInsensitiveCompare(c.a, c.b), c.expected) << c.a << " vs " << c.b;
        EXPECT_EQ(platform::Text::localizedCaseInsensitiveCompare(c.b, c.a), -c.expected) << c.b << " vs " << c.a;
    }
}

TEST_F(PresetBridgeTest, NamesListInTheUsersLanguage) {
    DefaultLayoutStore& store = *storage;
    for (const char* name : {"Zebra", "\xC3\x85land", "alpha", "\xC3\x96st", "Oben", "zz"})
        store.save(layoutNamed(name, "1"));
    struct Case {
        std::optional<std::string> language;
        std::vector<std::string> expected;
    };
    const Case cases[] = {
        // Swedish: å, ä and ö are letters of their own after z.
        {"sv", {"alpha", "Oben", "Zebra", "zz", "\xC3\x85land", "\xC3\x96st"}},
        // English: accented letters with their base letters.
        {"en", {"\xC3\x85land", "alpha", "Oben", "\xC3\x96st", "Zebra", "zz"}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.language.value_or("(none)"));
        platform::LocaleControl::setCurrentLanguageCode(std::optional<std::optional<std::string>>(c.language));
        std::vector<std::string> listed;
        for (const auto& p : veskPresets(store, DisplayId("1")))
            listed.push_back(p.name);
        EXPECT_EQ(listed, c.expected);
    }
}

TEST_F(PresetBridgeTest, ADisplayKeyListsItsPresetsComposedOrDecomposed) {
    DefaultLayoutStore& store = *storage;
    store.save(layoutNamed("Kept", "Caf\xC3\xA9-0.0-0.0"));
    const auto listed = veskPresets(store, DisplayId("Cafe\xCC\x81-0.0-0.0"));
    ASSERT_EQ(listed.size(), 1u);
    EXPECT_EQ(listed[0].name, "Kept");
}

TEST_F(PresetBridgeTest, AccentedNamesListWithTheirBaseLetter) {
    DefaultLayoutStore& store = *storage;
    for (const char* name : {"Fenster",
                             "\xC3\x89"
                             "cran",
                             "Dock", "_Scratch"})
        store.save(layoutNamed(name, "1"));
    std::vector<std::string> listed;
    for (const auto& p : veskPresets(store, DisplayId("1")))
        listed.push_back(p.name);
    EXPECT_EQ(listed, (std::vector<std::string>{"_Scratch", "Dock",
                                                "\xC3\x89"
                                                "cran",
                                                "Fenster"}));
}
