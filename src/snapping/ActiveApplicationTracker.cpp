#include "snapping/ActiveApplicationTracker.hpp"

#include "platform/desktop/NSWorkspace.hpp"
#include "platform/dispatch/MainQueueDelivery.hpp"
#include "platform/foundation/Bundle.hpp"

namespace tilmora {

ActiveApplicationTracker::ActiveApplicationTracker()
    : lifetime_(std::make_shared<ActiveApplicationTracker*>(this)) {
    std::weak_ptr<ActiveApplicationTracker*> handle = lifetime_;
    activationObserver_ = platform::NSWorkspace::shared().notificationCenter().addObserver(
        platform::NSWorkspaceDidActivateApplicationNotification, nullptr, platform::MainQueueDelivery::shared(),
        [handle](const platform::Notification& notification) {
            auto alive = handle.lock();
            if (!alive) return;
            auto application = platform::NSWorkspace::applicationOf(notification);
            if (!application) return;
            if (application->bundleIdentifier() == platform::Bundle::main().bundleIdentifier()) return;
            (*alive)->last_ = application;
        });
}

ActiveApplicationTracker::~ActiveApplicationTracker() {
    // The observer's block holds the tracker weakly; removing it keeps the center small.
    platform::NSWorkspace::shared().notificationCenter().removeObserver(activationObserver_);
}

} // namespace tilmora
