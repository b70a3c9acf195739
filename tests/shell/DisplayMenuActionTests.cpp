#include "WindowCommandFixture.hpp"

#include "model/DisplaySignature.hpp"
#include "model/SnapAreasStore.hpp"
#include "support/SnapGridParts.hpp"

namespace tilmora::shelltest {
namespace {

class DisplayMenuActionTest : public WindowCommandTest {};

TEST_F(DisplayMenuActionTest, MoveToDisplayMatchesTheDisplayNumberElseThePixelSize) {
    desk().useTwoIdenticalDisplays();
    struct Case {
        const char* name;
        std::any object;
        std::optional<Rect> handed;
    };
    const Case cases[] = {
        {"display 2 by number", DisplaySignature{2, 1920, 1080}, Rect{2400, 0, 960, 527.5}},
        {"no number: the first of that size", DisplaySignature{std::nullopt, 1920, 1080}, Rect{480, 0, 960, 527.5}},
        {"an unknown number matches no size", DisplaySignature{3, 1920, 1080}, std::nullopt},
        {"no number and another size", DisplaySignature{std::nullopt, 2560, 1440}, std::nullopt},
        {"another represented object", std::string("2"), std::nullopt},
        {"no represented object", std::any(), std::nullopt},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        setWindowFrame({480, 0, 960, 527.5});
        mover->moves.clear();
        ASSERT_TRUE(sendWithObject("moveToDisplayMenuItem:", c.object));
        if (c.handed) {
            ASSERT_EQ(mover->moves.size(), 1u);
            EXPECT_TRUE(sameRect(mover->moves.at(0), *c.handed));
        } else {
            EXPECT_TRUE(mover->moves.empty());
        }
    }
    ASSERT_TRUE(sendWithObject("moveToDisplayMenuItem:", DisplaySignature{2, 1920, 1080}));
    EXPECT_TRUE(sameRect(rectOf(windowFrame()), {2400, 0, 960, 528}, 0.01));
}

TEST_F(DisplayMenuActionTest, SnapAreaActivatesTheTargetAndFillsItsFractionOfTheVisibleFrame) {
    SnapArea area;
    area.name = "Right";
    area.x = 0.5;
    area.y = 0;
    area.width = 0.5;
    area.height = 1;
    SnapAreasStore::shared().areas = {area};
    auto& grid = shell->roriDeru();
    ASSERT_TRUE(sendWithObject("snapAreaFromMenuItem:", area.id));
    ASSERT_EQ(mover->moves.size(), 1u);
    EXPECT_TRUE(sameRect(mover->moves.at(0), {720, 0, 720, 875}));
    EXPECT_EQ(SnapGridParts::presetActivation(grid).enabledSnapDisplayKeys().size(), 1u);
    EXPECT_EQ(grid.activePreset(screen(1)), grid.loadPreset(screen(1)));
    EXPECT_TRUE(toasts->panel->contents.empty());
}

TEST_F(DisplayMenuActionTest, SnapAreaOfADisconnectedDisplayShowsAToastAndMovesNothing) {
    SnapArea area;
    area.name = "Work";
    area.appliesToAllDisplays = false;
    area.displayID = 7;
    SnapAreasStore::shared().areas = {area};
    const double shownAt = sim().now();
    ASSERT_TRUE(sendWithObject("snapAreaFromMenuItem:", area.id));
    sim().runFor(4.0);
    EXPECT_TRUE(mover->moves.empty());
    ASSERT_EQ(toasts->panel->contents.size(), 1u);
    EXPECT_EQ(toasts->panel->contents.at(0).title, "Snap Areas");
    EXPECT_EQ(toasts->panel->contents.at(0).message, "The display of the snap area \"Work\" is not connected.");
    ASSERT_EQ(toasts->panel->fadeOutStartedAt.size(), 1u);
    EXPECT_NEAR(toasts->panel->fadeOutStartedAt.at(0) - shownAt, 3.0, 0.01);
}

TEST_F(DisplayMenuActionTest, SnapAreaWithAnUnknownIdOrAnotherObjectDoesNothing) {
    SnapAreasStore::shared().areas = {};
    ASSERT_TRUE(sendWithObject("snapAreaFromMenuItem:", platform::UUID()));
    ASSERT_TRUE(sendWithObject("snapAreaFromMenuItem:", std::string("area")));
    EXPECT_TRUE(mover->moves.empty());
    EXPECT_TRUE(toasts->panel->contents.empty());
}

} // namespace
} // namespace tilmora::shelltest
