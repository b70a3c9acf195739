#pragma once

#include "ShortcutTestSupport.hpp"
#include "platform/control/SimDesktop.hpp"
#include "platform/control/UISimulator.hpp"
#include "platform/foundation/NotificationCenter.hpp"
#include "platform/ui/Window.hpp"
#include "shortcuts/RecorderField.hpp"

#include <memory>
#include <vector>

/// Shortcut tests with the laptop desktop, keys going to the program, a titled key window at
/// (100, 100) with a 400 x 200 content area, and the recorders' active-status notifications
/// recorded (1 true, 0 false, -1 without a Boolean).
class RecorderFixture : public ShortcutTest {
protected:
    void SetUp() override {
        ShortcutTest::SetUp();
        makeWindow();
    }
    /// Also after `resetSharedInstances`: the module bundle, the laptop desktop, keys going to the
    /// program and the active-status log.
    void restoreFixture() override {
        ShortcutTest::restoreFixture();
        platform::BundleControl::setResourceDirectory(programResources());
        platform::SimDesktop::shared().useLaptop();
        programIsFrontmost(true);
        activeToken = platform::NotificationCenter::defaultCenter().addObserver(
            tilmora::GlobalShortcuts::recorderActiveStatusDidChangeNotification, nullptr,
            [this](const platform::Notification& n) {
                auto it = n.userInfo.find("isActive");
                const bool* b = it == n.userInfo.end() ? nullptr : it->second.asBool();
                active.push_back(b ? int(*b) : -1);
            });
    }
    /// A new key window in place of the fixture's.
    void makeWindow() {
        if (window) window->close();
        window = std::make_shared<platform::ui::Window>(platform::ui::Rect{100, 100, 400, 200},
                                                        platform::ui::StyleMask::titled);
        window->makeKeyAndOrderFront();
    }
    void TearDown() override {
        if (window) window->close();
        window.reset();
        ShortcutTest::TearDown();
    }

    /// A recorder of `name` placed at (20, 20) in the window's content, its queue turn passed.
    std::shared_ptr<tilmora::GlobalShortcuts::RecorderField>
    addRecorder(const tilmora::GlobalShortcuts::Name& name,
                tilmora::GlobalShortcuts::RecorderField::OnChange onChange = nullptr) {
        auto r = tilmora::GlobalShortcuts::RecorderField::make(name, std::move(onChange));
        r->setFrameOrigin({20, 20});
        window->contentView()->addSubview(r);
        settle();
        return r;
    }
    /// A key press and release, then the main queue's turn.
    void press(std::uint16_t keyCode, platform::ModifierFlags held = {}) {
        input().keyDown(keyCode, held);
        input().keyUp(keyCode, held);
        settle();
    }
    /// Key-downs the application's handler received for `keyCode`.
    std::size_t programKeyDowns(std::uint16_t keyCode) const {
        std::size_t n = 0;
        for (const auto& e : program)
            if (e.type == platform::EventType::keyDown && e.keyCode == keyCode) ++n;
        return n;
    }

    std::shared_ptr<platform::ui::Window> window;
    std::vector<int> active;
    platform::ObserverToken activeToken;
};
