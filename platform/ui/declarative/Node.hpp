#pragma once

#include "platform/foundation/Notification.hpp"
#include "platform/ui/Color.hpp"
#include "platform/ui/Font.hpp"
#include "platform/ui/Path.hpp"
#include "platform/ui/Rect.hpp"
#include "platform/ui/declarative/KeyboardShortcut.hpp"

#include <any>
#include <functional>
#include <limits>
#include <memory>
#include <optional>
#include <string>
#include <vector>

namespace platform::ui {
class View;
}

namespace platform::ui::declarative {

class ViewBase;
class RepresentableBase;
struct Node;

/// Alignment of stacks and frames.
enum class Alignment {
    center,
    leading,
    trailing,
    top,
    bottom,
    topLeading,
    topTrailing,
    bottomLeading,
    bottomTrailing,
    /// Horizontal stacks: children aligned on the baseline of their first line of text.
    firstTextBaseline
};

/// A custom horizontal alignment guide of an element: the guide named `alignment` (a custom
/// alignment such as "controlAlignment", or "leading") lies where the element's guide
/// `computedFrom` lies ("leading", "center", "trailing" or another custom guide).
struct AlignmentGuide {
    std::string alignment;
    std::string computedFrom;
    bool operator==(const AlignmentGuide&) const = default;
};

/// Text styles: font role ("body", "headline", "subheadline", "caption", "callout", "footnote",
/// "title", or "system" with a size), weight, monospaced design, colour (a colour role such as
/// "primary", "secondary", "accent", or a colour) and line limit.
struct TextStyle {
    std::string fontRole = "body";
    double fontSize = 0; // for "system"
    std::string weight = "regular";
    bool monospaced = false;
    std::optional<Color> color;
    std::string colorRole = "primary";
    std::optional<int> lineLimit;
    std::string truncation = "tail";
    std::string multilineAlignment = "leading";

    /// The font a text in this style is set in (the layout measures with it and the screen
    /// capture draws with it): the role's size in points ("system": `fontSize`, 13 when unset;
    /// "largeTitle" 26, "title" 22, "title2" 17, "title3" 15, "callout" 12, "subheadline" 11,
    /// "footnote", "caption" and "caption2" 10; otherwise 13), bold for the bold weights and the
    /// "headline" role, monospaced as set.
    Font font() const;
};

/// A stroke of a shape: colour, width, dash, caps and joins, and whether it is drawn inside the
/// shape (inset by half the width).
struct StrokeStyle {
    Color color = Color::blackColor();
    double lineWidth = 1;
    std::vector<double> dash;
    std::string lineCap = "butt";
    std::string lineJoin = "miter";
    double miterLimit = 10;
    bool inset = false;
};

/// A shadow modifier: colour, blur radius and offset (points; positive y moves the shadow down,
/// the element's own space).
struct ShadowStyle {
    Color color;
    double radius = 0;
    double x = 0;
    double y = 0;
    bool operator==(const ShadowStyle&) const = default;
};

/// A drag gesture's value: start and current location in the gesture's space (points, y down).
struct DragValue {
    Point startLocation;
    Point location;
    Size translation() const { return {location.x - startLocation.x, location.y - startLocation.y}; }
};

/// A frame modifier: fixed sizes, minimum and maximum (infinity: take what is offered), alignment.
struct FrameSpec {
    std::optional<double> width, height;
    std::optional<double> minWidth, maxWidth, minHeight, maxHeight;
    Alignment alignment = Alignment::center;
    static constexpr double infinity = std::numeric_limits<double>::infinity();
};

/// Element kinds of the declarative tree.
enum class NodeKind {
    empty,
    vstack,
    hstack,
    zstack,
    scroll,
    spacer,
    divider,
    text,
    button,
    textField,
    stepper,
    picker,
    progress,
    shape,
    canvas,
    webView,
    color,
    image,
    component,
    representable,
    group,
    /// A row of a label (first child) and its content (second child), laid out as a horizontal stack.
    labeledContent,
    /// What a modifier made of the element before it (its one child) when that element's own node
    /// cannot take the modifier in its order: a frame around a padding or a background, a padding
    /// around a background, a background around a clip shape.
    modified
};

/// An option of a pop-up picker: its title and its tag (the value the selection binding holds).
struct PickerOption {
    std::string title;
    std::string tag;
};

/// One item of a context menu.
struct ContextMenuItem {
    std::string title;
    std::function<void()> action;
    bool isDestructive = false;
};

/// A value-semantics handle to a node of the declarative tree; modifiers change the node and
/// return the handle, so they chain: `Text("x").font("caption").padding(4)`.
///
/// Modifiers compose in their order, each wrapping what came before it: a padding adds room
/// around the element so far, a frame holds everything before it (`.padding(8).frame(width: 230)`
/// is 230 points wide with the content 214 inside), a background, an overlay or a clip shape covers
/// the rectangle of what it follows, and a later background or clip shape lies around an earlier
/// clip shape. One node holds, from the inside out, its content, a frame, a padding, then its
/// backgrounds and overlays and a clip shape over all of them; a modifier that comes out of that
/// order makes a `NodeKind::modified` node around the element, and the handle then names it. The
/// modifiers that say what the element is or does (its id, tooltip, actions, gestures, context
/// menu, text style, shape fill and stroke, control styles, keyboard shortcut, hover) go to the
/// element itself under such wrappers; the others (placement, order, enabling, hit testing,
/// opacity, environment, subscriptions, list-row settings) to the outermost node.
class Element {
public:
    Element();
    explicit Element(std::shared_ptr<Node> node)
        : node_(std::move(node)) {}
    const std::shared_ptr<Node>& node() const { return node_; }

