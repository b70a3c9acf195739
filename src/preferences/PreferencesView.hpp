#pragma once

#include "platform/foundation/PropertyValue.hpp"
#include "platform/ui/declarative/ViewBase.hpp"
#include "preferences/PopupOption.hpp"
#include "preferences/PreferencesShell.hpp"
#include "preferences/PreferencesSnapGrid.hpp"
#include "shortcuts/Name.hpp"

#include <map>
#include <memory>
#include <optional>
#include <string>
#include <vector>

namespace tilmora {

class DisplayLayoutMemory;

/// The preferences window's view: one state value per setting, read from the standard user
/// defaults when the view is made; a loading placeholder until the turn of the main queue after
/// its first appearance, then one scrolling form of every setting with Save and Close below it.
/// Each control writes its key when it changes, at once (gaps, edges, Spaces and snapshot
/// switches) or on the next main-queue turn (the rest), and tells the component that uses it: the
/// snap grid (the environment's "roriDeruCoordinator", else `RoriDeru::shared()`), the shell
/// (`PreferencesShell::installed()`), the Stage Manager integration (a notification), the display
/// layouts (the environment's "displayLayoutStore", else `DisplayLayoutMemory::shared()`).
/// Every text is looked up anew on each build, so a language change redraws the whole form.
/// Main thread only.
class PreferencesView : public platform::ui::declarative::Component<PreferencesView> {
public:
    /// Environment keys the shell sets.
    static constexpr const char* snapGridEnvironmentKey = "roriDeruCoordinator";
    static constexpr const char* displayLayoutStoreEnvironmentKey = "displayLayoutStore";
    /// The languages offered when no language folder exists.
    static const std::vector<std::string>& fallbackLanguageCodes();

    PreferencesView();

    platform::ui::declarative::Element body() override;

    /// Re-reads, on the next main-queue turn, the nine keys that other parts of the program change
    /// (Spaces, snapshot and Stage Manager / Mission Control switches, the Stage Manager reserve).
    void reloadFromDefaults();
    /// Shows what another part of the program (the status menu, the snap bar, a chord, the
    /// self-test) stored under one of the form's keys since the form last read or wrote it: each
    /// such key is read again with the rule the view's construction uses. Runs at every change of
    /// the user defaults while the form is in its window, so Save writes what the form shows; a
    /// value the user has just set here, whose write waits for the next turn, is left as it is.
    void followDefaults();
    /// Save: writes the form's 17 main keys again, sets the verbose switch and the grid's drag
    /// modes, and on the next main-queue turn re-applies the shortcut master switch and rebuilds
    /// the status menu.
    void savePrefsAndApply();
    /// Close: closes the window that shows this view; nothing when no window shows it.
    void closeWindow();
    /// Applies `selectedLanguageCode` to the localization service and redraws.
    void applyLanguageChange();

    /// The name of a language code in its own language, else in the current locale's, capitalized;
    /// the code itself when neither names it.
    static std::string languageDisplayName(const std::string& code);
    /// A slider's value text: the value truncated toward zero and " px" ("12 px"), also outside the
    /// slider's range `lower`...`upper` ("30 px" for a gap of 30). A value that is not finite or lies
    /// outside the signed 64-bit range shows as the value the slider holds for it: NaN as `lower`,
    /// others clamped to the range ("0 px" for -1e308, "24 px" for a gap of 1e308).
    static std::string valueText(double value, double lower, double upper);
    /// The pop-up options of the language row: the system option, then one per offered code.
    std::vector<PopupOption> languageOptions();

    // State values, in the order they are read.
    platform::ui::declarative::State<bool> verboseLogging;
    platform::ui::declarative::State<bool> strictRestore;
    platform::ui::declarative::State<std::string> captureRule;
    platform::ui::declarative::State<bool> minimalMenuMode;
    platform::ui::declarative::State<bool> useCursorDisplay;
    platform::ui::declarative::State<bool> magnetDragMode;
    platform::ui::declarative::State<bool> dragRequireOption;
    platform::ui::declarative::State<bool> snapBarVisible;
    platform::ui::declarative::State<double> gapSize;
    platform::ui::declarative::State<double> gapH;
    platform::ui::declarative::State<double> gapV;
    platform::ui::declarative::State<bool> gapsIncludeEdges;
    platform::ui::declarative::State<bool> gapEdgeLeft;
    platform::ui::declarative::State<bool> gapEdgeRight;
    platform::ui::declarative::State<bool> gapEdgeTop;
    platform::ui::declarative::State<bool> gapEdgeBottom;
    platform::ui::declarative::State<std::string> selectedLanguageCode;
    platform::ui::declarative::State<std::vector<std::string>> languageCodes;
    platform::ui::declarative::State<bool> integrateStageManager;
    platform::ui::declarative::State<bool> autoDetectStageManager;
    platform::ui::declarative::State<bool> integrateMissionControl;
    platform::ui::declarative::State<bool> autoHideWithMC;
    platform::ui::declarative::State<bool> autoHideWithSM;
    platform::ui::declarative::State<double> stageReserveLeft;
    platform::ui::declarative::State<bool> snappingEnabled;
    platform::ui::declarative::State<bool> keyboardShortcutsEnabled;
    platform::ui::declarative::State<bool> uiReady;
    platform::ui::declarative::State<bool> snapshotAllSpaces;
    platform::ui::declarative::State<bool> spacesKillSwitch;
    platform::ui::declarative::State<bool> spacesDiagnostics;
    platform::ui::declarative::State<bool> layoutAllDisplays;
    platform::ui::declarative::State<bool> autoResetSnapshotQuit;
    platform::ui::declarative::State<bool> autoApplyDisplayLayouts;
    platform::ui::declarative::State<bool> preserveRelativeSizing;
    platform::ui::declarative::State<int> localizationVersion;

private:
    /// The stored values of the followed keys as the form last saw them. The view's own: a new
    /// description of the view (whose inputs replace these) leaves them as they are.
    struct SeenValues {
        std::map<std::string, std::optional<platform::PropertyValue>> values;
        SeenValues() = default;
        SeenValues(const SeenValues&) = default;
        SeenValues& operator=(const SeenValues&) { return *this; }
    };
    SeenValues seen_;
    /// Whether `key` holds another value than when the form last saw it; remembers the new one.
    bool storedValueChanged(const std::string& key);

    /// The snap grid in force: the environment's, else the shared one's view.
    std::shared_ptr<PreferencesSnapGrid> snapGrid() const;
    /// The localized text of `key`, after reading the language values.
    std::string text(const std::string& key) const;

    // Change actions (see the .cpp): each gets the new value.
    std::function<void(bool)> action(const std::string& key);

    platform::ui::declarative::Element placeholder();
    platform::ui::declarative::Element form();
    std::vector<platform::ui::declarative::Element> formElements();
    platform::ui::declarative::Element checkBox(const std::string& key,
                                                const platform::ui::declarative::State<bool>& state,
                                                std::function<void(bool)> onChange);
    platform::ui::declarative::Element languageRow();
    platform::ui::declarative::Element captureRuleRow();
    platform::ui::declarative::Element sliderRow(const std::string& key,
                                                 const platform::ui::declarative::State<double>& state,
                                                 double upper, double step, double textWidth,
                                                 std::function<void(double)> onChange);
    platform::ui::declarative::Element edgesRow();
    platform::ui::declarative::Element saveCloseRow();
    platform::ui::declarative::Element shortcutRow(const std::string& label,
                                                   const GlobalShortcuts::Name& name,
                                                   std::optional<double> labelWidth);
    void onLanguageDidChange();
};

} // namespace tilmora
