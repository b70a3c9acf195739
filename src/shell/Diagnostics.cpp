#include "shell/Diagnostics.hpp"

#include "model/Settings.hpp"

#include "platform/foundation/Text.hpp"
#include "platform/foundation/UserDefaults.hpp"
#include "shell/SnappingSwitch.hpp"
#include "shortcuts/DefaultShortcuts.hpp"
#include "shortcuts/Key.hpp"
#include "shortcuts/Name.hpp"
#include "shortcuts/Shortcut.hpp"
#include "shortcuts/ShortcutDisplay.hpp"
#include "snapping/GapSettings.hpp"
#include "snapping/RoriDeru.hpp"

#include <cmath>
#include <map>
#include <utility>

namespace tilmora::Diagnostics {

namespace {

RoriDeru* published = nullptr;
GapArithmetic gapArithmetic;

using N = GlobalShortcuts::Name;

// The stored values the run overwrites, and the engine state it switches, put back afterwards.
class SavedState {
public:
    explicit SavedState(RoriDeru& grid)
        : grid_(grid) {
        auto& defaults = platform::UserDefaults::standard();
        keys_ = {settings::gapSize.key,
                 settings::gapHorizontal.key,
                 settings::gapVertical.key,
                 settings::gapsIncludeScreenEdges.key,
                 settings::gapsEdgesLeft.key,
                 settings::gapsEdgesRight.key,
                 "HasRegisteredDefaultSnapShortcutsV1"};
        for (const auto& name : N::catalog()) {
            keys_.push_back("HasRegisteredDefaultShortcut." + name.get().rawValue);
            chords_.emplace_back(&name.get(), name.get().shortcut());
            keys_.push_back("GlobalShortcuts_" + name.get().rawValue);
        }
        for (const auto& key : keys_) stored_[key] = storedValue(defaults, key);
        snapping_ = grid.isSnappingEnabled();
        monitoring_ = grid.isMonitoring();
        suppress_ = grid.consumeSuppressMenuSelection();
        if (suppress_) grid.suppressMenuSelectionOnce();
    }
    void restore() {
        // Chords through the registry, so the hot keys follow; then the raw values as they were.
        for (const auto& [name, chord] : chords_) {
            if (name->shortcut() != chord) name->setShortcut(chord);
        }
        auto& defaults = platform::UserDefaults::standard();
        for (const auto& key : keys_) {
            const auto& before = stored_[key];
            if (storedValue(defaults, key) == before) continue;
            if (before) {
                defaults.set(*before, key);
            } else {
                defaults.removeObjectForKey(key);
            }
        }
        grid_.setSnappingEnabled(snapping_);
        if (monitoring_) {
            grid_.startMonitoringIfNeeded();
        } else {
            grid_.stopMonitoring();
        }
        grid_.consumeSuppressMenuSelection();
        if (suppress_) grid_.suppressMenuSelectionOnce();
    }

private:
    // The value the user stored (not a registered fallback): none when the key holds nothing of its own.
    static std::optional<platform::PropertyValue> storedValue(platform::UserDefaults& defaults, const std::string& key) {
        return defaults.persistedObjectForKey(key);
    }