    Element& padding(double all);
    Element& padding(EdgeInsets insets);
    Element& frame(FrameSpec spec);
    Element& frame(double width, double height);
    Element& aspectRatioFit(std::optional<double> ratio = std::nullopt);
    Element& background(Element behind);
    Element& overlay(Element front);
    Element& clipRoundedRect(double cornerRadius, bool continuous = true);
    Element& zIndex(double z);
    Element& disabled(bool isDisabled);
    Element& allowsHitTesting(bool allows);
    Element& contentShapeRect();
    Element& onTap(std::function<void()> action);
    Element& onTapAt(std::function<void(Point)> action);
    Element& dragGesture(double minimumDistance, std::function<void(const DragValue&)> changed,
                         std::function<void(const DragValue&)> ended);
    Element& contextMenu(std::vector<ContextMenuItem> items);
    Element& onAppear(std::function<void()> action);
    Element& onDisappear(std::function<void()> action);
    Element& help(const std::string& tooltip);
    Element& id(const std::string& identity);
    Element& font(const std::string& role, const std::string& weight = "regular");
    Element& systemFont(double size, const std::string& weight = "regular", bool monospaced = false);
    Element& foregroundColor(Color color);
    Element& foregroundRole(const std::string& role);
    Element& lineLimit(int lines);
    /// Where a text cut to its line limit loses its characters: "head", "middle" or "tail".
    Element& truncationMode(const std::string& mode);
    /// How the lines of a wrapping text align: "leading", "center" or "trailing".
    Element& multilineTextAlignment(const std::string& alignment);
    Element& buttonStyle(const std::string& style);
    Element& tint(Color color);
    Element& textFieldStyle(const std::string& style);
    Element& labelsHidden();
    Element& opacity(double value);
    /// Shapes: fill with a colour; stroke with a style.
    Element& fill(Color color);
    Element& stroke(StrokeStyle style);
    /// A shadow of `color` blurred by `radius`, offset by (x, y) points (y down); kept on the node.
    Element& shadow(Color color, double radius, double x, double y);
    Element& ignoresSafeArea();
    Element& environment(const std::string& key, std::any value);
    /// Places the element at an absolute rectangle inside its canvas (points, y down).
    Element& placed(Rect rect);
    /// Subscribes to a notification of the default center while the element is in the tree. The
    /// handler runs on the main thread: at once when the notification is posted there, as one
    /// main-queue block when it is posted on another thread (skipped when the element has left the
    /// tree by then).
    Element& onReceive(const std::string& name, std::function<void()> handler);
    /// The same, handing the handler the notification.
    Element& onReceive(const std::string& name, std::function<void(const Notification&)> handler);
    /// The keyboard shortcut of the element (a button's key equivalent); none removes it.
    Element& keyboardShortcut(std::optional<KeyboardShortcut> shortcut);
    /// Places the custom horizontal guide `alignment` at the element's guide `computedFrom`.
    Element& alignmentGuide(const std::string& alignment, const std::string& computedFrom);
    // ----- lists (`List`)
    /// A list's style ("plain", "inset", ...); kept on the node.
    Element& listStyle(const std::string& style);
    /// A list row's insets around its content (points); rows without one get the list's default
    /// (top 4, left 8, bottom 4, right 8).
    Element& listRowInsets(EdgeInsets insets);
    /// A list row's background; `clearColor()` leaves the row bare (as does no background).
    Element& listRowBackground(Color color);
    /// Hides the separator lines of a list row (above and below it).
    Element& listRowSeparatorHidden(bool hidden = true);
    /// A list's delete command: called with the offsets (ascending, no repeats) of the rows the
    /// user deletes.
    Element& onDelete(std::function<void(const std::vector<std::size_t>&)> action);
    /// Runs `action` with true when the pointer enters the element and false when it leaves.
    Element& onHover(std::function<void(bool)> action);

    /// The element itself under the `modified` nodes its modifiers made (the node when there are
    /// none).
    Node& content() const;

private:
    /// Puts a `modified` node around the element so far; the handle names it from then on.
    void wrap();

    std::shared_ptr<Node> node_;
};

/// A node of the declarative tree (built by a view's `body()`, read by the host and the driver).
struct Node {
    NodeKind kind = NodeKind::empty;
    std::vector<Element> children;

