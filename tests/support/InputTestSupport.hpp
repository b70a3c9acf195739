#pragma once

#include "platform/input/EventQueue.hpp"
#include "platform/control/SimInput.hpp"
#include "support/PlatformTest.hpp"

#include <vector>

/// Fresh input state around every test; records what the application and the other applications
/// received. Every platform shared instance is reset around each test.
class InputTest : public PlatformTest {
protected:
    void SetUp() override {
        PlatformTest::SetUp();
        platform::EventQueue::shared().setEventHandler(
            [this](const platform::NSEvent& e) { program.push_back(e); });
        input().setOtherApplicationReceiver([this](const platform::NSEvent& e) { others.push_back(e); });
    }
    /// Lets the main run loop dispatch what was queued for the application.
    void settle() { sim().drainMainQueue(); }

    platform::SimInput& input() { return platform::SimInput::shared(); }
    void programIsFrontmost(bool frontmost) {
        input().setKeysGoToProgram([frontmost] { return frontmost; });
    }

    std::vector<platform::NSEvent> program; ///< events the application dispatched
    std::vector<platform::NSEvent> others;  ///< events other applications received
};
