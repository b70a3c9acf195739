#include "console/WindowElements.hpp"

#include "console/CommandArgs.hpp"
#include "console/CommandError.hpp"
#include "console/ConsoleText.hpp"
#include "console/NameSuggestions.hpp"
#include "console/ProgramWindows.hpp"
#include "model/EnumName.hpp"
#include "platform/control/ViewDriver.hpp"
#include "platform/ui/Button.hpp"
#include "platform/ui/PopUpButton.hpp"
#include "platform/ui/SearchField.hpp"
#include "platform/ui/Slider.hpp"
#include "platform/ui/TextField.hpp"
#include "shortcuts/RecorderField.hpp"
#include "platform/ui/WKWebView.hpp"

#include <algorithm>
#include <cmath>
#include <functional>
#include <optional>

namespace tilmora {

using platform::ui::View;
using platform::ui::declarative::Element;
using platform::ui::declarative::HostingView;
using platform::ui::declarative::Node;
using platform::ui::declarative::NodeKind;

namespace {

using Text = ConsoleText;

/// What `ui show` prints of one view or element; nothing when it has no id, text, value or
/// tooltip.
struct Line {
    std::string kind;
    std::string id;
    std::optional<std::string> text;
    std::optional<std::string> value; // already written as it prints: a number or a quoted text
    bool disabled = false;
    std::string tooltip;
    std::optional<platform::CGRect> frame; // global points, y up
    bool recording = false;
    bool selected = false;
    std::optional<std::string> rawValue = std::nullopt; // the value unquoted
    std::optional<double> number = std::nullopt;        // a numeric value unrounded

    void setText(const std::string& text) {
        value = Text::quote(text);
        rawValue = text;
    }
    /// A value of a continuous control (a slider, a progress bar), printed rounded.
    void setNumber(double v) {
        value = Text::number(v);
        rawValue = value;
        number = v;
    }
    /// A whole value (a box's state, a stepper's count), printed as a whole number ("1").
    void setInteger(long v) {
        value = std::to_string(v);
        rawValue = value;
        number = static_cast<double>(v);
    }
    bool scrolledOut = false; // wholly or partly outside the visible part of its scroll view

