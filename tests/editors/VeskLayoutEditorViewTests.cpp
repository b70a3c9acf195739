#include "PresetEditorFixture.hpp"

#include "editors/VeskLayoutEditorHost.hpp"
#include "editors/VeskLayoutEditorView.hpp"
#include "editors/VeskPresetCanvas.hpp"
#include "model/LocalizationManager.hpp"

#include "platform/control/ViewDriver.hpp"
#include "platform/foundation/NotificationCenter.hpp"
#include "platform/ui/declarative/Elements.hpp"

#include <gtest/gtest.h>

using namespace tilmora;
using editorstest::preset;
using editorstest::tile;
namespace dv = platform::ui::declarative;
namespace ui = platform::ui;

namespace {

const std::string window = "Built-in Retina Display";

/// Every text under `n`, in document order.
std::vector<std::string> textsUnder(const dv::Node& n) {
    std::vector<std::string> out;
    if (n.kind == dv::NodeKind::text) out.push_back(n.text);
    for (const auto& c : n.children)
        for (auto& t : textsUnder(*c.node()))
            out.push_back(t);
    return out;
}

void expectRectNear(const Rect& actual, const Rect& expected) {
    EXPECT_NEAR(actual.x, expected.x, 1e-9);
    EXPECT_NEAR(actual.y, expected.y, 1e-9);
    EXPECT_NEAR(actual.width, expected.width, 1e-9);
    EXPECT_NEAR(actual.height, expected.height, 1e-9);
}

/// A preset editor test that hosts a view over a controller and drives it.
class HostedPresetEditorTest : public editorstest::PresetEditorTest {
protected:
    void show(std::shared_ptr<dv::ViewBase> view, double width, double height) {
        host = std::make_unique<dv::HostingView>(std::move(view), ui::Rect{0, 0, width, height});
        driver = std::make_unique<dv::ViewDriver>(*host);
    }
    void TearDown() override {
        driver.reset();
        host.reset();
        editorstest::PresetEditorTest::TearDown();
    }

    std::shared_ptr<VeskLayoutEditorController> controller;
    std::unique_ptr<dv::HostingView> host;
    std::unique_ptr<dv::ViewDriver> driver;
};

/// The preset editor window's content over a controller, 1100 x 720 points.
class PresetEditorWindowTest : public HostedPresetEditorTest {
protected:
    void open(std::vector<VeskPreset> presets) {
        controller = make(std::move(presets));
        root = std::make_shared<VeskLayoutEditorHost>(controller, window, 1440.0 / 875.0);
        show(root, 1100, 720);
    }
    std::shared_ptr<VeskLayoutEditorView> editorView() const {
        return std::dynamic_pointer_cast<VeskLayoutEditorView>(
            host->tree().node()->children[0].node()->component);
    }

    std::shared_ptr<VeskLayoutEditorHost> root;
};

/// The canvas alone over a controller, sized `width` x `height` points.
class PresetCanvasTest : public HostedPresetEditorTest {
protected:
    void open(double width, double height) {
        controller = make({});
        canvas = std::make_shared<VeskPresetCanvas>(controller, width / height, 0);
        show(canvas, width, height);
    }

    std::shared_ptr<VeskPresetCanvas> canvas;
};

} // namespace

TEST_F(PresetEditorWindowTest, AnEmptyListShowsItsHintAndOnlySaveCanBePressed) {
    open({});
    auto& d = *driver;
    EXPECT_TRUE(d.hasText("Presets for Built-in Retina Display"));
    EXPECT_TRUE(d.hasText("No presets yet."));
    EXPECT_TRUE(d.hasText("Creating a new grid preset"));
    EXPECT_FALSE(d.isEnabled("Delete Preset"));
    EXPECT_TRUE(d.isEnabled("Save Preset"));
    EXPECT_TRUE(d.isEnabled("inspector.rows"));
    EXPECT_TRUE(d.hasText("Rows: 3"));
    EXPECT_NEAR(d.find("canvas")->layoutFrame.width() / d.find("canvas")->layoutFrame.height(),
                1440.0 / 875.0, 1e-9);

    EXPECT_TRUE(d.type("inspector.name", "  "));
    EXPECT_FALSE(d.isEnabled("Save Preset"));
    EXPECT_TRUE(d.commit("inspector.name"));
    EXPECT_TRUE(d.hasText("Enter a name and add at least one tile."));
    EXPECT_TRUE(saved.empty());
}

