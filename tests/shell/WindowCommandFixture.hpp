#pragma once

#include "model/Log.hpp"
#include "model/NotificationManager.hpp"
#include "model/Settings.hpp"
#include "platform/control/BundleControl.hpp"
#include "platform/control/SimDesktop.hpp"
#include "platform/control/SimScheduler.hpp"
#include "platform/desktop/NSScreen.hpp"
#include "platform/foundation/UserDefaults.hpp"
#include "platform/input/EventQueue.hpp"
#include "platform/ui/Application.hpp"
#include "platform/ui/MenuItem.hpp"
#include "shell/AppDelegate.hpp"
#include "shell/EditorWindowHooks.hpp"
#include "snapping/RoriDeru.hpp"
#include "support/DesktopTest.hpp"
#include "support/LogReading.hpp"
#include "support/RecordingToastHost.hpp"
#include "support/ScreenLookup.hpp"

#include <any>
#include <filesystem>
#include <memory>
#include <string>
#include <vector>

namespace tilmora::shelltest {

/// A window mover that records every rectangle it is handed, then moves the window as the
/// program's mover does.
class RecordingMover : public WindowMoving {
public:
    void moveFrontmostWindow(const Rect& rect) override {
        moves.push_back(rect);
        RoriDeru::shared().moveFrontmostAXWindow(rect);
    }
    std::vector<Rect> moves;
};

/// The laptop (display 1 "Built-in Retina Display", visible frame (0, 0, 1440, 875), scale 2),
/// the program's bundle "com.quorvane.Tilmora", TextEdit frontmost with one window "Notes", and a
/// shell whose window mover records. Hooks are back to their placeholders after each test.
class WindowCommandTest : public DesktopTest, protected testsupport::LogReading {
protected:
    void restoreFixture() override {
        DesktopTest::restoreFixture();
        desk().useLaptop();
        platform::BundleControl::setBundleIdentifier(testsupport::programBundleIdentifier);
        platform::BundleControl::setResourceDirectory(programResources());
        NotificationManager::installHost(toasts);
    }

    void SetUp() override {
        DesktopTest::SetUp();
        EditorWindowHooks::reset();
        platform::UserDefaults::standard().registerDefaults({
            {settings::preserveRelativeMove.key, true},
            {settings::gridAllDisplays.key, false},
            {settings::useCursorDisplay.key, false},
            {settings::snappingEnabled.key, true},
            {settings::applyGapsToMaximizeHeight.key, false},
        });
        textEdit =
            runFrontmost(app("com.apple.TextEdit", "TextEdit"), {window("Notes", {100, 100, 400, 300})});
        shell = std::make_shared<AppDelegate>();
        shell->useWindowMover(mover);
        skipPrintedLines();
    }

    void TearDown() override {
        shell.reset();
        EditorWindowHooks::reset();
        DesktopTest::TearDown();
    }

    /// Sends `selector` to the shell as the status menu and the snap bar do.
    bool send(const std::string& selector, platform::ui::Responder* sender = nullptr) {
        return platform::ui::Application::shared().sendAction(selector, shell.get(), sender);
    }

    /// Sends `selector` from a menu item that carries `object`.
    bool sendWithObject(const std::string& selector, std::any object) {
        auto item = platform::ui::MenuItem::make("item", selector);
        item->representedObject = std::move(object);
        return send(selector, item.get());
    }

    /// Sends `selector` while a left mouse-up (a menu pick or a click) is the current event.
    bool sendClick(const std::string& selector) {
        platform::NSEvent click;
        click.type = platform::EventType::leftMouseUp;
        platform::EventQueue::CurrentEventScope scope(click);
        return send(selector);
    }

    /// Sends `selector` while a hot key's system-defined event is the current event.
    bool sendHotKey(const std::string& selector) {
        platform::NSEvent hotKey;
        hotKey.type = platform::EventType::systemDefined;
        hotKey.subtype = 6;
        platform::EventQueue::CurrentEventScope scope(hotKey);
        return send(selector);
    }

    void setWindowFrame(const platform::CGRect& frame) {
        desk().setWindowFrame(desk().windowsOf(textEdit).at(0).number, frame);
    }
    platform::CGRect windowFrame() const {
        return platform::SimDesktop::shared().windowsOf(textEdit).at(0).frame;
    }

    static platform::NSScreen screen(std::uint32_t display) { return testsupport::screenOfDisplay(display); }

    std::shared_ptr<testsupport::RecordingToastHost> toasts =
        std::make_shared<testsupport::RecordingToastHost>();
    std::shared_ptr<RecordingMover> mover = std::make_shared<RecordingMover>();
    std::shared_ptr<AppDelegate> shell;
    pid_t textEdit = 0;
};

/// Rectangles compared field by field within `tolerance`.
inline ::testing::AssertionResult sameRect(const Rect& actual, const Rect& expected,
                                           double tolerance = 1e-9) {
    if (std::abs(actual.x - expected.x) <= tolerance && std::abs(actual.y - expected.y) <= tolerance &&
        std::abs(actual.width - expected.width) <= tolerance &&
        std::abs(actual.height - expected.height) <= tolerance) {
        return ::testing::AssertionSuccess();
    }
    return ::testing::AssertionFailure()
           << "(" << actual.x << ", " << actual.y << ", " << actual.width << ", " << actual.height
           << ") is not (" << expected.x << ", " << expected.y << ", " << expected.width << ", "
           << expected.height << ")";
}

inline Rect rectOf(const platform::CGRect& r) {
    return {r.origin.x, r.origin.y, r.size.width, r.size.height};
}

} // namespace tilmora::shelltest
