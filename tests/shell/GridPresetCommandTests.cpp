#include "WindowCommandFixture.hpp"

#include "model/DisplayLayoutMemory.hpp"
#include "model/DisplayPresetGrid.hpp"
#include "model/Settings.hpp"
#include "platform/ui/PopUpButton.hpp"
#include "shell/GridPresetLogText.hpp"
#include "support/SnapGridParts.hpp"

#include <cmath>
#include <limits>

namespace tilmora::shelltest {
namespace {

/// Counts the display-layout memory's captures (each reads the preset of every screen).
class CountingPresetGrid : public DisplayPresetGrid {
public:
    ScreenLayoutEntry::PresetModel loadPreset(const ScreenInfo&) override {
        ++reads;
        return {};
    }
    void applyPreset(const ScreenLayoutEntry::PresetModel&, const ScreenInfo&, bool, bool) override {}
    int reads = 0;
};

class GridPresetCommandTest : public WindowCommandTest {
protected:
    void SetUp() override {
        WindowCommandTest::SetUp();
        DisplayLayoutMemory::shared();
        DisplayLayoutMemory::installGrid(captures);
        newLines();
    }

    bool pickFromPopUp(const RoriDeru::Preset& preset) {
        auto popUp = std::make_shared<platform::ui::PopUpButton>(platform::ui::Rect{0, 0, 100, 20}, false);
        popUp->addItem("grid");
        popUp->itemAt(0)->representedObject = preset;
        popUp->selectItemAt(0);
        return send("selectGridPresetFromPopup:", popUp.get());
    }

    std::shared_ptr<CountingPresetGrid> captures = std::make_shared<CountingPresetGrid>();
};

TEST_F(GridPresetCommandTest, ChoosingAPresetFromTheMenuAppliesMarksAndCapturesIt) {
    auto& grid = shell->roriDeru();
    auto& defaults = platform::UserDefaults::standard();
    const auto laptop = screen(1);
    defaults.set(true, settings::dragRequireOption.key);
    grid.setDragRequireOption(true);
    grid.setSelectedKind(SnapIconKind::leftHalf, laptop);
    const RoriDeru::Preset preset(2, 2, 0, 0);

    ASSERT_TRUE(sendWithObject("selectGridPreset:", preset));
    EXPECT_EQ(grid.activePreset(laptop), preset);
    EXPECT_EQ(grid.loadPreset(laptop), preset);
    EXPECT_FALSE(grid.selectedKind(laptop).has_value());
    EXPECT_TRUE(grid.shouldMarkGridPreset(preset, laptop));
    EXPECT_FALSE(SnapGridParts::switches(grid).dragRequireOption);
    EXPECT_TRUE(defaults.boolForKey(settings::dragRequireOption.key));
    EXPECT_EQ(captures->reads, 1);
    EXPECT_EQ(countContaining(newLines(), "[UI] Selected grid preset via menu: 2×2 gutter=0 padding=0"), 1u);

    // Chosen again while it is active: switched off, captured, not applied again.
    ASSERT_TRUE(sendWithObject("selectGridPreset:", preset));
    EXPECT_FALSE(grid.activePreset(laptop).has_value());
    EXPECT_TRUE(SnapGridParts::overlayLifecycle(grid).overlays().empty());
    EXPECT_FALSE(grid.shouldMarkGridPreset(preset, laptop));
    EXPECT_FALSE(grid.shouldMarkGridPresetInMenu());
    EXPECT_EQ(captures->reads, 2);
}

TEST_F(GridPresetCommandTest, ThePopUpSwitchesOffWithoutCapturingAndTheShortcutAppliesAgain) {
    auto& grid = shell->roriDeru();
    const auto laptop = screen(1);
    const RoriDeru::Preset preset(2, 2, 0, 0);
    ASSERT_TRUE(pickFromPopUp(preset));
    EXPECT_EQ(grid.activePreset(laptop), preset);
    EXPECT_EQ(captures->reads, 1);
    EXPECT_EQ(countContaining(newLines(), "[UI] Selected grid preset via Snap Bar: 2×2 gutter=0 padding=0"), 1u);

    ASSERT_TRUE(pickFromPopUp(preset));
    EXPECT_FALSE(grid.activePreset(laptop).has_value());
    EXPECT_EQ(captures->reads, 1);

    shell->selectGridViaShortcut(2, 2);
    EXPECT_EQ(grid.activePreset(laptop), preset);
    EXPECT_TRUE(grid.shouldMarkGridPreset(preset, laptop));
    // The shortcut never switches off and never captures.
    shell->selectGridViaShortcut(2, 2);
    EXPECT_EQ(grid.activePreset(laptop), preset);
    EXPECT_EQ(captures->reads, 1);
    shell->selectGridViaShortcut(0, -3);
    EXPECT_EQ(grid.activePreset(laptop), RoriDeru::Preset(1, 1, 0, 0));
}

TEST_F(GridPresetCommandTest, AGridPresetClearsThePresetGridSelectionOfItsTargets) {
    auto& defaults = platform::UserDefaults::standard();
    defaults.set(std::string("3F2504E0-4F89-11D3-9A0C-0305E82C3301"), "WMVeskSelectedPresetId.1");
    ASSERT_TRUE(sendWithObject("selectGridPreset:", RoriDeru::Preset(3, 3, 4, 2)));
    EXPECT_FALSE(defaults.objectForKey("WMVeskSelectedPresetId.1").has_value());
    ASSERT_TRUE(sendWithObject("selectGridPreset:", std::string("3x3")));
    EXPECT_EQ(captures->reads, 1);
}

TEST_F(GridPresetCommandTest, WithoutScreensOnlyTheDragSwitchAndTheCaptureRun) {
    desk().removeDisplay(1);
    auto& grid = shell->roriDeru();
    grid.setDragRequireOption(true);
    ASSERT_TRUE(sendWithObject("selectGridPreset:", RoriDeru::Preset(2, 2, 0, 0)));
    EXPECT_FALSE(SnapGridParts::switches(grid).dragRequireOption);
    EXPECT_TRUE(SnapGridParts::overlayLifecycle(grid).activePresets().empty());
}

TEST(GridPresetLogTextTest, GutterAndPaddingPrintTruncatedWhenTheyFitElseAsTheirDoubleText) {
    struct Case {
        double value;
        const char* text;
    };
    const Case cases[] = {
        {0, "0"},
        {7.9, "7"},
        {-0.5, "0"},
        {-7.9, "-7"},
        {12, "12"},
        {9007199254740993.0, "9007199254740992"},
        {1e20, "1e+20"},
        {-1e20, "-1e+20"},
        {std::numeric_limits<double>::infinity(), "inf"},
        {std::nan(""), "nan"},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(GridPresetLogText::wholeNumber(c.value), c.text) << c.value;
    }
}

TEST_F(GridPresetCommandTest, TheLogLineShowsANonFiniteGutterAsItsDoubleText) {
    RoriDeru::Preset preset;
    preset.rows = 2;
    preset.cols = 3;
    preset.gutter = 1e20;
    preset.padding = 7.9;
    ASSERT_TRUE(sendWithObject("selectGridPreset:", preset));
    EXPECT_EQ(countContaining(newLines(), "[UI] Selected grid preset via menu: 2×3 gutter=1e+20 padding=7"), 1u);
}

} // namespace
} // namespace tilmora::shelltest
