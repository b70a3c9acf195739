#include "UiTestFixture.hpp"

#include "platform/control/ViewDriver.hpp"
#include "platform/dispatch/DispatchQueue.hpp"
#include "platform/dispatch/Thread.hpp"

namespace dv = platform::ui::declarative;
using namespace platform::ui;

namespace {

/// A pad that records every change and end of its drag gesture as "c x,y t dx,dy" / "e x,y".
struct Pad : dv::Component<Pad> {
    double minimumDistance = 0;
    std::vector<std::string>* events = nullptr;
    Pad(double minimumDistance, std::vector<std::string>* events)
        : minimumDistance(minimumDistance)
        , events(events) {}
    static std::string point(Point p) { return std::to_string(int(p.x)) + "," + std::to_string(int(p.y)); }
    dv::Element body() override {
        auto* log = events;
        return dv::Rectangle()
            .frame(200, 100)
            .dragGesture(
                minimumDistance,
                [log](const dv::DragValue& v) {
                    auto t = v.translation();
                    log->push_back("c " + point(v.location) + " t " + point({t.width, t.height}));
                },
                [log](const dv::DragValue& v) { log->push_back("e " + point(v.location)); })
            .id("pad");
    }
};

} // namespace

class DeclarativeGestureTest : public UiTest {};

TEST_F(DeclarativeGestureTest, DragReportsThePressPointFirstWhenItNeedsNoTravel) {
    struct Case {
        const char* name;
        double minimumDistance;
        Point from, to;
        int steps;
        std::vector<std::string> expected;
    };
    const std::vector<Case> cases = {
        {"no travel needed", 0, {10, 10}, {50, 30}, 2, {"c 10,10 t 0,0", "c 30,20 t 20,10", "c 50,30 t 40,20", "e 50,30"}},
        {"press and release in place", 0, {20, 20}, {20, 20}, 4, {"c 20,20 t 0,0", "e 20,20"}},
        {"ten points of travel", 10, {0, 0}, {40, 0}, 4, {"c 10,0 t 10,0", "c 20,0 t 20,0", "c 30,0 t 30,0", "c 40,0 t 40,0", "e 40,0"}},
        {"travel below the minimum", 10, {0, 0}, {4, 0}, 4, {}},
        {"in place with travel needed", 10, {5, 5}, {5, 5}, 4, {}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        std::vector<std::string> events;
        auto pad = std::make_shared<Pad>(c.minimumDistance, &events);
        dv::HostingView host(pad, {0, 0, 300, 200});
        dv::ViewDriver d(host);
        EXPECT_TRUE(d.drag("pad", c.from, c.to, c.steps));
        EXPECT_EQ(events, c.expected);
    }
}

TEST_F(DeclarativeGestureTest, TextModifiersSetTruncationAndMultilineAlignment) {
    auto text = dv::Text("long name").truncationMode("middle").multilineTextAlignment("center");
    EXPECT_EQ(text.node()->style.truncation, "middle");
    EXPECT_EQ(text.node()->style.multilineAlignment, "center");
    auto plain = dv::Text("plain");
    EXPECT_EQ(plain.node()->style.truncation, "tail");
    EXPECT_EQ(plain.node()->style.multilineAlignment, "leading");
}

TEST_F(DeclarativeGestureTest, NotificationHandlersRunOnTheMainThread) {
    struct Listener : dv::Component<Listener> {
        std::vector<std::string>* log = nullptr;
        explicit Listener(std::vector<std::string>* log)
            : log(log) {}
        dv::Element body() override {
            auto* out = log;
            return dv::Text("listening").onReceive("AppLanguageDidChange", [out] {
                out->push_back(platform::Thread::isMainThread() ? "on main" : "off main");
            });
        }
    };
    std::vector<std::string> log;
    dv::HostingView host(std::make_shared<Listener>(&log), {0, 0, 100, 100});
    host.rebuildIfNeeded();
    platform::NotificationCenter::defaultCenter().post("AppLanguageDidChange");
    EXPECT_EQ(log, std::vector<std::string>{"on main"}); // at once when posted on the main thread
    platform::DispatchQueue::global().async([&log] {
        platform::NotificationCenter::defaultCenter().post("AppLanguageDidChange");
        log.push_back("posted");
    });
    sim().runFor(0.1);
    EXPECT_EQ(log, (std::vector<std::string>{"on main", "posted", "on main"}));
}
