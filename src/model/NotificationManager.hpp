#pragma once

#include "model/Rect.hpp"
#include "model/ToastPanel.hpp"

#include "platform/dispatch/Timer.hpp"

#include <cstdint>
#include <functional>
#include <memory>
#include <optional>
#include <string>

namespace tilmora {

/// Shows toasts: a small dark panel with a title and a message near the top-right corner of the
/// main window (or of the main screen), which fades out by itself after a given time. One panel
/// serves every toast; its place is fixed by the first toast.
///
/// A toast shown while another is up replaces it at once and restarts the countdown with its own
/// duration. A toast shown while the previous one fades out stays up for its own duration too: a
/// fade that a later toast overtook does not take the panel away.
class NotificationManager : public std::enable_shared_from_this<NotificationManager> {
public:
    /// The one manager, created on first use (`SharedInstances::resetAll` drops it with its panel
    /// and timer, and puts back the default host).
    static NotificationManager& shared();
    /// Installs the panel maker and the main-window lookup (the shell, at start-up, as a
    /// `SystemToastHost` with its main-window lookup; tests, a fake). Null puts back the default,
    /// a `SystemToastHost` without a main window, whose first use logs once that nothing was
    /// installed (hook "NotificationManager.host" of `HookRegistry`). Any thread; a panel already
    /// made stays.
    static void installHost(std::shared_ptr<ToastHost> host);
    /// Installs `host` unless a host is installed already (the shell's launch: a host a test
    /// installed before it stays). Any thread.
    static void installHostIfNone(std::shared_ptr<ToastHost> host);
    /// Called with the title and the message of every toast as its panel is shown (main thread).
    /// The console records them this way. Null removes it; `SharedInstances::resetAll` does too.
    static void
    setToastObserver(std::function<void(const std::string& title, const std::string& message)> observer);

    /// Shows a toast for `duration` seconds, then fades it out over 0.2 s. Any thread: on the main
    /// thread it acts at once, from another thread it hands the work to the main queue and
    /// returns. The first toast places the panel 20 points in from the top-right corner of the
    /// main window's frame when it exists and is visible, else of the main screen's visible frame
    /// (400 x 100 points); without either (or when the host makes no panel) nothing is shown.
    void show(const std::string& title, const std::string& message, double duration);

    /// Fades the toast out over 0.2 s on the main queue and then orders the panel out. Called by
    /// the toast's own timer.
    void hide();

    /// Whether a toast's panel is on the screen: from its showing until the fade that ends it
    /// orders the panel out (while it fades, too). Main thread.
    bool isShowing() const { return showing_; }

    /// The panel frame that every toast uses, once the first toast has set it (global
    /// coordinates, points, y up).
    const std::optional<Rect>& cachedPosition() const { return cachedPosition_; }

    NotificationManager() = default;
    /// Stops the hide timer.
    ~NotificationManager();

private:
    void showOnMain(const std::string& title, const std::string& message, double duration);
    void hide(std::uint64_t generation);

    std::shared_ptr<ToastPanel> notificationWindow_;
    std::shared_ptr<platform::Timer> hideTimer_;
    std::optional<Rect> cachedPosition_;
    /// Counts the toasts shown; a fade only orders the panel out while no newer toast came.
    std::uint64_t generation_ = 0;
    bool showing_ = false;
};

} // namespace tilmora