    RoriDeru& grid_;
    std::vector<std::string> keys_;
    std::map<std::string, std::optional<platform::PropertyValue>> stored_;
    std::vector<std::pair<const N*, std::optional<GlobalShortcuts::Shortcut>>> chords_;
    bool snapping_ = true;
    bool monitoring_ = false;
    bool suppress_ = false;
};

} // namespace

RoriDeru& roriDeru() { return published ? *published : RoriDeru::shared(); }

void setRoriDeru(RoriDeru* grid) { published = grid; }

void setGapArithmetic(GapArithmetic arithmetic) { gapArithmetic = std::move(arithmetic); }

AppDelegate::DiagnosticsResult run(AppDelegate& shell) {
    AppDelegate::DiagnosticsResult result;
    auto checkThat = [&](bool holds, const std::string& line) {
        if (holds) {
            ++result.passed;
        } else {
            ++result.failed;
            result.messages.push_back(line);
        }
    };
    auto& defaults = platform::UserDefaults::standard();
    RoriDeru& grid = roriDeru();
    SavedState saved(grid);
    const Rect f{0, 0, 1440, 900};
    // Read anew at each call, so every check sees the settings written just before it.
    auto gapped = [&](const Rect& r) {
        return gapArithmetic ? gapArithmetic(r, f) : RoriDeru::applyGaps(r, f, GapSettings::current());
    };
    const Rect lh{f.x, f.y, f.width * 0.5, f.height};
    const Rect rh{f.x + f.width / 2, f.y, f.width * 0.5, f.height};
    auto maxX = [](const Rect& r) { return r.x + r.width; };

    defaults.set(0.0, settings::gapSize.key);
    defaults.set(0.0, settings::gapHorizontal.key);
    defaults.set(0.0, settings::gapVertical.key);
    defaults.set(false, settings::gapsIncludeScreenEdges.key);
    checkThat(gapped(lh).width == f.width * 0.5, "FAIL: Left half width");
    checkThat(gapped(rh).x == f.x + f.width / 2, "FAIL: Right half origin");
    const Rect maximized = defaults.boolForKey(settings::applyGapsToMaximize.key) ? gapped(f) : f;
    checkThat(maximized == f, "FAIL: Maximize fills visible");
    const double w3 = f.width / 3;
    const Rect a = gapped({f.x, f.y, w3, f.height});
    const Rect b = gapped({f.x + w3, f.y, w3, f.height});
    const Rect c = gapped({f.x + 2 * f.width / 3, f.y, w3, f.height});
    checkThat(maxX(a) == b.x && maxX(b) == c.x, "FAIL: Thirds touching");

    defaults.set(10.0, settings::gapHorizontal.key);
    const double gap = gapped(rh).x - maxX(gapped(lh));
    checkThat(std::llround(gap) == 10,
              "FAIL: Horizontal gap between halves is 10 (got " + platform::Text::doubleDescription(gap) + ")");

    defaults.set(false, settings::gapsIncludeScreenEdges.key);
    defaults.set(false, settings::gapsEdgesLeft.key);
    defaults.set(false, settings::gapsEdgesRight.key);
    checkThat(std::abs(gapped(lh).x - f.x) < 0.5, "FAIL: Left half touches left edge when edges off");
    checkThat(std::abs(maxX(gapped(rh)) - maxX(f)) < 0.5, "FAIL: Right half touches right edge when edges off");
    defaults.set(true, settings::gapsIncludeScreenEdges.key);
    checkThat(f.x < gapped(lh).x, "FAIL: Left edge inset when edges on");
    checkThat(maxX(gapped(rh)) < maxX(f), "FAIL: Right edge inset when edges on");

    const double w = std::round(f.width * 0.6666666666666666);
    const Rect centre{f.x + f.width / 2 - w / 2, f.y, w, f.height};
    checkThat(std::round(centre.width) == w, "FAIL: Centre 2/3 width");
    checkThat(std::abs(centre.x + centre.width / 2 - (f.x + f.width / 2)) < 0.5, "FAIL: Centre 2/3 centered");

    const std::vector<std::pair<const N*, std::string>> commands = {
        {&N::toggleSnapBar(), "Toggle Snap Bar"},         {&N::toggleSnapping(), "Start/Stop Snapping"},
        {&N::showSnapshotManager(), "Show Snapshot Manager"}, {&N::openPreferences(), "Open Preferences"},
        {&N::openHelp(), "Open Help"},                   {&N::quitApp(), "Quit App"},
    };
    // The six commands' per-name markers go aside too (the run puts them back with the rest), so
    // the registration gives their defaults again also on an installation past its first launch.
    defaults.removeObjectForKey("HasRegisteredDefaultSnapShortcutsV1");
    for (const auto& [name, label] : commands) {
        defaults.removeObjectForKey("HasRegisteredDefaultShortcut." + name->rawValue);
        name->setShortcut(std::nullopt);
    }
    registerDefaultSnapShortcutsIfNeeded();
    for (const auto& [name, label] : commands) {
        checkThat(name->shortcut().has_value(), "FAIL: " + label + " default is registered");
    }

    const GlobalShortcuts::Shortcut controlOptionA(GlobalShortcuts::Key::a,
                                                     platform::ModifierFlags::control | platform::ModifierFlags::option);
    N::toggleSnapBar().setShortcut(controlOptionA);
    defaults.removeObjectForKey("HasRegisteredDefaultSnapShortcutsV1");
    registerDefaultSnapShortcutsIfNeeded();
    checkThat(N::toggleSnapBar().shortcut() == controlOptionA, "FAIL: Existing Toggle Snap Bar shortcut is preserved");

    switchSnappingOff(grid, SelectionOnSnappingOff::kept);
    checkThat(!grid.isSnappingEnabled(), "FAIL: Snapping can be disabled");
    grid.setSnappingEnabled(true);
    grid.startMonitoringIfNeeded();
    checkThat(grid.isSnappingEnabled(), "FAIL: Snapping can be re-enabled");

    const auto menu = shell.createMenu(std::nullopt);
    const std::vector<std::tuple<const char*, const N*, const char*>> labels = {
        {"toggleSnapBar:", &N::toggleSnapBar(), "FAIL: Menu shows Toggle Snap Bar shortcut"},
        {"toggleSnapping:", &N::toggleSnapping(), "FAIL: Menu shows Start/Stop Snapping shortcut"},
        {"openPreferences:", &N::openPreferences(), "FAIL: Menu shows Open Preferences shortcut"},
        {"openHelp:", &N::openHelp(), "FAIL: Menu shows Open Help shortcut"},
        {"quitApp", &N::quitApp(), "FAIL: Menu shows Quit App shortcut"},
    };
    for (const auto& [action, name, line] : labels) {
        std::shared_ptr<platform::ui::MenuItem> item;
        for (const auto& candidate : menu->items()) {
            if (candidate->action == action) {
                item = candidate;
                break;
            }
        }
        if (!item) continue;
        const auto chord = name->shortcut();
        const std::string hint = chord ? "\t" + ShortcutDisplay::describe(*chord) : "";
        checkThat(item->title.size() >= hint.size() && item->title.compare(item->title.size() - hint.size(), hint.size(), hint) == 0,
                  line);
    }
    saved.restore();
    return result;
}

} // namespace tilmora::Diagnostics
