#include <string>
#include <vector>

#include "platform/dispatch/DispatchQueue.hpp"
#include "platform/dispatch/DispatchSemaphore.hpp"
#include "platform/dispatch/MainQueueDelivery.hpp"
#include "platform/dispatch/Thread.hpp"
#include "platform/dispatch/Timer.hpp"
#include "platform/foundation/Date.hpp"
#include "platform/foundation/NotificationCenter.hpp"
#include "support/PlatformTest.hpp"

using namespace platform;

namespace {

class MainQueueNotifications : public PlatformTest {};

TEST_F(MainQueueNotifications, PostOnMainIsSynchronousPostFromWorkerIsEnqueued) {
    auto& center = NotificationCenter::defaultCenter();
    std::vector<std::string> log;
    center.addObserver("ScreensChanged", nullptr, MainQueueDelivery::shared(), [&](const Notification& n) {
        log.push_back(n.name + (Thread::isMainThread() ? " on main" : " off main"));
    });
    center.post("ScreensChanged");
    log.push_back("after main post");
    DispatchQueue::global().async([&] {
        center.post("ScreensChanged");
        log.push_back("after worker post");
    });
    sim().runFor(0.1);
    EXPECT_EQ(log, (std::vector<std::string>{"ScreensChanged on main", "after main post", "after worker post",
                                             "ScreensChanged on main"}));
}

TEST_F(MainQueueNotifications, ObserverRemovedBeforeQueuedDeliveryIsNotCalled) {
    auto& center = NotificationCenter::defaultCenter();
    int removedCalls = 0;
    int keptCalls = 0;
    const auto token = center.addObserver("Gone", nullptr, MainQueueDelivery::shared(),
                                          [&](const Notification&) { ++removedCalls; });
    center.addObserver("Gone", nullptr, MainQueueDelivery::shared(),
                       [&](const Notification&) { ++keptCalls; });
    DispatchSemaphore posted(0);
    DispatchQueue::global().async([&] {
        center.post("Gone");
        posted.signal();
    });
    // The main thread waits outside its run loop, so both deliveries stay queued.
    ASSERT_EQ(posted.wait(DispatchTime::now() + 1.0), DispatchTimeoutResult::success);
    EXPECT_EQ(keptCalls, 0);
    center.removeObserver(token);
    sim().runFor(0.1);
    EXPECT_EQ(removedCalls, 0);
    EXPECT_EQ(keptCalls, 1);
}

class VirtualClocks : public PlatformTest {};

TEST_F(VirtualClocks, WallClockAndTimerFireDateFollowVirtualTime) {
    const Date start = Date::now();
    auto timer = Timer::scheduledTimer(3.0, false, [](Timer&) {});
    EXPECT_DOUBLE_EQ(timer->fireDate().timeIntervalSince(start), 3.0);
    sim().runFor(2.5);
    EXPECT_DOUBLE_EQ(Date::now().timeIntervalSince(start), 2.5);
    sim().reset();
    EXPECT_DOUBLE_EQ(Date::now().timeIntervalSince1970, start.timeIntervalSince1970);
}

} // namespace
