#pragma once

#include "platform/input/NSEvent.hpp"
#include "platform/ui/Layer.hpp"
#include "platform/ui/Responder.hpp"

#include <optional>
#include <string>
#include <vector>

namespace platform::ui {

class Window;

/// Autoresizing mask bits of a view.
namespace AutoresizingMask {
inline constexpr unsigned none = 0;
inline constexpr unsigned minXMargin = 1;
inline constexpr unsigned widthSizable = 2;
inline constexpr unsigned maxXMargin = 4;
inline constexpr unsigned minYMargin = 8;
inline constexpr unsigned heightSizable = 16;
inline constexpr unsigned maxYMargin = 32;
} // namespace AutoresizingMask

/// Layout priorities (content hugging, compression resistance).
namespace LayoutPriority {
inline constexpr float defaultLow = 250;
inline constexpr float defaultHigh = 750;
inline constexpr float required = 1000;
} // namespace LayoutPriority

/// A retained view (as the original platform's views): frame in the superview's space (points,
/// y up), bounds, subviews in back-to-front order, hidden flag, layout and display requests, an
/// optional backing layer, identifier, tooltip and fixed-size constraints. Main thread only.
class View : public Responder {
public:
    explicit View(Rect frame = {})
        : frame_(frame) {}

    Rect frame() const { return frame_; }
    virtual void setFrame(const Rect& frame);
    void setFrameOrigin(Point origin) { setFrame({origin, frame_.size}); }
    void setFrameSize(Size size) { setFrame({frame_.origin, size}); }
    Rect bounds() const { return {0, 0, frame_.width(), frame_.height()}; }

    void addSubview(const std::shared_ptr<View>& view);
    void removeFromSuperview();
    const std::vector<std::shared_ptr<View>>& subviews() const { return subviews_; }
    View* superview() const { return superview_; }
    /// The window whose view tree holds this view; null when it is in none.
    Window* window() const { return window_; }

    bool isHidden() const { return hidden_; }
    void setHidden(bool hidden) { hidden_ = hidden; }
    bool isHiddenOrHasHiddenAncestor() const;
    double alphaValue = 1;

    bool needsLayout() const { return needsLayout_; }
    void setNeedsLayout(bool v) { needsLayout_ = v; }
    bool needsDisplay() const { return needsDisplay_; }
    void setNeedsDisplay(bool v) { needsDisplay_ = v; }
    /// The layout pass of this view; overrides lay out their own content. Runs on the main thread.
    virtual void layout();
    /// Runs `layout()` on this view and every descendant that needs it, parents first.
    void layoutSubtreeIfNeeded();
    /// Draws the view now; counts in `displayCount` and clears the display request of the subtree.
    void display();
    void displayIfNeeded();
    int displayCount() const { return displayCount_; }

    bool wantsLayer() const { return wantsLayer_; }
    /// Turning layer backing on gives the view a plain layer when it has none.
    void setWantsLayer(bool v);
    const std::shared_ptr<Layer>& layer() const { return layer_; }
    void setLayer(std::shared_ptr<Layer> layer) { layer_ = std::move(layer); }

    std::string identifier;
    std::string toolTip;
    unsigned autoresizingMask = AutoresizingMask::none;
    bool translatesAutoresizingMaskIntoConstraints = true;
    /// Fixed width and height constraints (points); absent when unconstrained.
    std::optional<double> widthConstraint;
    std::optional<double> heightConstraint;
    /// A height-at-least constraint (points): the fitting size, and so a stack's layout, is never
    /// lower than it (a fixed height constraint below it gives way).
    std::optional<double> minHeightConstraint;
    float horizontalHuggingPriority = LayoutPriority::defaultLow;
    float verticalHuggingPriority = LayoutPriority::defaultLow;
    float horizontalCompressionResistance = LayoutPriority::defaultHigh;
    float verticalCompressionResistance = LayoutPriority::defaultHigh;

    /// The size the view asks for from its content, -1 in a dimension with no intrinsic size.
    virtual Size intrinsicContentSize() const { return {-1, -1}; }
    /// The smallest size that fits the content: constraints, then the intrinsic size, then the frame.
    virtual Size fittingSize() const;

