#pragma once

#include "platform/foundation/NotificationCenter.hpp"
#include "platform/ui/SearchField.hpp"
#include "shortcuts/LocalEventMonitor.hpp"
#include "shortcuts/Name.hpp"
#include "shortcuts/Shortcut.hpp"

#include <functional>
#include <memory>
#include <optional>
#include <string>

namespace tilmora::GlobalShortcuts {

/// Posted on the default center when a recorder starts recording (user info {"isActive": true})
/// and when it stops ({"isActive": false}); object none.
inline const std::string recorderActiveStatusDidChangeNotification =
    "GlobalShortcuts_recorderActiveStatusDidChange";

/// The field in which a user records the chord of one shortcut name. It shows the stored chord's
/// glyph text ("⌃⌥K") with a clear button, or nothing with the placeholder "record_shortcut".
///
/// Becoming first responder starts recording: the registry is paused, {"isActive": true} is
/// posted, the placeholder turns to "press_shortcut", the caret is hidden, and a local monitor of
/// key-downs and left and right mouse-ups sees the program's events first. A chord with Control,
/// Option or Command (or a function key alone) is checked against the main menu's key equivalents,
/// the sandbox rule of OS 15.0 and 15.1 and the system's reserved chords (an alert tells the user
/// of a clash), then stored through `userDefaultsSet`, `onChange` is called with it and recording
/// ends. Escape ends recording; Tab ends it and goes on; Delete clears the stored chord; a press
/// without those modifiers beeps; a mouse-up more than 3 points outside the field ends recording
/// and goes on. Ending recording (the field resigning, its window losing key status, the field
/// leaving its window, the field being destroyed) unpauses the registry and posts
/// {"isActive": false}.
///
/// The field's identifier is its name's raw value ("snap-left-half"), so that it can be found by
/// it. The texts come from the module bundle (a missing entry shows its key). Made only with `make`.
/// Main thread only.
class RecorderField : public platform::ui::SearchField, private platform::ui::TextFieldDelegate {
public:
    using OnChange = std::function<void(const std::optional<Shortcut>&)>;

    /// The width the recorder asks for, points.
    static constexpr double minimumWidth = 130.0;

    /// A recorder of `name`'s chord, 130 by 24 points; `onChange` is called after the user stored a
    /// chord (with it) or cleared it (with none).
    static std::shared_ptr<RecorderField> make(Name name, OnChange onChange = nullptr);
    ~RecorderField() override;

    const Name& shortcutName() const { return shortcutName_; }
    /// Shows the new name's chord (and takes its raw value as identifier) when its raw value
    /// differs from the current one (below OS 12 the window's first responder is also cleared on
    /// the next main-queue turn); an equal raw value changes nothing.
    void setShortcutName(const Name& name);

    /// Whether a recording is in progress (the event monitor is installed).
    bool isRecording() const { return eventMonitor_ != nullptr; }

    /// False for one main-queue turn after the recorder entered a window and after that window
    /// became key, so the window does not start recording by choosing it as its first key view.
    bool canBecomeKeyView() const override { return canBecomeKey_; }
    /// Width `minimumWidth`, the search field's height.
    platform::ui::Size intrinsicContentSize() const override;
    /// Starts recording; false without a window or when the field refuses.
    bool becomeFirstResponder() override;
    /// Text an input method commits is no chord: it is refused with the beep, as a plain key is,
    /// and the field keeps its text.
    void insertText(const std::string& text) override;
    void viewDidMoveToWindow() override;

private:
    RecorderField(Name name, OnChange onChange);

    void controlTextDidChange(platform::ui::TextField&) override;
    void controlTextDidEndEditing(platform::ui::TextField&) override;

    /// Observes the registry's change notification (holding the recorder weakly).
    void setUpEvents();
    /// Shows the stored chord of `shortcutName` (or nothing), then applies the clear-button rule.
    void refreshText();
    /// The clear button is installed while there is text and removed while there is none.
    void applyClearButtonRule();
    void endRecording();
    void preventBecomingKey();
    /// Clears the window's first responder (ends recording); nothing without a window.
    void resignFocus();
    /// Makes the recorder its window's first responder again (recording resumes).
    void regainFocus();
    void postActiveStatus(bool isActive);
    /// The monitor's handling of one event: the event to let it go on, or none to swallow it.
    std::optional<platform::NSEvent> handle(const platform::NSEvent& event);
    /// Shows a warning alert; the result is the response.
    long showAlert(const std::string& message, const std::string& informative, bool withForceButton);

    OnChange onChange_;
    bool canBecomeKey_ = false;
    std::unique_ptr<LocalEventMonitor> eventMonitor_;
    std::optional<platform::ObserverToken> shortcutsNameChangeObserver_;
    std::optional<platform::ObserverToken> windowDidResignKeyObserver_;
    std::optional<platform::ObserverToken> windowDidBecomeKeyObserver_;
    Name shortcutName_;
    std::shared_ptr<platform::ui::ButtonCell> cancelButton_;
};

} // namespace tilmora::GlobalShortcuts
