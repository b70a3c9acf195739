#include "UiTestFixture.hpp"

#include "platform/control/SimDesktop.hpp"
#include "platform/control/SimInput.hpp"
#include "platform/desktop/NSWorkspace.hpp"
#include "platform/dispatch/DispatchQueue.hpp"
#include "platform/dispatch/RunLoop.hpp"
#include "platform/dispatch/Timer.hpp"
#include "platform/foundation/Error.hpp"
#include "platform/ui/Application.hpp"
#include "platform/ui/Menu.hpp"
#include "platform/ui/Panel.hpp"
#include "support/DesktopBuilders.hpp"
#include "support/WorkspacePidRecorder.hpp"

#include <functional>
#include <string>
#include <vector>

using namespace platform::ui;
using platform::JournalEntry;
using platform::NSWorkspace;
using platform::SimDesktop;

namespace {

/// The program's windows on the simulated desktop's Desktops, the program's activation and the
/// window server's hit testing of its windows.
class OwnWindowDesktopTest : public UiTest {
protected:
    void SetUp() override {
        UiTest::SetUp();
        desk().addSpace(1); // the laptop's display 1 gets a Desktop 2
    }

    SimDesktop& desk() { return SimDesktop::shared(); }
    std::uint64_t desktopSpace(int desktop) { return desk().spaces(1)[std::size_t(desktop) - 1]; }

