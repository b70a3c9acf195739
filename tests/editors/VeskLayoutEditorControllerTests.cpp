#include "PresetEditorFixture.hpp"

#include "model/Settings.hpp"

#include "platform/foundation/Error.hpp"

#include <gtest/gtest.h>

using namespace tilmora;
using editorstest::preset;
using editorstest::tile;

namespace {

class PresetEditorControllerTest : public editorstest::PresetEditorTest {};

std::vector<std::string> names(const std::vector<VeskPreset>& presets) {
    std::vector<std::string> out;
    for (const auto& p : presets)
        out.push_back(p.name);
    return out;
}

std::vector<platform::UUID> tileIds(const VeskLayoutEditorController& c) {
    std::vector<platform::UUID> out;
    for (const auto& t : c.tiles())
        out.push_back(t.id);
    return out;
}

/// Six tiles of a 2 x 3 grid, listed row by row.
std::vector<VeskTile> twoByThree() {
    std::vector<VeskTile> out;
    for (int r = 0; r < 2; ++r)
        for (int c = 0; c < 3; ++c)
            out.push_back(tile("t", {c / 3.0, r * 0.5, 1 / 3.0, 0.5}));
    return out;
}

} // namespace

TEST_F(PresetEditorControllerTest, AnEmptyListBeginsANewThreeByFourGridAndLogsOnlyWhenVerbose) {
    for (bool verbose : {true, false}) {
        SCOPED_TRACE(verbose);
        resetSharedInstances();
        if (verbose) setVerbose(true);
        auto c = make({});
        ASSERT_EQ(c->tiles().size(), 12u);
        EXPECT_EQ(c->tiles()[4].name, "Tile 5");
        EXPECT_EQ(c->tiles()[4].normalisedRect, (Rect{0, 1 / 3.0, 0.25, 1 / 3.0}));
        EXPECT_EQ(c->tiles()[11].normalisedRect, (Rect{0.75, 2 / 3.0, 0.25, 1 / 3.0}));
        EXPECT_EQ(c->selectedTileID(), c->tiles()[0].id);
        EXPECT_EQ(c->editingName(), "New Grid");
        EXPECT_EQ(c->editingKind(), VeskPresetKind::grid);
        EXPECT_EQ(c->statusMessage(), "Creating a new grid preset");
        EXPECT_FALSE(c->editingPresetIsExisting());
        if (verbose) {
            EXPECT_EQ(logLines(), (std::vector<std::string>{"[VESK][EDITOR] init displayId=1 presets=0",
                                                            "[VESK][EDITOR] beginNewGridPreset rows=3 cols=4 tiles=12"}));
            platform::UserDefaults::standard().removeObjectForKey(settings::verboseLogging.key);
            platform::FileSystem::removeItem(*platform::Folders::documents() / "Tilmora_log.txt");
        } else {
            EXPECT_TRUE(logLines().empty());
        }
    }
}

TEST_F(PresetEditorControllerTest, ThePresetsAreSortedAndTheFirstAsPassedIsSelected) {
    auto b = preset("B", 1, VeskPresetKind::singleTile, {tile("Tile 1", {0.1, 0.1, 0.5, 0.5})});
    auto a = preset("A", 0);
    auto c = make({b, a});
    EXPECT_EQ(names(c->presets()), (std::vector<std::string>{"A", "B"}));
    EXPECT_EQ(c->selectedPresetID(), b.id);
    EXPECT_EQ(c->statusMessage(), "Editing \"B\"");
    EXPECT_EQ(c->editingKind(), VeskPresetKind::singleTile);
    EXPECT_EQ(c->tiles(), b.tiles); // a single tile is shown as stored

    // A given selection wins over the first preset.
    VeskLayoutEditorController chosen({b, a}, "1", a.id, nullptr, nullptr);
    EXPECT_EQ(chosen.selectedPresetID(), a.id);
}

