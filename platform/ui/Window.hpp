#pragma once

#include "platform/ui/Appearance.hpp"

#include "platform/desktop/NSScreen.hpp"
#include "platform/ui/Color.hpp"
#include "platform/ui/View.hpp"

#include <functional>
#include <map>
#include <string>

namespace platform::OwnWindowBridge {
struct OwnWindowSpec;
}

namespace platform::ui {

class Window;
class ViewController;

/// Style-mask bits of windows and panels.
namespace StyleMask {
inline constexpr unsigned borderless = 0;
inline constexpr unsigned titled = 1;
inline constexpr unsigned closable = 2;
inline constexpr unsigned miniaturizable = 4;
inline constexpr unsigned resizable = 8;
inline constexpr unsigned utilityWindow = 16;
inline constexpr unsigned nonactivatingPanel = 128;
inline constexpr unsigned fullSizeContentView = 1u << 15;
inline constexpr unsigned hudWindow = 1u << 13;
} // namespace StyleMask

enum class BackingStore { retained = 0, nonretained = 1, buffered = 2 };

/// Window levels.
namespace WindowLevel {
inline constexpr long normal = 0;
inline constexpr long floating = 3;
inline constexpr long torn = 3;
inline constexpr long modalPanel = 8;
inline constexpr long mainMenu = 24;
inline constexpr long statusBar = 25;
inline constexpr long popUpMenu = 101;
inline constexpr long screenSaver = 1000;
} // namespace WindowLevel

/// Collection-behaviour bits.
namespace CollectionBehavior {
inline constexpr unsigned defaultBehavior = 0;
inline constexpr unsigned canJoinAllSpaces = 1;
inline constexpr unsigned moveToActiveSpace = 2;
inline constexpr unsigned managed = 4;
inline constexpr unsigned transient = 8;
inline constexpr unsigned stationary = 16;
inline constexpr unsigned participatesInCycle = 32;
inline constexpr unsigned ignoresCycle = 64;
inline constexpr unsigned fullScreenPrimary = 128;
inline constexpr unsigned fullScreenAuxiliary = 256;
} // namespace CollectionBehavior

/// Notifications a window posts on the default center (object: the window).
inline const std::string WindowDidBecomeKeyNotification = "NSWindowDidBecomeKeyNotification";
inline const std::string WindowDidResignKeyNotification = "NSWindowDidResignKeyNotification";
inline const std::string WindowWillCloseNotification = "NSWindowWillCloseNotification";

/// Told of a window's key status and closing (main thread).
class WindowDelegate {
public:
    virtual ~WindowDelegate() = default;
    virtual bool windowShouldClose(Window&) { return true; }
    virtual void windowWillClose(Window&) {}
    virtual void windowDidBecomeKey(Window&) {}
    virtual void windowDidResignKey(Window&) {}
};

/// The animator proxy of a window: inside `AnimationContext::runAnimationGroup` with a positive
/// duration a change reaches its final value when the group's duration has passed on the virtual
/// clock; outside a group it applies at once.
class WindowAnimator {
public:
    explicit WindowAnimator(Window& window)
        : window_(window) {}
    void setAlphaValue(double alpha);
    void setFrame(const Rect& frame, bool display);
    void setFrameOrigin(Point origin);

private:
    /// Runs `apply` on the window at once, or as a change of the current animation context when
    /// there is one; a later change of the same `property` makes a pending earlier one do nothing.
    void change(const std::string& property, const std::function<void(Window&)>& apply);

    Window& window_;
};

/// A window of the program (as the original platform's windows): frame in global coordinates
/// (points, y up from the bottom of the main display), style mask, level, visibility and order,
/// key status, first responder, content view or view controller, appearance flags, alpha,
/// collection behaviour, and a delegate (held weakly). Every window is listed by the application
/// while it exists. From the first time it is ordered in until it is closed or destroyed it also
/// has a record in the simulated window server's list (owner: the program's pid; layer: its level;
/// its frame, alpha and title; on screen while visible and on an active Desktop). Main thread
/// only: in a Debug build the calls that change a window fail with a `platform::Error` naming the
/// call ("Window::setFrame must be called on the main thread") when made elsewhere.
class Window : public Responder {
public:
    /// The height of a titled window's title bar, points.
    static constexpr double titleBarHeight = 28;

