#pragma once

#include "platform/input/EventQueue.hpp"
#include "platform/input/SimInput.hpp"
#include "support/FoundationSandbox.hpp"

#include <vector>

/// Fresh input state around every test; records what the application and the other applications
/// received.
class InputTest : public testsupport::FoundationSandbox {
protected:
    void SetUp() override {
        FoundationSandbox::SetUp();
        platform::SimInput::resetShared();
        platform::EventQueue::shared().setEventHandler(
            [this](const platform::NSEvent& e) { program.push_back(e); });
        input().setOtherApplicationReceiver([this](const platform::NSEvent& e) { others.push_back(e); });
    }
    void TearDown() override {
        platform::SimInput::resetShared();
        FoundationSandbox::TearDown();
    }

    platform::SimInput& input() { return platform::SimInput::shared(); }
    void programIsFrontmost(bool frontmost) {
        input().setKeysGoToProgram([frontmost] { return frontmost; });
    }

    std::vector<platform::NSEvent> program; ///< events the application dispatched
    std::vector<platform::NSEvent> others;  ///< events other applications received
};
