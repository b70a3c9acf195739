#include "preferences/PreferencesView.hpp"

#include "model/DisplayLayoutMemory.hpp"
#include "model/LocalizationManager.hpp"
#include "model/Log.hpp"
#include "model/Settings.hpp"
#include "platform/dispatch/DispatchQueue.hpp"
#include "platform/foundation/Bundle.hpp"
#include "platform/foundation/NotificationCenter.hpp"
#include "platform/foundation/Text.hpp"
#include "platform/foundation/UserDefaults.hpp"
#include "platform/ui/Window.hpp"
#include "preferences/RoriDeruSnapGrid.hpp"
#include "snapping/GapSettings.hpp"
#include "shell/SnappingSwitch.hpp"
#include "windows/StageIntegration.hpp"
#include "windows/WindowManager.hpp"

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <set>
#include <stdexcept>

namespace tilmora {

namespace decl = platform::ui::declarative;
using platform::PropertyValue;
using platform::UserDefaults;

namespace {

using Row = PreferenceRow;
using Read = PreferenceRow::Read;
using When = PreferenceRow::WriteTime;

UserDefaults& defaults() {
    return UserDefaults::standard();
}

std::string storedLanguage() {
    return defaults().stringForKey(LocalizationManager::shared().key).value_or("");
}

std::vector<std::string> initialLanguageCodes() {
    auto codes = LocalizationManager::shared().availableLanguages();
    return codes.empty() ? PreferencesView::fallbackLanguageCodes() : codes;
}

// Runs `step` with the installed shell; logs and skips it when there is none.
void withShell(const char* what, const std::function<void(PreferencesShell&)>& step) {
    if (auto shell = PreferencesShell::installed()) {
        step(*shell);
        return;
    }
    print(std::string("[Preferences] No application shell; skipped ") + what);
}

void rebuildMenu() {
    withShell("the status-menu rebuild", [](PreferencesShell& s) { s.rebuildStatusMenu(); });
}

void nextTurn(std::function<void()> block) {
    platform::DispatchQueue::main().async(std::move(block));
}

void postStageChange() {
    platform::NotificationCenter::defaultCenter().post(StageIntegration::stateDidChange, nullptr);
}

// The change actions that do more than write the new value to their key. Each writes, then tells
// the component that uses the setting.

void verboseLoggingChanged(bool on, const Row::Context&) {
    defaults().set(PropertyValue(on), settings::verboseLogging.key);
    WindowManager::setVerboseLogging(on);
}

void minimalMenuModeChanged(bool on, const Row::Context&) {
    defaults().set(PropertyValue(on), settings::minimalMenuMode.key);
    rebuildMenu();
}

void magnetDragModeChanged(bool on, const Row::Context& view) {
    defaults().set(PropertyValue(on), settings::magnetDragMode.key);
    view.grid->setMagnetMode(on);
}

void dragRequireOptionChanged(bool on, const Row::Context& view) {
    defaults().set(PropertyValue(on), settings::dragRequireOption.key);
    view.grid->setDragRequireOption(on);
}

// The bar is toggled only when the stored value differs, so that the shell shows or hides it.
void snapBarVisibleChanged(bool on, const Row::Context&) {
    if (defaults().boolForKey(settings::snapBarVisible.key) != on)
        withShell("the snap-bar toggle", [](PreferencesShell& s) { s.toggleSnapBar(); });
    else
        defaults().set(PropertyValue(on), settings::snapBarVisible.key);
    withShell("the snap-bar refresh", [](PreferencesShell& s) { s.refreshSnapBarIndicators(); });
    rebuildMenu();
}

// The uniform gap sets both directions with it, so that it acts even where the horizontal and
// vertical gaps hold a number (they are registered as 0); the directional sliders follow the
// stored values and still set one direction each afterwards.
void uniformGapChanged(double gap, const Row::Context&) {
    defaults().set(PropertyValue(gap), settings::gapSize.key);
    defaults().set(PropertyValue(gap), settings::gapHorizontal.key);
    defaults().set(PropertyValue(gap), settings::gapVertical.key);
}

// The Stage Manager and Mission Control switches and the Stage Manager reserve.
template <class T>
void stageSettingChanged(T value, const Row::Context& row) {
    defaults().set(PropertyValue(value), row.key);
    postStageChange();
}

void snappingEnabledChanged(bool on, const Row::Context& view) {
    const auto& grid = view.grid;
    defaults().set(PropertyValue(on), settings::snappingEnabled.key);
    if (on) {
        grid->setSnappingEnabled(true);
        grid->startMonitoringIfNeeded();
    } else {
        switchSnappingOff(*grid, SelectionOnSnappingOff::clearedWithoutMenuSelection);
    }
    withShell("the snap-bar refresh", [](PreferencesShell& s) { s.refreshSnapBarIndicators(); });
    rebuildMenu();
}

// Also Save's last step.
void keyboardShortcutsEnabledChanged(bool on, const Row::Context&) {
    withShell("the shortcut switch", [on](PreferencesShell& s) {
        defaults().set(PropertyValue(on), s.keyboardShortcutsEnabledKey());
        s.applyKeyboardShortcutsEnabledState();
        s.rebuildStatusMenu();
    });
}

void gridAllDisplaysChanged(bool on, const Row::Context&) {
    defaults().set(PropertyValue(on), settings::gridAllDisplays.key);
    withShell("the layout-scope change", [](PreferencesShell& s) { s.layoutScopePreferenceDidChange(); });
}

// Turning it on applies the stored layout of the present displays; turning it off nothing more.
void autoApplyDisplayLayoutsChanged(bool on, const Row::Context& view) {
    const auto& store = view.store;
    defaults().set(PropertyValue(on), settings::autoApplyDisplayLayouts.key);
    if (on) (store ? *store : DisplayLayoutMemory::shared()).applyStoredConfiguration(true);
}

// Marks of a row: Save writes it; each appearance of the form reads it again.
constexpr unsigned saved = 1;
constexpr unsigned reloaded = 2;

// The catalog's readers of a setting, as the rows hold them.
template <const settings::BoolSetting& setting>
PropertyValue readFlag() {
    return PropertyValue(settings::read(setting));
}
template <const settings::NumberSetting& setting>
PropertyValue readNumber() {
    return PropertyValue(settings::read(setting));
}
PropertyValue readCaptureRule() {
    return PropertyValue(settings::read(settings::capturePrimaryRule));
}
PropertyValue readHorizontalGap() {
    return PropertyValue(GapSettings::current().horizontal);
}
PropertyValue readVerticalGap() {
    return PropertyValue(GapSettings::current().vertical);
}

Row row(const char* key, Read read, Row::Reader reader, const char* title, When when, Row::Action action,
        unsigned marks) {
    Row row{key, read, reader};
    row.title = title;
    row.when = when;
    row.action = action;
    row.saved = (marks & saved) != 0;
    row.reloaded = (marks & reloaded) != 0;
    return row;
}

// A check box over a catalog setting (read as the catalog reads it) ...
template <const settings::BoolSetting& setting>
Row checkBox(const char* title, When when, Row::FlagAction action, unsigned marks = 0) {
    return row(setting.key, Read::catalog, &readFlag<setting>, title, when, action, marks);
}

// ... or over the defaults' Boolean accessor (absent is false).
Row checkBox(const char* key, const char* title, When when, Row::FlagAction action, unsigned marks = 0) {
    return row(key, Read::boolean, nullptr, title, when, action, marks);
}

// Sliders count from 0; `fallbackKey` is the setting whose value stands in for an absent one.
Row slider(const char* key, Row::Reader reader, const char* fallbackKey, const char* title,
           Row::SliderRange range, When when, Row::NumberAction action, unsigned marks) {
    Row slider = row(key, Read::catalog, reader, title, when, action, marks);
    slider.fallbackKey = fallbackKey;
    slider.range = range;
    return slider;
}

constexpr Row::SliderRange gapRange{24, 1, 48};

} // namespace

const std::vector<std::string>& PreferencesView::fallbackLanguageCodes() {
    static const std::vector<std::string> codes = {"en", "de", "es", "fr", "it", "ja", "zh-Hans"};
    return codes;
}

// The form's settings. The 17 rows that Save writes come first, in the order it writes them; the
// nine that each appearance reads again follow, in the order it reads them. The language and the
// form's own values are not rows.
const std::vector<PreferenceRow>& PreferencesView::rows() {
    static const std::vector<Row> table = [] {
        Row captureRule{settings::capturePrimaryRule.key, Read::catalog, &readCaptureRule};
        captureRule.title = "prefs.primaryMethod";
        captureRule.id = "prefs.captureRule";
        captureRule.options = {{"center", "prefs.centerInBounds"}, {"overlap", "prefs.largestOverlap"}};
        captureRule.action = Row::TextAction{nullptr};
        captureRule.saved = true;
        const auto* size = settings::gapSize.key;
        return std::vector<Row>{
            checkBox<settings::verboseLogging>("prefs.verbose", When::nextTurn, &verboseLoggingChanged,
                                               saved),
            checkBox<settings::strictRestore>("prefs.strictRestore", When::nextTurn, nullptr, saved),
            captureRule,
            checkBox<settings::minimalMenuMode>("prefs.minimalMenuMode", When::nextTurn,
                                                &minimalMenuModeChanged, saved),
            checkBox(settings::snapBarVisible.key, "menu.showSnapBar", When::nextTurn, &snapBarVisibleChanged,
                     saved),
            checkBox<settings::useCursorDisplay>("prefs.useCursorDisplay", When::nextTurn, nullptr, saved),
            checkBox<settings::magnetDragMode>("prefs.dragSnapping", When::nextTurnWithGrid,
                                               &magnetDragModeChanged, saved),
            checkBox<settings::dragRequireOption>("prefs.requireOption", When::nextTurnWithGrid,
                                                  &dragRequireOptionChanged, saved),
            checkBox<settings::keyboardShortcutsEnabled>("prefs.shortcuts.masterToggle", When::nextTurn,
                                                         &keyboardShortcutsEnabledChanged, saved),
            slider(size, &readNumber<settings::gapSize>, nullptr, "prefs.gapsUniform", gapRange, When::now,
                   &uniformGapChanged, saved),
            slider(settings::gapHorizontal.key, &readHorizontalGap, size, "prefs.gapsHorizontal", gapRange,
                   When::now, nullptr, saved),
            slider(settings::gapVertical.key, &readVerticalGap, size, "prefs.gapsVertical", gapRange,
                   When::now, nullptr, saved),
            checkBox<settings::gapsIncludeScreenEdges>("prefs.applyGapsEdgesAll", When::now, nullptr, saved),
            checkBox<settings::gapsEdgesLeft>("prefs.left", When::now, nullptr, saved),
            checkBox<settings::gapsEdgesRight>("prefs.right", When::now, nullptr, saved),
            checkBox<settings::gapsEdgesTop>("prefs.top", When::now, nullptr, saved),
            checkBox<settings::gapsEdgesBottom>("prefs.bottom", When::now, nullptr, saved),
            checkBox(settings::snapshotAllSpaces.key, "prefs.snapshotAllSpaces", When::now, nullptr,
                     reloaded),
            checkBox<settings::spacesKillSwitch>("prefs.spacesKillSwitch", When::now, nullptr, reloaded),
            checkBox<settings::spacesLogDiagnostics>("prefs.spacesDiagnostics", When::now, nullptr, reloaded),
            checkBox(settings::integrateStageManager.key, "prefs.integrateStageManager", When::nextTurn,
                     &stageSettingChanged<bool>, reloaded),
            checkBox(settings::autoDetectStageManager.key, "prefs.autoDetectStageManager", When::nextTurn,
                     &stageSettingChanged<bool>, reloaded),
            checkBox(settings::integrateMissionControl.key, "prefs.integrateMissionControl", When::nextTurn,
                     &stageSettingChanged<bool>, reloaded),
            checkBox(settings::autoHideSnapBarWithMissionControl.key, "prefs.autoHideSnapBarWithMC",
                     When::nextTurn, &stageSettingChanged<bool>, reloaded),
            checkBox(settings::autoHideSnapBarWithStageManager.key, "prefs.autoHideSnapBarWithSM",
                     When::nextTurn, &stageSettingChanged<bool>, reloaded),
            slider(settings::stageReserveLeftWidth.key, &readNumber<settings::stageReserveLeftWidth>, nullptr,
                   "prefs.stageReserveLeft", {400, 2, 64}, When::nextTurn, &stageSettingChanged<double>,
                   reloaded),
            checkBox<settings::snappingEnabled>("prefs.snappingEnabled", When::nextTurnWithGrid,
                                                &snappingEnabledChanged),
            checkBox(settings::gridAllDisplays.key, "prefs.layoutAllDisplays", When::nextTurn,
                     &gridAllDisplaysChanged),
            checkBox<settings::autoResetSnapshotQuit>("prefs.autoResetSnapshotQuit", When::now, nullptr),
            checkBox<settings::autoApplyDisplayLayouts>(
                "prefs.autoApplyLayouts", When::nextTurnWithLayoutStore, &autoApplyDisplayLayoutsChanged),
            checkBox<settings::preserveRelativeMove>("prefs.preserveRelativeSizing", When::nextTurn, nullptr),
        };
    }();
    return table;
}

const PreferenceRow& PreferencesView::row(const std::string& key) {
    for (const auto& row : rows())
        if (key == row.key) return row;
    throw std::out_of_range("no preferences row for " + key);
}

namespace {

// A row's value as the kind `T` of its state.
template <class T>
T valueAs(const PropertyValue& value) {
    if constexpr (std::is_same_v<T, bool>)
        return *value.asBool();
    else if constexpr (std::is_same_v<T, double>)
        return *value.asDouble();
    else
        return *value.asString();
}

} // namespace

PreferencesView::PreferencesView()
    : selectedLanguageCode_(this, storedLanguage())
    , languageCodes_(this, initialLanguageCodes())
    , uiReady_(this, false)
    , localizationVersion_(this, 0) {
    for (const auto& row : rows()) {
        const PropertyValue value = row.stored();
        if (const bool* flag = value.asBool())
            rowStates_.byKey.try_emplace(row.key, std::in_place_type<State<bool>>, this, *flag);
        else if (const double* number = value.asDouble())
            rowStates_.byKey.try_emplace(row.key, std::in_place_type<State<double>>, this, *number);
        else
            rowStates_.byKey.try_emplace(row.key, std::in_place_type<State<std::string>>, this,
                                         *value.asString());
    }
    // What construction read is what the form has seen.
    followDefaults();
}

std::optional<PropertyValue> PreferencesView::shownValue(const std::string& key) const {
    if (key == LocalizationManager::shared().key) return PropertyValue(selectedLanguageCode_.get());
    auto found = rowStates_.byKey.find(key);
    if (found == rowStates_.byKey.end()) return std::nullopt;
    return std::visit([](const auto& state) { return PropertyValue(state.get()); }, found->second);
}

bool PreferencesView::storedValueChanged(const std::string& key) {
    auto now = defaults().objectForKey(key);
    auto [entry, added] = seen_.values.try_emplace(key, now);
    if (added) return false;
    if (entry->second == now) return false;
    entry->second = std::move(now);
    return true;
}

void PreferencesView::followDefaults() {
    // A row whose read falls back to another key (the directional gaps) follows that key too.
    std::set<std::string> changed;
    for (const auto& row : rows()) {
        if (storedValueChanged(row.key))
            changed.insert(row.key);
        else if (row.fallbackKey == nullptr || !changed.count(row.fallbackKey))
            continue;
        std::visit(
            [&row](auto& state) {
                const auto value = valueAs<std::decay_t<decltype(state.get())>>(row.stored());
                if (state.get() != value) state.set(value);
            },
            rowStates_.byKey.at(row.key));
    }
    // A language stored elsewhere (another program, the defaults tool) posts no language notice:
    // the form follows it as it follows one. A change made here already shows.
    if (storedValueChanged(LocalizationManager::shared().key) &&
        storedLanguage() != selectedLanguageCode_.get())
        onLanguageDidChange();
}

std::shared_ptr<PreferencesSnapGrid> PreferencesView::snapGrid() const {
    if (auto grid = environment<std::shared_ptr<PreferencesSnapGrid>>(snapGridEnvironmentKey())) return grid;
    return RoriDeruSnapGrid::shared();
}

std::string PreferencesView::text(const std::string& key) const {
    // Reading the language values makes every text follow a language change.
    (void)selectedLanguageCode_.get();
    (void)localizationVersion_.get();
    return LocalizationManager::shared().localizedString(key);
}

void PreferencesView::reloadFromDefaults() {
    std::vector<std::function<void()>> reads;
    for (const auto& row : rows()) {
        if (!row.reloaded) continue;
        std::visit(
            [&reads, &row](const auto& state) {
                using Value = std::decay_t<decltype(state.get())>;
                reads.push_back([&row, value = state.binding()] { value.set(valueAs<Value>(row.stored())); });
            },
            rowStates_.byKey.at(row.key));
    }
    nextTurn([reads = std::move(reads)] {
        for (const auto& read : reads)
            read();
    });
}

void PreferencesView::savePrefsAndApply() {
    for (const auto& row : rows())
        if (row.saved) defaults().set(*shownValue(row.key), row.key);
    WindowManager::setVerboseLogging(state<bool>(row(settings::verboseLogging.key)).get());
    auto grid = snapGrid();
    grid->setMagnetMode(state<bool>(row(settings::magnetDragMode.key)).get());
    grid->setDragRequireOption(state<bool>(row(settings::dragRequireOption.key)).get());
    const auto& shortcuts = row(settings::keyboardShortcutsEnabled.key);
    changeAction<bool>(shortcuts)(state<bool>(shortcuts).get());
}

void PreferencesView::closeWindow() {
    // The window showing this view, also when another window is key.
    if (auto* window = hostingWindow()) window->close();
}

std::string PreferencesView::languageDisplayName(const std::string& code) {
    auto name = platform::Locale::localizedLanguageName(code, code);
    if (!name) name = platform::Locale::localizedLanguageName(code);
    if (!name) return code;
    return platform::Text::capitalized(*name);
}

std::string PreferencesView::valueText(double value, double lower, double upper) {
    constexpr double limit = 9223372036854775808.0; // 2^63
    // The slider's own rule for a value it cannot show: NaN stands at the lower end, anything
    // else at the nearer end of the range.
    if (std::isnan(value))
        value = lower;
    else if (!(value > -limit && value < limit))
        value = std::clamp(value, lower, upper);
    char buffer[32];
    std::snprintf(buffer, sizeof buffer, "%lld", static_cast<long long>(value));
    return std::string(buffer) + " px";
}

std::vector<PopupOption> PreferencesView::languageOptions() {
    std::vector<PopupOption> options{{"", text("prefs.language.system")}};
    for (const auto& code : languageCodes_.get())
        options.push_back({code, languageDisplayName(code)});
    return options;
}

void PreferencesView::applyLanguageChange() {
    std::string code = selectedLanguageCode_.get();
    LocalizationManager::shared().setSelectedLanguageCode(code.empty() ? std::nullopt
                                                                       : std::optional<std::string>(code));
    localizationVersion_.set(localizationVersion_.get() + 1);
    nextTurn([] {
        rebuildMenu();
        withShell("the snap-bar refresh", [](PreferencesShell& s) { s.refreshSnapBarIndicators(); });
    });
}

void PreferencesView::onLanguageDidChange() {
    std::string stored = storedLanguage();
    if (stored != selectedLanguageCode_.get()) selectedLanguageCode_.set(stored);
    languageCodes_.set(LocalizationManager::shared().availableLanguages());
    localizationVersion_.set(localizationVersion_.get() + 1);
}

} // namespace tilmora