    std::optional<SimDesktop::WindowState> stateOf(const Window& w) {
        return desk().windowState(std::uint32_t(w.windowNumber()));
    }
};

enum class Show { plain, makingKey };

struct DesktopCase {
    const char* name;
    unsigned collectionBehavior;
    bool panel;            ///< a borderless non-activating panel (as the anchor panels), else titled
    bool orderedOut;       ///< ordered out before Desktop 1 became active again
    Show show;             ///< how it is ordered front while Desktop 1 is active
    int activeDesktop;     ///< display 1's active Desktop afterwards
    int windowDesktop;     ///< the Desktop the window stands on afterwards
    bool switchJournalled; ///< the journal shows display 1 switching to Desktop 2
};

TEST_F(OwnWindowDesktopTest, OrderingFrontFromDesktopOneFollowsTheWindowServersRules) {
    using namespace CollectionBehavior;
    const unsigned anchorPanel = moveToActiveSpace | transient | ignoresCycle | fullScreenAuxiliary; // 330
    const std::vector<DesktopCase> cases = {
        {"made key and front: the display switches", defaultBehavior, false, false, Show::makingKey, 2, 2,
         true},
        {"made key and front with move to active Space: still switches", moveToActiveSpace, false, false,
         Show::makingKey, 2, 2, true},
        {"made key and front, can join all Spaces: no switch", canJoinAllSpaces, false, false,
         Show::makingKey, 1, 2, false},
        {"ordered out, made key and front again: back to its Desktop", defaultBehavior, false, true,
         Show::makingKey, 2, 2, true},
        {"anchor panel ordered out, made key and front: back to its Desktop", anchorPanel, true, true,
         Show::makingKey, 2, 2, true},
        {"ordered out, plain order-front with move to active Space: shown on Desktop 1", moveToActiveSpace,
         false, true, Show::plain, 1, 1, false},
        {"anchor panel ordered out, plain order-front: shown on Desktop 1", anchorPanel, true, true,
         Show::plain, 1, 1, false},
        {"ordered out, plain order-front: shown on Desktop 1", defaultBehavior, false, true, Show::plain, 1,
         1, false},
        {"still shown on Desktop 2, plain order-front: stays there", defaultBehavior, false, false,
         Show::plain, 1, 2, false},
        {"still shown on Desktop 2, plain order-front with move to active Space: comes to Desktop 1",
         moveToActiveSpace, false, false, Show::plain, 1, 1, false},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        desk().switchToDesktop(1, 2);
        std::shared_ptr<Window> w =
            c.panel ? std::make_shared<Panel>(Rect{10, 10, 1, 1}, StyleMask::nonactivatingPanel)
                    : std::make_shared<Window>(Rect{200, 200, 400, 300}, StyleMask::titled);
        w->collectionBehavior = c.collectionBehavior;
        w->orderFront();
        ASSERT_EQ(stateOf(*w)->space, desktopSpace(2));
        if (c.orderedOut) w->orderOut();
        desk().switchToDesktop(1, 1);
        desk().clearJournal();

        if (c.show == Show::makingKey)
            w->makeKeyAndOrderFront();
        else
            w->orderFront();

        EXPECT_EQ(desk().activeSpace(1), desktopSpace(c.activeDesktop));
        auto state = stateOf(*w);
        ASSERT_TRUE(state);
        const bool canJoinAll = (c.collectionBehavior & canJoinAllSpaces) != 0;
        EXPECT_EQ(state->space, desktopSpace(c.windowDesktop));
        EXPECT_EQ(state->onScreen, canJoinAll || c.windowDesktop == c.activeDesktop);
        auto switches = desk().journal(JournalEntry::Kind::spaceSwitch);
        if (c.switchJournalled) {
            ASSERT_EQ(switches.size(), 1u);
            EXPECT_EQ(switches[0].what, "1");
            EXPECT_EQ(switches[0].detail, std::to_string(desktopSpace(2)));
        } else {
            EXPECT_TRUE(switches.empty());
        }
        w->close();
    }
}

TEST_F(OwnWindowDesktopTest, AWindowMovedToTheOtherDisplayWhileOrderedOutTakesThatDisplaysDesktop) {
    desk().useLaptopWithExternal();
    desk().addSpace(2);
    auto w = std::make_shared<Window>(Rect{200, 200, 400, 300}, StyleMask::titled);
    desk().switchToDesktop(1, 2);
    w->orderFront();
    w->orderOut();
    desk().switchToDesktop(1, 1);
    w->setFrameOrigin({1600, 200}); // onto display 2, whose active Desktop is its first
    w->makeKeyAndOrderFront();
    EXPECT_EQ(desk().activeSpace(1), desktopSpace(1));
    EXPECT_EQ(stateOf(*w)->space, desk().spaces(2)[0]);
    EXPECT_TRUE(stateOf(*w)->onScreen);
}

TEST_F(OwnWindowDesktopTest, ActivatingMakesTheProgramFrontmostWithOneWorkspaceNotification) {
    const pid_t notesPid = desk().run(testsupport::notesApp(), {});
    desk().setFrontmost(notesPid);
    testsupport::WorkspacePidRecorder activations(platform::NSWorkspaceDidActivateApplicationNotification);
    std::vector<pid_t>& activated = activations.pids;

    Application::shared().activate(true);
    Application::shared().activate(true); // already in front: nothing more
    ASSERT_TRUE(NSWorkspace::shared().frontmostApplication());
    EXPECT_EQ(NSWorkspace::shared().frontmostApplication()->processIdentifier(), desk().programPid());
    EXPECT_EQ(desk().frontmost(), desk().programPid());
    EXPECT_EQ(activated, (std::vector<pid_t>{desk().programPid()}));
    EXPECT_EQ(count(ApplicationDidBecomeActiveNotification), 1u);

    // Another application came forward meanwhile: activating again brings the program back.
    desk().setFrontmost(notesPid);
    activated.clear();
    Application::shared().activate(false);
    EXPECT_EQ(desk().frontmost(), desk().programPid());
    EXPECT_EQ(activated, (std::vector<pid_t>{desk().programPid()}));
}

TEST_F(OwnWindowDesktopTest, ClicksPassThroughPanelsThatIgnoreMouseEvents) {
    struct Case {
        const char* name;
        bool ignores;
        bool setAfterShown; ///< the flag changes while the panel is on screen
        bool notesComesForward;
    };
    const std::vector<Case> cases = {
        {"panel takes the click", false, false, false},
        {"panel ignoring mouse events: the window below is clicked", true, false, true},
        {"flag set while shown reaches the window server at once", true, true, true},
        {"flag cleared while shown: the panel takes clicks again", false, true, false},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        SimDesktop::clear();
        desk().useLaptop();
        const pid_t notesPid = desk().run(testsupport::appSpec("com.example.notes"),
                                          {testsupport::windowSpec("Under", {100, 100, 400, 300})});
        const pid_t mailPid = desk().run(testsupport::appSpec("com.example.mail"), {});
        desk().setFrontmost(mailPid);

        auto panel = std::make_shared<Panel>(Rect{150, 150, 200, 100}, StyleMask::nonactivatingPanel);
        panel->setLevel(WindowLevel::floating);
        if (!c.setAfterShown)
            panel->setIgnoresMouseEvents(c.ignores);
        else
            panel->setIgnoresMouseEvents(!c.ignores);
        panel->orderFrontRegardless();
        if (c.setAfterShown) panel->setIgnoresMouseEvents(c.ignores);

        auto& input = platform::SimInput::shared();
        input.moveMouse({200, 200});
        input.mouseDown();
        input.mouseUp();
        EXPECT_EQ(desk().frontmost(), c.notesComesForward ? notesPid : mailPid);
        EXPECT_EQ(desk().windowAt({200, 200})->pid, c.ignores ? notesPid : desk().programPid());
        panel.reset();
    }
}

#ifndef NDEBUG
TEST_F(OwnWindowDesktopTest, MainThreadOnlyCallsFailOnAWorkerNamingTheCall) {
    auto window = std::make_shared<Window>(Rect{200, 200, 400, 300}, StyleMask::titled);
    auto menu = std::make_shared<Menu>();
    struct Case {
        const char* call;
        std::function<void()> work;
    };
    const std::vector<Case> cases = {
        {"Window::setFrame",
         [&] {
             window->setFrame({0, 0, 10, 10}, true);
         }},
        {"Window::setFrameOrigin",
         [&] {
             window->setFrameOrigin({5, 5});
         }},
        {"Window::makeKeyAndOrderFront", [&] { window->makeKeyAndOrderFront(); }},
        {"Window::orderOut", [&] { window->orderOut(); }},
        {"Window::Window",
         [] {
             Window(Rect{0, 0, 10, 10}, StyleMask::titled);
         }},
        {"View::addSubview",
         [&] {
             window->contentView()->addSubview(std::make_shared<View>(Rect{0, 0, 1, 1}));
         }},
        {"Menu::addItem", [&] { menu->addItem(MenuItem::separatorItem()); }},
        {"Application::activate", [] { Application::shared().activate(true); }},
        {"RunLoop::runFor", [] { platform::RunLoop::main().runFor(0.1); }},
        {"Timer::scheduledTimer", [] { platform::Timer::scheduledTimer(1, false, [](platform::Timer&) {}); }},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.call);
        const Rect before = window->frame();
        expectMainThreadOnly(c.call, c.work);
        EXPECT_EQ(window->frame(), before);
        EXPECT_TRUE(menu->items().empty());
        sim().reset();
    }
    // On the main thread the same calls go through.
    window->setFrame({0, 0, 10, 10}, true);
    EXPECT_EQ(window->frame(), (Rect{0, 0, 10, 10}));
}
#endif

} // namespace
