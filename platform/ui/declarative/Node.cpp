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

Element& Element::padding(double all) {
    return padding(EdgeInsets{all, all, all, all});
}
Element& Element::padding(EdgeInsets in) {
    node_->padding.top += in.top;
    node_->padding.left += in.left;
    node_->padding.bottom += in.bottom;
    node_->padding.right += in.right;
    return *this;
}
Element& Element::frame(FrameSpec spec) {
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
    node_->aspectFit = true;
    node_->aspectRatio = ratio;
    return *this;
}
Element& Element::background(Element behind) {
    node_->backgrounds.push_back(std::move(behind));
    return *this;
}
Element& Element::overlay(Element front) {
    node_->overlays.push_back(std::move(front));
    return *this;
}
Element& Element::clipRoundedRect(double r, bool continuous) {
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
    node_->onTap = [action = std::move(action)](Point) {
        if (action) action();
    };
    return *this;
}
Element& Element::onTapAt(std::function<void(Point)> action) {
    node_->onTap = std::move(action);
    return *this;
}
Element& Element::dragGesture(double minimumDistance, std::function<void(const DragValue&)> changed,
                              std::function<void(const DragValue&)> ended) {
    node_->dragMinimumDistance = minimumDistance;
    node_->onDragChanged = std::move(changed);
    node_->onDragEnded = std::move(ended);
    return *this;
}
Element& Element::contextMenu(std::vector<ContextMenuItem> items) {
    node_->contextMenu = std::move(items);
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
    node_->helpText = tooltip;
    return *this;
}
Element& Element::id(const std::string& identity) {
    node_->identity = identity;
    return *this;
}
Element& Element::font(const std::string& role, const std::string& weight) {
    node_->style.fontRole = role;
    node_->style.weight = weight;
    return *this;
}
Element& Element::systemFont(double size, const std::string& weight, bool monospaced) {
    node_->style.fontRole = "system";
    node_->style.fontSize = size;
    node_->style.weight = weight;
    node_->style.monospaced = monospaced;
    return *this;
}
Element& Element::foregroundColor(Color color) {
    node_->style.color = std::move(color);
    return *this;
}
Element& Element::foregroundRole(const std::string& role) {
    node_->style.colorRole = role;
    node_->style.color.reset();
    return *this;
}
Element& Element::lineLimit(int lines) {
    node_->style.lineLimit = lines;
    return *this;
}
Element& Element::truncationMode(const std::string& mode) {
    node_->style.truncation = mode;
    return *this;
}
Element& Element::multilineTextAlignment(const std::string& alignment) {
    node_->style.multilineAlignment = alignment;
    return *this;
}
Element& Element::buttonStyle(const std::string& style) {
    node_->buttonStyle = style;
    return *this;
}
Element& Element::tint(Color color) {
    node_->tint = std::move(color);
    return *this;
}
Element& Element::textFieldStyle(const std::string& style) {
    node_->textFieldStyle = style;
    return *this;
}
Element& Element::labelsHidden() {
    node_->labelHidden = true;
    return *this;
}
Element& Element::opacity(double value) {
    node_->opacity = value;
    return *this;
}
Element& Element::fill(Color color) {
    node_->fill = std::move(color);
    return *this;
}
Element& Element::stroke(StrokeStyle style) {
    node_->stroke = std::move(style);
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
    node_->hasKeyboardShortcutModifier = true;
    node_->keyboardShortcut = shortcut;
    return *this;
}
Element& Element::alignmentGuide(const std::string& alignment, const std::string& computedFrom) {
    node_->alignmentGuides.push_back({alignment, computedFrom});
    return *this;
}

} // namespace platform::ui::declarative
