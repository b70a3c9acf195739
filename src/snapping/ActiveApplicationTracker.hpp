#pragma once

#include "platform/desktop/NSRunningApplication.hpp"
#include "platform/foundation/NotificationCenter.hpp"

#include <memory>
#include <optional>

namespace tilmora {

/// The last activated application other than this program, which the snap grid falls back on
/// when this program is in front. Watches the workspace's activations (delivered on the main
/// queue) for as long as it lives: an activation of another application, including one without a
/// bundle identifier while this program has one, replaces the remembered application; an
/// activation of this program, or one without an application, changes nothing. Owned by the snap
/// grid. Main thread.
class ActiveApplicationTracker {
public:
    ActiveApplicationTracker();
    ~ActiveApplicationTracker();
    ActiveApplicationTracker(const ActiveApplicationTracker&) = delete;
    ActiveApplicationTracker& operator=(const ActiveApplicationTracker&) = delete;

    /// The remembered application; none before the first.
    const std::optional<platform::NSRunningApplication>& lastNonSelfActiveApp() const { return last_; }
    /// Remembers `application` (the target-application choice also does this).
    void remember(const platform::NSRunningApplication& application) { last_ = application; }
    /// Forgets the remembered application.
    void forget() { last_.reset(); }

private:
    std::optional<platform::NSRunningApplication> last_;
    std::shared_ptr<ActiveApplicationTracker*> lifetime_;
    platform::ObserverToken activationObserver_;
};

} // namespace tilmora
