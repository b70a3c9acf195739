#pragma once

#include "model/NotificationView.hpp"
#include "model/Rect.hpp"

#include <functional>
#include <memory>
#include <optional>
#include <string>

namespace tilmora {

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

/// The one toast panel, as the toast manager drives it: `SystemToastPanel` over the UI toolkit's
/// panels; tests may use a fake. Main thread.
class ToastPanel {
public:
    virtual ~ToastPanel() = default;
    /// Replaces the content with a new hosting controller of `view`; the frame stays as it is.
    virtual void setContent(const NotificationView& view) = 0;
    /// Sets the alpha at once, ending any fade in progress.
    virtual void setAlpha(double alpha) = 0;
    /// Animates the alpha to `alpha` over `seconds` of virtual time, then runs `completion` on the
    /// main queue (also when a later `setAlpha` overtook the fade; the toast manager tells the two
    /// apart itself).
    virtual void fadeAlpha(double alpha, double seconds, std::function<void()> completion) = 0;
    /// Orders the panel to the front even when the application is not active, without making it key.
    virtual void orderFrontRegardless() = 0;
    /// Takes the panel off the screen; it stays for the next toast.
    virtual void orderOut() = 0;
};

/// What the toast manager needs of the UI toolkit and the shell: the panel maker and the shell's
/// main window. `SystemToastHost` is in force unless another is installed with
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
