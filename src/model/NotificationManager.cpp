#include "model/NotificationManager.hpp"

#include "model/HookRegistry.hpp"
#include "model/ScreenSource.hpp"
#include "model/SystemToastHost.hpp"

#include "platform/dispatch/DispatchQueue.hpp"
#include "platform/dispatch/Lock.hpp"
#include "platform/dispatch/Thread.hpp"
#include "platform/foundation/SharedInstance.hpp"

#include <mutex>

namespace tilmora {

namespace {

constexpr double kWidth = 400;
constexpr double kHeight = 100;
constexpr double kInset = 20;
constexpr double kFadeSeconds = 0.2;

// A shared instance: `SharedInstances::resetAll` drops the manager (its hide timer stops with it)
// and the installed host.
struct SharedState {
    platform::Lock lock{"NotificationManager.shared"}; // `shared()` may be called from any thread
    std::shared_ptr<NotificationManager> manager;
    std::shared_ptr<ToastHost> host; // null: the default host
    std::shared_ptr<ToastHost> defaultHost = std::make_shared<SystemToastHost>();
    std::function<void(const std::string&, const std::string&)> observer;
};

SharedState& state() {
    return platform::SharedInstance<SharedState>::get();
}

constexpr const char* hostHookName = "NotificationManager.host";

std::shared_ptr<ToastHost> installedHost() {
    {
        std::lock_guard<platform::Lock> hold(state().lock);
        if (state().host) return state().host;
    }
    HookRegistry::notePlaceholderUse(hostHookName, "toasts know no main window and sit against the main screen");
    std::lock_guard<platform::Lock> hold(state().lock);
    return state().defaultHost;
}

// Real once the shell installed its host (the default knows no main window).
const HookRegistry::Registration hostHook(hostHookName, [] {
    std::lock_guard<platform::Lock> hold(state().lock);
    return state().host != nullptr;
});

} // namespace

NotificationManager& NotificationManager::shared() {
    std::lock_guard<platform::Lock> hold(state().lock);
    if (!state().manager) state().manager = std::make_shared<NotificationManager>();
    return *state().manager;
}

NotificationManager::~NotificationManager() {
    if (hideTimer_) hideTimer_->invalidate();
}

void NotificationManager::installHost(std::shared_ptr<ToastHost> host) {
    std::lock_guard<platform::Lock> hold(state().lock);
    state().host = std::move(host);
}

void NotificationManager::installHostIfNone(std::shared_ptr<ToastHost> host) {
    std::lock_guard<platform::Lock> hold(state().lock);
    if (!state().host) state().host = std::move(host);
}

void NotificationManager::setToastObserver(
    std::function<void(const std::string& title, const std::string& message)> observer) {
    std::lock_guard<platform::Lock> hold(state().lock);
    state().observer = std::move(observer);
}

void NotificationManager::show(const std::string& title, const std::string& message, double duration) {
    std::weak_ptr<NotificationManager> weak = weak_from_this();
    if (platform::Thread::isMainThread()) {
        showOnMain(title, message, duration);
        return;
    }
    platform::DispatchQueue::main().async([weak, title, message, duration] {
        if (auto manager = weak.lock()) manager->showOnMain(title, message, duration);
    });
}

void NotificationManager::showOnMain(const std::string& title, const std::string& message, double duration) {
    if (hideTimer_) {
        hideTimer_->invalidate();
        hideTimer_.reset();
    }
    const NotificationView view{title, message};

    auto host = installedHost();
    if (!cachedPosition_) {
        std::optional<Rect> reference;
        if (auto window = host->mainWindow(); window && window->isVisible) {
            reference = window->frame;
        } else if (auto screen = ScreenSource::current()->mainScreen()) {
            reference = screen->visibleFrame;
        }
        if (!reference) return;
        cachedPosition_ = Rect{reference->x + reference->width - kWidth - kInset,
                               reference->y + reference->height - kHeight - kInset, kWidth, kHeight};
    }

    if (!notificationWindow_) {
        notificationWindow_ = host->makePanel(ToastPanelSpec{*cachedPosition_});
        if (!notificationWindow_) return;
    }
    notificationWindow_->setContent(view);
    ++generation_;
    notificationWindow_->setAlpha(1.0);
    notificationWindow_->orderFrontRegardless();
    showing_ = true;
    std::function<void(const std::string&, const std::string&)> observer;
    {
        std::lock_guard<platform::Lock> hold(state().lock);
        observer = state().observer;
    }
    if (observer) observer(title, message);

    std::weak_ptr<NotificationManager> weak = weak_from_this();
    hideTimer_ = platform::Timer::scheduledTimer(duration, false, [weak](platform::Timer&) {
        if (auto manager = weak.lock()) manager->hide();
    });
}

void NotificationManager::hide() {
    hide(generation_);
}

void NotificationManager::hide(std::uint64_t generation) {
    std::weak_ptr<NotificationManager> weak = weak_from_this();
    platform::DispatchQueue::main().async([weak, generation] {
        auto manager = weak.lock();
        if (!manager || !manager->notificationWindow_ || manager->generation_ != generation) return;
        manager->hideTimer_.reset();
        manager->notificationWindow_->fadeAlpha(0.0, kFadeSeconds, [weak, generation] {
            // A toast shown during the fade keeps the panel up for its own duration.
            auto current = weak.lock();
            if (current && current->notificationWindow_ && current->generation_ == generation) {
                current->notificationWindow_->orderOut();
                current->showing_ = false;
            }
        });
    });
}

} // namespace tilmora
