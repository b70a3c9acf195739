#include "UiTestFixture.hpp"

#include "platform/control/SimInput.hpp"
#include "platform/input/NSEvent.hpp"
#include "platform/ui/Application.hpp"
#include "platform/ui/Button.hpp"
#include "platform/ui/Window.hpp"

#include <string>
#include <vector>

using namespace platform::ui;
using platform::CGPoint;
using platform::CGRect;
using platform::SimInput;

namespace {

/// Says no to closing while `refuses`.
struct CloseGuard : WindowDelegate {
    bool refuses = false;
    bool windowShouldClose(Window&) override { return !refuses; }
};

/// The target of the button in the content's corner.
struct CornerClicks : Responder {
    int clicks = 0;
    CornerClicks() {
        registerAction("corner:", [this](Responder*) { ++clicks; });
    }
};

/// A window of the program on the laptop (visible frame 0 0 1440 875), reached with the pointer
/// through the routing the console installs; a button fills the content's lower-right corner.
class TitleBarTest : public UiTest {
protected:
    void SetUp() override {
        UiTest::SetUp();
        SimInput::shared().setPointerGoesToProgram([](CGPoint p) {
            auto& desktop = platform::SimDesktop::shared();
            auto hit = desktop.windowAt(p);
            return hit && hit->pid == desktop.programPid();
        });
        monitor = platform::NSEvent::addGlobalMonitorForEvents(
            platform::EventTypeMask::leftMouseDragged | platform::EventTypeMask::leftMouseUp,
            [this](const platform::NSEvent&) { ++othersSaw; });
        Application::shared().run();
    }
    void TearDown() override {
        platform::NSEvent::removeMonitor(monitor);
        UiTest::TearDown();
    }

    /// A window at frame 200 100 600 400 (top edge at y 500) with `mask`, in front.
    std::shared_ptr<Window> open(unsigned mask) {
        auto window = std::make_shared<Window>(Rect{200, 100, 600, 372}, mask);
        window->delegate = guard;
        auto content = std::make_shared<View>(Rect{0, 0, 600, 372});
        corner = Button::withTitle("Corner", cornerClicks, "corner:");
        corner->setFrame({560, 0, 40, 20});
        content->addSubview(corner);
        window->setContentView(content);
        window->makeKeyAndOrderFront();
        return window;
    }

    /// Presses at `down`, moves through `moves` and releases at the last point (`down` without
    /// moves), then lets the events dispatch.
    void press(CGPoint down, const std::vector<CGPoint>& moves = {}) {
        auto& input = SimInput::shared();
        input.moveMouse(down);
        input.mouseDown();
        for (const auto& at : moves)
            input.moveMouse(at);
        input.mouseUp();
        sim().drainMainQueue();
    }

    /// The window server's frame of the window.
    static CGRect listedFrame(const Window& window) {
        const auto state = platform::SimDesktop::shared().windowState(std::uint32_t(window.windowNumber()));
        return state ? state->frame : CGRect::null();
    }

