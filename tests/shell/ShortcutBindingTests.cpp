#include "ChordFixture.hpp"

#include "shortcuts/DefaultShortcuts.hpp"
#include "snapping/RoriDeru.hpp"

#include <gtest/gtest.h>

namespace tilmora {
namespace {

class ShortcutBindingTest : public ChordTest {
protected:
    void SetUp() override {
        ChordTest::SetUp();
        registerDefaultSnapShortcutsIfNeeded();
    }
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
