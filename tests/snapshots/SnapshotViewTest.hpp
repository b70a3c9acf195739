#pragma once

#include "SnapshotQuitTest.hpp"

#include "snapshots/ResetSnappedWindowsHook.hpp"
#include "snapshots/SnapshotManaging.hpp"
#include "snapshots/SnapshotShortcuts.hpp"

#include "model/NotificationManager.hpp"
#include "shortcuts/Registry.hpp"

#include "platform/control/SimInput.hpp"
#include "platform/control/UISimulator.hpp"
#include "platform/control/ViewDriver.hpp"
#include "platform/dispatch/DispatchQueue.hpp"
#include "platform/dispatch/DispatchTime.hpp"
#include "platform/ui/declarative/ColorScheme.hpp"
#include "platform/ui/declarative/HostingView.hpp"
#include "support/ContentRoot.hpp"

#include <functional>
#include <memory>
#include <string>
#include <vector>

/// A snapshot service for the views: saves and quits through the real operations unless told
/// otherwise, counts restores and can answer quits with a fixed result after a delay.
class FakeSnapshotManager : public tilmora::SnapshotManaging {
public:
    explicit FakeSnapshotManager(tilmora::SnapshotContext& context)
        : context_(context) {}

    tilmora::SnapshotContext& viewContext() override { return context_; }
    void saveSnapshot(const std::string& name,
                      const tilmora::WindowManager::SnapshotCompletion& completion) override {
        savedNames.push_back(name);
        tilmora::WindowManager::saveSnapshot(name, context_, completion);
    }
    void restoreSnapshot(const std::shared_ptr<tilmora::Snapshot>& snapshot,
                         const tilmora::WindowManager::SnapshotCompletion& completion) override {
        restored.push_back(snapshot->name.value_or(""));
        tilmora::NotificationManager::shared().show("Launching Snapshot",
                                                    "Restoring '" + restored.back() + "'...", 999);
        if (completion) completion(true, "");
    }
    void quitSnapshot(const std::shared_ptr<tilmora::Snapshot>& snapshot,
                      const tilmora::WindowManager::SnapshotCompletion& completion) override {
        quitNames.push_back(snapshot->name.value_or(""));
        if (!quitAnswer) {
            tilmora::WindowManager::quitSnapshot(*snapshot, completion);
            return;
        }
        auto answer = *quitAnswer;
        platform::DispatchQueue::main().asyncAfter(
            platform::DispatchTime::now() + answer.delay,
            [answer, completion] { completion(answer.success, answer.message); });
    }

    struct QuitAnswer {
        double delay = 0;
        bool success = true;
        std::string message;
    };
    std::optional<QuitAnswer> quitAnswer;
    std::vector<std::string> savedNames;
    std::vector<std::string> restored;
    std::vector<std::string> quitNames;

private:
    tilmora::SnapshotContext& context_;
};

using TestRoot = testsupport::ContentRoot;

/// Hosts snapshot views with the fake service and the store's context in their environment;
/// counts the shell's resets.
class SnapshotViewTest : public SnapshotQuitTest {
protected:
    void SetUp() override {
        SnapshotQuitTest::SetUp();
        manager = std::make_shared<FakeSnapshotManager>(context());
        tilmora::ResetSnappedWindowsHook::install([this] { ++resets; });
    }

    void TearDown() override {
        driver.reset();
        host.reset();
        SnapshotQuitTest::TearDown();
    }

    /// Hosts `content` with the environment set; returns the driver.
    platform::ui::declarative::ViewDriver& show(std::function<platform::ui::declarative::Element()> content) {
        driver.reset();
        auto service = std::static_pointer_cast<tilmora::SnapshotManaging>(manager);
        tilmora::SnapshotContext* ctx = &context();
        host = std::make_shared<platform::ui::declarative::HostingView>(
            std::make_shared<TestRoot>([content, service, ctx, this] {
                auto e = content();
                if (withService) e.environment(tilmora::SnapshotManaging::snapshotManagerKey, service);
                e.environment(tilmora::SnapshotManaging::managedObjectContextKey, ctx);
                if (dark)
                    e.environment(platform::ui::declarative::colorSchemeKey,
                                  platform::ui::declarative::ColorScheme::dark);
                return e;
            }),
            platform::ui::Rect{0, 0, 1000, 600});
        driver = std::make_unique<platform::ui::declarative::ViewDriver>(*host);
        return *driver;
    }

    std::vector<std::pair<std::string, std::string>> toastTexts() const {
        std::vector<std::pair<std::string, std::string>> out;
        for (const auto& view : toasts->panel->contents)
            out.emplace_back(view.title, view.message);
        return out;
    }

    std::pair<std::string, std::string> lastToast() const {
        const auto all = toastTexts();
        return all.empty() ? std::pair<std::string, std::string>{} : all.back();
    }

    static std::optional<platform::PropertyValue> stored(const std::string& rawName) {
        return platform::UserDefaults::standard().objectForKey("GlobalShortcuts_" + rawName);
    }

    /// Presses and releases a chord as the user would, then lets the main queue run.
    void press(const tilmora::GlobalShortcuts::Shortcut& chord) {
        platform::SimInput::shared().keyDown(static_cast<std::uint16_t>(chord.carbonKeyCode),
                                             chord.modifiers());
        platform::SimInput::shared().keyUp(static_cast<std::uint16_t>(chord.carbonKeyCode),
                                           chord.modifiers());
        sim().drainMainQueue();
    }

    std::shared_ptr<FakeSnapshotManager> manager;
    std::shared_ptr<platform::ui::declarative::HostingView> host;
    std::unique_ptr<platform::ui::declarative::ViewDriver> driver;
    bool dark = false;
    /// False: only the store's context is in the environment (the views make their own service).
    bool withService = true;
    int resets = 0;
};
