#include "snapshots/DisplayFingerprint.hpp"
#include "snapshots/ScreenRemapping.hpp"
#include "snapshots/DisplayMatchingTest.hpp"

#include "platform/control/UISimulator.hpp"
#include "platform/dispatch/DispatchQueue.hpp"
#include "platform/dispatch/MediaTime.hpp"
#include "platform/dispatch/RunLoop.hpp"
#include "platform/dispatch/RunLoopObserver.hpp"
#include "platform/ui/Application.hpp"
#include "platform/ui/PopUpButton.hpp"
#include "platform/ui/Window.hpp"

#include <gtest/gtest.h>

#include <atomic>
#include <functional>

namespace tilmora::WindowManager {
namespace {

using platform::CGRect;
namespace ControlState = platform::ui::ControlState;
using platform::ui::UISimulator;
using platform::ui::Window;

class ScreenRemappingTest : public DisplayMatchingTest {
protected:
    /// "A" without a display number (online as 1) is main; "B" is display 5.
    void useDisplaysAB() {
        auto a = display(1, "A", {0, 0, 1920, 1080});
        a.hasScreenNumber = false;
        useDisplays({a, display(5, "B", {1920, 0, 1512, 982}, CGRect{1920, 0, 1512, 944.9})});
    }
    /// A row of saved display 9 (1600 x 1000) that matches nothing present.
    static WindowValue rowOfNine() { return savedRow(9, 0, {5000, 0, 1600, 1000}); }
};

TEST_F(ScreenRemappingTest, PresentDisplaysNeedNoRemapAndNoLine) {
    verbose();
    desk().useLaptopWithExternal();
    sim().runFor(0.1);
    const std::vector<WindowValue> rows{savedRow(1, displayFingerprintHash(1), {0, 0, 1440, 875}),
                                        savedRow(2, displayFingerprintHash(2), {1440, 0, 1920, 1055})};
    EXPECT_EQ(buildScreenRemapping(rows), ScreenRemap{});
    EXPECT_TRUE(logLines().empty());

    desk().removeDisplay(2);
    sim().runFor(0.1);
    int prompts = 0;
    UISimulator::setModalResponder([&](Window&) { ++prompts; });
    EXPECT_EQ(buildScreenRemapping(rows), (ScreenRemap{{2, {1, RemapMode::moveOnly}}}));
    EXPECT_EQ(logLines(), (std::vector<std::string>{
                              "[INFO] Remap needed for missing display IDs: [2]",
                              "[INFO] Auto-remapped missing display id=2 -> id=1 (Built-in Retina Display)",
                          }));
    EXPECT_EQ(prompts, 0);
}

TEST_F(ScreenRemappingTest, ThePromptListsTheScreensNearestInSizeFirst) {
    verbose();
    useDisplaysAB();
    int shown = 0;
    UISimulator::scriptModalResponse([&](Window& w) {
        ++shown;
        EXPECT_EQ(w.title, "Select Replacement Display");
        EXPECT_EQ(w.contentSize(), (platform::CGSize{520, 260}));
        EXPECT_EQ(w.level(), 8);
        EXPECT_TRUE(w.isKeyWindow());
        auto* popUp = UISimulator::findPopUpButton(w);
        ASSERT_NE(popUp, nullptr);
        EXPECT_EQ(popUp->itemTitles(), (std::vector<std::string>{"B (1512\u00D7944 pt)", "A (1920\u00D71055 pt)"}));
        EXPECT_EQ(popUp->indexOfSelectedItem(), 0);
        auto* move = UISimulator::findButton(w, "Just move to new screen");
        auto* smart = UISimulator::findButton(w, "Smart resize to fit all windows on new screen");
        ASSERT_TRUE(move && smart);
        EXPECT_EQ(move->state, ControlState::on);
        EXPECT_EQ(smart->state, ControlState::off);
        EXPECT_TRUE(UISimulator::pressReturnInKeyWindow());
    });
    // Two rows of the missing display: one prompt.
    EXPECT_EQ(buildScreenRemapping({rowOfNine(), rowOfNine()}), (ScreenRemap{{9, {5, RemapMode::moveOnly}}}));
    EXPECT_EQ(shown, 1);
    EXPECT_EQ(logLines(), (std::vector<std::string>{
                              "[INFO] Remap needed for missing display IDs: [9]",
                              "[SCREEN] Remap flow: present display IDs: [1, 5]",
                              "[SCREEN] Remap selection index=0 -> id=5 (B) mode=moveOnly",
                              "[INFO] Remapped missing display id=9 -> id=5 (B) mode=moveOnly",
                          }));
}

TEST_F(ScreenRemappingTest, TheUsersAnswerDecidesTheEntry) {
    struct Case {
        const char* name;
        std::function<void(Window&)> user; // null: nobody answers
        std::optional<RemapEntry> entry;
        const char* lastLine;
    };
    const Case cases[] = {
        {"smart resize then OK",
         [](Window& w) {
             auto* move = UISimulator::findButton(w, "Just move to new screen");
             EXPECT_TRUE(UISimulator::click(*UISimulator::findButton(w, "Smart resize to fit all windows on new screen")));
             EXPECT_EQ(move->state, ControlState::off);
             UISimulator::click(*UISimulator::findButton(w, "OK"));
         },
         RemapEntry{5, RemapMode::smartFit}, "[INFO] Remapped missing display id=9 -> id=5 (B) mode=smartFit"},
        {"a screen without a number",
         [](Window& w) {
             EXPECT_TRUE(UISimulator::pickPopUpItem(*UISimulator::findPopUpButton(w), 1));
             UISimulator::click(*UISimulator::findButton(w, "OK"));
         },
         std::nullopt, "[SCREEN] Remap prompt: user canceled"},
        {"the window closes: counts as OK", [](Window& w) { w.close(); }, RemapEntry{5, RemapMode::moveOnly},
         "[INFO] Remapped missing display id=9 -> id=5 (B) mode=moveOnly"},
        {"nobody answers", nullptr, std::nullopt, "[SCREEN] Remap prompt: user canceled"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        resetSharedInstances();
        verbose();
        useDisplaysAB();
        if (c.user) UISimulator::scriptModalResponse(c.user);
        const auto remap = buildScreenRemapping({rowOfNine()});
        EXPECT_EQ(remap, (c.entry ? ScreenRemap{{9, *c.entry}} : ScreenRemap{}));
        ASSERT_FALSE(logLines().empty());
        EXPECT_EQ(logLines().back(), c.lastLine);
        EXPECT_EQ(platform::ui::Application::shared().modalWindow(), nullptr);
    }
}

TEST_F(ScreenRemappingTest, NoScreensMeansNoPrompt) {
    verbose();
    desk().removeDisplay(1);
    sim().runFor(0.1);
    int shown = 0;
    UISimulator::setModalResponder([&](Window&) { ++shown; });
    EXPECT_EQ(promptForScreenRemapping(9, {1600, 1000}), std::nullopt);
    EXPECT_EQ(shown, 0);
}

TEST_F(ScreenRemappingTest, APromptAskedFromAWorkerRunsOnTheMainThread) {
    useDisplaysAB();
    UISimulator::scriptModalResponse([](Window&) { UISimulator::pressReturnInKeyWindow(); });
    std::atomic<bool> done{false};
    std::optional<ScreenChoice> choice;
    platform::DispatchQueue::global().async([&] {
        choice = promptForScreenRemapping(9, {1600, 1000});
        done = true;
    });
    ASSERT_TRUE(sim().runUntil([&] { return done.load(); }, 10));
    EXPECT_EQ(choice, (ScreenChoice{5, RemapMode::moveOnly}));
}

TEST_F(ScreenRemappingTest, TheScreenListIsStableAfterThreeEqualReads) {
    const double start = sim().now();
    refreshScreensStable(2.0);
    EXPECT_NEAR(sim().now() - start, 0.1, 1e-9);

    // The list alternates between one and two screens every 0.05 s: the wait runs out.
    desk().useLaptopWithExternal();
    desk().setScreenListLag(10);
    std::vector<std::size_t> alternating;
    for (int i = 0; i < 80; ++i)
        alternating.push_back(i % 2 ? 2 : 1);
    desk().setScreenListTransients(alternating, 0.05);
    desk().addDisplay(display(3, "Third", {3360, 0, 1920, 1080}));
    const double changing = sim().now();
    refreshScreensStable(2.0);
    EXPECT_NEAR(sim().now() - changing, 2.0, 1e-6);
}

TEST_F(ScreenRemappingTest, WaitingFromAWorkerTurnsTheMainRunLoop) {
    int depth = 0, deepest = 0;
    auto observer = platform::RunLoopObserver::make(
        platform::RunLoopObserver::entry | platform::RunLoopObserver::exit, true, 0, [&](auto&, unsigned activity) {
            depth += activity == platform::RunLoopObserver::entry ? 1 : -1;
            deepest = std::max(deepest, depth);
        });
    platform::RunLoop::main().addObserver(observer, platform::RunLoopMode::defaultMode);
    std::atomic<bool> done{false};
    double waited = 0;
    platform::DispatchQueue::global().async([&] {
        const double start = platform::mediaTime();
        refreshScreensStable(2.0);
        waited = platform::mediaTime() - start;
        done = true;
    });
    ASSERT_TRUE(sim().runUntil([&] { return done.load(); }, 5));
    EXPECT_NEAR(waited, 0.1, 1e-9);
    EXPECT_GE(deepest, 2) << "the wait ran nested in the main run loop";
    observer->invalidate();
}

} // namespace
} // namespace tilmora::WindowManager
