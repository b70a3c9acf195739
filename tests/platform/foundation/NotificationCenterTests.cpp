#include "platform/control/SharedInstances.hpp"
#include "platform/foundation/NotificationCenter.hpp"

#include <gtest/gtest.h>

#include <deque>
#include <string>
#include <vector>

using platform::Notification;
using platform::NotificationCenter;
using platform::ObserverToken;
using platform::PropertyValue;

namespace {

// A queue that holds its work until the test runs it.
class HeldQueue : public platform::DeliveryQueue {
public:
    void deliver(std::function<void()> work) override { work_.push_back(std::move(work)); }
    void runAll() {
        while (!work_.empty()) {
            auto work = std::move(work_.front());
            work_.pop_front();
            work();
        }
    }
    std::size_t pending() const { return work_.size(); }

private:
    std::deque<std::function<void()>> work_;
};

TEST(NotificationCenter, MatchesByNameAndObject) {
    NotificationCenter center;
    int grid = 0;
    int other = 0;
    std::vector<std::string> log;
    center.addObserver("A", nullptr, [&](const Notification& n) { log.push_back("anyA:" + n.name); });
    center.addObserver("A", &grid, [&](const Notification&) { log.push_back("gridA"); });
    center.addObserver("", nullptr, [&](const Notification& n) { log.push_back("all:" + n.name); });

    struct Case {
        const char* name;
        const void* object;
        std::vector<std::string> expected;
    };
    const Case cases[] = {
        {"A", nullptr, {"anyA:A", "all:A"}},
        {"A", &grid, {"anyA:A", "gridA", "all:A"}},
        {"A", &other, {"anyA:A", "all:A"}},
        {"B", &grid, {"all:B"}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        log.clear();
        center.post(c.name, c.object);
        EXPECT_EQ(log, c.expected);
    }
}

TEST(NotificationCenter, CarriesUserInfo) {
    NotificationCenter center;
    std::optional<PropertyValue> name;
    center.addObserver("GlobalShortcuts_shortcutByNameDidChange", nullptr,
                       [&](const Notification& n) { name = n.userInfo.at("name"); });
    center.post("GlobalShortcuts_shortcutByNameDidChange", nullptr,
                {{"name", PropertyValue("toggleSnapBar")}});
    EXPECT_EQ(name, PropertyValue("toggleSnapBar"));
}

TEST(NotificationCenter, CarriesAValueObject) {
    NotificationCenter center;
    std::vector<std::optional<PropertyValue>> seen;
    center.addObserver("AppLanguageDidChange", nullptr,
                       [&](const Notification& n) { seen.push_back(n.objectValue); });
    center.post(Notification{"AppLanguageDidChange", nullptr, {}, PropertyValue("de")});
    center.post("AppLanguageDidChange");
    ASSERT_EQ(seen.size(), 2u);
    EXPECT_EQ(seen[0], PropertyValue("de"));
    EXPECT_FALSE(seen[1].has_value());
}

TEST(NotificationCenter, RemovalDuringDeliveryIsSafe) {
    NotificationCenter center;
    std::vector<std::string> log;
    ObserverToken second;
    ObserverToken self;
    center.addObserver("N", nullptr, [&](const Notification&) {
        log.push_back("first");
        center.removeObserver(second);
    });
    second = center.addObserver("N", nullptr, [&](const Notification&) { log.push_back("second"); });
    self = center.addObserver("N", nullptr, [&](const Notification&) {
        log.push_back("self");
        center.removeObserver(self);
        center.addObserver("N", nullptr, [&](const Notification&) { log.push_back("late"); });
    });
    center.post("N");
    EXPECT_EQ(log, (std::vector<std::string>{"first", "self"}));
    log.clear();
    center.post("N");
    EXPECT_EQ(log, (std::vector<std::string>{"first", "late"}));
    center.removeObserver(second); // already gone: ignored
    center.removeObserver(ObserverToken{});
    EXPECT_EQ(center.observerCount(), 2u);
}

TEST(NotificationCenter, QueueTargetedObserversRunOnTheirQueue) {
    NotificationCenter center;
    auto queue = std::make_shared<HeldQueue>();
    std::vector<std::string> log;
    auto token = center.addObserver("N", nullptr, queue, [&](const Notification& n) {
        log.push_back("queued:" + *n.userInfo.at("i").asString());
    });
    center.addObserver("N", nullptr, std::shared_ptr<platform::DeliveryQueue>(),
                       [&](const Notification&) { log.push_back("sync"); });
    center.post("N", nullptr, {{"i", PropertyValue("1")}});
    center.post("N", nullptr, {{"i", PropertyValue("2")}});
    EXPECT_EQ(log, (std::vector<std::string>{"sync", "sync"}));
    queue->runAll();
    EXPECT_EQ(log, (std::vector<std::string>{"sync", "sync", "queued:1", "queued:2"}));

    log.clear();
    center.post("N", nullptr, {{"i", PropertyValue("3")}});
    center.removeObserver(token);
    queue->runAll();
    EXPECT_EQ(log, (std::vector<std::string>{"sync"})) << "a removed observer's queued call is dropped";
}

TEST(NotificationCenter, ResetForgetsEveryObserverAndDropsQueuedCalls) {
    int calls = 0;
    auto queue = std::make_shared<HeldQueue>();
    NotificationCenter::defaultCenter().addObserver("N", nullptr, [&](const Notification&) { ++calls; });
    NotificationCenter::defaultCenter().addObserver("N", nullptr, queue, [&](const Notification&) { ++calls; });
    NotificationCenter::defaultCenter().post("N");
    EXPECT_EQ(calls, 1);
    platform::SharedInstances::resetAll();
    queue->runAll(); // the call queued before the reset belongs to a forgotten observer
    NotificationCenter::defaultCenter().post("N");
    EXPECT_EQ(calls, 1);
    EXPECT_EQ(NotificationCenter::defaultCenter().observerCount(), 0u);
}

} // namespace
