#include "UiTestFixture.hpp"

#include "platform/control/ViewDriver.hpp"
#include "platform/ui/ViewController.hpp"
#include "platform/ui/Window.hpp"

namespace dv = platform::ui::declarative;
using namespace platform::ui;

namespace {

/// A place with its own appear handlers inside a root that has some too.
struct Inner : dv::Component<Inner> {
    std::vector<std::string>* events = nullptr;
    explicit Inner(std::vector<std::string>* e)
        : events(e) {}
    Inner& operator=(const Inner&) = default;
    dv::Element body() override {
        return dv::Text("inner")
            .onAppear([this] { events->push_back("appear inner"); })
            .onDisappear([this] { events->push_back("disappear inner"); });
    }
};

struct HostedOuter : dv::Component<HostedOuter> {
    std::vector<std::string> events;
    dv::State<int> count{this, 0};
    Window* windowSeenOnTap = nullptr;
    dv::Element body() override {
        return dv::VStack(dv::Alignment::leading, 8,
                          {dv::Text("count " + std::to_string(count.get()))
                               .onTap([this] { windowSeenOnTap = hostingWindow(); })
                               .onAppear([this] { events.push_back("appear outer"); })
                               .onDisappear([this] { events.push_back("disappear outer"); }),
                           dv::view<Inner>(&events)});
    }
};

using Step = std::function<void(Window&, HostedOuter&)>;

struct AppearanceCase {
    std::string name;
    std::vector<Step> steps;
    std::vector<std::string> events; // after the first showing's two appear events
};

const Step show = [](Window& w, HostedOuter&) { w.makeKeyAndOrderFront(); };
const Step orderFront = [](Window& w, HostedOuter&) { w.orderFront(); };
const Step orderOut = [](Window& w, HostedOuter&) { w.orderOut(); };
const Step closeWindow = [](Window& w, HostedOuter&) { w.close(); };
const Step bumpState = [](Window&, HostedOuter& root) { root.count.set(root.count.get() + 1); };

} // namespace

class HostingAppearanceTest : public UiTest {};

TEST_F(HostingAppearanceTest, AKeptWindowRunsTheAppearHandlersAgainOnlyWhenItComesBackOnScreen) {
    const std::vector<AppearanceCase> cases = {
        {"ordered front again while shown", {orderFront, show}, {}},
        {"closed and shown again",
         {closeWindow, show},
         {"disappear outer", "disappear inner", "appear outer", "appear inner"}},
        {"ordered out and ordered front again",
         {orderOut, orderFront},
         {"disappear outer", "disappear inner", "appear outer", "appear inner"}},
        {"closed twice: the second close tells nothing", {closeWindow, closeWindow}, {"disappear outer", "disappear inner"}},
        {"a rebuild while off screen runs no appear handler",
         {orderOut, bumpState},
         {"disappear outer", "disappear inner"}},
        {"a rebuild while off screen, then shown",
         {orderOut, bumpState, show},
         {"disappear outer", "disappear inner", "appear outer", "appear inner"}},
        {"two round trips",
         {closeWindow, show, orderOut, show},
         {"disappear outer", "disappear inner", "appear outer", "appear inner", "disappear outer",
          "disappear inner", "appear outer", "appear inner"}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        auto root = std::make_shared<HostedOuter>();
        auto window = std::make_shared<Window>(Rect{100, 100, 300, 200}, StyleMask::titled | StyleMask::closable);
        window->isReleasedWhenClosed = false;
        window->setContentViewController(std::make_shared<dv::HostingController>(root));
        auto& host = static_cast<dv::HostingView&>(*window->contentView());
        window->makeKeyAndOrderFront();
        host.rebuildIfNeeded();
        ASSERT_EQ(root->events, (std::vector<std::string>{"appear outer", "appear inner"}));
        root->events.clear();
        for (auto& step : c.steps) {
            step(*window, *root);
            host.rebuildIfNeeded();
        }
        EXPECT_EQ(root->events, c.events);
    }
}

TEST_F(HostingAppearanceTest, ADeclarativeViewReachesTheWindowThatHostsIt) {
    auto root = std::make_shared<HostedOuter>();
    dv::HostingView loose(root, {0, 0, 300, 200});
    dv::ViewDriver looseDriver(loose);
    ASSERT_TRUE(looseDriver.click("count 0"));
    EXPECT_EQ(root->windowSeenOnTap, nullptr); // a host in no window

    auto hosted = std::make_shared<HostedOuter>();
    auto window = std::make_shared<Window>(Rect{100, 100, 300, 200}, StyleMask::titled);
    auto controller = std::make_shared<dv::HostingController>(hosted);
    window->setContentViewController(controller);
    dv::ViewDriver driver(controller->hostingView());
    ASSERT_TRUE(driver.click("count 0"));
    EXPECT_EQ(hosted->windowSeenOnTap, window.get());

    auto detached = std::make_shared<HostedOuter>();
    EXPECT_EQ(detached->hostingWindow(), nullptr); // a view in no host
}
