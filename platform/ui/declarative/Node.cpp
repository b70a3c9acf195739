#include "platform/ui/declarative/Node.hpp"

#include "platform/ui/TextMetrics.hpp"

#include <string_view>

namespace platform::ui::declarative {

namespace {

// The point size of each font role but "system" (its own size, else 13); an unknown role, "body"
// and "headline" are 13.
struct RoleSize {
    std::string_view role;
    double size;
};
constexpr RoleSize roleSizes[] = {{"largeTitle", 26}, {"title", 22},   {"title2", 17},
                                  {"title3", 15},     {"callout", 12}, {"subheadline", 11},
                                  {"footnote", 10},   {"caption", 10}, {"caption2", 10}};

} // namespace

Font TextStyle::font() const {
    double size = 13;
    if (fontRole == "system") size = fontSize > 0 ? fontSize : 13;
    for (const auto& [role, roleSize] : roleSizes)
        if (fontRole == role) size = roleSize;
    const bool bold = TextMetrics::drawsBold(weight) || fontRole == "headline";
    return {size, bold ? "bold" : "regular", monospaced};
}

Element::Element()
    : node_(std::make_shared<Node>()) {}

Node& Element::content() const {
    Node* n = node_.get();
    while (n->kind == NodeKind::modified && !n->children.empty())
        n = n->children[0].node().get();
    return *n;
}

void Element::wrap() {
    auto outer = std::make_shared<Node>();
    outer->kind = NodeKind::modified;
    outer->children = {Element(node_)};
    node_ = std::move(outer);
}

Element& Element::padding(double all) {
    return padding(EdgeInsets{all, all, all, all});
}
Element& Element::padding(EdgeInsets in) {
    // A padding lies around the decorations and the clip shape before it.
    if (node_->hasDecorations() || node_->clipCornerRadius) wrap();
    node_->padding.top += in.top;
    node_->padding.left += in.left;
    node_->padding.bottom += in.bottom;
    node_->padding.right += in.right;
    return *this;
}
Element& Element::frame(FrameSpec spec) {
    // A frame holds everything before it: another frame, a padding, decorations, a clip shape.
    if (node_->frame || node_->aspectFit || node_->hasPadding() || node_->hasDecorations() ||
        node_->clipCornerRadius)
        wrap();
    node_->frame = spec;
    return *this;
}
Element& Element::frame(double width, double height) {
    FrameSpec spec;
    spec.width = width;
    spec.height = height;
    return frame(spec);
}
Element& Element::aspectRatioFit(std::optional<double> ratio) {
    if (node_->frame || node_->aspectFit || node_->hasPadding() || node_->hasDecorations() ||
        node_->clipCornerRadius)
        wrap();
    node_->aspectFit = true;
    node_->aspectRatio = ratio;
    return *this;
}
Element& Element::background(Element behind) {
    // A background lies outside a clip shape before it and behind the backgrounds before it.
    if (node_->clipCornerRadius || node_->opacity < 1) wrap();
    node_->backgrounds.insert(node_->backgrounds.begin(), std::move(behind));
    return *this;
}
Element& Element::overlay(Element front) {
    if (node_->clipCornerRadius || node_->opacity < 1) wrap();
    node_->overlays.push_back(std::move(front));
    return *this;
}
Element& Element::clipRoundedRect(double r, bool continuous) {
    if (node_->clipCornerRadius) wrap();
    node_->clipCornerRadius = r;
    node_->continuousCorners = continuous;
    return *this;
}
Element& Element::zIndex(double z) {
    node_->zIndex = z;
    return *this;
}
Element& Element::disabled(bool d) {
    node_->isDisabled = node_->isDisabled || d;
    return *this;
}
Element& Element::allowsHitTesting(bool a) {
    node_->hitTesting = a;
    return *this;
}
Element& Element::contentShapeRect() {
    return *this;
}
Element& Element::onTap(std::function<void()> action) {
    content().onTap = [action = std::move(action)](Point) {
        if (action) action();
    };
    return *this;
}
Element& Element::onTapAt(std::function<void(Point)> action) {
    content().onTap = std::move(action);
    return *this;
}
Element& Element::dragGesture(double minimumDistance, std::function<void(const DragValue&)> changed,
                              std::function<void(const DragValue&)> ended) {
    content().dragMinimumDistance = minimumDistance;
    content().onDragChanged = std::move(changed);
    content().onDragEnded = std::move(ended);
    return *this;
}
Element& Element::contextMenu(std::vector<ContextMenuItem> items) {
    content().contextMenu = std::move(items);
    return *this;
}
Element& Element::onAppear(std::function<void()> action) {
    node_->onAppear = std::move(action);
    return *this;
}
Element& Element::onDisappear(std::function<void()> action) {
    node_->onDisappear = std::move(action);
    return *this;
}
Element& Element::help(const std::string& tooltip) {
    content().helpText = tooltip;
    return *this;
}
Element& Element::id(const std::string& identity) {
    content().identity = identity;
    return *this;
}
Element& Element::font(const std::string& role, const std::string& weight) {
    content().style.fontRole = role;
    content().style.weight = weight;
    return *this;
}
Element& Element::systemFont(double size, const std::string& weight, bool monospaced) {
    content().style.fontRole = "system";
    content().style.fontSize = size;
    content().style.weight = weight;
    content().style.monospaced = monospaced;
    return *this;
}
Element& Element::foregroundColor(Color color) {
    content().style.color = std::move(color);
    return *this;
}
Element& Element::foregroundRole(const std::string& role) {
    content().style.colorRole = role;
    content().style.color.reset();
    return *this;
}
Element& Element::lineLimit(int lines) {
    content().style.lineLimit = lines;
    return *this;
}
Element& Element::truncationMode(const std::string& mode) {
    content().style.truncation = mode;
    return *this;
}
Element& Element::multilineTextAlignment(const std::string& alignment) {
    content().style.multilineAlignment = alignment;
    return *this;
}
Element& Element::buttonStyle(const std::string& style) {
    content().buttonStyle = style;
    return *this;
}
Element& Element::tint(Color color) {
    content().tint = std::move(color);
    return *this;
}
Element& Element::textFieldStyle(const std::string& style) {
    content().textFieldStyle = style;
    return *this;
}
Element& Element::labelsHidden() {
    content().labelHidden = true;
    return *this;
}
Element& Element::opacity(double value) {
    node_->opacity *= value;
    return *this;
}
Element& Element::fill(Color color) {
    content().fill = std::move(color);
    return *this;
}
Element& Element::stroke(StrokeStyle style) {
    content().stroke = std::move(style);
    return *this;
}
Element& Element::shadow(Color color, double radius, double x, double y) {
    node_->shadow = ShadowStyle{std::move(color), radius, x, y};
    return *this;
}
Element& Element::ignoresSafeArea() {
    return *this;
}
Element& Element::environment(const std::string& key, std::any value) {
    node_->environment.emplace_back(key, std::move(value));
    return *this;
}
Element& Element::placed(Rect rect) {
    node_->placement = rect;
    return *this;
}
Element& Element::onReceive(const std::string& name, std::function<void()> handler) {
    node_->subscriptions.emplace_back(name, [handler = std::move(handler)](const Notification&) {
        if (handler) handler();
    });
    return *this;
}
Element& Element::onReceive(const std::string& name, std::function<void(const Notification&)> handler) {
    node_->subscriptions.emplace_back(name, std::move(handler));
    return *this;
}
Element& Element::keyboardShortcut(std::optional<KeyboardShortcut> shortcut) {
    content().hasKeyboardShortcutModifier = true;
    content().keyboardShortcut = shortcut;
    return *this;
}
Element& Element::alignmentGuide(const std::string& alignment, const std::string& computedFrom) {
    node_->alignmentGuides.push_back({alignment, computedFrom});
    return *this;
}

} // namespace platform::ui::declarative
