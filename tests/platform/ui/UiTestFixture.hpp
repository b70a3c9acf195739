#pragma once

#include "platform/control/SimDesktop.hpp"
#include "platform/foundation/NotificationCenter.hpp"
#include "platform/control/UISimulator.hpp"
#include "platform/ui/Runtime.hpp"

#include "support/PlatformTest.hpp"

#include <gtest/gtest.h>

/// The platform fixture (every shared instance reset around each test, the toolkit's and the UI
/// simulator's among them), with the simulated desktop on the laptop fixture (one 1440 x 900
/// screen, visible frame 1440 x 875), and
/// records the notifications the toolkit posts.
class UiTest : public PlatformTest {
protected:
    void restoreFixture() override {
        PlatformTest::restoreFixture();
        platform::SimDesktop::shared().useLaptop();
        token_ = platform::NotificationCenter::defaultCenter().addObserver(
            "", nullptr, [this](const platform::Notification& n) { posted.push_back(n.name); });
    }
    /// Lets `seconds` of virtual time pass with the main run loop running in default mode.
    static void advance(double seconds) {
        platform::ui::runtime::runLoop(platform::ui::runtime::defaultMode, seconds);
    }
    size_t count(const std::string& name) const {
        return size_t(std::count(posted.begin(), posted.end(), name));
    }

    std::vector<std::string> posted;

private:
    platform::ObserverToken token_;
};