TEST_F(PresetEditorWindowTest, KindsAreLabelledInTheRowAndTheInspector) {
    auto single = preset("Corner", 0, VeskPresetKind::singleTile, {tile("Tile 1", {0.05, 0.05, 0.9, 0.9})});
    auto grid =
        preset("Halves", 0, VeskPresetKind::grid, {tile("a", {0, 0, 0.5, 1}), tile("b", {0.5, 0, 0.5, 1})});
    open({single, grid});
    auto& d = *driver;
    struct Case {
        VeskPreset preset;
        const char* badge;
        const char* type;
        bool steppers;
        const char* rows;
        const char* cols;
    };
    // The single tile keeps the dimensions shown before (3 x 4); the grid is inferred as 1 x 2.
    for (const auto& c : std::vector<Case>{{single, "Tile", "Single Tile", false, "Rows: 3", "Columns: 4"},
                                           {grid, "Grid", "Grid", true, "Rows: 1", "Columns: 2"}}) {
        SCOPED_TRACE(c.preset.name);
        EXPECT_TRUE(d.click("presets.row." + c.preset.id.uuidString()));
        auto row = textsUnder(*d.find("presets.row." + c.preset.id.uuidString()));
        EXPECT_EQ(row, (std::vector<std::string>{c.preset.name, c.badge}));
        EXPECT_TRUE(d.hasText(c.type));
        EXPECT_EQ(d.isEnabled("inspector.rows"), c.steppers);
        EXPECT_EQ(d.isEnabled("inspector.cols"), c.steppers);
        EXPECT_TRUE(d.isEnabled("Delete Preset"));
        EXPECT_TRUE(d.hasText(c.rows));
        EXPECT_TRUE(d.hasText(c.cols));
    }
    // Back on the single tile: the steppers show the grid's dimensions and cannot be worked.
    EXPECT_TRUE(d.click("presets.row." + single.id.uuidString()));
    EXPECT_TRUE(d.hasText("x 0.050  y 0.050  w 0.900  h 0.900"));
    EXPECT_TRUE(d.hasText("Rows: 1"));
    EXPECT_FALSE(d.step("inspector.rows", +1));
}

TEST_F(PresetEditorWindowTest, ARowsMenuDeletesThatRowsPresetAndSelectsItsNeighbour) {
    auto a = preset("A"), b = preset("B"), c = preset("C");
    open({a, b, c});
    auto& d = *driver;
    EXPECT_EQ(controller->selectedPresetID(), a.id);
    EXPECT_TRUE(d.contextMenuItem("presets.row." + c.id.uuidString(), "Delete Preset"));
    EXPECT_EQ(deleted, std::vector<platform::UUID>{c.id});
    EXPECT_EQ(controller->selectedPresetID(), b.id);
    EXPECT_TRUE(d.hasText("Deleted the preset \"C\""));
    EXPECT_FALSE(d.exists("presets.row." + c.id.uuidString()));
}

TEST_F(PresetEditorWindowTest, TileDetailsFollowTheSelection) {
    auto empty = preset("Empty", 0, VeskPresetKind::singleTile, {});
    open({empty});
    auto& d = *driver;
    EXPECT_TRUE(d.hasText("Drag on the canvas to draw a tile."));
    EXPECT_TRUE(d.hasText("Draw a Tile")); // the canvas hint while there is no tile
    EXPECT_FALSE(d.isEnabled("Save Preset"));

    controller->beginNewSingleTilePreset();
    host->rebuildIfNeeded();
    EXPECT_TRUE(d.hasText("x 0.050  y 0.050  w 0.900  h 0.900"));
    EXPECT_FALSE(d.hasText("Draw a Tile"));
    controller->setSelectedTileID(platform::UUID());
    host->rebuildIfNeeded();
    EXPECT_TRUE(d.hasText("Select a tile to see its details."));
}