TEST_F(PresetEditorControllerTest, SelectingAGridInfersItsDimensionsAndShowsFreshTiles) {
    setVerbose(true);
    auto six = preset("Six", 0, VeskPresetKind::grid, twoByThree());
    // Two halves on top, one full-width tile below: 2 x 2 is not 3.
    auto three = preset("Three", 0, VeskPresetKind::grid,
                        {tile("a", {0, 0, 0.5, 0.5}), tile("b", {0.5, 0, 0.5, 0.5}), tile("c", {0, 0.5, 1, 0.5})});
    auto c = make({three, six});
    EXPECT_EQ(c->gridRows(), 3);
    EXPECT_EQ(c->gridCols(), 4);
    EXPECT_EQ(c->tiles().size(), 12u);

    c->selectPreset(six.id);
    EXPECT_EQ(c->gridRows(), 2);
    EXPECT_EQ(c->gridCols(), 3);
    ASSERT_EQ(c->tiles().size(), 6u);
    for (size_t i = 0; i < 6; ++i)
        EXPECT_NE(c->tiles()[i].id, six.tiles[i].id);
    EXPECT_EQ(c->tiles()[5].name, "Tile 6");
    for (const auto& line : logLines())
        EXPECT_EQ(line.find("syncTilesForGridConfigChange"), std::string::npos) << line;
    EXPECT_EQ(logLines().back(), "[VESK][EDITOR] selectPreset tiles=6 rows=2 cols=3");

    // An unknown id begins a new grid of the dimensions last shown.
    c->selectPreset(platform::UUID());
    EXPECT_EQ(c->selectedPresetID(), std::nullopt);
    EXPECT_EQ(c->tiles().size(), 6u);
    EXPECT_EQ(c->statusMessage(), "Creating a new grid preset");
}

TEST_F(PresetEditorControllerTest, CloseEdgesCollapseOntoTheFirstOfAChain) {
    struct Case {
        std::vector<double> values;
        int expected;
    };
    const std::vector<Case> cases = {
        {{}, 0},
        {{0.0, 0.0004, 0.0008}, 2},
        {{0.3333, 0.3336}, 1},
        {{0.5, 0.0, 0.25, 0.75}, 4},
        {{0.0, 0.0005}, 1}, // the distance must be greater than 0.0005
        {{0.0, 0.0005, 0.0010, 0.0015}, 2},
    };
    for (const auto& c : cases)
        EXPECT_EQ(VeskLayoutEditorController::uniqueCount(c.values), c.expected) << ::testing::PrintToString(c.values);
    EXPECT_EQ(VeskLayoutEditorController::inferGridDimensions({}), std::nullopt);
    EXPECT_EQ(VeskLayoutEditorController::inferGridDimensions(twoByThree()), (std::pair{2, 3}));
}

TEST_F(PresetEditorControllerTest, SavingANewPresetMakesItsNameUniqueAndSortsItLast) {
    struct Case {
        const char* field;
        std::vector<std::string> existing;
        const char* stored;
    };
    const std::vector<Case> cases = {
        {" Work ", {"work"}, "Work 2"},
        {" Work ", {"work", "Work 2"}, "Work 3"},
        {"Home", {"work"}, "Home"},
        {"\tWORK 2\n", {"work 2"}, "WORK 2 2"},
    };
    for (const auto& k : cases) {
        SCOPED_TRACE(k.field);
        saved.clear();
        std::vector<VeskPreset> list;
        for (const auto& n : k.existing)
            list.push_back(preset(n));
        auto c = make(list);
        c->beginNewGridPreset();
        c->setEditingName(k.field);
        c->saveCurrentPreset();
        ASSERT_EQ(saved.size(), 1u);
        EXPECT_EQ(saved[0].name, k.stored);
        EXPECT_EQ(saved[0].sortOrder, 1);
        EXPECT_EQ(saved[0].displayId, "1");
        EXPECT_EQ(saved[0].tiles.size(), c->tiles().size());
        EXPECT_EQ(c->editingName(), k.stored);
        EXPECT_EQ(c->presets().back().name, k.stored);
        EXPECT_EQ(c->selectedPresetID(), saved[0].id);
        EXPECT_EQ(c->statusMessage(), std::string("Saved the new preset \"") + k.stored + "\"");
    }
}

