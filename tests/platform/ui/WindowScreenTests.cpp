#include "UiTestFixture.hpp"

#include "platform/control/SimDesktop.hpp"
#include "platform/ui/StatusItem.hpp"
#include "platform/control/UISimulator.hpp"

#include <functional>

using namespace platform::ui;
using platform::SimDesktop;

class WindowScreenTest : public UiTest {};

TEST_F(WindowScreenTest, ScreenAndCentringFollowTheSimulatedDesktop) {
    struct Case {
        const char* name;
        std::function<void()> desktop;
        Rect frame;                        // global, before centring
        std::optional<std::string> screen; // localized name of `screen()`
        Rect centred;                      // frame after `center()`
    };
    auto laptop = [] { SimDesktop::shared().useLaptop(); };
    auto withExternal = [] { SimDesktop::shared().useLaptopWithExternal(); };
    auto none = [] { SimDesktop::clear(); };
    // Centring: horizontally centred in the visible frame; two thirds of the free height below.
    const std::vector<Case> cases = {
        {"on the laptop", laptop, {10, 10, 400, 275}, "Built-in Retina Display", {520, 400, 400, 275}},
        {"on the external display", withExternal, {2000, 100, 400, 55}, "DELL U2720Q", {2200, 667, 400, 55}},
        {"mostly on the external display",
         withExternal,
         {1340, 100, 400, 55},
         "DELL U2720Q",
         {2200, 667, 400, 55}},
        {"mostly on the laptop",
         withExternal,
         {1140, 100, 400, 55},
         "Built-in Retina Display",
         {520, 547, 400, 55}},
        {"on no screen: centred on the main screen",
         withExternal,
         {-900, 100, 400, 275},
         std::nullopt,
         {520, 400, 400, 275}},
        {"no screens at all: stays", none, {10, 10, 400, 275}, std::nullopt, {10, 10, 400, 275}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        c.desktop();
        auto w = std::make_shared<Window>(c.frame, StyleMask::borderless);
        auto s = w->screen();
        ASSERT_EQ(s.has_value(), c.screen.has_value());
        if (s) {
            EXPECT_EQ(s->localizedName(), *c.screen);
        }
        w->center();
        EXPECT_EQ(w->frame(), c.centred);
    }
}

TEST_F(WindowScreenTest, ScreenFollowsThePublishedListAfterItsLag) {
    auto& desk = SimDesktop::shared();
    desk.useLaptopWithExternal();
    desk.setScreenListLag(0.5);
    auto w = std::make_shared<Window>(Rect{2000, 100, 400, 300}, StyleMask::borderless);
    desk.removeDisplay(2);
    ASSERT_TRUE(w->screen());
    EXPECT_EQ(w->screen()->localizedName(), "DELL U2720Q"); // the list has not caught up yet
    advance(0.5);
    EXPECT_FALSE(w->screen()); // the frame now lies on no screen
}

TEST_F(WindowScreenTest, StatusItemSitsInTheMenuBarOfTheScreenItIsClickedOn) {
    SimDesktop::shared().useLaptopWithExternal();
    auto item = StatusBar::system().statusItem(StatusItemLength::variable);
    double t = StatusBar::system().thickness();
    const auto& window = item->buttonWindow();
    EXPECT_EQ(window->frame().maxY(), 900);
    EXPECT_EQ(window->screen()->localizedName(), "Built-in Retina Display");
    UISimulator::clickStatusItem(*item, 1);
    EXPECT_EQ(window->frame().maxY(), 1080);
    EXPECT_EQ(window->frame().height(), t);
    EXPECT_EQ(window->screen()->localizedName(), "DELL U2720Q");
}
