#pragma once

#include "platform/foundation/NotificationCenter.hpp"
#include "platform/ui/ViewController.hpp"
#include "platform/ui/declarative/Elements.hpp"
#include "platform/ui/declarative/FocusScope.hpp"
#include "platform/ui/declarative/ScrollStates.hpp"

#include <map>
#include <set>

namespace platform::ui::declarative {

/// Hosts a declarative root view in an AppKit-like view (as the original platform's hosting
/// view). It builds the tree from the root's `body()`, keeps view instances, representable
/// controls (added as its subviews) and notification subscriptions per place in the tree, runs
/// on-appear and on-disappear (again each time its window leaves the screen and comes back), and lays the tree out in its bounds (points, y down from the
/// top-left). A change of state asks for a rebuild on the next main-queue turn; `rebuildIfNeeded`
/// does it at once (the test driver calls it after every action). Main thread only.
class HostingView : public View {
public:
    explicit HostingView(std::shared_ptr<ViewBase> root, Rect frame = {0, 0, 800, 600});
    ~HostingView() override;

    void setRootView(std::shared_ptr<ViewBase> root);
    const std::shared_ptr<ViewBase>& rootView() const { return root_; }
    /// The resolved tree: the root view's node, whose child is its body.
    const Element& tree() const { return tree_; }

    void rebuild();
    void rebuildIfNeeded();
    void setNeedsRebuild();
    bool needsRebuild() const { return dirty_; }
    int buildCount() const { return builds_; }

    void setFrame(const Rect& frame) override;
    void viewDidMoveToWindow() override;
    /// When the window leaves the screen, runs the on-disappear handlers of every place; when it
    /// comes back, rebuilds at once and runs the on-appear handlers of every place present then.
    /// While the window is off screen, rebuilds run no on-appear handler.
    void viewWindowVisibilityDidChange(bool visible) override;
    Size fittingSize() const override;

    /// Shows the rows of a list made with `List(count, makeRow)` from row `firstRow` on (clamped to
    /// the last row) and rebuilds at once: the list with element id `listId`, or the first such
    /// list of the tree when `listId` is empty. False when there is none.
    bool scrollList(std::size_t firstRow, const std::string& listId = "");
    /// The first row shown of that list (0 when there is none).
    std::size_t firstShownRow(const std::string& listId = "") const;

    /// Scrolls the innermost scroll view whose visible part holds `point` (host space: points, y
    /// down) by `delta` points towards the end of its content (negative: back towards its start),
    /// as the mouse wheel does: a list that makes its rows on demand moves by whole rows (at least
    /// one). Rebuilds at once. False when no scroll view lies there or it did not move. Main thread.
    bool scrollAt(Point point, double delta);
    /// Scrolls the scroll view (or list) with element id `scrollId` by `delta` points as
    /// `scrollAt` does. False when there is no such scroll view or it did not move. Main thread.
    bool scrollBy(const std::string& scrollId, double delta);
    /// How far the scroll view with element id `scrollId` is scrolled (points; 0 when there is none).
    double scrollOffset(const std::string& scrollId) const;
    /// Scrolls every scroll view that holds the element with tree key `key` (innermost first) just
    /// far enough that the element lies inside its visible part (its top when it is taller than
    /// that part); a list that makes its rows on demand shows the element's row whole. Rebuilds at
    /// once. False when the element was visible already or is not in the tree. Main thread.
    bool scrollIntoView(const std::string& key);
    /// Whether a scroll view holds the element with tree key `key`.
    bool inScrollView(const std::string& key) const;
    /// The part of a wrapped control (a subview of this host) that shows (this view's space, y up;
    /// the null rectangle when it is scrolled or clipped out of sight, none for another view).
    std::optional<Rect> visibleRectOfSubview(const View& subview) const;
    /// The wheel over the view: `scrollAt` the event's location by `-scrollingDeltaY`; a wheel over
    /// no scroll view goes on to the superview.
    void scrollWheel(const NSEvent& event) override;
    /// The window's appearance changed: rebuilds, since views read their colour scheme from it.
    void viewDidChangeEffectiveAppearance() override;