TEST_F(PresetEditorControllerTest, ReSavingKeepsNameOrderAndPlaceAndTheSecondNewPresetIsListedLast) {
    auto a = preset("Alpha"), b = preset("Beta");
    auto c = make({a, b});
    c->selectPreset(b.id);
    c->saveCurrentPreset();
    ASSERT_EQ(saved.size(), 1u);
    EXPECT_EQ(saved[0].id, b.id);
    EXPECT_EQ(saved[0].name, "Beta");
    EXPECT_EQ(saved[0].sortOrder, 0);
    EXPECT_EQ(names(c->presets()), (std::vector<std::string>{"Alpha", "Beta"}));
    EXPECT_EQ(c->statusMessage(), "Updated the preset \"Beta\"");

    // Renaming onto another preset's name is made unique; the preset keeps its id.
    c->setEditingName("alpha");
    c->saveCurrentPreset();
    EXPECT_EQ(saved.back().name, "alpha 2");
    EXPECT_EQ(saved.back().id, b.id);

    c->beginNewSingleTilePreset();
    c->setEditingName("First");
    c->saveCurrentPreset();
    c->beginNewGridPreset();
    c->setEditingName("Second");
    c->saveCurrentPreset();
    EXPECT_EQ(saved.back().sortOrder, 2);
    EXPECT_EQ(names(c->presets()), (std::vector<std::string>{"Alpha", "alpha 2", "First", "Second"}));
    EXPECT_EQ(c->presets()[2].kind, VeskPresetKind::singleTile);
}

TEST_F(PresetEditorControllerTest, AFailingClosureReportsAndChangesNothingElse) {
    setVerbose(true);
    auto work = preset("work");
    VeskLayoutEditorController c(
        {work}, "1", std::nullopt, [](const VeskPreset&) { throw platform::Error("disk full"); },
        [](const platform::UUID&) { throw platform::Error("read-only"); });
    c.beginNewGridPreset();
    c.setEditingName(" Work ");
    const auto tilesBefore = c.tiles();
    c.saveCurrentPreset();
    EXPECT_EQ(c.statusMessage(), "Failed to save preset: disk full");
    EXPECT_EQ(names(c.presets()), std::vector<std::string>{"work"});
    EXPECT_EQ(c.selectedPresetID(), std::nullopt);
    EXPECT_EQ(c.tiles(), tilesBefore);
    EXPECT_EQ(c.editingName(), "Work 2");
    EXPECT_EQ(logLines().back().rfind("[VESK][EDITOR] save failed (new) id=", 0), 0u);

    c.selectPreset(work.id);
    c.saveCurrentPreset();
    EXPECT_EQ(c.statusMessage(), "Failed to save preset: disk full");
    EXPECT_EQ(logLines().back(), "[VESK][EDITOR] save failed (update) id=" + work.id.uuidString() + " error=disk full");

    const auto tilesSelected = c.tiles();
    c.deleteCurrentPreset();
    EXPECT_EQ(c.statusMessage(), "Failed to delete preset: read-only");
    EXPECT_EQ(c.presets().size(), 1u);
    EXPECT_EQ(c.selectedPresetID(), work.id);
    EXPECT_EQ(c.tiles(), tilesSelected);
}

TEST_F(PresetEditorControllerTest, AValidationFailureSavesNothing) {
    for (const char* name : {"  \n", "", "\t"}) {
        saved.clear();
        auto c = make({});
        c->setEditingName(name);
        EXPECT_FALSE(c->canSave());
        c->saveCurrentPreset();
        EXPECT_TRUE(saved.empty());
        EXPECT_EQ(c->statusMessage(), "Enter a name and add at least one tile.");
    }
}

TEST_F(PresetEditorControllerTest, GridSizeAndKindWritesKeepTheTilesInStep) {
    setVerbose(true);
    auto c = make({});
    c->setGridRows(2);
    EXPECT_EQ(c->tiles().size(), 8u);
    EXPECT_EQ(c->selectedTileID(), c->tiles()[0].id);
    EXPECT_EQ(logLines().back(), "[VESK][EDITOR] syncTilesForGridConfigChange rows=2 cols=4 tiles=8");
    const auto ids = tileIds(*c);
    const size_t lines = logLines().size();
    c->setGridRows(2); // the same value
    EXPECT_EQ(tileIds(*c), ids);
    EXPECT_EQ(logLines().size(), lines);

    c->setSelectedTileID(c->tiles()[2].id);
    const VeskTile third = c->tiles()[2];
    c->setEditingKind(VeskPresetKind::singleTile);
    EXPECT_EQ(c->tiles(), std::vector<VeskTile>{third});
    EXPECT_EQ(c->selectedTileID(), third.id);
    c->setGridCols(6); // ignored while a single tile is edited
    EXPECT_EQ(c->tiles(), std::vector<VeskTile>{third});
    EXPECT_EQ(logLines().size(), lines);

    c->setEditingKind(VeskPresetKind::grid);
    EXPECT_EQ(c->tiles().size(), 12u); // a fresh 2 x 6
    EXPECT_NE(c->tiles()[2].id, third.id);

    // A selection naming no tile keeps the first tile; no tiles at all gets a new default tile.
    c->setSelectedTileID(platform::UUID());
    const auto first = c->tiles()[0];
    c->setEditingKind(VeskPresetKind::singleTile);
    EXPECT_EQ(c->tiles(), std::vector<VeskTile>{first});
}