    bool printable() const { return !id.empty() || (text && !text->empty()) || value || !tooltip.empty(); }
    std::string str(int depth) const {
        std::string out(static_cast<std::size_t>(depth) * 2, ' ');
        out += kind;
        if (!id.empty()) out += " id=" + id;
        if (text && !text->empty()) out += " " + Text::quote(*text);
        if (value) out += " value=" + *value;
        if (disabled) out += " disabled";
        if (recording) out += " recording";
        if (selected) out += " selected";
        if (!tooltip.empty()) out += " tooltip=" + Text::quote(tooltip);
        if (frame) out += " frame " + Text::frame(*frame);
        if (scrolledOut) out += " scrolled-out";
        return out + "\n";
    }
};

/// A view's frame in global points (y up).
platform::CGRect globalFrame(const View& view) {
    platform::CGRect r{view.convertPointToWindow({0, 0}), view.frame().size};
    if (const auto* window = view.window()) r = window->convertRectToScreen(r);
    return r;
}

/// A box in `view`'s own space (points, y up) in global points (y up).
platform::CGRect globalFrame(const View& view, const platform::CGRect& local) {
    platform::CGRect r{view.convertPointToWindow(local.origin), local.size};
    if (const auto* window = view.window()) r = window->convertRectToScreen(r);
    return r;
}

/// A hosted element's frame in global points (y up): its layout frame (host space, y down) flipped
/// into the host's space and taken out through the host's window.
platform::CGRect globalFrame(const HostingView& host, const Node& node) {
    const auto& f = node.layoutFrame;
    platform::CGRect r{host.convertPointToWindow({f.minX(), host.frame().height() - f.maxY()}), f.size};
    if (const auto* window = host.window()) r = window->convertRectToScreen(r);
    return r;
}

/// Whether a button shows the highlight of a selected item: its layer's background in the accent
/// colour (the snap bar's icon of the selected kind).
bool highlighted(const platform::ui::Button& button) {
    const auto& layer = button.layer();
    if (!layer || !layer->backgroundColor) return false;
    const auto& colour = *layer->backgroundColor;
    return colour.name == platform::ui::Color::controlAccentColor().name && colour.alpha > 0;
}

/// A retained view's line (kind by its class).
Line viewLine(const View& view) {
    Line line{"view", view.identifier, std::nullopt, std::nullopt, false, view.toolTip, globalFrame(view)};
    if (const auto* control = dynamic_cast<const platform::ui::Control*>(&view)) {
        line.kind = "control";
        line.disabled = !control->isEnabled;
    }
    if (const auto* popUp = dynamic_cast<const platform::ui::PopUpButton*>(&view)) {
        line.kind = "popUp";
        line.setText(popUp->titleOfSelectedItem());
    } else if (const auto* button = dynamic_cast<const platform::ui::Button*>(&view)) {
        line.text = button->title;
        switch (button->buttonType) {
        case platform::ui::ButtonType::switchButton:
            line.kind = "checkbox";
            line.setInteger(button->state);
            break;
        case platform::ui::ButtonType::radio:
            line.kind = "radio";
            line.setInteger(button->state);
            break;
        default:
            line.kind = "button";
        }
        line.selected = highlighted(*button);
    } else if (const auto* recorder = dynamic_cast<const GlobalShortcuts::RecorderField*>(&view)) {
        // A shortcut recorder: the chord it shows (nothing when none is stored).
        line.kind = "recorder";
        line.text = recorder->stringValue();
        line.recording = recorder->isRecording();
    } else if (const auto* field = dynamic_cast<const platform::ui::TextField*>(&view)) {
        if (!field->isEditable) {
            line.kind = "label";
            line.text = field->stringValue();
        } else {
            line.kind = dynamic_cast<const platform::ui::SearchField*>(&view) ? "searchField" : "textField";
            line.text = field->placeholderString;
            line.setText(field->stringValue());
        }
    } else if (const auto* slider = dynamic_cast<const platform::ui::Slider*>(&view)) {
        line.kind = "slider";
        line.setNumber(slider->doubleValue());
    }
    return line;
}

constexpr EnumName<NodeKind> kindNames[] = {
    {NodeKind::empty, "empty"},         {NodeKind::vstack, "vstack"},
    {NodeKind::hstack, "hstack"},       {NodeKind::zstack, "zstack"},
    {NodeKind::scroll, "scroll"},       {NodeKind::spacer, "spacer"},
    {NodeKind::divider, "divider"},     {NodeKind::text, "text"},
    {NodeKind::button, "button"},       {NodeKind::textField, "textField"},
    {NodeKind::stepper, "stepper"},     {NodeKind::picker, "picker"},
    {NodeKind::progress, "progress"},   {NodeKind::shape, "shape"},
    {NodeKind::canvas, "canvas"},       {NodeKind::webView, "webView"},
    {NodeKind::color, "color"},         {NodeKind::image, "image"},
    {NodeKind::component, "component"}, {NodeKind::representable, "representable"},
    {NodeKind::group, "group"},         {NodeKind::labeledContent, "labeledContent"},
    {NodeKind::modified, "modified"}};

std::string kindName(NodeKind kind) {
    return std::string(enumName(kindNames, kind, "element"));
}

/// The first text of a button's label (depth first).
std::string labelText(const Node& node) {
    if (node.kind == NodeKind::text) return node.text;
    for (const auto& child : node.children)
        if (auto text = labelText(*child.node()); !text.empty()) return text;
    return {};
}

/// A hosted element's line; a representable element prints as its control, under the element's id.
Line nodeLine(const HostingView& host, const Node& node) {
    Line line{kindName(node.kind), node.identity, std::nullopt,          std::nullopt,
              !node.resolvedEnabled, node.helpText, globalFrame(host, node)};
    line.scrolledOut = node.scrolledOut;
    switch (node.kind) {
    case NodeKind::text:
        line.text = node.text;
        break;
    case NodeKind::button:
        line.text = labelText(node);
        break;
    case NodeKind::textField:
        line.text = node.placeholder;
        if (node.getText) line.setText(node.getText());
        break;
    case NodeKind::stepper:
        line.text = node.text;
        if (node.getInt) line.setInteger(node.getInt());
        break;
    case NodeKind::picker: {
        line.text = node.labelHidden ? std::string() : node.text;
        if (node.getSelection) {
            const std::string tag = node.getSelection();
            std::string title = tag;
            for (const auto& option : node.options)
                if (option.tag == tag) {
                    title = option.title;
                    break;
                }
            line.setText(title);
        }
        break;
    }
    case NodeKind::progress:
        if (node.progressValue) line.setNumber(*node.progressValue);
        break;
    case NodeKind::representable:
        if (node.nativeView) {
            const Line native = viewLine(*node.nativeView);
            line.kind = native.kind;
            if (line.id.empty()) line.id = native.id;
            line.text = native.text;
            line.value = native.value;
            line.rawValue = native.rawValue;
            line.number = native.number;
            line.selected = native.selected;
            line.disabled = line.disabled || native.disabled;
            if (line.tooltip.empty()) line.tooltip = native.tooltip;
            line.recording = native.recording;
        }
        break;
    default:
        break;
    }
    return line;
}

/// What a walk through a window gathers: the lines of `ui show`, the ids in the same order, and
/// each line with what it was made of (a view, a hosted node, or a web view for its page's lines),
/// so that `expect ui` reads the very line `ui show` prints.
struct Sink {
    struct Entry {
        Line line;
        const void* source = nullptr;
    };
    std::string text;
    std::vector<std::string> ids;
    std::vector<Entry> entries;

