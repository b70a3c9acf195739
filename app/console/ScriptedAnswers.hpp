#pragma once

#include "platform/foundation/SharedInstance.hpp"

#include <cstddef>
#include <deque>
#include <memory>
#include <optional>
#include <string>
#include <utility>
#include <vector>

namespace platform::ui {
class Alert;
class Window;
struct AlertResponse;
} // namespace platform::ui

namespace tilmora {

/// The answers a script queued with `alert answer`, given in order to whatever the program runs
/// modally next: an alert, or another modal window (the replacement-display prompt, any panel
/// run modally). Also the journal of those modal windows for `show alerts`. One shared instance
/// (`SharedInstances::resetAll` drops it, and the toolkit's responders with it). Main thread.
class ScriptedAnswers {
public:
    static constexpr platform::SharedScope sharedScope = platform::SharedScope::desktop;
    /// One queued answer: a button by number (1 = the first) or by title, optionally after typing
    /// into the alert's text field, picking a pop-up item (by its title or the start of it) and
    /// clicking another button first (a radio button or a check box, by title).
    struct Answer {
        std::optional<long> buttonNumber;
        std::optional<std::string> buttonTitle;
        std::optional<std::string> typed;
        std::optional<std::string> pick;
        std::optional<std::string> choose;
        /// The command that queued it, as the script wrote it ("alert answer 5"), and its line.
        std::string command;
        int line = 0;
    };

    /// A modal window that is not an alert, as shown, and how it was answered.
    struct ModalWindowRecord {
        std::string title;
        std::vector<std::string> buttons;
        std::vector<std::string> items;
        /// The button pressed; none when the window was cancelled or nothing matched.
        std::optional<std::string> answer;
        /// Why the queued answer could not be given ("no button \"X\""), empty otherwise.
        std::string problem;
    };

    static ScriptedAnswers& shared() { return platform::SharedInstance<ScriptedAnswers>::get(); }
    ScriptedAnswers() = default;
    ~ScriptedAnswers();
    ScriptedAnswers(const ScriptedAnswers&) = delete;
    ScriptedAnswers& operator=(const ScriptedAnswers&) = delete;

    /// Installs the toolkit's alert and modal-window responders that take the queued answers. An
    /// alert without a queued answer presses its first button; a modal window without one is
    /// cancelled.
    void install();
    /// Removes the responders.
    void uninstall();
    void enqueue(Answer answer) { queue_.push_back(std::move(answer)); }
    /// The answers no prompt has taken yet, oldest first.
    const std::deque<Answer>& pending() const { return queue_; }
    /// Forgets the answers no prompt has taken.
    void clearPending() { queue_.clear(); }
    /// Why the answers taken since the last call did not fit the prompt that took them, one
    /// message each ("the answer on line 3, alert answer 5, does not fit the alert "Delete?": ...").
    /// An alert whose answer does not fit presses its first button, as with no answer; another
    /// modal window is cancelled.
    std::vector<std::string> takeProblems() { return std::exchange(problems_, {}); }

    const std::vector<ModalWindowRecord>& modalWindows() const { return modalWindows_; }
    /// How many modal windows `show alerts` has already printed.
    std::size_t modalWindowsShown = 0;

    /// At most this many modal windows are kept in the journal (the oldest go first).
    static constexpr std::size_t maxRecords = 256;

private:
    void answerWindow(platform::ui::Window& window);
    platform::ui::AlertResponse answerAlert(const platform::ui::Alert& alert);
    /// Notes that `answer` did not fit `prompt` (a quoted title after "the alert" or "the window").
    void misfit(const Answer& answer, const std::string& prompt, const std::string& why);

    std::deque<Answer> queue_;
    std::vector<ModalWindowRecord> modalWindows_;
    std::vector<std::string> problems_;
    /// The window last answered: a later turn of its session means the answer did not end it.
    std::weak_ptr<const void> current_;
    bool installed_ = false;
};

} // namespace tilmora