TEST_F(PresetEditorControllerTest, AHugeGridCountDrawsAtTheCap) {
    auto c = make({});
    c->setGridRows(1'000'000'000L);
    EXPECT_EQ(c->gridRows(), 1'000'000'000L);
    EXPECT_EQ(c->tiles().size(), size_t(VeskLayoutEditorController::maxGridCount * 4));
    c->setGridRows(0);
    EXPECT_EQ(c->tiles().size(), 4u); // counts below 1 draw as 1
}

TEST_F(PresetEditorControllerTest, DeletingSelectsTheNeighbourOrBeginsANewGrid) {
    auto a = preset("A"), b = preset("B"), x = preset("C");
    auto c = make({a, b, x});
    c->selectPreset(x.id);
    c->deleteCurrentPreset();
    EXPECT_EQ(deleted, std::vector<platform::UUID>{x.id});
    EXPECT_EQ(c->selectedPresetID(), b.id);
    EXPECT_EQ(c->statusMessage(), "Deleted the preset \"C\"");

    // From a row's menu: the row's preset, whatever is selected; the selection moves to its index.
    c->selectPreset(b.id);
    c->deletePresetWithId(a.id);
    EXPECT_EQ(c->selectedPresetID(), b.id);
    EXPECT_EQ(c->statusMessage(), "Deleted the preset \"A\"");

    c->deleteCurrentPreset();
    EXPECT_TRUE(c->presets().empty());
    EXPECT_EQ(c->selectedPresetID(), std::nullopt);
    EXPECT_EQ(c->editingName(), "New Grid");
    EXPECT_EQ(c->statusMessage(), "Deleted the preset \"B\"");

    deleted.clear();
    c->deleteCurrentPreset();
    EXPECT_EQ(c->statusMessage(), "There is no preset to delete.");
    c->deletePresetWithId(platform::UUID());
    EXPECT_EQ(c->statusMessage(), "There is no preset to delete.");
    EXPECT_TRUE(deleted.empty());
}

TEST_F(PresetEditorControllerTest, DeletingWhileANewPresetIsEditedSelectsTheFirstInstead) {
    auto a = preset("A"), b = preset("B");
    auto c = make({a, b});
    c->beginNewSingleTilePreset();
    c->deleteCurrentPreset();
    EXPECT_TRUE(deleted.empty());
    EXPECT_EQ(c->selectedPresetID(), a.id);
    EXPECT_EQ(c->presets().size(), 2u);
}

TEST_F(PresetEditorControllerTest, ADrawnTileReplacesTheSingleTileOnly) {
    auto c = make({});
    const auto gridTiles = c->tiles();
    c->addTileFromDrag({0.1, 0.1, 0.2, 0.1});
    EXPECT_EQ(c->tiles(), gridTiles);

    c->beginNewSingleTilePreset();
    EXPECT_EQ(c->tiles().size(), 1u);
    EXPECT_EQ(c->tiles()[0].normalisedRect, (Rect{0.05, 0.05, 0.9, 0.9}));
    EXPECT_EQ(c->statusMessage(), "Creating a new single-tile preset");
    c->addTileFromDrag({0.1, 0.1, 0.2, 0.1});
    ASSERT_EQ(c->tiles().size(), 1u);
    EXPECT_EQ(c->tiles()[0].name, "Tile 2");
    EXPECT_EQ(c->tiles()[0].normalisedRect, (Rect{0.1, 0.1, 0.2, 0.1}));
    EXPECT_EQ(c->selectedTileID(), c->tiles()[0].id);
}

TEST_F(PresetEditorControllerTest, EveryPublishedWriteTellsTheObservers) {
    auto c = make({});
    int told = 0;
    c->subscribe([&] { ++told; });
    c->setEditingName("x");
    EXPECT_EQ(told, 1);
    c->setGridRows(2); // the row count, the tiles and the selection
    EXPECT_EQ(told, 4);
}
