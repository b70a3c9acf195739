#pragma once

#include "platform/control/UISimulator.hpp"
#include "platform/foundation/SharedInstance.hpp"

#include <deque>
#include <functional>
#include <string>
#include <vector>

namespace platform::ui {

/// What the scripted user of the toolkit will do and what the toolkit showed: queued alert
/// answers and menu picks, their fallbacks, the alert and menu journals, the beep count and the
/// cursor stack. The toolkit reads and records through it; `UISimulator` is its control face.
/// A shared instance, so `SharedInstances::resetAll` leaves nothing queued for the next test.
/// Main thread only.
class UiScript {
public:
    static constexpr SharedScope sharedScope = SharedScope::desktop;
    static UiScript& shared() { return SharedInstance<UiScript>::get(); }

    std::deque<AlertResponse> alertScript;
    std::function<AlertResponse(const Alert&)> alertResponder;
    std::vector<AlertRecord> alertLog;
    std::vector<const Alert*> liveAlerts;
    /// Queued menu picks, each decided with the open menu in hand.
    std::deque<std::function<MenuPick(Menu&)>> menuScript;
    std::function<MenuPick(Menu&)> menuPicker;
    std::vector<MenuRecord> menuLog;
    /// The scripted user of modal windows that are not alerts: queued steps first, one per turn of
    /// the session, then the installed responder at every turn.
    std::deque<std::function<void(Window&)>> modalScript;
    std::function<void(Window&)> modalResponder;
    int beeps = 0;
    std::vector<std::string> cursors;

    /// Journals an alert as it is shown (as a sheet or a modal window).
    void alertShown(const Alert& alert, bool asSheet);
    /// Records the answer of the newest unanswered journal entry with the alert's message.
    void alertAnswered(const Alert& alert, long response);
    /// Answers a shown alert: the next queued answer, else the responder, else the default button.
    /// Types the answer's accessory text first. Returns the modal response code.
    long answerAlert(Alert& alert);
    /// Answers the live alert whose window is `window`, else a sheet on `window`, or aborts a
    /// modal nobody can answer.
    void answerModal(Window& window);
    /// The next queued menu pick, else the picker's, else a dismissal.
    MenuPick nextMenuPick(Menu& menu);
    void menuTracked(MenuRecord record);
};

} // namespace platform::ui
