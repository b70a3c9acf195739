#pragma once

#include "platform/control/BundleControl.hpp"

#include "model/Settings.hpp"
#include "platform/control/ViewDriver.hpp"
#include "platform/foundation/UserDefaults.hpp"
#include "platform/ui/Window.hpp"
#include "platform/ui/declarative/HostingView.hpp"
#include "preferences/PreferencesShell.hpp"
#include "preferences/PreferencesSnapGrid.hpp"
#include "preferences/PreferencesView.hpp"
#include "shortcuts/RecorderField.hpp"
#include "support/DesktopTest.hpp"

#include <memory>
#include <string>
#include <string_view>
#include <vector>

/// Records, in one list, what the preferences asked of the shell and the snap grid.
/// The shortcut field of the name `name` ("snap-left-half") among `view`'s subviews, or null.
inline tilmora::GlobalShortcuts::RecorderField* recorderField(const platform::ui::View& view, std::string_view name) {
    for (const auto& v : view.subviews())
        if (auto* r = dynamic_cast<tilmora::GlobalShortcuts::RecorderField*>(v.get()); r && r->shortcutName().rawValue == name)
            return r;
    return nullptr;
}

struct CallLog {
    std::vector<std::string> calls;
    void add(std::string call) { calls.push_back(std::move(call)); }
};

class SpyShell : public tilmora::PreferencesShell {
public:
    explicit SpyShell(std::shared_ptr<CallLog> log)
        : log(std::move(log)) {}
    void toggleSnapBar() override {
        log->add("toggleSnapBar");
        auto& d = platform::UserDefaults::standard();
        d.set(platform::PropertyValue(!d.boolForKey(tilmora::settings::snapBarVisible.key)),
              tilmora::settings::snapBarVisible.key);
    }
    void refreshSnapBarIndicators() override {
        if (hasSnapBarController) log->add("refreshIndicators");
    }
    void rebuildStatusMenu() override { log->add("createMenu"); }
    void applyKeyboardShortcutsEnabledState() override { log->add("applyKeyboardShortcutsEnabledState"); }
    void layoutScopePreferenceDidChange() override { log->add("layoutScopePreferenceDidChange"); }
    std::shared_ptr<CallLog> log;
    bool hasSnapBarController = true;
};

class SpyGrid : public tilmora::PreferencesSnapGrid {
public:
    explicit SpyGrid(std::shared_ptr<CallLog> log)
        : log(std::move(log)) {}
    static std::string flag(bool on) { return on ? "true" : "false"; }
    void setMagnetMode(bool on) override { log->add("magnetMode " + flag(on)); }
    void setDragRequireOption(bool on) override { log->add("dragRequireOption " + flag(on)); }
    void setSnappingEnabled(bool on) override { log->add("snappingEnabled " + flag(on)); }
    void startMonitoringIfNeeded() override { log->add("startMonitoringIfNeeded"); }
    void stopMonitoring() override { log->add("stopMonitoring"); }
    void setSuppressMenuSelection(bool on) override { log->add("suppressMenuSelection " + flag(on)); }
    void clearAllRectSelections() override { log->add("clearAllRectSelections"); }
    void clearGridPresetMarking(bool removeOverlays) override {
        log->add("clearGridPresetMarking " + flag(removeOverlays));
    }
    std::shared_ptr<CallLog> log;
};

/// The preferences view in a titled window on the laptop desktop, as the shell shows it: the
/// snap grid in the environment (a spy), a spy shell installed, the program's locales from the
/// source tree.
class PreferencesTest : public DesktopTest {
protected:
    /// The shell's root: the preferences view with the grid in its environment.
    class Root : public platform::ui::declarative::Component<Root> {
    public:
        explicit Root(std::shared_ptr<tilmora::PreferencesSnapGrid> grid)
            : grid(std::move(grid)) {}
        platform::ui::declarative::Element body() override {
            auto e = platform::ui::declarative::view<tilmora::PreferencesView>();
            if (grid) e.environment(tilmora::PreferencesView::snapGridEnvironmentKey(), grid);
            return e;
        }
        std::shared_ptr<tilmora::PreferencesSnapGrid> grid;
    };

    void restoreFixture() override {
        DesktopTest::restoreFixture();
        platform::BundleControl::setResourceDirectory(programResources());
        desk().useLaptop();
        log = std::make_shared<CallLog>();
        shell = std::make_shared<SpyShell>(log);
        grid = std::make_shared<SpyGrid>(log);
        tilmora::PreferencesShell::install(shell);
    }
    void TearDown() override {
        if (window) window->close();
        window.reset();
        host.reset();
        DesktopTest::TearDown();
    }
    platform::UserDefaults& defaults() { return platform::UserDefaults::standard(); }
    void store(const std::string& key, platform::PropertyValue value) { defaults().set(value, key); }

    /// Opens the window with a new view and lets it reach the form (one drain after it appeared).
    platform::ui::declarative::ViewDriver open(bool untilReady = true) {
        window = std::make_shared<platform::ui::Window>(platform::ui::Rect{100, 100, 1000, 800},
                                                        platform::ui::StyleMask::titled |
                                                            platform::ui::StyleMask::closable);
        window->title = "Preferences";
        host = std::make_shared<platform::ui::declarative::HostingView>(
            std::make_shared<Root>(std::static_pointer_cast<tilmora::PreferencesSnapGrid>(grid)),
            platform::ui::Rect{0, 0, 1000, 800});
        window->contentView()->addSubview(host);
        window->makeKeyAndOrderFront();
        host->rebuildIfNeeded();
        if (untilReady) drain();
        return platform::ui::declarative::ViewDriver(*host);
    }
    /// Turns the main queue until it is empty, then rebuilds what changed.
    void drain() {
        sim().drainMainQueue();
        host->rebuildIfNeeded();
        sim().drainMainQueue();
        host->rebuildIfNeeded();
    }
    /// The view the host keeps.
    tilmora::PreferencesView& view() {
        tilmora::PreferencesView* found = nullptr;
        std::function<void(const platform::ui::declarative::Element&)> walk =
            [&](const platform::ui::declarative::Element& e) {
                if (found) return;
                if (auto* v = dynamic_cast<tilmora::PreferencesView*>(e.node()->component.get())) {
                    found = v;
                    return;
                }
                for (const auto& c : e.node()->children)
                    walk(c);
            };
        walk(host->tree());
        if (!found) throw std::runtime_error("no preferences view in the tree");
        return *found;
    }
    /// What the form shows for the setting `key`; fails the test when it shows none.
    platform::PropertyValue shown(const std::string& key) {
        auto value = view().shownValue(key);
        if (!value) throw std::runtime_error("the form shows no value for " + key);
        return *value;
    }
    std::vector<std::string> takeCalls() {
        auto calls = log->calls;
        log->calls.clear();
        return calls;
    }

    std::shared_ptr<CallLog> log;
    std::shared_ptr<SpyShell> shell;
    std::shared_ptr<SpyGrid> grid;
    std::shared_ptr<platform::ui::Window> window;
    std::shared_ptr<platform::ui::declarative::HostingView> host;
};
