#pragma once

#include "platform/foundation/PropertyValue.hpp"
#include "platform/ui/declarative/ViewBase.hpp"
#include "preferences/PopupOption.hpp"
#include "preferences/PreferenceRow.hpp"
#include "preferences/PreferencesShell.hpp"
#include "preferences/PreferencesSnapGrid.hpp"
#include "shortcuts/Name.hpp"

#include <map>
#include <memory>
#include <optional>
#include <string>
#include <variant>
#include <vector>

namespace tilmora {

class DisplayLayoutMemory;

/// The preferences window's view: one state value per setting, read from the standard user
/// defaults when the view is made; a loading placeholder until the turn of the main queue after
/// its first appearance, then one scrolling form of every setting with Save and Close below it.
/// One table of rows (`PreferenceRow`, in the .cpp) gives each setting its key and read, its
/// control, when a change is written and what runs then, and whether Save writes it and each
/// appearance reads it again. Each control writes its key when it changes, at once (gaps, edges,
/// Spaces and snapshot switches) or on the next main-queue turn (the rest), and tells the
/// component that uses it: the snap grid (the environment's "roriDeruCoordinator", else
/// `RoriDeru::shared()`), the shell (`PreferencesShell::installed()`), the Stage Manager
/// integration (a notification), the display layouts (the environment's "displayLayoutStore",
/// else `DisplayLayoutMemory::shared()`). Every text is looked up anew on each build, so a
/// language change redraws the whole form. Main thread only.
class PreferencesView : public platform::ui::declarative::Component<PreferencesView> {
public:
    /// Environment keys the shell sets.
    static const char* snapGridEnvironmentKey() { return "roriDeruCoordinator"; }
    static const char* displayLayoutStoreEnvironmentKey() { return "displayLayoutStore"; }
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

    /// What the form holds for the setting `key` (a Boolean, a Double or a text; the selected
    /// language code for the localization service's key); none for a key the form does not show.
    std::optional<platform::PropertyValue> shownValue(const std::string& key) const;
    /// Whether the form has replaced the loading placeholder (it stays so once it has).
    bool uiReady() const { return uiReady_.get(); }
    /// Raised by one on each language change the form follows; read by every text lookup.
    int localizationVersion() const { return localizationVersion_.get(); }

private:
    template <class T>
    using State = platform::ui::declarative::State<T>;
    /// The value of one row, of the row's kind.
    using RowState = std::variant<State<bool>, State<double>, State<std::string>>;
    /// The rows' values by key. The view's own: a new description of the view (whose inputs
    /// replace these) leaves them as they are.
    struct RowStates {
        std::map<std::string, RowState> byKey;
        RowStates() = default;
        RowStates& operator=(const RowStates&) { return *this; }
    };
    /// The stored values of the followed keys as the form last saw them; kept as `RowStates` is.
    struct SeenValues {
        std::map<std::string, std::optional<platform::PropertyValue>> values;
        SeenValues() = default;
        SeenValues(const SeenValues&) = default;
        SeenValues& operator=(const SeenValues&) { return *this; }
    };

    // The language values, whether the form is shown, then every setting row's value.
    State<std::string> selectedLanguageCode_;
    State<std::vector<std::string>> languageCodes_;
    State<bool> uiReady_;
    State<int> localizationVersion_;
    RowStates rowStates_;
    SeenValues seen_;

    /// The table of the form's settings (see the .cpp), and its row for `key` (which must be one).
    static const std::vector<PreferenceRow>& rows();
    static const PreferenceRow& row(const std::string& key);
    /// The value of `row`, of kind `T`.
    template <class T>
    State<T>& state(const PreferenceRow& row) {
        return std::get<State<T>>(rowStates_.byKey.at(row.key));
    }
    /// Whether `key` holds another value than when the form last saw it; remembers the new one.
    bool storedValueChanged(const std::string& key);

    /// The snap grid in force: the environment's, else the shared one's view.
    std::shared_ptr<PreferencesSnapGrid> snapGrid() const;
    /// The localized text of `key`, after reading the language values.
    std::string text(const std::string& key) const;

    /// The change action of `row`'s control: runs the row's action at once, or schedules it on the
    /// main queue with what it needs of the view (`PreferenceRow::WriteTime`).
    template <class T>
    std::function<void(const T&)> changeAction(const PreferenceRow& row);

    platform::ui::declarative::Element placeholder();
    platform::ui::declarative::Element form();
    std::vector<platform::ui::declarative::Element> formElements();
    /// The control of the setting `key`: its check box, or its slider or pop-up row.
    platform::ui::declarative::Element control(const std::string& key);
    platform::ui::declarative::Element sliderRow(const PreferenceRow& row);
    platform::ui::declarative::Element labelledPopup(const std::string& label, const std::string& id,
                                                     std::vector<PopupOption> options,
                                                     platform::ui::declarative::Binding<std::string> selection,
                                                     std::function<void(const std::string&)> onChange);
    platform::ui::declarative::Element languageRow();
    platform::ui::declarative::Element edgesRow();
    platform::ui::declarative::Element saveCloseRow();
    platform::ui::declarative::Element shortcutRow(const std::string& label,
                                                   const GlobalShortcuts::Name& name,
                                                   std::optional<double> labelWidth);
    void onLanguageDidChange();
};

} // namespace tilmora
