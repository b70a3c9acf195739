#pragma once

#include "platform/foundation/SharedInstance.hpp"

#include <string>
#include <vector>

namespace tilmora {

/// The toasts the program showed since the console started recording, for `expect toast` and
/// `show toasts`, across relaunches of the program. One shared instance of the simulated system's
/// (`SharedInstances::resetAll` drops it, and the toast observer with it). Main thread.
class ToastJournal {
public:
    static constexpr platform::SharedScope sharedScope = platform::SharedScope::desktop;
    struct Toast {
        std::string title;
        std::string message;
    };

    static ToastJournal& shared() { return platform::SharedInstance<ToastJournal>::get(); }

    /// Forgets what was recorded and records every toast shown from now on (installs the
    /// notification manager's toast observer).
    void startRecording();
    /// Installs the toast observer again, keeping what was recorded: a program launched again has
    /// a new notification manager.
    void observe();
    const std::vector<Toast>& toasts() const { return toasts_; }
    /// At most this many toasts are kept (the oldest half goes when it is full).
    static constexpr std::size_t maxToasts = 2000;
    /// Whether a recorded toast's title or message contains `text`.
    bool contains(const std::string& text) const;
    /// The lines of `show toasts`: each toast recorded since the last call, `toast "TITLE"
    /// "MESSAGE" on screen` for the newest while its panel is up, else `... gone` (a later toast
    /// replaced it, or it faded). Each line ends in "\n".
    std::string takeListing();

private:
    std::vector<Toast> toasts_;
    /// How many of `toasts_` the last `takeListing` printed.
    std::size_t listed_ = 0;
};

} // namespace tilmora