    /// The element a click at `point` (host space: points, y down from the top-left) lands on:
    /// the frontmost element under it that takes clicks (a button, a wrapped control, a tappable
    /// element, a text field, stepper or picker); later elements and higher z-indexes lie in
    /// front, and an element that takes no hit testing is passed through with its content. Null
    /// when there is none. Main thread.
    Node* elementAt(Point point);
    /// Clicks `node` as a user's click at `point` (host space, y down) would: a button runs its
    /// action, a wrapped button (not a pop-up) is clicked, a tappable element is tapped at the
    /// point in its own space, a stepper steps when the point lies on one of its arrows
    /// (`StepperArrows`, `stepElement`). False, with nothing done, for a disabled element and for
    /// one that a click does not work (pickers: the console picks; a stepper's label); a text
    /// field takes the keys (`focusField`).
    /// Rebuilds at once afterwards when asked. Main thread.
    bool clickElement(Node& node, Point point);
    /// Steps a stepper element once, up (`direction` >= 0) or down, by its step within its
    /// bounds, as a click on its up or down arrow does. False, with nothing done, for a disabled
    /// element, one that is not a stepper, and at the bound it would pass. Rebuilds at once
    /// afterwards when asked. Main thread.
    bool stepElement(Node& node, int direction);

    /// The element whose drag gesture a press at `point` (host space, y down) starts: the
    /// frontmost enabled element under it with a drag gesture, found as `elementAt` finds the
    /// element a click lands on (a tappable element lying on it takes its click as well). Null
    /// when there is none. Main thread.
    Node* dragElementAt(Point point);
    /// Starts a drag on the element's gesture, pressed at `at` (the element's own space: points,
    /// y down from its top-left, where the gesture's values are): with a minimum distance of 0
    /// the first change comes at once, at the press point (translation zero). A drag in progress
    /// is dropped. False, with nothing done, for a disabled element, one that takes no hit
    /// testing, or one without a gesture. Rebuilds at once after each change. Main thread.
    bool beginDrag(Node& node, Point at);
    /// The pointer of the drag in progress moved to `at` (the dragged element's space): a change
    /// there once it lies the gesture's minimum distance from the press, none where the last
    /// change was. The drag is over when its element left the tree. Nothing without a drag.
    void continueDrag(Point at);
    /// The drag in progress ends at `at` (the dragged element's space): its end is reported there
    /// when it lies the minimum distance from the press (with a minimum distance of 0, also at the
    /// press point). True when the pointer travelled, by at least that distance: the press was a
    /// drag, not a click. False without a drag.
    bool endDrag(Point at);

    /// The tree key (`Node::key`) of the text field element that has the keys: the host is its
    /// window's first responder and hands the keys to that field. None when no field of the host
    /// has them; a field that leaves the tree loses them (and the host stops being first
    /// responder).
    const std::optional<std::string>& focusedField() const { return focus_.focused(); }
    /// Gives the keys to the text field element with tree key `key`: the host becomes its window's
    /// first responder. False when there is no such enabled field or the window refuses. A click
    /// on a field (`clickElement`) does this, after bringing the program and the window to the
    /// front when the window can become key. Main thread.
    bool focusField(const std::string& key);
    bool acceptsFirstResponder() const override { return focus_.wantsKeys(); }
    /// The focused field loses the keys.
    bool resignFirstResponder() override;
    /// The focused field takes a key press as a text field does (`TextEditingCommand`): typed text
    /// is added at the end through its binding, Delete removes the last character, Return runs its
    /// commit action when it has one (it keeps the keys either way), Tab and Shift-Tab give the keys
    /// to the next or previous field of the tree, past the last one to the window's next key view
    /// (`Window::selectKeyViewFollowingView`), Escape leaves the text. Other keys, and every key
    /// when no enabled field has the keys, go on to the next responder. Main thread.
    void keyDown(const NSEvent& event) override;
    /// Committed text is added at the end of the focused field; without one it goes on.
    void insertText(const std::string& text) override;
    /// True when the tree holds an enabled text field.
    bool hasKeyViewsInside() const override;
    /// Focuses the first (or last) enabled text field of the tree.
    bool selectKeyViewInside(bool forward) override;

