#pragma once

#include "platform/foundation/SharedInstance.hpp"

#include "platform/input/NSEvent.hpp"
#include "platform/ui/Responder.hpp"
#include "platform/ui/WindowFrameTracker.hpp"

#include <memory>
#include <optional>
#include <vector>

namespace platform::OwnWindowBridge {
void programLeftFront();
} // namespace platform::OwnWindowBridge

namespace platform::ui {

class Menu;
class View;
class Window;

enum class ActivationPolicy { regular = 0, accessory = 1, prohibited = 2 };
enum class TerminateReply { cancel = 0, now = 1, later = 2 };

/// Responses of modal sessions and alerts.
namespace ModalResponse {
inline constexpr long ok = 1;
inline constexpr long cancel = 0;
inline constexpr long stop = -1000;
inline constexpr long abort = -1001;
inline constexpr long continueSession = -1002;
inline constexpr long alertFirstButtonReturn = 1000;
inline constexpr long alertSecondButtonReturn = 1001;
inline constexpr long alertThirdButtonReturn = 1002;
} // namespace ModalResponse

/// Notifications the application posts on the default center (object: the application).
inline const std::string ApplicationDidFinishLaunchingNotification =
    "NSApplicationDidFinishLaunchingNotification";
inline const std::string ApplicationWillTerminateNotification = "NSApplicationWillTerminateNotification";
inline const std::string ApplicationDidBecomeActiveNotification = "NSApplicationDidBecomeActiveNotification";
inline const std::string ApplicationDidResignActiveNotification = "NSApplicationDidResignActiveNotification";

/// Told when the application finished launching and when it is about to terminate (main thread).
class ApplicationDelegate {
public:
    virtual ~ApplicationDelegate() = default;
    virtual void applicationDidFinishLaunching() {}
    virtual TerminateReply applicationShouldTerminate() { return TerminateReply::now; }
    virtual void applicationWillTerminate() {}
};

/// The application object: one shared instance (`shared()`; `SharedInstances::resetAll` drops it,
/// windows still alive keep working but are no longer listed). Delegate (held weakly), activation policy and state, key and main window, the
/// list of windows, main menu, modal sessions, the current event, and target-action dispatch.
/// Main thread only.
class Application : public Responder {
public:
    static Application& shared();

    std::weak_ptr<ApplicationDelegate> delegate;
    void setDelegate(const std::shared_ptr<ApplicationDelegate>& d) { delegate = d; }

    ActivationPolicy activationPolicy() const { return policy_; }
    /// Sets the policy; true (every policy is accepted).
    bool setActivationPolicy(ActivationPolicy policy);
    /// Makes the application active: the program becomes the frontmost application of the
    /// simulated desktop (the workspace posts its did-activate notification, with the program's
    /// running application, when another one was in front), and the did-become-active
    /// notification is posted when the application was not active. An accessory application does
    /// not take the front by launching: asked before `run` it leaves the frontmost application in
    /// front, as it does after the application terminated. The window that was key when the
    /// application last resigned active becomes key again when it is still on screen and no
    /// other window became key meanwhile.
    void activate(bool ignoringOtherApps);
    bool isActive() const { return active_; }

    /// Finishes launching (the delegate and the did-finish-launching observers are told once) and
    /// marks the application running. The simulated desktop drives the run loop from then on.
    void run();
    bool isRunning() const { return running_; }
    /// Asks the delegate; unless it cancels, posts will-terminate, tells the delegate, then ends
    /// the program as its process's exit would: modal sessions are aborted, every window and panel
    /// closes, the status items leave every menu bar, the hot keys, Carbon handlers and event
    /// monitors go, the main run loop's timers are invalidated, and the program leaves the running
    /// applications (the workspace posts its did-terminate notification; the next application
    /// comes forward). Its objects are the host's to release afterwards. Once only.
    void terminate(Responder* sender);
    bool isTerminated() const { return terminated_; }

