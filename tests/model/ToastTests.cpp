#include "model/NotificationManager.hpp"

#include "ModelFixture.hpp"

#include "platform/control/SharedInstances.hpp"
#include "platform/dispatch/DispatchQueue.hpp"
#include "platform/dispatch/DispatchSemaphore.hpp"
#include "platform/dispatch/Timer.hpp"

#include <gtest/gtest.h>

using namespace tilmora;
using modeltest::screen;

namespace {

// Records what the toast manager does to its panel.
class FakePanel : public ToastPanel {
public:
    NotificationView content;
    double alpha = 0;
    bool visible = false;
    int fades = 0;
    std::vector<double> shownAt;
    std::vector<double> orderedOutAt;

    void setContent(const NotificationView& view) override { content = view; }
    void setAlpha(double value) override { alpha = value; }
    void fadeAlpha(double value, double seconds, std::function<void()> completion) override {
        EXPECT_DOUBLE_EQ(seconds, 0.2);
        alpha = value; // the fake fades at once and completes when the fade's time is over
        ++fades;
        platform::Timer::scheduledTimer(
            seconds, false, [completion = std::move(completion)](platform::Timer&) { completion(); });
    }
    void orderFrontRegardless() override {
        visible = true;
        shownAt.push_back(platform::SimScheduler::shared().now());
    }
    void orderOut() override {
        visible = false;
        orderedOutAt.push_back(platform::SimScheduler::shared().now());
    }
};

class FakeHost : public ToastHost {
public:
    std::shared_ptr<FakePanel> panel = std::make_shared<FakePanel>();
    std::vector<ToastPanelSpec> made;
    std::optional<MainWindow> window;

    std::shared_ptr<ToastPanel> makePanel(const ToastPanelSpec& spec) override {
        made.push_back(spec);
        return panel;
    }
    std::optional<MainWindow> mainWindow() const override { return window; }
};

class ToastTest : public modeltest::ModelFixture {
protected:
    void SetUp() override {
        ModelFixture::SetUp();
        screens->list = {ScreenInfo{1, "Built-in", {0, 0, 1440, 900}, {0, 0, 1440, 875}, 2}};
        NotificationManager::installHost(host);
    }
    NotificationManager& toasts() { return NotificationManager::shared(); }
    FakePanel& panel() { return *host->panel; }

    std::shared_ptr<FakeHost> host = std::make_shared<FakeHost>();
};

} // namespace

TEST_F(ToastTest, FirstToastSitsNearTheTopRightOfTheMainScreenAndFadesAfterItsDuration) {
    toasts().show("Snapshot", "Saved", 3.0);
    ASSERT_EQ(host->made.size(), 1u);
    const auto& spec = host->made.front();
    EXPECT_EQ(spec.contentRect, (Rect{1020, 755, 400, 100}));
    EXPECT_EQ(spec.styleMask, 128);
    EXPECT_EQ(spec.level, 3);
    EXPECT_EQ(spec.collectionBehavior, 337);
    EXPECT_TRUE(panel().visible);
    EXPECT_EQ(panel().alpha, 1.0);
    EXPECT_EQ(panel().content, (NotificationView{"Snapshot", "Saved"}));

    sim().runFor(2.99);
    EXPECT_TRUE(panel().visible);
    EXPECT_EQ(panel().fades, 0);
    sim().runFor(0.02);
    EXPECT_EQ(panel().fades, 1);
    EXPECT_TRUE(panel().visible);
    sim().runFor(1.0);
    ASSERT_EQ(panel().orderedOutAt.size(), 1u);
    EXPECT_NEAR(panel().orderedOutAt.front(), 3.2, 1e-6);
}

TEST_F(ToastTest, FromAWorkerTheToastAppearsWhenTheMainQueueRuns) {
    platform::DispatchSemaphore shown;
    platform::DispatchQueue::global().async([&shown] {
        NotificationManager::shared().show("Snapshot Restore", "Done", 3);
        shown.signal();
    });
    shown.wait(); // the worker has returned; the main queue has not run yet
    EXPECT_TRUE(host->made.empty());
    sim().drainMainQueue();
    EXPECT_EQ(panel().content.title, "Snapshot Restore");
    EXPECT_TRUE(panel().visible);
}

TEST_F(ToastTest, TheMainWindowPlacesTheFirstToastAndThePlaceIsKept) {
    host->window = ToastHost::MainWindow{true, {100, 100, 900, 600}};
    toasts().show("A", "a", 1);
    EXPECT_EQ(toasts().cachedPosition(), (Rect{580, 580, 400, 100}));
    host->window = ToastHost::MainWindow{true, {0, 0, 500, 500}};
    screens->list.clear();
    toasts().show("B", "b", 1);
    EXPECT_EQ(toasts().cachedPosition(), (Rect{580, 580, 400, 100}));
    EXPECT_EQ(host->made.size(), 1u); // one panel for every toast
    EXPECT_EQ(panel().content.title, "B");
}

TEST_F(ToastTest, AHiddenMainWindowIsPassedOverAndWithoutAScreenNothingShows) {
    host->window = ToastHost::MainWindow{false, {100, 100, 900, 600}};
    screens->list.clear();
    toasts().show("A", "a", 1);
    EXPECT_TRUE(host->made.empty());
    EXPECT_FALSE(toasts().cachedPosition());
    screens->list = {screen(1, 0, 1440, 900)};
    toasts().show("A", "a", 1);
    EXPECT_EQ(toasts().cachedPosition(), (Rect{1020, 755, 400, 100}));
}

TEST_F(ToastTest, ALaterToastReplacesTheContentAndRestartsTheCountdown) {
    toasts().show("Launching Snapshot", "Please wait", 999);
    sim().runFor(5);
    toasts().show("Snapshot Restore", "Done", 3);
    EXPECT_EQ(panel().content.title, "Snapshot Restore");
    sim().runFor(2.9);
    EXPECT_TRUE(panel().visible);
    EXPECT_EQ(panel().fades, 0);
    sim().runFor(0.4);
    EXPECT_FALSE(panel().visible);
    EXPECT_NEAR(panel().orderedOutAt.back(), 8.2, 1e-6);
    sim().runFor(1000); // the long toast's timer never fires
    EXPECT_EQ(panel().fades, 1);
}

TEST_F(ToastTest, AToastShownDuringTheFadeStaysForItsOwnDuration) {
    toasts().show("First", "", 1);
    sim().runFor(1.1); // fading since 1.0
    EXPECT_EQ(panel().fades, 1);
    toasts().show("Second", "", 2);
    EXPECT_EQ(panel().alpha, 1.0);
    sim().runFor(0.5); // the first fade ends at 1.2 without taking the panel away
    EXPECT_TRUE(panel().visible);
    EXPECT_TRUE(panel().orderedOutAt.empty());
    sim().runFor(1.7); // the second hides at 3.1 and is gone at 3.3
    EXPECT_FALSE(panel().visible);
    ASSERT_EQ(panel().orderedOutAt.size(), 1u);
    EXPECT_NEAR(panel().orderedOutAt.front(), 3.3, 1e-6);
}

TEST_F(ToastTest, TheResetDropsThePanelAndPutsBackTheDefaultHost) {
    toasts().show("A", "a", 1);
    platform::SharedInstances::resetAll();
    sim().runFor(2);
    EXPECT_EQ(panel().fades, 0); // the dropped manager's timer does nothing
    toasts().show("B", "b", 1);  // the default host makes its own panel
    EXPECT_EQ(host->made.size(), 1u);
    EXPECT_EQ(panel().content.title, "A");
}
