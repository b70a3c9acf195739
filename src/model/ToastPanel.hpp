#pragma once

#include "model/Rect.hpp"

#include <memory>
#include <optional>
#include <string>

namespace tilmora {

/// The content of a toast. The UI layer draws it as a vertical stack (leading alignment, spacing
/// 8) of the title in the headline font, white, and the message in the body font, white at
/// opacity 0.9; padding 20 on all sides; width 380 with leading alignment, the height following the
/// content; behind it a rounded rectangle (corner radius 12, continuous corners) filled with black
/// at opacity 0.85, with a shadow of black at opacity 0.5, radius 20, offset (0, 10).
struct NotificationView {
    std::string title;
    std::string message;

    friend bool operator==(const NotificationView&, const NotificationView&) = default;
};

/// How the toast panel is made: a borderless non-activating panel at `contentRect` (global
/// coordinates, points, y up), buffered, not deferred, not opaque with a clear background, at the
/// floating level, on every Space and over full-screen windows, not movable by its background and
/// not hidden when the application deactivates.
struct ToastPanelSpec {
    Rect contentRect;
    /// Only the non-activating-panel flag: no title bar, no border.
    int styleMask = 128;
    /// The floating window level.
    int level = 3;
    /// Can join all Spaces (1), stationary (16), ignores cycle (64), full-screen auxiliary (256).
    int collectionBehavior = 337;
    bool opaque = false;
    bool movableByWindowBackground = false;
    bool hidesOnDeactivate = false;
};

/// The one toast panel, as the toast manager drives it. Implemented by the UI layer over its
/// panels; tests use a fake. Main thread.
class ToastPanel {
public:
    virtual ~ToastPanel() = default;
    /// Replaces the content (a new hosting controller); the frame stays as it is.
    virtual void setContent(const NotificationView& view) = 0;
    /// Sets the alpha at once, ending any fade in progress.
    virtual void setAlpha(double alpha) = 0;
    /// Animates the alpha to `alpha` over `seconds`; the toast manager orders the panel out itself
    /// when the fade is over.
    virtual void fadeAlpha(double alpha, double seconds) = 0;
    /// Orders the panel to the front even when the application is not active, without making it key.
    virtual void orderFrontRegardless() = 0;
    /// Takes the panel off the screen; it stays for the next toast.
    virtual void orderOut() = 0;
};

/// What the toast manager needs of the shell and the UI layer, installed at start-up with
/// `NotificationManager::installHost`. Main thread.
class ToastHost {
public:
    /// The shell's main window, as far as a toast looks at it.
    struct MainWindow {
        bool isVisible = false;
        /// Its frame in global coordinates (points, y up).
        Rect frame;
    };

    virtual ~ToastHost() = default;
    /// Makes the toast panel (once per run).
    virtual std::shared_ptr<ToastPanel> makePanel(const ToastPanelSpec& spec) = 0;
    /// The shell's main window; none while it does not exist.
    virtual std::optional<MainWindow> mainWindow() const = 0;
};

} // namespace tilmora