TEST_F(PresetEditorWindowTest, TheConsoleWalkThroughSavesAndUpdates) {
    open({});
    auto& d = *driver;
    EXPECT_TRUE(d.step("inspector.rows", -1));
    EXPECT_TRUE(d.hasText("Rows: 2"));
    EXPECT_TRUE(d.type("inspector.name", "Two rows"));
    EXPECT_TRUE(d.commit("inspector.name"));
    EXPECT_TRUE(d.hasText("Saved the new preset \"Two rows\""));
    ASSERT_EQ(saved.size(), 1u);
    EXPECT_EQ(saved[0].tiles.size(), 8u);
    EXPECT_EQ(textsUnder(*d.find("presets.row." + saved[0].id.uuidString())),
              (std::vector<std::string>{"Two rows", "Grid"}));
    EXPECT_TRUE(d.click("Save Preset"));
    EXPECT_TRUE(d.hasText("Updated the preset \"Two rows\""));

    EXPECT_TRUE(d.click("New Tile"));
    EXPECT_TRUE(d.drag("canvas", {40, 40}, {200, 150}));
    ASSERT_EQ(controller->tiles().size(), 1u);
    EXPECT_EQ(controller->tiles()[0].name, "Tile 2");
    EXPECT_TRUE(d.exists("tile." + controller->tiles()[0].id.uuidString()));
    EXPECT_TRUE(d.click("Save Preset"));
    ASSERT_EQ(saved.size(), 3u);
    EXPECT_EQ(saved[2].name, "New Tile");
    EXPECT_EQ(saved[2].kind, VeskPresetKind::singleTile);
}

TEST_F(PresetEditorWindowTest, ALanguageChangeLooksEveryTextUpAgain) {
    open({});
    platform::NotificationCenter::defaultCenter().post(LocalizationManager::languageDidChange);
    platform::NotificationCenter::defaultCenter().post(LocalizationManager::languageDidChange);
    host->rebuildIfNeeded();
    EXPECT_EQ(editorView()->localizationVersion.get(), 2);

    LocalizationManager::shared().setSelectedLanguageCode(std::optional<std::string>("de"));
    host->rebuildIfNeeded();
    EXPECT_EQ(editorView()->localizationVersion.get(), 3);
    EXPECT_TRUE(driver->hasText("Vorlagen für Built-in Retina Display"));
    EXPECT_TRUE(driver->exists("Neues Raster"));
}

TEST_F(PresetEditorWindowTest, ATranslationWhoseConversionDoesNotFitShowsUnfilled) {
    auto root = *platform::Folders::documents() / "res";
    platform::FileSystem::createDirectories(root / "Locales.bundle" / "en.lproj");
    platform::FileSystem::writeFile(root / "Locales.bundle" / "en.lproj" / "Localizable.strings",
                                    "\"layoutEditor.header.titleFormat\" = \"Presets for %d\";\n"
                                    "\"layoutEditor.inspector.rowsFormat\" = \"Rows: %@ of %@\";\n"
                                    "\"layoutEditor.tile.numberedFormat\" = \"Tile %f\";\n");
    platform::BundleControl::setResourceDirectory(root);
    open({});
    EXPECT_TRUE(driver->hasText("Presets for %d"));
    EXPECT_TRUE(driver->hasText("Rows: %@ of %@"));
    EXPECT_EQ(controller->tiles()[0].name, "Tile 1.000000"); // an integer fills %f
}