    // stacks
    Alignment alignment = Alignment::center;
    std::optional<double> spacing;
    bool scrollVertical = true;
    bool showsIndicators = true;
    // text and labels
    std::string text;
    TextStyle style;
    // button
    std::function<void()> action;
    std::string buttonStyle = "automatic";
    std::optional<Color> tint;
    // text field
    std::string placeholder;
    std::function<std::string()> getText;
    std::function<void(const std::string&)> setText;
    std::function<void()> onCommit;
    std::string textFieldStyle = "automatic";
    // stepper
    std::function<long()> getInt;
    std::function<void(long)> setInt;
    long lowerBound = 0, upperBound = 0, step = 1;
    // picker
    std::vector<PickerOption> options;
    std::function<std::string()> getSelection;
    std::function<void(const std::string&)> setSelection;
    bool labelHidden = false;
    // progress
    std::optional<double> progressValue;
    // shapes, colours and images
    std::string shapeKind; // "rect", "roundedRect", "path", "circle", "capsule"
    double cornerRadius = 0;
    bool continuousCorners = false;
    std::function<Path(Size)> pathBuilder;
    std::optional<Color> fill;
    std::optional<StrokeStyle> stroke;
    Color color;
    std::string imageName;
    // canvas
    std::function<Element(Size)> canvasContent;
    // web view
    std::string url;
    std::string html;
    // components and representables
    std::shared_ptr<ViewBase> component;
    std::shared_ptr<RepresentableBase> representable;

    // modifiers
    EdgeInsets padding;
    std::optional<FrameSpec> frame;
    bool aspectFit = false;
    std::optional<double> aspectRatio;
    std::vector<Element> backgrounds;
    std::vector<Element> overlays;
    std::optional<double> clipCornerRadius;
    double zIndex = 0;
    bool isDisabled = false;
    bool hitTesting = true;
    std::function<void(Point)> onTap;
    double dragMinimumDistance = 10;
    std::function<void(const DragValue&)> onDragChanged;
    std::function<void(const DragValue&)> onDragEnded;
    std::vector<ContextMenuItem> contextMenu;
    std::function<void()> onAppear;
    std::function<void()> onDisappear;
    std::string helpText;
    std::string identity;
    double opacity = 1;
    std::optional<Rect> placement;
    std::vector<std::pair<std::string, std::any>> environment;
    std::vector<std::pair<std::string, std::function<void(const Notification&)>>> subscriptions;
    /// Set by `keyboardShortcut`: whether the element was given one, and which (none: removed).
    bool hasKeyboardShortcutModifier = false;
    std::optional<KeyboardShortcut> keyboardShortcut;
    std::vector<AlignmentGuide> alignmentGuides;
    std::optional<ShadowStyle> shadow;
    // lists: the list itself (`List`), and the row modifiers it reads when it is made
    bool isList = false;
    /// A list whose rows are made on demand (`List(count, makeRow)`): the maker and the number of rows.
    std::function<Element(std::size_t)> lazyRow;
    std::size_t lazyRowCount = 0;
    std::string listStyle;
    std::function<void(const std::vector<std::size_t>&)> onDelete;
    std::optional<EdgeInsets> listRowInsets;
    std::optional<Color> listRowBackground;
    bool listRowSeparatorHidden = false;
    // pointer tracking
    std::function<void(bool)> onHover;

    // filled in by the host on every build
    std::string key;
    bool resolvedEnabled = true;
    Rect layoutFrame; // points, host space, y down from the top-left
    std::shared_ptr<platform::ui::View> nativeView;
    /// Scroll views: how far the content is scrolled from its start (points, down for a vertical
    /// scroll view, right for a horizontal one). The host sets it before the layout, which limits
    /// it to the content's overhang.
    double scrollOffset = 0;
    /// Set by the layout: the element shows its children only inside its frame (a scroll view, a
    /// stack or frame whose content does not fit it).
    bool clipsContent = false;
    /// Set by the layout: the part of `layoutFrame` that shows once every clipping ancestor and
    /// the host's bounds are applied (host space; empty when nothing shows).
    Rect visibleFrame;
    /// Set by the layout: the element lies wholly or partly outside the visible part of a scroll
    /// view that holds it.
    bool scrolledOut = false;
    /// Set by the layout for a text: the lines it was broken into for its width (each as it is
    /// set, cut with "…" at the end of the last when the text did not fit its line limit), and the
    /// height of one line (points). Drawing sets these lines one under the other.
    std::vector<std::string> textLines;
    double textLineHeight = 0;

    /// Whether the node's frame, padding, decorations (backgrounds, overlays) and clip shape are
    /// set; a modifier wraps the node when one further out is.
    bool hasPadding() const { return padding.top != 0 || padding.left != 0 || padding.bottom != 0 || padding.right != 0; }
    bool hasDecorations() const { return !backgrounds.empty() || !overlays.empty(); }
};

} // namespace platform::ui::declarative