    Window(Rect contentRect, unsigned styleMask, BackingStore backing = BackingStore::buffered,
           bool defer = false);
    ~Window() override;

    unsigned styleMask() const { return styleMask_; }
    void setStyleMask(unsigned mask) { styleMask_ = mask; }
    BackingStore backingType() const { return backing_; }
    bool deferred() const { return defer_; }

    /// Frame (points, global, y up); the content rectangle is the frame minus the title bar.
    Rect frame() const { return frame_; }
    void setFrame(const Rect& frame, bool display, bool animate = false);
    void setFrameOrigin(Point origin);
    Rect contentRectForFrameRect(const Rect& frame) const;
    Rect frameRectForContentRect(const Rect& content) const;
    Size contentSize() const { return contentRectForFrameRect(frame_).size; }
    void setContentSize(Size size);
    Size minSize;        // frame size
    Size contentMinSize; // content size
    /// Moves the window to the horizontal centre of its screen's visible frame (the main screen's
    /// when the window lies on no screen), a little above the vertical centre. Without screens the
    /// window stays where it is.
    void center();
    /// The screen (of the simulated desktop's published list) that holds the largest part of the
    /// frame; none when the window lies on no screen.
    std::optional<NSScreen> screen() const;
    /// Converts a rectangle of the window's space (points, y up) to global coordinates.
    Rect convertRectToScreen(const Rect& r) const;

    std::string title;
    std::string frameAutosaveName;
    std::string titleVisibility = "visible"; // or "hidden"
    bool titlebarAppearsTransparent = false;
    bool isOpaque = true;
    Color backgroundColor = Color::windowBackgroundColor();
    bool hasShadow = true;
    unsigned collectionBehavior = CollectionBehavior::defaultBehavior;
    bool isMovableByWindowBackground = false;
    bool isMovable = true;
    bool hidesOnDeactivate = false;
    bool isReleasedWhenClosed = true;
    bool acceptsMouseMovedEvents = false;
    bool allowsToolTipsWhenApplicationIsInactive = false;

    /// The appearance the window sets for its content; none: the system's (light).
    std::optional<Appearance> appearance() const { return appearance_; }
    /// Sets the window's appearance and tells its content views (`viewDidChangeEffectiveAppearance`).
    void setAppearance(std::optional<Appearance> appearance);
    /// The appearance the window's content is drawn in.
    Appearance effectiveAppearance() const { return appearance_.value_or(Appearance::aqua); }

    long level() const { return level_; }
    void setLevel(long level);
    /// Whether clicks pass through the window to the window below it (the window server's hit
    /// testing skips it from now on).
    bool ignoresMouseEvents() const { return ignoresMouseEvents_; }
    void setIgnoresMouseEvents(bool ignores);
    double alphaValue() const { return alpha_; }
    void setAlphaValue(double alpha);
    WindowAnimator animator() { return WindowAnimator(*this); }

    const std::shared_ptr<View>& contentView() const { return contentView_; }
    void setContentView(std::shared_ptr<View> view);
    const std::shared_ptr<ViewController>& contentViewController() const { return contentViewController_; }
    /// Makes the controller's view the content view; the window keeps its frame.
    void setContentViewController(std::shared_ptr<ViewController> controller);

    std::weak_ptr<WindowDelegate> delegate;
    void setDelegate(const std::shared_ptr<WindowDelegate>& d) { delegate = d; }

    bool isVisible() const { return visible_; }
    /// Orders the window in front of its level. On the desktop: the first time on the active
    /// Desktop of the display that holds most of it; a window that was ordered out, or that has
    /// "move to active Space", comes to its display's active Desktop; one still shown on another
    /// Desktop stays there. Never switches Desktops.
    void orderFront();
    /// Orders the window in front without activating the application (as `orderFront`).
    void orderFrontRegardless();
    /// Orders the window in front and makes it key when it can become key. When the window stands
    /// on a Desktop that is not active (also after it was ordered out, and whatever its other
    /// collection flags say), its display switches to that Desktop, unless it can join all
    /// Spaces.
    void makeKeyAndOrderFront();
    void orderOut();
    /// Closes: the delegate and observers are told, then the window is ordered out.
    void close();
    /// The user's click on the close button: asks the delegate first.
    void performClose();
    bool isClosed() const { return closed_; }
    /// Miniaturizes a visible window (the minimize button): it leaves the screen as with
    /// `orderOut` and stays in the Dock, `isMiniaturized`, until it is ordered in again (any
    /// order-front brings it back where it was) or ordered out or closed (it leaves the Dock).
    void miniaturize();
    bool isMiniaturized() const { return miniaturized_; }
    /// Zooms a visible window (the zoom button) by the window server's rule for every window
    /// (`OwnWindowBridge::zoom`): it fills the visible frame of its screen from the top-left
    /// corner, within its minimum size; zoomed again, it goes back to the frame it had before.
    void zoom();

