#include "platform/desktop/NSWorkspace.hpp"
#include "platform/foundation/NotificationCenter.hpp"
#include "snapping/ScreenObserver.hpp"
#include "snapping/SnapStateFixture.hpp"

#include <gtest/gtest.h>

namespace tilmora::testing {
namespace {

class ScreenObserverTest : public SnapStateTest {};

std::vector<std::string> observerLines(const std::vector<std::string>& lines) {
    std::vector<std::string> result;
    for (const auto& line : lines) {
        if (line.rfind("ScreenObserver: Updated screens: ", 0) == 0) result.push_back(line);
    }
    return result;
}

// Each notification schedules its own refresh one second later; the list is read at refresh time.
TEST_F(ScreenObserverTest, EachNotificationRefreshesOneSecondLater) {
    auto observer = std::make_shared<ScreenObserver>();
    observer->startObserving();
    int changes = 0;
    observer->subscribe([&] { ++changes; });
    auto& center = platform::NotificationCenter::defaultCenter();
    newLines();

    struct Step {
        double advance;
        bool post;
        int changesAfter;
        std::size_t screensAfter;
    };
    const Step steps[] = {
        {0.0, true, 0, 0},   // t = 0: first change
        {0.5, true, 0, 0},   // t = 0.5: second change, nothing refreshed yet
        {0.49, false, 0, 0}, // t = 0.99
        {0.01, false, 1, 2}, // t = 1.0: first refresh
        {0.49, false, 1, 2}, // t = 1.49
        {0.01, false, 2, 2}, // t = 1.5: second refresh
        {5.0, false, 2, 2},
    };
    for (std::size_t i = 0; i < std::size(steps); ++i) {
        if (steps[i].advance > 0) sim().runFor(steps[i].advance);
        if (steps[i].post) center.post(platform::NSApplicationDidChangeScreenParametersNotification);
        EXPECT_EQ(changes, steps[i].changesAfter) << "step " << i;
        EXPECT_EQ(observer->screens().size(), steps[i].screensAfter) << "step " << i;
    }
    const auto logged = observerLines(newLines());
    ASSERT_EQ(logged.size(), 2u);
    EXPECT_EQ(logged[0], "ScreenObserver: Updated screens: " + ScreenObserver::describe(platform::NSScreen::screens()));
    EXPECT_NE(logged[0].find("(1440.0, 0.0, 1920.0, 1080.0)"), std::string::npos) << logged[0];
}

// The scheduled refresh keeps the observer alive, and a refresh without screens logs an empty list.
TEST_F(ScreenObserverTest, RefreshWithoutScreensGivesAnEmptyList) {
    auto observer = std::make_shared<ScreenObserver>();
    observer->setScreens(platform::NSScreen::screens());
    ASSERT_EQ(observer->screens().size(), 2u);
    int changes = 0;
    observer->subscribe([&] { ++changes; });
    observer->screenParametersDidChange(platform::Notification{});
    observer.reset();
    platform::SimDesktop::clear();
    newLines();
    sim().runFor(1.0);
    EXPECT_EQ(changes, 1); // the scheduled block kept the observer until it ran
    const auto logged = observerLines(newLines());
    ASSERT_EQ(logged.size(), 1u);
    EXPECT_EQ(logged[0], "ScreenObserver: Updated screens: []");
}

// A destroyed observer leaves no registration behind: later changes schedule nothing.
TEST_F(ScreenObserverTest, DestroyedObserverStopsObserving) {
    auto observer = std::make_shared<ScreenObserver>();
    observer->startObserving();
    observer->startObserving(); // once only
    observer.reset();
    newLines();
    platform::NotificationCenter::defaultCenter().post(platform::NSApplicationDidChangeScreenParametersNotification);
    sim().runFor(2.0);
    EXPECT_TRUE(observerLines(newLines()).empty());
}

} // namespace
} // namespace tilmora::testing
