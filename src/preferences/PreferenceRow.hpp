#pragma once

#include "platform/foundation/PropertyValue.hpp"
#include "preferences/PopupOption.hpp"
#include "preferences/PreferencesSnapGrid.hpp"

#include <memory>
#include <string>
#include <variant>
#include <vector>

namespace tilmora {

class DisplayLayoutMemory;

/// One setting of the preferences form: its user-defaults key and how the form reads it, the
/// control that shows it, when a change of the control is written and what runs then. The form's
/// table of these rows (`PreferencesView`) drives reading the settings when the view is made,
/// following changes made elsewhere, the controls' change actions, Save and the reload at each
/// appearance. Pure value; the actions run on the main thread.
struct PreferenceRow {
    /// How the stored value is read: `catalog` through the settings catalog's reader of the key
    /// (`reader`: the stored value of the setting's kind, else its fallback); `boolean` through the
    /// defaults' Boolean accessor (absent is false).
    enum class Read { catalog, boolean };
    /// When a control's change runs its action: at once, inside the control's handler; or as one
    /// block on the main queue, which also holds what the view's environment gave at the change
    /// (its snap grid, or its display-layout store).
    enum class WriteTime { now, nextTurn, nextTurnWithGrid, nextTurnWithLayoutStore };

    /// What an action gets besides the new value: the row's key and, for the rows that run with
    /// the view, the snap grid (the environment's, else the shared one) or the display-layout
    /// store (the environment's; null when it has none).
    struct Context {
        const char* key = "";
        std::shared_ptr<PreferencesSnapGrid> grid;
        std::shared_ptr<DisplayLayoutMemory> store;
    };
    /// A change action of a check box, a slider or a pop-up: writes the new value and runs what
    /// follows the write. Null: writes the value to the row's key, nothing more.
    using FlagAction = void (*)(bool on, const Context& row);
    using NumberAction = void (*)(double value, const Context& row);
    using TextAction = void (*)(const std::string& code, const Context& row);
    /// The row's kind is the action's: a check box, a slider or a pop-up.
    using Action = std::variant<FlagAction, NumberAction, TextAction>;

    /// A slider's range (from 0), step and the width of its value text, in points.
    struct SliderRange {
        double upper = 0;
        double step = 1;
        double textWidth = 0;
    };

    /// The catalog's reader of a setting, its value as a Boolean, a Double or a text.
    using Reader = platform::PropertyValue (*)();

    // The setting.
    const char* key;
    Read read;
    /// The reader of a `catalog` row.
    Reader reader = nullptr;
    /// The key whose stored value stands in for an absent one (the uniform gap for the
    /// directional gaps): the form follows a change of it too.
    const char* fallbackKey = nullptr;
    // The control: the localization key of its title (a check box) or its label (a slider or
    // pop-up row), the element's identifier (the title key when empty), the pop-up's options
    // (codes and localization keys of their names) and the slider's range.
    const char* title = "";
    const char* id = "";
    std::vector<PopupOption> options{};
    SliderRange range{};
    // The change.
    WriteTime when = WriteTime::nextTurn;
    Action action = FlagAction{nullptr};
    /// Whether Save writes the key again, and whether each appearance of the form reads it again.
    bool saved = false;
    bool reloaded = false;

    /// The element identifier of the row's control.
    std::string controlId() const { return *id ? id : title; }
    /// The value stored under the key, read by the row's rule: a Boolean, a Double or a text.
    platform::PropertyValue stored() const;
    /// Runs the action with `value` (of the row's kind), or writes `value` to the key when the row
    /// has no action of its own. Does not look at `when`: the caller schedules.
    template <class T>
    void apply(const T& value, const Context& context) const;
};

} // namespace tilmora