    /// The wrapped control under the point when the element there is one, else this view.
    View* hitTest(Point point) override;
    /// The pointer's press: it starts the drag gesture under it (`dragElementAt`, `beginDrag`),
    /// which follows the dragged events (`continueDrag`) and ends at the mouse-up wherever it
    /// lands (`endDrag`). The element under the mouse-down is clicked at the mouse-up when the
    /// mouse-up lands on the same element in the host (`clickElement`), unless the press dragged.
    void mouseDown(const NSEvent& event) override;
    void mouseDragged(const NSEvent& event) override;
    void mouseUp(const NSEvent& event) override;

private:
    struct Native {
        std::shared_ptr<View> view;
        std::shared_ptr<Responder> coordinator;
    };
    struct Pass {
        std::set<std::string> seen;
        std::vector<std::function<void()>> appear;
        std::vector<Node*> lazyLists;
    };
    void resolveLazyList(Node& list, bool enabled, const std::map<std::string, std::any>& env, Pass& pass);
    /// Moves `scroll` by `delta` points (a lazy list by rows) and rebuilds; true when it moved.
    bool scrollNode(Node& scroll, double delta);
    /// Brings the element `key` into the visible part of its innermost scroll view that does not
    /// show it whole; true when a scroll view moved.
    bool revealOnce(const std::string& key);
    void resolve(Element& e, const std::string& key, bool enabled, const std::map<std::string, std::any>& env,
                 Pass& pass);
    void resolveCanvases(Element& e, bool enabled, const std::map<std::string, std::any>& env, Pass& pass);
    std::map<std::string, std::map<std::string, std::any>> canvasEnv_;

    std::shared_ptr<ViewBase> root_;
    Element tree_;
    std::map<std::string, std::shared_ptr<ViewBase>> instances_;
    std::map<std::string, Native> natives_;
    std::map<std::string, std::function<void()>> disappear_;
    std::map<std::string, std::function<void(const Notification&)>> handlers_;
    std::map<std::string, ObserverToken> tokens_;
    ScrollStates scrolling_;
    // wrapped controls: the part of each that shows (host space, y down)
    std::map<const View*, Rect> nativeVisible_;
    std::shared_ptr<int> alive_ = std::make_shared<int>(0);
    bool dirty_ = true;
    bool scheduled_ = false;
    bool building_ = false;
    bool offscreen_ = false; // the window left the screen after the host's places appeared
    std::optional<std::string> pressedKey_; // the tree key of the element under the mouse-down
    /// A drag gesture in progress: its element's tree key, its minimum distance, the press and the
    /// last change (the element's space).
    struct Drag {
        std::string key;
        double minimumDistance = 0;
        Point start;
        Point last;
        bool reported = false;
    };
    std::optional<Drag> drag_;
    /// Reports a change of the drag in progress at `at` to `node`'s gesture and rebuilds.
    void reportDrag(Node& node, Point at);
    /// A point of the host (y down) in the dragged element's space; none without a drag or when
    /// its element left the tree.
    std::optional<Point> inDraggedElement(Point point) const;
    FocusScope focus_;
    int builds_ = 0;
};

/// A view controller whose view is a hosting view (as the original platform's hosting controller).
class HostingController : public ViewController {
public:
    explicit HostingController(std::shared_ptr<ViewBase> root);
    HostingView& hostingView() { return *std::static_pointer_cast<HostingView>(view()); }
};

} // namespace platform::ui::declarative
