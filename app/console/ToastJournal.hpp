#pragma once

#include "platform/foundation/SharedInstance.hpp"

#include <string>
#include <vector>

namespace tilmora {

/// The toasts the program showed since the console started recording, for `expect toast`, across
/// relaunches of the program. One shared instance of the simulated system's
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

private:
    std::vector<Toast> toasts_;
};

} // namespace tilmora
