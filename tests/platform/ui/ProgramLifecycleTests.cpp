#include "UiTestFixture.hpp"

#include "platform/control/SimDesktop.hpp"
#include "platform/control/SimInput.hpp"
#include "platform/control/UISimulator.hpp"
#include "platform/desktop/NSWorkspace.hpp"
#include "platform/dispatch/Timer.hpp"
#include "platform/input/CarbonHotKeys.hpp"
#include "platform/input/NSEvent.hpp"
#include "platform/internal/InputState.hpp"
#include "platform/internal/Kernel.hpp"
#include "platform/ui/Application.hpp"
#include "platform/ui/SearchField.hpp"
#include "platform/ui/StatusItem.hpp"
#include "platform/ui/Window.hpp"
#include "support/DesktopBuilders.hpp"
#include "support/WorkspacePidRecorder.hpp"

#include <gtest/gtest.h>

using namespace platform::ui;
using platform::NSWorkspace;
using platform::SimDesktop;
using namespace platform;

namespace {

/// The program's life as the window server sees it: launched as an accessory behind the user's
/// application, ended by terminate, and kept on the displays.
class ProgramLifecycleTest : public UiTest {
protected:
    SimDesktop& desk() { return SimDesktop::shared(); }
    pid_t runNotes() {
        const pid_t pid =
            desk().run(testsupport::notesApp(), {testsupport::windowSpec("Todo", {100, 100, 400, 300})});
        desk().setFrontmost(pid);
        return pid;
    }
};

TEST_F(ProgramLifecycleTest, AnAccessoryProgramTakesTheFrontOnlyWhenItActivatesAfterLaunching) {
    const pid_t notes = runNotes();
    auto& app = Application::shared();
    app.setActivationPolicy(ActivationPolicy::accessory);
    app.activate(true);
    app.run();
    EXPECT_EQ(desk().frontmost(), notes) << "launching leaves the user's application in front";
    EXPECT_FALSE(app.isActive());
    app.activate(true);
    EXPECT_EQ(desk().frontmost(), desk().programPid());
}

TEST_F(ProgramLifecycleTest, AClickIntoATextFieldBringsTheProgramAndTheFieldsWindowToTheKeys) {
    const pid_t notes = runNotes();
    auto& app = Application::shared();
    app.setActivationPolicy(ActivationPolicy::accessory);
    app.run();
    auto window = std::make_shared<Window>(Rect{200, 200, 400, 300}, StyleMask::titled);
    auto other = std::make_shared<Window>(Rect{300, 300, 400, 300}, StyleMask::titled);
    auto field = std::make_shared<SearchField>();
    auto hidden = std::make_shared<SearchField>();
    hidden->setHidden(true);
    auto label = TextField::labelWithString("label");
    window->contentView()->addSubview(field);
    window->contentView()->addSubview(hidden);
    window->contentView()->addSubview(label);
    EXPECT_FALSE(UISimulator::click(*field)) << "a window off screen takes no click";
    window->orderFrontRegardless();
    other->orderFrontRegardless();
    EXPECT_FALSE(UISimulator::click(*hidden));
    EXPECT_FALSE(UISimulator::click(*label));
    EXPECT_EQ(desk().frontmost(), notes);
    ASSERT_TRUE(UISimulator::click(*field));
    EXPECT_EQ(desk().frontmost(), desk().programPid());
    EXPECT_TRUE(window->isKeyWindow());
    EXPECT_EQ(window->firstResponder(), field.get());
    const auto* editor = field->currentEditor();
    ASSERT_TRUE(editor);
    // Once another application came forward, a click into the field being edited brings the
    // program back and goes on with the editing.
    desk().setFrontmost(notes);
    EXPECT_TRUE(UISimulator::click(*field));
    EXPECT_EQ(desk().frontmost(), desk().programPid());
    EXPECT_EQ(field->currentEditor(), editor);
}

TEST_F(ProgramLifecycleTest, TerminateEndsTheProgramAsItsProcessExitWould) {
    const pid_t notes = runNotes();
    auto& app = Application::shared();
    app.run();
    auto window = std::make_shared<Window>(Rect{200, 200, 400, 300}, StyleMask::titled);
    window->makeKeyAndOrderFront();
    app.activate(true);
    auto item = StatusBar::system().statusItem(StatusItemLength::variable);
    EventHotKeyRef hotKey;
    ASSERT_EQ(
        RegisterEventHotKey(123, controlKey | optionKey, {1, 1}, GetEventDispatcherTarget(), 0, &hotKey),
        noErr);
    int monitorCalls = 0;
    auto monitor = platform::NSEvent::addGlobalMonitorForEvents(
        platform::EventTypeMask::any, [&](const platform::NSEvent&) { ++monitorCalls; });
    int fired = 0;
    auto timer = platform::Timer::scheduledTimer(0.1, true, [&](platform::Timer&) { ++fired; });
    testsupport::WorkspacePidRecorder terminations(platform::NSWorkspaceDidTerminateApplicationNotification);
    const std::vector<pid_t>& ended = terminations.pids;

    app.terminate(nullptr);
    app.terminate(nullptr); // once only
    EXPECT_EQ(count(ApplicationWillTerminateNotification), 1u);
    EXPECT_TRUE(desk().windowsOf(desk().programPid()).empty()) << "its windows are closed";
    EXPECT_TRUE(StatusBar::system().items().empty());
    EXPECT_TRUE(platform::input_detail::state().hotKeys.empty());
    EXPECT_TRUE(platform::input_detail::state().monitors.empty());
    EXPECT_EQ(platform::detail::Kernel::get().scheduledTimerCount(), 0u);
    EXPECT_EQ(ended, (std::vector<pid_t>{desk().programPid()}));
    EXPECT_EQ(desk().frontmost(), notes) << "the next application comes forward";
    for (const auto& running : NSWorkspace::shared().runningApplications())
        EXPECT_NE(running.processIdentifier(), desk().programPid());
    platform::SimInput::shared().moveMouse({300, 300});
    advance(0.5);
    EXPECT_EQ(monitorCalls, 0);
    EXPECT_EQ(fired, 0);
    app.activate(true);
    EXPECT_EQ(desk().frontmost(), notes) << "a terminated program never comes forward again";
}

TEST_F(ProgramLifecycleTest, PointerAndTheProgramsWindowsStayOnTheDisplays) {
    desk().useLaptopWithExternal(); // display 2 at (1440, 0, 1920, 1080)
    auto& input = platform::SimInput::shared();
    const struct {
        platform::CGPoint to, expected;
    } moves[] = {
        {{1e308, 0}, {3360, 0}},      {{-1e308, 5}, {0, 5}},       {{2000, 1e9}, {2000, 1080}},
        {{1440, 1000}, {1440, 1000}}, {{1000, 1000}, {1000, 900}}, {{500, 400}, {500, 400}},
    };
    for (const auto& m : moves) {
        input.moveMouse(m.to);
        EXPECT_EQ(platform::NSEvent::mouseLocation(), m.expected) << m.to.x << " " << m.to.y;
    }
    auto window = std::make_shared<Window>(Rect{2330, 300, 600, 400}, StyleMask::titled);
    window->orderFront();
    input.moveMouse({3000, 800});
    desk().removeDisplay(2);
    advance(0.1);
    const Rect visible{0, 0, 1440, 875};
    EXPECT_EQ(visible.intersection(window->frame()), window->frame()) << "the toolkit's frame follows";
    const auto state = desk().windowState(std::uint32_t(window->windowNumber()));
    ASSERT_TRUE(state);
    EXPECT_EQ(state->frame, window->frame());
    EXPECT_EQ(platform::NSEvent::mouseLocation(), (platform::CGPoint{1440, 800}));
}

} // namespace
