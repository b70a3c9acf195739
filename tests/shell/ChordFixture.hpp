#pragma once

#include "ShellFixture.hpp"

#include "platform/control/SimInput.hpp"
#include "platform/input/KeyChord.hpp"

namespace tilmora {

/// A shell on the laptop with registered defaults and a Notes window ("Doc") in front, for tests
/// that press global chords.
class ChordTest : public ShellTest {
protected:
    void SetUp() override {
        ShellTest::SetUp();
        desk().useLaptop();
        desk().setAccessibilityTrusted(true);
        notes = runFrontmost(notesApp(), {window("Doc", {100, 250, 800, 500})});
        makeShell().registerAppDefaults();
    }
    /// Presses `chord` ("ctrl+opt+left") and lets a virtual second pass.
    void press(const char* chord) {
        platform::SimInput::shared().press(*platform::KeyChord::parse(chord));
        sim().runFor(1);
    }
    /// The Notes window's frame, in global points, y up.
    platform::CGRect notesFrame() { return desk().windowState(desk().windowsOf(notes).at(0).number)->frame; }
    pid_t notes = 0;
};

} // namespace tilmora
