#include "SnapBarFixture.hpp"

#include "platform/control/AnimationJournal.hpp"
#include "platform/control/SimInput.hpp"
#include "platform/foundation/Uuid.hpp"

#include <gtest/gtest.h>

namespace tilmora::testing {
namespace {

using platform::CGRect;

TEST(SnapBarLayoutMath, WidestBarAndColumns) {
    struct Case {
        double frameWidth;
        double widest;
    };
    for (const Case& c : {Case{1440, 1392}, Case{300, 320}, Case{368, 320}, Case{369, 321}}) {
        EXPECT_EQ(SnapBarController::maxWidth({0, 0, c.frameWidth, 800}), c.widest) << c.frameWidth;
    }
    struct Columns {
        double width;
        std::size_t columns;
    };
    for (const Columns& c : {Columns{400, 11}, Columns{120, 3}, Columns{0, 1}, Columns{27, 1}, Columns{64, 2}}) {
        EXPECT_EQ(SnapBarController::gridColumns(c.width), c.columns) << c.width;
    }
}

TEST_F(SnapBarTest, IconGridFollowsTheRoomForIcons) {
    // 1440 wide: 1392 - 24 - the controls' width leaves many columns; a 300-wide frame leaves 120.
    struct Case {
        double frameWidth;
        std::size_t columns;
        std::size_t rows;
    };
    bar->show(screenAt(0), target);
    const auto controls = [&] {
        double sum = 0;
        for (const auto& b : {bar->snappingToggleButton(), bar->mcToggleButton(), bar->smToggleButton(),
                              bar->closeButton()})
            sum += b->fittingSize().width;
        return std::max(sum + 8 * 5, 240.0);
    }();
    const double room = 1392 - 24 - controls;
    const auto grid = bar->iconGrid();
    ASSERT_TRUE(grid);
    EXPECT_EQ(grid->numberOfColumns(), SnapBarController::gridColumns(room));
    EXPECT_EQ(grid->rowSpacing, 6);
    EXPECT_EQ(grid->columnSpacing, 8);

    platform::SimDesktop::clear();
    addDisplay(1, {0, 0, 300, 900});
    bar->refreshVeskPresetButtons();
    const auto narrow = bar->iconGrid();
    ASSERT_TRUE(narrow);
    ASSERT_EQ(narrow->numberOfColumns(), 3u);
    ASSERT_EQ(narrow->numberOfRows(), 11u);
    EXPECT_EQ(narrow->cellView(0, 10), bar->iconButtons()[30]);
    EXPECT_NE(narrow->cellView(1, 10), nullptr);
    EXPECT_EQ(std::dynamic_pointer_cast<platform::ui::Button>(narrow->cellView(1, 10)), nullptr);
    // The placeholder is gone, and the grid is the row's first view.
    EXPECT_EQ(bar->window()->contentView()->findByIdentifier("grid-placeholder"), nullptr);
}

TEST_F(SnapBarTest, ButtonsInBarOrderSendTheirSelectors) {
    bar->show(screenAt(0), target);
    const auto& buttons = bar->iconButtons();
    ASSERT_EQ(buttons.size(), 31u);
    for (std::size_t i = 0; i < buttons.size(); ++i) {
        EXPECT_EQ(buttons[i]->tag, static_cast<long>(i));
        EXPECT_EQ(buttons[i]->action, snapBarItems()[i].selector);
        EXPECT_EQ(buttons[i]->widthConstraint, 28);
    }
    struct Case {
        std::size_t index;
        const char* selector;
        const char* tooltip;
    };
    for (const Case& c : {Case{17, "snapMaximize", "Maximize the window"}, Case{18, "snapAlmostMaximise", nullptr},
                          Case{0, "snapLeftHalf", "Snap the window to the left half"},
                          Case{13, "snapCenterHalf", nullptr}, Case{30, "snapBottomRightSixth", nullptr}}) {
        EXPECT_EQ(buttons[c.index]->action, c.selector);
        if (c.tooltip) {
            EXPECT_EQ(buttons[c.index]->toolTip, c.tooltip);
        }
    }
    ASSERT_TRUE(platform::ui::UISimulator::click(*buttons[0]));
    ASSERT_TRUE(platform::ui::UISimulator::click(*bar->closeButton()));
    EXPECT_EQ(bar->closeButton()->title, "\u2715");
    EXPECT_EQ(target->received, (std::vector<std::string>{"snapLeftHalf", "disableSnapBarFromCloseButton"}));
}

TEST_F(SnapBarTest, ShowSlidesInAndHideSlidesOut) {
    showFixed();
    const auto panel = bar->window();
    EXPECT_EQ(panel->styleMask(), platform::ui::StyleMask::nonactivatingPanel);
    EXPECT_EQ(panel->level(), platform::ui::WindowLevel::floating);
    EXPECT_EQ(panel->collectionBehavior, 17u);
    EXPECT_EQ(panel->frame(), (CGRect{320, 808, 800, 44}));

    // A fresh slide-in starts just above the visible frame at alpha 0 and ends after 0.16 s.
    bar->show(screenAt(0), target);
    EXPECT_EQ(panel->frame(), (CGRect{320, 880, 800, 44}));
    EXPECT_EQ(panel->alphaValue(), 0);
    EXPECT_TRUE(panel->isVisible());
    sim().runFor(0.15);
    EXPECT_TRUE(bar->isAnimating());
    sim().runFor(0.02);
    EXPECT_FALSE(bar->isAnimating());
    EXPECT_EQ(panel->frame(), (CGRect{320, 808, 800, 44}));
    EXPECT_EQ(panel->alphaValue(), 1);

    bar->hide();
    EXPECT_TRUE(panel->isVisible());
    sim().runFor(0.11);
    EXPECT_TRUE(panel->isVisible());
    sim().runFor(0.02);
    EXPECT_FALSE(panel->isVisible());
    EXPECT_EQ(panel->frame().minY(), 880);
    EXPECT_EQ(panel->alphaValue(), 0);
    EXPECT_FALSE(bar->hasMouseMonitor());
    EXPECT_FALSE(bar->hasClickMonitor());
    EXPECT_FALSE(bar->hasAppSwitchObserver());

    // The slide-in eases out, the slide-out eases in.
    const auto groups = platform::ui::AnimationJournal::groups();
    ASSERT_GE(groups.size(), 2u);
    const auto& slideIn = groups[groups.size() - 2];
    const auto& slideOut = groups.back();
    EXPECT_DOUBLE_EQ(slideIn.duration, 0.16);
    EXPECT_EQ(slideIn.timingFunction, "easeOut");
    EXPECT_DOUBLE_EQ(slideOut.duration, 0.12);
    EXPECT_EQ(slideOut.timingFunction, "easeIn");
}

TEST_F(SnapBarTest, NarrowFrameKeepsTheLeftMargin) {
    platform::SimDesktop::clear();
    addDisplay(1, {0, 0, 300, 900});
    bar->show(screenAt(0), target);
    fixContent(500, 44);
    bar->refreshVeskPresetButtons();
    EXPECT_EQ(bar->window()->frame(), (CGRect{24, 808, 320, 44}));
}

TEST_F(SnapBarTest, HighlightAndToggleTexts) {
    grid->setSelectedKind(SnapIconKind::leftHalf, screenAt(0));
    bar->show(screenAt(0), target);
    const auto accent = platform::ui::Color::controlAccentColor().withAlphaComponent(0.55);
    auto highlighted = [&] {
        std::vector<std::size_t> result;
        for (std::size_t i = 0; i < bar->iconButtons().size(); ++i) {
            const auto& layer = bar->iconButtons()[i]->layer();
            if (layer && layer->backgroundColor == accent && layer->borderWidth == 1) result.push_back(i);
        }
        return result;
    };
    EXPECT_EQ(highlighted(), std::vector<std::size_t>{0});
    EXPECT_EQ(bar->iconButtons()[0]->layer()->borderColor,
              platform::ui::Color::controlAccentColor().withAlphaComponent(0.9));
    EXPECT_EQ(bar->iconButtons()[1]->layer()->borderWidth, 0);
    grid->setSelectedKind(SnapIconKind::grid3x3, screenAt(0)); // posts the selection change
    EXPECT_TRUE(highlighted().empty());
    grid->setSelectedKind(SnapIconKind::topHalf, screenAt(0));
    EXPECT_EQ(highlighted(), std::vector<std::size_t>{2});

    // A kind selected for another display does not light up on the indicator screen's bar, which
    // keeps showing its own display's kind.
    addDisplay(2, {1440, 0, 1440, 900});
    platform::SimInput::shared().moveMouse({200, 400});
    grid->setSelectedKind(SnapIconKind::leftHalf, screenAt(1));
    bar->refreshSelectionHighlight();
    EXPECT_EQ(highlighted(), std::vector<std::size_t>{2});

    EXPECT_EQ(bar->snappingToggleButton()->title, "Stop Snapping");
    EXPECT_EQ(bar->snappingToggleButton()->toolTip, "Turn off snapping while dragging windows");
    grid->setSnappingEnabled(false);
    bar->refreshIndicators();
    EXPECT_EQ(bar->snappingToggleButton()->title, "Start Snapping");
    EXPECT_EQ(bar->snappingToggleButton()->toolTip, "Turn on snapping while dragging windows");
}

TEST_F(SnapBarTest, PresetRowHoldsSingleTilePresets) {
    auto preset = [](const std::string& name, VeskPresetKind kind) {
        VeskPreset p{};
        p.id = platform::UUID();
        p.name = name;
        p.kind = kind;
        return p;
    };
    std::vector<VeskPreset> presets = {preset("Grid", VeskPresetKind::grid), preset("A", VeskPresetKind::singleTile),
                                       preset("B", VeskPresetKind::singleTile)};
    bar->veskTilePresetsProvider = [&](const platform::NSScreen&) { return presets; };
    bar->show(screenAt(0), target);
    const auto& buttons = bar->tilePresetButtons();
    ASSERT_EQ(buttons.size(), 2u);
    EXPECT_FALSE(bar->row2Container()->isHidden());
    for (std::size_t i = 0; i < 2; ++i) {
        EXPECT_EQ(buttons[i]->title, presets[i + 1].name);
        EXPECT_EQ(buttons[i]->tag, static_cast<long>(i));
        EXPECT_EQ(buttons[i]->identifier, presets[i + 1].id.uuidString());
        EXPECT_EQ(buttons[i]->heightConstraint, 20);
    }
    EXPECT_EQ(buttons[0]->toolTip, "Apply the preset \"A\"");
    ASSERT_TRUE(platform::ui::UISimulator::click(*buttons[1]));
    ASSERT_EQ(target->received, std::vector<std::string>{"applyVeskTilePresetFromSnapBar:"});
    EXPECT_EQ(target->senders[0], buttons[1].get());

    presets.resize(1);
    bar->refreshVeskPresetButtons();
    EXPECT_TRUE(bar->tilePresetButtons().empty());
    EXPECT_TRUE(bar->row2Container()->isHidden());
}

// A hide during the slide-in and a show during the slide-out both end in the state asked last.
TEST_F(SnapBarTest, OverlappingSlidesEndInTheLastAskedState) {
    showFixed();
    const auto panel = bar->window();
    bar->hide();
    sim().runFor(0.5);
    ASSERT_FALSE(panel->isVisible());

    bar->show(screenAt(0), target);
    sim().runFor(0.05);
    bar->hide();
    sim().runFor(1.0);
    EXPECT_FALSE(panel->isVisible());
    EXPECT_FALSE(bar->hasMouseMonitor());
    EXPECT_FALSE(bar->hasClickMonitor());
    EXPECT_FALSE(bar->hasAppSwitchObserver());

    bar->show(screenAt(0), target);
    sim().runFor(0.5);
    bar->hide();
    sim().runFor(0.05);
    bar->show(screenAt(0), target);
    sim().runFor(1.0);
    EXPECT_TRUE(panel->isVisible());
    EXPECT_EQ(panel->alphaValue(), 1);
    EXPECT_EQ(panel->frame().minY(), 808);
    EXPECT_TRUE(bar->hasMouseMonitor());
    EXPECT_TRUE(bar->hasClickMonitor());
    EXPECT_TRUE(bar->hasAppSwitchObserver());
}

} // namespace
} // namespace tilmora::testing