    /// Pins a subview inside this view with the given insets (points from each edge): the layout
    /// pass sizes it to the bounds minus the insets, and the fitting size grows by them.
    void pinSubview(const std::shared_ptr<View>& view, EdgeInsets insets);

    /// Told after the view moved into a window or out of one (then `window()` is null).
    virtual void viewDidMoveToWindow() {}
    /// Told after the window that holds the view came onto the screen (`visible` true: ordered in
    /// while it was not shown) or left it (ordered out or closed); every view of the window's
    /// content is told, parents first. Main thread.
    virtual void viewWindowVisibilityDidChange(bool visible) { (void)visible; }

    /// Whether the window may pick this view as its first key view (its initial first responder
    /// when it first becomes key). By default whether it accepts first responder.
    virtual bool canBecomeKeyView() const { return acceptsFirstResponder(); }
    /// Whether the view holds key views that are not views of its own (a hosting view's text
    /// fields): the window's key view loop then stops at it and hands it the keys through
    /// `selectKeyViewInside`.
    virtual bool hasKeyViewsInside() const { return false; }
    /// Gives the keys to the first (`forward`) or the last of the key views it holds; false when it
    /// holds none that takes them. Main thread.
    virtual bool selectKeyViewInside(bool forward) {
        (void)forward;
        return false;
    }

    /// Converts a point of the window's space (points, y up from the bottom-left of the window's
    /// content) to this view's space (y up from its bottom-left), through the superviews' frames.
    Point convertPointFromWindow(Point point) const {
        for (const View* v = this; v; v = v->superview_) {
            point.x -= v->frame_.origin.x;
            point.y -= v->frame_.origin.y;
        }
        return point;
    }

    /// Converts a point of this view's space (y up from its bottom-left) to its window's space.
    Point convertPointToWindow(Point point) const {
        for (const View* v = this; v; v = v->superview_) {
            point.x += v->frame_.origin.x;
            point.y += v->frame_.origin.y;
        }
        return point;
    }

    /// The view a click at `point` (points, in the superview's space, y up; the window's space for
    /// a content view) lands on: the deepest visible view of this subtree whose frame holds it, a
    /// later subview before an earlier one (it lies in front); null when the point is outside the
    /// view or the view is hidden. Main thread.
    virtual View* hitTest(Point point);
    /// The left button went down over the view (the view `hitTest` found). `event` is the current
    /// event; its location is global unless it carries a window number. By default nothing
    /// happens. Main thread.
    virtual void mouseDown(const NSEvent& event) { (void)event; }
    /// The pointer moved with the left button held after the view took the mouse-down, wherever
    /// the pointer is now (a drag). By default nothing happens. Main thread.
    virtual void mouseDragged(const NSEvent& event) { (void)event; }
    /// The left button came up after the view took its mouse-down, wherever the pointer is: a
    /// view that acts on a click acts only when the mouse-up lands on it. By default nothing
    /// happens. Main thread.
    virtual void mouseUp(const NSEvent& event) { (void)event; }
    /// The mouse wheel turned over the view (the view `hitTest` found). By default the superview
    /// takes it; a view without one drops it. Main thread.
    virtual void scrollWheel(const NSEvent& event);
    /// The window's appearance (light or dark) changed; by default the subviews are told. Main
    /// thread.
    virtual void viewDidChangeEffectiveAppearance();
    /// The point of a mouse event in this view's space (y up): from global coordinates, or from
    /// the window's space when the event carries a window number.
    Point locationOfEvent(const NSEvent& event) const;

    Responder* nextResponder() const override;

    /// Depth-first search of this view and its descendants.
    View* findByIdentifier(const std::string& id);

private:
    friend class Window;
    void setWindow(Window* window);

    Rect frame_;
    std::vector<std::shared_ptr<View>> subviews_;
    View* superview_ = nullptr;
    Window* window_ = nullptr;
    bool hidden_ = false;
    bool needsLayout_ = false;
    bool needsDisplay_ = false;
    bool wantsLayer_ = false;
    int displayCount_ = 0;
    std::vector<std::pair<std::weak_ptr<View>, EdgeInsets>> pins_;
    std::shared_ptr<Layer> layer_;
};

} // namespace platform::ui