    /// Makes the window key when it can become key.
    void makeKey();
    bool isKeyWindow() const;
    /// Borderless windows and panels cannot become key; titled ones can.
    virtual bool canBecomeKeyWindow() const;
    virtual bool canBecomeMainWindow() const { return canBecomeKeyWindow(); }

    /// The window server's number of the window (unique, positive); the same number identifies it
    /// in the window list (`CGWindowListCopyWindowInfo`).
    long windowNumber() const { return number_; }

    /// The current first responder: a view of the window, or the window itself.
    Responder* firstResponder() const {
        return firstResponder_ ? firstResponder_ : const_cast<Window*>(this);
    }
    /// Makes `responder` first responder (null: the window itself). The current one is asked to
    /// resign and the new one to become; either may refuse, then false is returned. Making a text
    /// field that is editing first responder again ends its editing (its delegate is told) and
    /// begins it anew.
    bool makeFirstResponder(Responder* responder);
    /// Tab and Shift-Tab: give the keys to the key view after (or before) `view` in the window's key
    /// view loop, wrapping at its ends. The loop is every visible view of the content, depth first,
    /// that can become a key view (`View::canBecomeKeyView`) or holds key views of its own
    /// (`View::hasKeyViewsInside`, which then takes the keys with `selectKeyViewInside`); a view
    /// that refuses is passed over. When no other view takes them, `view` keeps the keys (made
    /// first responder again). Nothing happens when `view` is not in the window. Main thread.
    void selectKeyViewFollowingView(View& view);
    void selectKeyViewPrecedingView(View& view);
    /// The view made first responder the first time the window becomes key, when it can become a
    /// key view then; when it is unset or cannot, the first view of the content (depth first) that
    /// can become a key view is taken. Held weakly.
    std::weak_ptr<View> initialFirstResponder;

    /// Lays out and draws the content now; counted in `displayCount`.
    void display();
    void displayIfNeeded();
    int displayCount() const { return displayCount_; }

    /// The view the window's sheet is attached to (an alert's window while a sheet is up).
    const std::shared_ptr<Window>& attachedSheet() const { return sheet_; }

    Responder* nextResponder() const override;

protected:
    /// Orders the window in front (activating the application when asked, unless it is a
    /// non-activating panel) and tells the window server; `makingKey` is the order-front of
    /// `makeKeyAndOrderFront`, which takes the display to the window's Desktop.
    virtual void orderIn(bool activate, bool makingKey = false);

private:
    friend class WindowAnimator;
    friend class Application;
    friend class Alert;
    friend class UISimulator;
    void applyAlpha(double alpha);
    void applyFrame(const Rect& frame);
    /// Picks the first responder when the window becomes key for the first time (after the
    /// did-become-key notification was posted) and nothing is first responder yet.
    void chooseInitialFirstResponder();
    void selectKeyView(View& from, bool forward);
    void syncWithWindowServer();
    OwnWindowBridge::OwnWindowSpec windowServerSpec() const;

    Rect frame_;
    unsigned styleMask_;
    BackingStore backing_;
    bool defer_;
    long level_ = WindowLevel::normal;
    std::optional<Appearance> appearance_;
    bool ignoresMouseEvents_ = false;
    double alpha_ = 1;
    bool visible_ = false;
    bool closed_ = false;
    bool miniaturized_ = false;
    bool listed_ = false; // has a record in the window server's list
    long number_;
    int displayCount_ = 0;
    Responder* firstResponder_ = nullptr;
    bool hasBeenKey_ = false;
    std::shared_ptr<View> contentView_;
    std::shared_ptr<ViewController> contentViewController_;
    std::shared_ptr<Window> sheet_;
    std::map<std::string, long> generations_; // per animated property; a later change supersedes
};

} // namespace platform::ui