TEST_F(PresetEditorWindowTest, TheShellsHookHostsTheEditorOfItsRequest) {
    auto a = preset("A"), b = preset("B");
    EditorWindowHooks::PresetEditorRequest request;
    request.presets = {a, b};
    request.displayId = "2";
    request.selectedPresetID = b.id;
    request.onSavePreset = [this](const VeskPreset& p) { saved.push_back(p); };
    request.displayName = "Studio Display";
    request.previewAspectRatio = 0; // no visible height: 16/9
    auto content =
        std::dynamic_pointer_cast<dv::HostingController>(VeskLayoutEditorHost::controllerForRequest(request));
    ASSERT_NE(content, nullptr);
    auto& view = content->hostingView();
    view.setFrame({0, 0, 1100, 720});
    dv::ViewDriver d(view);
    EXPECT_TRUE(d.hasText("Presets for Studio Display"));
    EXPECT_TRUE(d.hasText("Editing \"B\""));
    EXPECT_NEAR(d.find("canvas")->layoutFrame.width() / d.find("canvas")->layoutFrame.height(), 16.0 / 9.0,
                1e-9);
    EXPECT_TRUE(d.click("New Grid"));
    EXPECT_TRUE(d.click("Save Preset"));
    ASSERT_EQ(saved.size(), 1u);
    EXPECT_EQ(saved[0].displayId, "2");
}

TEST_F(PresetCanvasTest, DrawingASingleTileByDrag) {
    open(1000, 500);
    controller->beginNewSingleTilePreset();
    auto& d = *driver;
    ASSERT_EQ(d.find("canvas")->layoutFrame.size, (ui::Size{1000, 500}));

    // During the drag the preview spans the press point to the current point.
    canvas->dragChanged({100, 100}, {1000, 500});
    canvas->dragChanged({300, 50}, {1000, 500});
    host->rebuildIfNeeded();
    auto* preview = d.find("canvas.preview");
    ASSERT_NE(preview, nullptr);
    EXPECT_NEAR(preview->layoutFrame.origin.x, 100, 1e-9);
    EXPECT_NEAR(preview->layoutFrame.origin.y, 50, 1e-9);
    EXPECT_NEAR(preview->layoutFrame.width(), 200, 1e-9);
    EXPECT_NEAR(preview->layoutFrame.height(), 50, 1e-9);
    EXPECT_EQ(preview->fill, ui::Color::blueColor().withAlphaComponent(0.25));
    EXPECT_EQ(preview->stroke->color, ui::Color::blueColor());
    EXPECT_EQ(preview->stroke->lineWidth, 2);
    canvas->dragEnded({300, 50}, {1000, 500});
    host->rebuildIfNeeded();
    EXPECT_FALSE(d.exists("canvas.preview"));

    struct Case {
        const char* name;
        ui::Point from, to;
        std::optional<Rect> added;
    };
    const std::vector<Case> cases = {
        {"inside", {100, 100}, {300, 50}, Rect{0.1, 0.1, 0.2, 0.1}},
        {"leaving the canvas", {500, 250}, {-40, 600}, Rect{0, 0.5, 0.5, 0.5}},
        {"exactly 0.02 wide", {0, 0}, {20, 400}, std::nullopt},
        {"0.01 high", {100, 100}, {600, 105}, std::nullopt},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        controller->beginNewSingleTilePreset();
        const auto before = controller->tiles();
        EXPECT_TRUE(d.drag("canvas", c.from, c.to));
        EXPECT_EQ(controller->dragStart(), std::nullopt);
        EXPECT_EQ(controller->dragCurrent(), std::nullopt);
        if (c.added) {
            ASSERT_EQ(controller->tiles().size(), 1u);
            expectRectNear(controller->tiles()[0].normalisedRect, *c.added);
            EXPECT_EQ(controller->tiles()[0].name, "Tile 2");
            EXPECT_EQ(controller->selectedTileID(), controller->tiles()[0].id);
        } else {
            EXPECT_EQ(controller->tiles(), before);
        }
    }
}

TEST_F(PresetCanvasTest, ADragOnAGridChangesNothing) {
    open(1000, 500);
    const auto before = controller->tiles();
    canvas->dragChanged({100, 100}, {1000, 500});
    EXPECT_EQ(controller->dragStart(), std::nullopt);
    controller->setDragStart(platform::CGPoint{0.1, 0.1}); // left over from a single tile
    EXPECT_TRUE(driver->drag("canvas", {100, 100}, {400, 300}));
    EXPECT_EQ(controller->tiles(), before);
    EXPECT_EQ(controller->dragStart(), std::nullopt);
    EXPECT_EQ(controller->dragCurrent(), std::nullopt);
    EXPECT_FALSE(driver->exists("canvas.preview"));
}