    std::shared_ptr<CloseGuard> guard = std::make_shared<CloseGuard>();
    std::shared_ptr<CornerClicks> cornerClicks = std::make_shared<CornerClicks>();
    std::shared_ptr<Button> corner;
    std::shared_ptr<platform::EventMonitor> monitor;
    int othersSaw = 0;
};

constexpr unsigned titledOnly = StyleMask::titled;
constexpr unsigned allButtons =
    StyleMask::titled | StyleMask::closable | StyleMask::miniaturizable | StyleMask::resizable;

TEST_F(TitleBarTest, ATitleBarButtonActsWhenItGoesUpOnItAndOnlyWhenTheStyleMaskHasIt) {
    struct Case {
        const char* name;
        unsigned mask;
        CGPoint down;
        CGPoint up;
        bool refuseClose;
        bool visible;
        bool miniaturized;
        CGRect frame;
    };
    const CGRect placed{200, 100, 600, 400};
    const CGRect zoomed{0, 0, 1440, 875};
    const std::vector<Case> cases = {
        {"close, half a point off the circle's centre",
         allButtons,
         {219.5, 486.5},
         {219.5, 486.5},
         false,
         false,
         false,
         placed},
        {"close, released off the button", allButtons, {220, 486}, {232, 486}, false, true, false, placed},
        {"close, the delegate refusing", allButtons, {220, 486}, {220, 486}, true, true, false, placed},
        {"close, past the circle's edge", allButtons, {226.5, 486}, {226.5, 486}, false, true, false, placed},
        {"minimize", allButtons, {240, 486}, {240, 486}, false, false, true, placed},
        {"zoom", allButtons, {260, 486}, {260, 486}, false, true, false, zoomed},
        {"no close button",
         titledOnly | StyleMask::resizable,
         {220, 486},
         {220, 486},
         false,
         true,
         false,
         placed},
        {"no minimize button",
         titledOnly | StyleMask::closable,
         {240, 486},
         {240, 486},
         false,
         true,
         false,
         placed},
        {"no zoom button",
         titledOnly | StyleMask::miniaturizable,
         {260, 486},
         {260, 486},
         false,
         true,
         false,
         placed},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        auto window = open(c.mask);
        guard->refuses = c.refuseClose;
        press(c.down, {c.up});
        EXPECT_EQ(window->isVisible(), c.visible);
        EXPECT_EQ(window->isMiniaturized(), c.miniaturized);
        EXPECT_EQ(window->frame(), c.frame);
        EXPECT_EQ(listedFrame(*window), c.frame);
        const auto listed = platform::SimDesktop::shared().windowState(std::uint32_t(window->windowNumber()));
        ASSERT_TRUE(listed);
        EXPECT_EQ(listed->onScreen, c.visible);
        EXPECT_EQ(listed->minimized, c.miniaturized);
        // Shown again, the window is back where it was; zoomed again, where it was before.
        window->makeKeyAndOrderFront();
        EXPECT_FALSE(window->isMiniaturized());
        if (c.frame == zoomed) {
            press({60, 861});
            EXPECT_EQ(window->frame(), placed);
        }
        window->close();
    }
    EXPECT_EQ(othersSaw, 0);
}

TEST_F(TitleBarTest, ADragOfTheTitleBarMovesTheWindowAndOneOfTheCornerResizesItWithinItsMinimumSize) {
    struct Case {
        const char* name;
        unsigned mask;
        bool movable;
        CGPoint down;
        std::vector<CGPoint> moves;
        CGRect frame;
        bool cornerClicked;
    };
    const std::vector<Case> cases = {
        {"the title bar, by the pointer's travel",
         allButtons,
         true,
         {500, 490},
         {{450, 480}, {300, 700}},
         {0, 310, 600, 400},
         false},
        {"a missing button's place is title bar",
         titledOnly,
         true,
         {260, 486},
         {{300, 486}},
         {240, 100, 600, 400},
         false},
        {"a window that is not movable",
         allButtons,
         false,
         {500, 490},
         {{300, 700}},
         {200, 100, 600, 400},
         false},
        {"the corner, the top edge staying",
         allButtons,
         true,
         {799, 101},
         {{850, 60}, {899, 51}},
         {200, 50, 700, 450},
         false},
        {"the corner, down to the minimum size",
         allButtons,
         true,
         {799, 101},
         {{300, 450}},
         {200, 200, 500, 300},
         false},
        {"the corner of a window that does not resize is content",
         titledOnly,
         true,
         {799, 101},
         {{850, 60}},
         {200, 100, 600, 400},
         false},
        {"the corner, without a move, is a click of nothing",
         titledOnly,
         true,
         {795, 105},
         {},
         {200, 100, 600, 400},
         true},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        auto window = open(c.mask);
        window->isMovable = c.movable;
        window->minSize = {500, 300};
        cornerClicks->clicks = 0;
        press(c.down, c.moves);
        EXPECT_EQ(window->frame(), c.frame);
        EXPECT_EQ(listedFrame(*window), c.frame);
        EXPECT_EQ(cornerClicks->clicks, c.cornerClicked ? 1 : 0);
        window->close();
    }
    EXPECT_EQ(othersSaw, 0) << "a drag on the program's window never reaches the drag monitors";
}

} // namespace
