#include "platform/ui/declarative/Elements.hpp"

namespace platform::ui::declarative {

namespace {
Element make(NodeKind kind) {
    Element e;
    e.node()->kind = kind;
    return e;
}
Element stack(NodeKind kind, Alignment a, std::optional<double> spacing, std::vector<Element> children) {
    auto e = make(kind);
    e.node()->alignment = a;
    e.node()->spacing = spacing;
    e.node()->children = std::move(children);
    return e;
}
Element shape(const std::string& kind) {
    auto e = make(NodeKind::shape);
    e.node()->shapeKind = kind;
    return e;
}
} // namespace

Element VStack(Alignment a, std::optional<double> s, std::vector<Element> c) {
    return stack(NodeKind::vstack, a, s, std::move(c));
}
Element HStack(Alignment a, std::optional<double> s, std::vector<Element> c) {
    return stack(NodeKind::hstack, a, s, std::move(c));
}
Element ZStack(Alignment a, std::vector<Element> c) {
    return stack(NodeKind::zstack, a, std::nullopt, std::move(c));
}
Element Group(std::vector<Element> c) {
    return stack(NodeKind::group, Alignment::center, std::nullopt, std::move(c));
}
Element EmptyView() {
    return make(NodeKind::empty);
}
Element LabeledContent(Element label, Element content) {
    return stack(NodeKind::labeledContent, Alignment::firstTextBaseline, std::nullopt,
                 {std::move(label), std::move(content)});
}

Element ScrollView(Element content, bool vertical, bool showsIndicators) {
    auto e = make(NodeKind::scroll);
    e.node()->children = {std::move(content)};
    e.node()->scrollVertical = vertical;
    e.node()->showsIndicators = showsIndicators;
    return e;
}

Element Spacer() {
    return make(NodeKind::spacer);
}
Element Divider() {
    return make(NodeKind::divider);
}

Element Text(const std::string& text) {
    auto e = make(NodeKind::text);
    e.node()->text = text;
    return e;
}

Element Button(const std::string& title, std::function<void()> action) {
    return Button(Text(title), std::move(action));
}

Element Button(Element label, std::function<void()> action) {
    auto e = make(NodeKind::button);
    e.node()->children = {std::move(label)};
    e.node()->action = std::move(action);
    return e;
}

Element TextField(const std::string& placeholder, Binding<std::string> text, std::function<void()> onCommit) {
    auto e = make(NodeKind::textField);
    e.node()->placeholder = placeholder;
    e.node()->getText = [text] { return text.get(); };
    e.node()->setText = [text](const std::string& s) { text.set(s); };
    e.node()->onCommit = std::move(onCommit);
    return e;
}

Element Stepper(const std::string& label, Binding<long> value, long lower, long upper, long step) {
    auto e = make(NodeKind::stepper);
    e.node()->text = label;
    e.node()->getInt = [value] { return value.get(); };
    e.node()->setInt = [value](long v) { value.set(v); };
    e.node()->lowerBound = lower;
    e.node()->upperBound = upper;
    e.node()->step = step;
    return e;
}

Element Picker(const std::string& label, Binding<std::string> selection, std::vector<PickerOption> options) {
    auto e = make(NodeKind::picker);
    e.node()->text = label;
    e.node()->getSelection = [selection] { return selection.get(); };
    e.node()->setSelection = [selection](const std::string& s) { selection.set(s); };
    e.node()->options = std::move(options);
    return e;
}

Element ProgressView(std::optional<double> value) {
    auto e = make(NodeKind::progress);
    e.node()->progressValue = value;
    return e;
}

Element Rectangle() {
    return shape("rect");
}
Element RoundedRectangle(double r, bool continuous) {
    auto e = shape("roundedRect");
    e.node()->cornerRadius = r;
    e.node()->continuousCorners = continuous;
    return e;
}
Element Circle() {
    return shape("circle");
}
Element Capsule() {
    return shape("capsule");
}
Element PathShape(std::function<Path(Size)> path) {
    auto e = shape("path");
    e.node()->pathBuilder = std::move(path);
    return e;
}

Element ColorView(Color color) {
    auto e = make(NodeKind::color);
    e.node()->color = std::move(color);
    return e;
}

Element ImageView(const std::string& name) {
    auto e = make(NodeKind::image);
    e.node()->imageName = name;
    return e;
}

Element Canvas(std::function<Element(Size)> content) {
    auto e = make(NodeKind::canvas);
    e.node()->canvasContent = std::move(content);
    return e;
}

Element WebView(const std::string& url) {
    auto e = make(NodeKind::webView);
    e.node()->url = url;
    return e;
}

} // namespace platform::ui::declarative
