#include "ShellFixture.hpp"

#include "platform/control/SimInput.hpp"
#include "platform/input/KeyChord.hpp"
#include "shortcuts/DefaultShortcuts.hpp"
#include "snapping/RoriDeru.hpp"

#include <gtest/gtest.h>

namespace tilmora {
namespace {

class ShortcutBindingTest : public ShellTest {
protected:
    void SetUp() override {
        ShellTest::SetUp();
        desk().useLaptop();
        desk().setAccessibilityTrusted(true);
        notes = desk().run(notesApp(), {window("Doc", {100, 250, 800, 500})});
        desk().setFrontmost(notes);
        makeShell().registerAppDefaults();
        registerDefaultSnapShortcutsIfNeeded();
    }
    void press(const char* chord) {
        platform::SimInput::shared().press(*platform::KeyChord::parse(chord));
        sim().runFor(1);
    }
    platform::CGRect notesFrame() { return desk().windowState(desk().windowsOf(notes).at(0).number)->frame; }
    pid_t notes = 0;
};

TEST_F(ShortcutBindingTest, ChordsRunTheirCommandsUntilTheShellIsGone) {
    shell().registerSnapShortcutHandlers();
    press("ctrl+opt+left");
    const auto visible = platform::NSScreen::main()->visibleFrame();
    EXPECT_EQ(notesFrame().size.width, visible.size.width / 2);
    EXPECT_EQ(RoriDeru::shared().selectedKind(platform::NSScreen::main()), SnapIconKind::leftHalf);

    const auto before = notesFrame();
    wrapper.reset();
    platform::ui::Application::shared().setDelegate(nullptr);
    press("ctrl+opt+right");
    EXPECT_EQ(notesFrame(), before) << "a press after the shell is gone does nothing";
}

} // namespace
} // namespace tilmora
