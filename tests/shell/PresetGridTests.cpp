#include "WindowCommandFixture.hpp"

#include "model/LayoutStoreVesk.hpp"
#include "model/Settings.hpp"
#include "platform/control/SimInput.hpp"
#include "platform/foundation/FileSystem.hpp"
#include "platform/ui/Button.hpp"
#include "platform/ui/Menu.hpp"
#include "snapping/TilingController.hpp"
#include "support/SnapGridParts.hpp"

#include <chrono>
#include <filesystem>

namespace tilmora::shelltest {
namespace {

using platform::UUID;

class PresetGridTest : public WindowCommandTest {
protected:
    /// Stores a preset named `name` with `tiles` (fractions, top-left origin) for display `display`.
    VeskPreset store(const std::string& name, const std::vector<Rect>& tiles, const std::string& display = "1") {
        VeskPreset preset{UUID(), name, tiles.size() == 1 ? VeskPresetKind::singleTile : VeskPresetKind::grid, display, {}, 0};
        for (std::size_t i = 0; i < tiles.size(); ++i) {
            preset.tiles.push_back({UUID(), name + " " + std::to_string(i + 1), tiles[i]});
        }
        saveVeskPreset(*shell->layoutStore(), preset, DisplayId(display));
        return preset;
    }

    std::optional<std::string> storedSelection(const std::string& display = "1") {
        return platform::UserDefaults::standard().stringForKey(settings::veskSelectedPresetIdPrefix +
                                                               display);
    }

    const Layout* transientLayout(const std::string& display = "1") {
        const auto& layouts = shell->tilingController()->transientLayoutsByDisplay;
        auto found = layouts.find(DisplayId(display));
        return found == layouts.end() ? nullptr : &found->second;
    }

    bool pickFromMenu(std::any object) { return sendWithObject("applyVeskPresetFromMenu:", std::move(object)); }