TEST_F(PresetCanvasTest, PointsAreNormalisedAndClamped) {
    struct Case {
        ui::Point location;
        ui::Size size;
        platform::CGPoint expected;
    };
    const std::vector<Case> cases = {
        {{100, 100}, {1000, 500}, {0.1, 0.2}}, {{-40, 600}, {1000, 500}, {0, 1}},
        {{500, 250}, {0, 500}, {0, 0}},        {{500, 250}, {1000, -1}, {0, 0}},
        {{2000, -5}, {1000, 500}, {1, 0}},
    };
    for (const auto& c : cases)
        EXPECT_EQ(VeskPresetCanvas::normalisedPoint(c.location, c.size), c.expected)
            << c.location.x << "," << c.location.y << " in " << c.size.width << "x" << c.size.height;
}

TEST_F(PresetCanvasTest, GridLinesIncludeTheBorders) {
    struct Case {
        long rows, cols;
        size_t horizontal, vertical;
    };
    for (const auto& c : std::vector<Case>{{3, 4, 4, 5}, {1, 1, 2, 2}, {0, 1, 2, 2}, {12, 12, 13, 13}}) {
        auto segments = VeskPresetCanvas::gridLines(c.rows, c.cols, {1000, 500}).lineSegments();
        size_t h = 0, v = 0;
        for (const auto& [a, b] : segments) {
            if (a.y == b.y && a.x == 0 && b.x == 1000) ++h;
            if (a.x == b.x && a.y == 0 && b.y == 500) ++v;
        }
        EXPECT_EQ(segments.size(), c.horizontal + c.vertical);
        EXPECT_EQ(h, c.horizontal) << c.rows << "x" << c.cols;
        EXPECT_EQ(v, c.vertical) << c.rows << "x" << c.cols;
    }
    open(1000, 500);
    auto* grid = driver->find("canvas.grid");
    ASSERT_NE(grid, nullptr);
    EXPECT_EQ(grid->stroke->color, ui::Color::grayColor().withAlphaComponent(0.4));
    EXPECT_EQ(grid->stroke->lineWidth, 0.5);
}

TEST_F(PresetCanvasTest, TilesAreStyledByKindAndATapSelectsThem) {
    open(1000, 500);
    auto& d = *driver;
    const auto tiles = controller->tiles();
    auto* first = d.find("tile." + tiles[0].id.uuidString());
    auto* second = d.find("tile." + tiles[1].id.uuidString());
    ASSERT_TRUE(first && second);
    EXPECT_EQ(first->stroke->color, ui::Color::controlAccentColor());
    EXPECT_EQ(first->stroke->lineWidth, 2);
    EXPECT_EQ(second->stroke->color, ui::Color::clearColor());
    EXPECT_EQ(second->stroke->lineWidth, 1);
    EXPECT_EQ(first->fill, second->fill);
    EXPECT_EQ(second->layoutFrame.origin, (ui::Point{250, 0}));
    EXPECT_NEAR(second->layoutFrame.height(), 500.0 / 3, 1e-9);

    EXPECT_TRUE(d.tap("canvas", {600, 400})); // row 3, column 3
    EXPECT_EQ(controller->selectedTileID(), tiles[10].id);

    controller->beginNewSingleTilePreset();
    controller->setSelectedTileID(std::nullopt);
    host->rebuildIfNeeded();
    const auto id = controller->tiles()[0].id;
    auto* single = d.find("tile." + id.uuidString());
    ASSERT_NE(single, nullptr);
    EXPECT_EQ(single->fill, ui::Color::blueColor().withAlphaComponent(0.22));
    EXPECT_EQ(single->stroke->color, ui::Color::whiteColor().withAlphaComponent(0.7));
    EXPECT_TRUE(d.click("tile." + id.uuidString()));
    EXPECT_EQ(controller->selectedTileID(), id);
    EXPECT_EQ(d.find("tile." + id.uuidString())->fill, ui::Color::blueColor().withAlphaComponent(0.35));
}
