#include "platform/ui/Application.hpp"
#include "platform/ui/ClickActivation.hpp"

#include "platform/dispatch/MainThread.hpp"
#include "platform/internal/OwnWindowBridge.hpp"
#include "platform/foundation/SharedInstance.hpp"
#include "platform/input/EventQueue.hpp"
#include "platform/ui/Runtime.hpp"
#include "platform/internal/UiScript.hpp"
#include "platform/ui/Window.hpp"
#include "platform/ui/StatusItem.hpp"
#include "platform/internal/InputState.hpp"
#include "platform/internal/Kernel.hpp"

#include <algorithm>
#include <utility>

namespace platform::ui {

namespace {
// How long termination waits for the program's work on the global queues, seconds.
constexpr double workDrainSeconds = 60;
// The application whose termination is under way (a second request meanwhile does nothing).
const Application* terminating = nullptr;
} // namespace

Application& Application::shared() {
    return SharedInstance<Application>::get();
}

bool Application::setActivationPolicy(ActivationPolicy policy) {
    requireMainThread("Application::setActivationPolicy");
    policy_ = policy;
    return true;
}

void Application::activate(bool) {
    requireMainThread("Application::activate");
    if (terminated_ || (!launched_ && policy_ == ActivationPolicy::accessory)) return;
    // The desktop may have brought another application forward meanwhile: ask it every time (it
    // posts the workspace's did-activate notification only when the frontmost one changes).
    OwnWindowBridge::activateProgram();
    if (active_) return;
    active_ = true;
    runtime::post(ApplicationDidBecomeActiveNotification, this);
    // The window that was key when the application went to the background is key again.
    const auto resigned = std::static_pointer_cast<Window>(std::exchange(resignedKeyWindow_, {}).lock());
    if (!keyWindow_ && resigned && resigned->isVisible() && !resigned->isClosed() && resigned->canBecomeKeyWindow())
        setKeyWindow(resigned.get());
}

void Application::resignActive() {
    if (auto* key = keyWindow_) {
        resignedKeyWindow_ = key->weak_from_this();
        setKeyWindow(nullptr);
    }
    for (auto* w : std::vector<Window*>(order_))
        if (w->hidesOnDeactivate) w->orderOut();
    if (!active_) return;
    active_ = false;
    runtime::post(ApplicationDidResignActiveNotification, this);
}

void Application::run() {
    requireMainThread("Application::run");
    auto& events = EventQueue::shared();
    if (!events.hasEventHandler())
        events.setEventHandler([](const NSEvent& event) { Application::shared().sendEvent(event); });
    running_ = true;
    if (launched_) return;
    launched_ = true;
    if (auto d = delegate.lock()) d->applicationDidFinishLaunching();
    runtime::post(ApplicationDidFinishLaunchingNotification, this);
}

void Application::terminate(Responder*) {
    requireMainThread("Application::terminate");
    if (terminated_ || terminating == this) return;
    if (auto d = delegate.lock(); d && d->applicationShouldTerminate() == TerminateReply::cancel) return;
    terminating = this;
    struct Done {
        ~Done() { terminating = nullptr; }
    } done;
    // Work the program has on the global queues (a restore, a snapshot's quit) finishes first, so
    // that nothing it calls back into is gone; the main run loop turns meanwhile.
    auto& kernel = detail::Kernel::get();
    if (kernel.globalWorkPending())
        runtime::runLoopUntil(runtime::defaultMode, [&kernel] { return !kernel.globalWorkPending(); }, workDrainSeconds);
    runtime::post(ApplicationWillTerminateNotification, this);
    if (auto d = delegate.lock()) d->applicationWillTerminate();
    terminated_ = true;
    running_ = false;
    endProgram();
}

void Application::endProgram() {
    for (auto& session : modal_)
        if (!session.code) session.code = ModalResponse::abort;
    for (auto& window : windows())
        window->close();
    auto& bar = StatusBar::system();
    for (auto item : std::vector(bar.items()))
        bar.removeStatusItem(item);
    input_detail::endProgram();
    detail::Kernel::get().invalidateMainRunLoopTimers();
    OwnWindowBridge::endProgram();
    if (active_) {
        active_ = false;
        runtime::post(ApplicationDidResignActiveNotification, this);
    }
}

std::vector<std::shared_ptr<Window>> Application::windows() const {
    std::vector<std::shared_ptr<Window>> out;
    for (auto* w : all_)
        if (auto s = std::static_pointer_cast<Window>(w->weak_from_this().lock())) out.push_back(s);
    return out;
}

std::vector<std::shared_ptr<Window>> Application::orderedWindows() const {
    std::vector<std::shared_ptr<Window>> out;
    for (auto* w : order_)
        if (auto s = std::static_pointer_cast<Window>(w->weak_from_this().lock())) out.push_back(s);
    return out;
}

namespace {

/// The program's window under the pointer of `event` (the window server's hit testing: windows
/// that ignore mouse events pass it through) and the pointer in global points; null when none
/// takes the event (not the program's, not shown, or behind a modal window).
Window* windowUnderMouse(const Application& application, const NSEvent& event, CGPoint& at) {
    at = event.locationInWindow;
    if (event.windowNumber != 0) {
        const Window* from = application.windowWithNumber(event.windowNumber);
        if (!from) return nullptr;
        at = {at.x + from->frame().origin.x, at.y + from->frame().origin.y};
    }
    const auto number = OwnWindowBridge::ownWindowAt(at);
    Window* window = number ? application.windowWithNumber(long(*number)) : nullptr;
    if (!window || !window->isVisible() || window->isClosed()) return nullptr;
    if (Window* modal = application.modalWindow(); modal && modal != window) return nullptr;
    return window;
}

} // namespace

View* Application::viewUnderMouse(const NSEvent& event) const {
    CGPoint at;
    Window* window = windowUnderMouse(*this, event, at);
    if (!window || !window->contentView()) return nullptr;
    // A window is laid out before the events of a run-loop pass reach it: the views' frames are
    // those the pointer sees.
    window->contentView()->layoutSubtreeIfNeeded();
    return window->contentView()->hitTest({at.x - window->frame().origin.x, at.y - window->frame().origin.y});
}

void Application::sendEvent(const NSEvent& event) {
    requireMainThread("Application::sendEvent");
    if (frameTracker_.track(event)) return;
    if (event.type == EventType::leftMouseDown) {
        pressedView_.reset();
        // The window server activates the program and the window takes the keys first; then the
        // click goes on to the window's frame or the view under the pointer.
        CGPoint at;
        if (Window* window = windowUnderMouse(*this, event, at)) {
            ClickActivation::windowTakesClick(*window);
            if (frameTracker_.mouseDown(*window, at)) return;
        }
        View* view = viewUnderMouse(event);
        if (!view) return;
        pressedView_ = view->weak_from_this();
        view->mouseDown(event);
    } else if (event.type == EventType::leftMouseDragged) {
        // The view that took the press follows the pointer wherever it goes.
        if (const auto pressed = pressedView_.lock()) static_cast<View*>(pressed.get())->mouseDragged(event);
    } else if (event.type == EventType::leftMouseUp) {
        const auto pressed = std::exchange(pressedView_, {}).lock();
        if (pressed) static_cast<View*>(pressed.get())->mouseUp(event);
    } else if (event.type == EventType::keyDown ||
               (event.type == EventType::appKitDefined && event.subtype == NSEvent::textInputSubtype)) {
        // Keys and committed text go to the key window's first responder (the window itself when
        // no view is), which hands on what it does not take.
        Window* window = keyWindow_;
        if (!window || window->isClosed()) return;
        if (Window* modal = modalWindow(); modal && modal != window) return;
        const auto keep = window->weak_from_this().lock();
        Responder* responder = window->firstResponder();
        if (event.type == EventType::keyDown) {
            responder->keyDown(event);
        } else {
            responder->insertText(event.characters);
        }
    } else if (event.type == EventType::scrollWheel) {
        if (View* view = viewUnderMouse(event)) view->scrollWheel(event);
    }
}

Window* Application::windowWithNumber(long number) const {
    for (auto* w : all_)
        if (w->windowNumber() == number) return w;
    return nullptr;
}

void Application::unregisterWindow(Window* w) {
    all_.erase(std::remove(all_.begin(), all_.end(), w), all_.end());
    if (keyWindow_ == w) keyWindow_ = nullptr;
    for (auto& s : modal_)
        if (s.window == w) s.code = ModalResponse::abort;
}

void Application::orderIn(Window* w) {
    order_.erase(std::remove(order_.begin(), order_.end(), w), order_.end());
    // In front of every window of its level or lower.
    auto it = std::find_if(order_.begin(), order_.end(), [w](Window* o) { return o->level() <= w->level(); });
    order_.insert(it, w);
}

void Application::orderOutWindow(Window* w) {
    order_.erase(std::remove(order_.begin(), order_.end(), w), order_.end());
    if (keyWindow_ == w) {
        setKeyWindow(nullptr);
        for (auto* o : order_)
            if (o->canBecomeKeyWindow()) {
                setKeyWindow(o);
                break;
            }
    }
}

void Application::setKeyWindow(Window* w) {
    if (keyWindow_ == w) return;
    if (auto* old = keyWindow_) {
        keyWindow_ = nullptr;
        runtime::post(WindowDidResignKeyNotification, old);
        if (auto d = old->delegate.lock()) d->windowDidResignKey(*old);
    }
    keyWindow_ = w;
    if (w) {
        runtime::post(WindowDidBecomeKeyNotification, w);
        if (auto d = w->delegate.lock()) d->windowDidBecomeKey(*w);
        if (keyWindow_ == w) w->chooseInitialFirstResponder();
    }
}

long Application::runModal(Window& window) {
    requireMainThread("Application::runModal");
    modal_.push_back({&window, std::nullopt});
    size_t depth = modal_.size();
    window.makeKeyAndOrderFront();
    auto done = [this, depth] { return modal_.size() >= depth && modal_[depth - 1].code.has_value(); };
    // The main queue and the scripted responder get their turns; a session nobody ends is aborted.
    for (int turn = 0; !done() && turn < 1000; ++turn) {
        if (runtime::runLoopUntil(runtime::modalPanelMode, done, 0.001)) break;
        if (!done()) UiScript::shared().answerModal(window);
    }
    long code = done() ? *modal_[depth - 1].code : ModalResponse::abort;
    modal_.resize(depth - 1);
    return code;
}

void Application::stopModal() {
    stopModal(ModalResponse::stop);
}

void Application::stopModal(long code) {
    requireMainThread("Application::stopModal");
    for (auto it = modal_.rbegin(); it != modal_.rend(); ++it)
        if (!it->code) {
            it->code = code;
            return;
        }
}

void Application::abortModal() {
    stopModal(ModalResponse::abort);
}

const std::optional<NSEvent>& Application::currentEvent() const {
    return EventQueue::shared().currentEvent();
}

Responder* Application::targetForAction(const Selector& action, Responder* target) const {
    if (target) return target->respondsTo(action) ? target : nullptr;
    std::vector<Responder*> chain;
    if (auto* w = keyWindow_) {
        for (Responder* r = w->firstResponder(); r && chain.size() < 256; r = r->nextResponder())
            chain.push_back(r);
        if (std::find(chain.begin(), chain.end(), w) == chain.end()) chain.push_back(w);
    }
    chain.push_back(const_cast<Application*>(this));
    if (auto d = delegate.lock())
        if (auto* r = dynamic_cast<Responder*>(d.get())) chain.push_back(r);
    for (auto* r : chain)
        if (r->respondsTo(action)) return r;
    return nullptr;
}

bool Application::sendAction(const Selector& action, Responder* target, Responder* sender) {
    requireMainThread("Application::sendAction");
    if (action.empty()) return false;
    auto* receiver = targetForAction(action, target);
    if (!receiver) return false;
    auto keep = receiver->weak_from_this().lock(); // the action may drop the last owner
    return receiver->perform(action, sender);
}

} // namespace platform::ui