    bool pressTileButton(const std::string& identifier, long tag) {
        auto button = std::make_shared<platform::ui::Button>();
        button->identifier = identifier;
        button->tag = tag;
        return send("applyVeskTilePresetFromSnapBar:", button.get());
    }
};

TEST_F(PresetGridTest, ATileFillsItsFractionMeasuredFromTheTopOfTheVisibleFrame) {
    desk().setDisplayFrame(1, {0, 0, 1440, 900}, platform::CGRect{0, 25, 1440, 875});
    struct Case {
        Rect tile;
        Rect handed;
    };
    const Case cases[] = {
        {{0, 0, 0.5, 1}, {0, 25, 720, 875}},
        {{0.5, 0.5, 0.5, 0.5}, {720, 25, 720, 437.5}},
        {{0, 0, 1, 0.25}, {0, 681.25, 1440, 218.75}},
    };
    for (const auto& c : cases) {
        mover->moves.clear();
        shell->applyVeskTile({UUID(), "tile", c.tile}, screen(1));
        ASSERT_EQ(mover->moves.size(), 1u);
        EXPECT_TRUE(sameRect(mover->moves.at(0), c.handed));
    }
    EXPECT_TRUE(sameRect(shell->baselineRectByWindowKey().at("com.apple.TextEdit|Notes"), {100, 100, 400, 300}));
    EXPECT_TRUE(sameRect(shell->lastRectByWindowKey().at("com.apple.TextEdit|Notes"), {720, 25, 720, 437.5}, 0.5));
    EXPECT_EQ(SnapGridParts::presetActivation(shell->roriDeru()).enabledSnapDisplayKeys().size(), 1u);
}

TEST_F(PresetGridTest, ApplyingAPresetSelectsItInstallsItsLayoutAndMovesIntoItsFirstTile) {
    const auto p = store("Columns", {{0, 0, 0.25, 1}, {0.25, 0, 0.75, 1}});
    const auto q = store("Rows", {{0, 0, 1, 0.5}, {0, 0.5, 1, 0.5}});
    shell->roriDeru().setSelectedKind(SnapIconKind::leftHalf, screen(1));

    auto menuBefore = shell->cachedStatusMenu();
    ASSERT_TRUE(pickFromMenu(AppDelegate::VeskPresetMenuSelection{p.id, "1"}));
    EXPECT_NE(shell->cachedStatusMenu(), menuBefore);
    EXPECT_EQ(storedSelection(), p.id.uuidString());
    const Layout* layout = transientLayout();
    ASSERT_NE(layout, nullptr);
    EXPECT_EQ(layout->name, "Columns");
    EXPECT_NE(layout->id.rawValue, p.id);
    ASSERT_EQ(layout->tiles.size(), 2u);
    for (std::size_t i = 0; i < 2; ++i) {
        EXPECT_EQ(layout->tiles[i].normalizedFrame, p.tiles[i].normalisedRect);
        EXPECT_EQ(layout->tiles[i].label, p.tiles[i].name);
        EXPECT_EQ(layout->tiles[i].displayId, DisplayId("1"));
    }
    ASSERT_EQ(mover->moves.size(), 1u);
    EXPECT_TRUE(sameRect(mover->moves.at(0), {0, 0, 360, 875}));
    EXPECT_FALSE(shell->roriDeru().selectedKind(screen(1)).has_value());

    // Picking it again switches it off and moves nothing.
    ASSERT_TRUE(pickFromMenu(AppDelegate::VeskPresetMenuSelection{p.id, "1"}));
    EXPECT_FALSE(storedSelection().has_value());
    EXPECT_EQ(transientLayout(), nullptr);
    EXPECT_EQ(mover->moves.size(), 1u);

    ASSERT_TRUE(pickFromMenu(AppDelegate::VeskPresetMenuSelection{p.id, "1"}));
    ASSERT_TRUE(pickFromMenu(AppDelegate::VeskPresetMenuSelection{q.id, "1"}));
    EXPECT_EQ(storedSelection(), q.id.uuidString());
    ASSERT_NE(transientLayout(), nullptr);
    EXPECT_EQ(transientLayout()->name, "Rows");
    EXPECT_TRUE(sameRect(mover->moves.back(), {0, 437.5, 1440, 437.5}));
}

TEST_F(PresetGridTest, APresetWithoutTilesIsSelectedAsAnEmptyLayoutAndMovesNothing) {
    const auto empty = store("Empty", {});
    const auto menuBefore = shell->cachedStatusMenu();
    ASSERT_TRUE(pickFromMenu(empty.id));
    EXPECT_EQ(shell->cachedStatusMenu(), menuBefore);
    EXPECT_EQ(storedSelection(), empty.id.uuidString());
    ASSERT_NE(transientLayout(), nullptr);
    EXPECT_TRUE(transientLayout()->tiles.empty());
    EXPECT_TRUE(mover->moves.empty());
}

TEST_F(PresetGridTest, AnUnparsableStoredSelectionCountsAsNone) {
    const auto p = store("Left", {{0, 0, 0.5, 1}});
    platform::UserDefaults::standard().set(std::string("not a uuid"), "WMVeskSelectedPresetId.1");
    EXPECT_FALSE(shell->veskSelectedPresetId(screen(1)).has_value());
    ASSERT_TRUE(pickFromMenu(AppDelegate::VeskPresetMenuSelection{p.id, "1"}));
    EXPECT_EQ(storedSelection(), p.id.uuidString());
    EXPECT_EQ(mover->moves.size(), 1u);
}

TEST_F(PresetGridTest, TheMenuSectionListsSingleTilesThenGridsByName) {
    const auto b = store("b", {{0, 0, 1, 1}});
    const auto a = store("a", {{0, 0, 0.5, 1}});
    const auto bigA = store("A", {{0.5, 0, 0.5, 1}});
    const auto laptopPresets = veskPresets(*shell->layoutStore(), DisplayId("1"));
    std::vector<std::string> expectedSingles;
    for (const auto& preset : laptopPresets) {
        if (preset.name != "b") expectedSingles.push_back(preset.name);
    }
    expectedSingles.push_back("b");
    shell->setVeskSelectedPresetId(a.id, screen(1));

    auto menu = platform::ui::Menu::make();
    shell->addVeskPresetMenuSection(*menu, screen(1));
    ASSERT_EQ(menu->numberOfItems(), 2u);
    EXPECT_TRUE(menu->itemAt(0)->isSeparatorItem());
    EXPECT_EQ(menu->itemAt(1)->title, "Custom Layouts");
    auto sub = menu->itemAt(1)->submenu();
    ASSERT_NE(sub, nullptr);
    // The items are made when the submenu is about to show.
    EXPECT_EQ(sub->numberOfItems(), 0u);
    sub->update();
    ASSERT_EQ(sub->numberOfItems(), 4u);
    EXPECT_EQ(sub->itemAt(0)->title, "Single Tiles");
    EXPECT_FALSE(sub->itemAt(0)->isEnabled);
    for (std::size_t i = 0; i < 3; ++i) {
        const auto& item = sub->itemAt(i + 1);
        EXPECT_EQ(item->title, expectedSingles[i]);
        EXPECT_EQ(item->action, "applyVeskPresetFromMenu:");
        const auto* selection = std::any_cast<AppDelegate::VeskPresetMenuSelection>(&item->representedObject);
        ASSERT_NE(selection, nullptr);
        EXPECT_EQ(selection->displayId, "1");
        EXPECT_EQ(item->state, selection->presetId == a.id ? 1 : 0);
    }

    store("Grid", {{0, 0, 0.5, 1}, {0.5, 0, 0.5, 1}});
    menu = platform::ui::Menu::make();
    shell->addVeskPresetMenuSection(*menu, screen(1));
    sub = menu->itemAt(1)->submenu();
    sub->update();
    ASSERT_EQ(sub->numberOfItems(), 7u);
    EXPECT_TRUE(sub->itemAt(4)->isSeparatorItem());
    EXPECT_EQ(sub->itemAt(5)->title, "Grids");
    EXPECT_FALSE(sub->itemAt(5)->isEnabled);
    EXPECT_EQ(sub->itemAt(6)->title, "Grid");
    (void)b;
    (void)bigA;
}

TEST_F(PresetGridTest, TheMenuSectionFollowsTheLayoutFileOnDisk) {
    store("Left", {{0, 0, 0.5, 1}});
    const auto file = shell->baseLayoutStore()->url();
    std::filesystem::last_write_time(file, std::filesystem::last_write_time(file) - std::chrono::hours(1));
    const auto names = [&] {
        auto menu = platform::ui::Menu::make();
        shell->addVeskPresetMenuSection(*menu, screen(1));
        std::vector<std::string> titles;
        if (menu->numberOfItems() == 2) menu->itemAt(1)->submenu()->update();
        if (menu->numberOfItems() == 2)
            for (const auto& item : menu->itemAt(1)->submenu()->items())
                if (item->action == "applyVeskPresetFromMenu:") titles.push_back(item->title);
        return titles;
    };
    EXPECT_EQ(names(), std::vector<std::string>{"Left"});
    EXPECT_EQ(names(), std::vector<std::string>{"Left"});
    // Rewritten in place by someone else, same size: its new time tells.
    std::string text = platform::FileSystem::readFile(file);
    text.replace(text.find("Left"), 4, "Lefx");
    platform::FileSystem::writeFile(file, text);
    EXPECT_EQ(names(), std::vector<std::string>{"Lefx"});
    store("Right", {{0.5, 0, 0.5, 1}});
    EXPECT_EQ(names(), (std::vector<std::string>{"Lefx", "Right"}));
}

TEST_F(PresetGridTest, ADisplayWithoutPresetsGetsNoSection) {
    store("Elsewhere", {{0, 0, 1, 1}}, "2");
    auto menu = platform::ui::Menu::make();
    shell->addVeskPresetMenuSection(*menu, screen(1));
    EXPECT_EQ(menu->numberOfItems(), 0u);
}

TEST_F(PresetGridTest, AMenuSelectionAppliesToTheDisplayItNamesElseToTheSnappingScreen) {
    desk().useLaptopWithExternal();
    const auto onTwo = store("Two", {{0, 0, 0.5, 1}}, "2");
    const auto onOne = store("One", {{0.5, 0, 0.5, 1}}, "1");

    ASSERT_TRUE(pickFromMenu(AppDelegate::VeskPresetMenuSelection{onTwo.id, "2"}));
    EXPECT_EQ(storedSelection("2"), onTwo.id.uuidString());
    EXPECT_TRUE(sameRect(mover->moves.back(), {1440, 0, 960, 1055}));

    mover->moves.clear();
    setWindowFrame({100, 100, 400, 300});
    ASSERT_TRUE(pickFromMenu(AppDelegate::VeskPresetMenuSelection{onOne.id, "Gone-0.0-0.0"}));
    EXPECT_EQ(storedSelection("1"), onOne.id.uuidString());
    EXPECT_TRUE(sameRect(mover->moves.back(), {720, 0, 720, 875}));

    // A preset of another display is not found among the snapping screen's presets.
    mover->moves.clear();
    ASSERT_TRUE(pickFromMenu(AppDelegate::VeskPresetMenuSelection{onTwo.id, "Gone-0.0-0.0"}));
    ASSERT_TRUE(pickFromMenu(onTwo.id));
    ASSERT_TRUE(pickFromMenu(std::string("Two")));
    EXPECT_TRUE(mover->moves.empty());
}

TEST_F(PresetGridTest, SnapBarButtonsApplyBySingleTileIdElseByTag) {
    const auto first = store("First", {{0, 0, 0.5, 1}});
    const auto second = store("Second", {{0.5, 0, 0.5, 1}});
    store("Grid", {{0, 0, 0.5, 1}, {0.5, 0, 0.5, 1}});
    struct Case {
        const char* name;
        std::string identifier;
        long tag;
        std::optional<UUID> applied;
    };
    const Case cases[] = {
        {"not an id, tag -1", "xyz", -1, std::nullopt},
        {"not an id, tag past the end", "xyz", 2, std::nullopt},
        {"tag 0", "xyz", 0, first.id},
        {"the second's id wins over the tag", second.id.uuidString(), 0, second.id},
        {"an unknown id falls back to the tag", UUID().uuidString(), 1, second.id},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        platform::UserDefaults::standard().removeObjectForKey("WMVeskSelectedPresetId.1");
        ASSERT_TRUE(pressTileButton(c.identifier, c.tag));
        if (c.applied) {
            EXPECT_EQ(storedSelection(), c.applied->uuidString());
        } else {
            EXPECT_FALSE(storedSelection().has_value());
        }
    }
}

TEST_F(PresetGridTest, ClearingTheSelectionRemovesTheKeyAndTheTransientLayoutOfEachScreen) {
    const auto p = store("Left", {{0, 0, 0.5, 1}});
    ASSERT_TRUE(pickFromMenu(p.id));
    ASSERT_NE(transientLayout(), nullptr);
    ASSERT_TRUE(send("snapRightHalf"));
    EXPECT_FALSE(storedSelection().has_value());
    EXPECT_EQ(transientLayout(), nullptr);
}

} // namespace
} // namespace tilmora::shelltest