    Window* keyWindow() const { return keyWindow_; }
    Window* mainWindow() const { return keyWindow_; }
    /// Every window of the program that exists, in creation order.
    std::vector<std::shared_ptr<Window>> windows() const;
    /// The visible windows, front to back (higher levels first).
    std::vector<std::shared_ptr<Window>> orderedWindows() const;
    Window* windowWithNumber(long number) const;

    std::shared_ptr<Menu> mainMenu;

    /// Runs `window` as an application-modal session: the main run loop runs in modal-panel mode
    /// until `stopModal` ends it, and the code is returned. Alerts and sheets are answered by the
    /// simulator's scripted responder meanwhile. A session nobody can end is aborted
    /// (`ModalResponse::abort`) rather than hanging.
    long runModal(Window& window);
    void stopModal();
    void stopModal(long code);
    void abortModal();
    Window* modalWindow() const { return modal_.empty() ? nullptr : modal_.back().window; }

    /// The event being handled: the application event queue's current event (a dispatched event,
    /// a hot key's system-defined event, the mouse-up of a menu pick or a button click while its
    /// action runs); none between events.
    const std::optional<NSEvent>& currentEvent() const;

    /// Hands an event the window server sent to the program to its windows (the main run loop
    /// dispatches every queued event here once the application runs, unless another handler was
    /// installed on the event queue). A left mouse-down goes to the view under the pointer in the
    /// program's window that the window server's hit testing finds there (`View::hitTest`; none
    /// while a modal session runs for another window); the dragged events and the mouse-up that
    /// follow go to that same view wherever the pointer is (`View::mouseDragged`,
    /// `View::mouseUp`), and a mouse-up that lands on the view again is a click. A press on a
    /// titled window's title bar, one of its buttons or its resize corner is the window frame's
    /// instead (`WindowFrameTracker`), with the dragged events and the mouse-up that follow it. A
    /// scroll-wheel event goes to the view under the
    /// pointer found the same way (`View::scrollWheel`). A key-down goes to the key window's first
    /// responder (`Responder::keyDown`), and so does text an input method commits
    /// (`NSEvent::textInputEvent`, `Responder::insertText`); while a modal session runs for another
    /// window they go nowhere. Other events do nothing here. Main thread.
    void sendEvent(const NSEvent& event);

    /// The object that will receive `action`: `target` when it answers it; with no target, the
    /// first of the key window's responder chain, the key window, its delegate, the application
    /// and the application delegate that answers it. Null when nobody does.
    Responder* targetForAction(const Selector& action, Responder* target) const;
    /// Sends `action` with `sender` to `targetForAction`; false when nobody answered.
    bool sendAction(const Selector& action, Responder* target, Responder* sender);

private:
    friend class platform::SharedInstance<Application>;
    friend class Window;
    friend class UISimulator;
    friend void platform::OwnWindowBridge::programLeftFront();
    struct ModalSession {
        Window* window;
        std::optional<long> code;
    };
    void endProgram();
    /// The application stops being the active one (another application came to the front, a
    /// click landed outside the program): its key window resigns key (did-resign-key is posted
    /// and its delegate told) and is remembered for the next activation, the windows that hide on
    /// deactivation are ordered out, and did-resign-active is posted when it was active.
    void resignActive();
    void registerWindow(Window* w) { all_.push_back(w); }
    void unregisterWindow(Window* w);
    void orderIn(Window* w);
    void orderOutWindow(Window* w);
    void setKeyWindow(Window* w);
    /// The view of the program's window under a mouse event's location; null when there is none.
    View* viewUnderMouse(const NSEvent& event) const;

    ActivationPolicy policy_ = ActivationPolicy::regular;
    bool active_ = false;
    bool running_ = false;
    bool launched_ = false;
    bool terminated_ = false;
    Window* keyWindow_ = nullptr;
    std::vector<Window*> all_;
    std::vector<Window*> order_; // visible, front first
    std::vector<ModalSession> modal_;
    std::weak_ptr<Responder> pressedView_; // the view that took the left mouse-down
    WindowFrameTracker frameTracker_;      // a press on a window's title bar or resize corner
    std::weak_ptr<Responder> resignedKeyWindow_; // key when the application last resigned active
};

} // namespace platform::ui