    void add(const Line& line, int depth, const void* source) {
        text += line.str(depth);
        if (!line.id.empty()) ids.push_back(line.id);
        entries.push_back({line, source});
    }
};

void describeNode(const HostingView& host, const Element& element, int depth, Sink& out) {
    const Node& node = *element.node();
    const Line line = nodeLine(host, node);
    const bool printed = line.printable();
    if (printed) out.add(line, depth, &node);
    const int inner = printed ? depth + 1 : depth;
    for (const auto& child : node.backgrounds)
        describeNode(host, child, inner, out);
    // A button's label is its text; a representable's content is its control.
    if (node.kind != NodeKind::button && node.kind != NodeKind::representable)
        for (const auto& child : node.children)
            describeNode(host, child, inner, out);
    for (const auto& child : node.overlays)
        describeNode(host, child, inner, out);
}

/// A web view's page as it shows: its blocks in order, a block that is one link as that link,
/// the links inside a block under it. `link "TEXT" value="HREF"`; each with its frame where the
/// page sets it at the view's scroll offset (global points, y up: a list item's with its marker,
/// a link inside a block the run of its text), and a block that the view does not show whole (and
/// its links) "scrolled-out".
void describePage(const platform::ui::WKWebView& web, int depth, Sink& out) {
    using platform::ui::WebPageText;
    auto shownAt = [&web](const platform::CGRect& pageRect) -> std::optional<platform::CGRect> {
        if (pageRect.isEmpty()) return std::nullopt;
        return globalFrame(web, web.pageRectInView(pageRect));
    };
    auto linkLine = [&shownAt](const WebPageText::Link& link, const platform::CGRect& pageRect,
                               bool scrolledOut) {
        Line line;
        line.kind = "link";
        line.text = link.text;
        line.setText(link.href);
        line.frame = shownAt(pageRect);
        line.scrolledOut = scrolledOut;
        return line;
    };
    const auto& blocks = web.shownText();
    const auto& placed = web.pageLayout().blocks();
    for (std::size_t i = 0; i < blocks.size() && i < placed.size(); ++i) {
        const auto& block = blocks[i];
        const auto& set = placed[i];
        const bool scrolledOut = !web.showsBlockWhole(i);
        if (block.isLink()) {
            out.add(linkLine(block.links.front(), set.frame, scrolledOut), depth, &web);
            continue;
        }
        Line line;
        line.kind = "text";
        line.text = block.text;
        line.frame = shownAt(set.markerFrame.isEmpty() ? set.frame : set.frame.unionWith(set.markerFrame));
        line.scrolledOut = scrolledOut;
        switch (block.kind) {
        case WebPageText::Kind::heading:
            line.kind = "heading";
            break;
        case WebPageText::Kind::paragraph:
            line.kind = "paragraph";
            break;
        case WebPageText::Kind::item:
            line.kind = "item";
            if (!block.marker.empty()) line.text = block.marker + " " + block.text;
            break;
        case WebPageText::Kind::text:
            break;
        }
        out.add(line, depth, &web);
        for (std::size_t l = 0; l < block.links.size(); ++l)
            out.add(linkLine(block.links[l],
                             l < set.linkFrames.size() ? set.linkFrames[l] : platform::CGRect{}, scrolledOut),
                    depth + 1, &web);
    }
}

/// The target of the link whose text is `text` on the page, if any.
std::optional<std::string> pageLinkTarget(const platform::ui::WKWebView& web, const std::string& text) {
    for (const auto& block : web.shownText())
        for (const auto& link : block.links)
            if (link.text == text) return link.href;
    return std::nullopt;
}

/// A retained view's line, a web view's with its kind and URL.
Line shownViewLine(const View& view) {
    Line line = viewLine(view);
    if (const auto* web = dynamic_cast<const platform::ui::WKWebView*>(&view)) {
        line.kind = "webView";
        if (web->url()) line.setText(*web->url());
    }
    return line;
}

void describeView(View& view, int depth, Sink& out) {
    if (view.isHidden()) return;
    if (auto* web = dynamic_cast<platform::ui::WKWebView*>(&view)) {
        out.add(shownViewLine(view), depth, web);
        describePage(*web, depth + 1, out);
        return;
    }
    if (auto* host = dynamic_cast<HostingView*>(&view)) {
        // The host's own subviews are the controls of its representable elements, printed there.
        host->rebuildIfNeeded();
        describeNode(*host, host->tree(), depth, out);
        return;
    }
    const Line line = viewLine(view);
    const bool printed = line.printable();
    if (printed) out.add(line, depth, &view);
    for (const auto& sub : view.subviews())
        describeView(*sub, printed ? depth + 1 : depth, out);
}

/// Depth first through the window's views; `visit` returns true to stop.
bool eachView(View& view, const std::function<bool(View&)>& visit) {
    if (view.isHidden()) return false;
    if (visit(view)) return true;
    if (dynamic_cast<HostingView*>(&view)) return false;
    for (const auto& sub : view.subviews())
        if (eachView(*sub, visit)) return true;
    return false;
}

bool hasIdentity(const Element& element, const std::string& id) {
    const Node& node = *element.node();
    if (node.identity == id ||
        (node.identity.empty() && node.nativeView && node.nativeView->identifier == id))
        return true;
    for (const auto* list : {&node.backgrounds, &node.children, &node.overlays})
        for (const auto& child : *list)
            if (hasIdentity(child, id)) return true;
    return false;
}

} // namespace

namespace {

/// The walk `describe` makes, over the window's views as laid out now.
Sink walk(platform::ui::Window& window) {
    Sink out;
    if (const auto& content = window.contentView()) {
        // Frames as the window would show them now.
        content->layoutSubtreeIfNeeded();
        describeView(*content, 0, out);
    }
    return out;
}

} // namespace

WindowElements::State WindowElements::state(platform::ui::Window& window, const std::string& key) {
    auto stateOf = [](const Line& line, bool shown) {
        std::string text = line.str(0);
        text.pop_back(); // the line end
        return State{text, line.rawValue, line.number, line.text, line.disabled, line.recording, line.selected, shown};
    };
    // The lines `ui show` prints, and the one of the element `find` finds (which the `ui` verbs
    // work); an element found by no id, control text or tooltip by the text of its line (a
    // heading of the help page, a label).
    const Sink shown = walk(window);
    const auto entryOf = [&shown](const void* source, const std::string* text) -> const Line* {
        for (const auto& entry : shown.entries)
            if (entry.source == source && (!text || entry.line.text == *text)) return &entry.line;
        return nullptr;
    };
    std::optional<Element> found;
    try {
        found = find(window, key);
    } catch (const CommandError&) {
        if (!key.empty())
            for (const auto& entry : shown.entries)
                if (entry.line.text == key) return stateOf(entry.line, window.isVisible());
        // A view hidden with what it holds is not found by name; by its id it still is.
        View* hidden = nullptr;
        if (const auto& content = window.contentView()) hidden = content->findByIdentifier(key);
        if (!hidden) throw;
        return stateOf(shownViewLine(*hidden), false);
    }
    if (found->view) {
        // A link of a web view's page is found through its web view: the link's own line.
        const bool byId = found->view->identifier == key;
        if (const Line* line = entryOf(found->view, byId ? nullptr : &key)) return stateOf(*line, window.isVisible());
        return stateOf(shownViewLine(*found->view), window.isVisible());
    }
    const Node* node = platform::ui::declarative::ViewDriver(*found->host).find(found->key);
    if (!node) throw CommandError("no element " + Text::quote(key));
    if (const Line* line = entryOf(node, nullptr)) return stateOf(*line, window.isVisible());
    return stateOf(nodeLine(*found->host, *node), window.isVisible());
}

bool WindowElements::State::valueIs(const std::string& want) const {
    if (value == want) return true;
    if (!number) return false;
    try {
        return std::fabs(*number - CommandArgs::parseNumber(want)) <= ConsoleText::numberTolerance;
    } catch (const CommandError&) {
        return false; // not a number: the texts differ
    }
}

std::optional<std::string> WindowElements::linkTarget(const platform::ui::View& view, const std::string& text) {
    const auto* web = dynamic_cast<const platform::ui::WKWebView*>(&view);
    return web ? pageLinkTarget(*web, text) : std::nullopt;
}

std::string WindowElements::describe(platform::ui::Window& window) {
    return walk(window).text;
}

std::vector<std::string> WindowElements::ids(platform::ui::Window& window) {
    return walk(window).ids;
}

namespace {

/// The window's ids in `ui show` order, each once.
std::vector<std::string> distinctIds(platform::ui::Window& window) {
    std::vector<std::string> out;
    for (auto& id : WindowElements::ids(window))
        if (std::find(out.begin(), out.end(), id) == out.end()) out.push_back(std::move(id));
    return out;
}

} // namespace

WindowElements::Element WindowElements::find(platform::ui::Window& window, const std::string& key) {
    Element found;
    const auto& content = window.contentView();
    if (content) {
        // Ids first, in every view and hosted tree; then texts.
        eachView(*content, [&](View& view) {
            if (auto* host = dynamic_cast<HostingView*>(&view)) {
                host->rebuildIfNeeded();
                if (hasIdentity(host->tree(), key)) found = {nullptr, host, key};
            } else if (view.identifier == key) {
                found = {&view, nullptr, key};
            }
            return found.view || found.host;
        });
        if (!found.view && !found.host)
            eachView(*content, [&](View& view) {
                if (auto* host = dynamic_cast<HostingView*>(&view)) {
                    if (platform::ui::declarative::ViewDriver(*host).exists(key))
                        found = {nullptr, host, key};
                } else if (auto* web = dynamic_cast<platform::ui::WKWebView*>(&view);
                           web && pageLinkTarget(*web, key)) {
                    found = {&view, nullptr, key};
                } else if (auto* button = dynamic_cast<platform::ui::Button*>(&view);
                           button && !dynamic_cast<platform::ui::PopUpButton*>(button) &&
                           button->title == key) {
                    found = {&view, nullptr, key};
                }
                return found.view || found.host;
            });
        // Then whole tooltips.
        if (!found.view && !found.host && !key.empty())
            eachView(*content, [&](View& view) {
                if (dynamic_cast<HostingView*>(&view)) return false;
                if (view.toolTip == key) found = {&view, nullptr, key};
                return found.view != nullptr;
            });
    }
    if (!found.view && !found.host) {
        const std::string name = Text::quote(ProgramWindows::displayName(window));
        throw NameSuggestions::unknown("no element " + Text::quote(key) + " in " + name, key,
                                       distinctIds(window), "ids", false, "`ui show " + name + "`");
    }
    return found;
}

} // namespace tilmora
