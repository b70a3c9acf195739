#include "platform/control/ViewDriver.hpp"

#include "platform/input/EventQueue.hpp"
#include "platform/control/UISimulator.hpp"
#include "platform/ui/ClickActivation.hpp"
#include "platform/ui/PopUpButton.hpp"
#include "platform/ui/Runtime.hpp"
#include "platform/ui/Window.hpp"
#include "platform/ui/Slider.hpp"
#include "platform/ui/TextField.hpp"

#include <algorithm>
#include <cmath>
#include <functional>

namespace platform::ui::declarative {

namespace {
template <class F>
void walk(const Element& e, const F& visit) {
    const Node& n = *e.node();
    for (auto& c : n.backgrounds)
        walk(c, visit);
    visit(const_cast<Node&>(n));
    for (auto& c : n.children)
        walk(c, visit);
    for (auto& c : n.overlays)
        walk(c, visit);
}

std::string labelOf(const Node& n) {
    if (n.kind == NodeKind::text) return n.text;
    if (n.kind == NodeKind::stepper || n.kind == NodeKind::picker) return n.text;
    if (n.nativeView)
        if (auto* b = dynamic_cast<ui::Button*>(n.nativeView.get()); b && !dynamic_cast<PopUpButton*>(b))
            return b->title;
    std::string out;
    if (n.kind == NodeKind::button || n.kind == NodeKind::hstack || n.kind == NodeKind::vstack ||
        n.kind == NodeKind::zstack || n.kind == NodeKind::group || n.kind == NodeKind::labeledContent ||
        n.kind == NodeKind::modified) {
        for (auto& c : n.children) {
            auto s = labelOf(*c.node());
            if (!s.empty()) return s;
        }
    }
    return out;
}

bool actionable(const Node& n) {
    return n.kind == NodeKind::button || n.kind == NodeKind::textField || n.kind == NodeKind::stepper ||
           n.kind == NodeKind::picker || n.kind == NodeKind::representable || n.onTap || n.onDragChanged ||
           n.onDragEnded || !n.contextMenu.empty();
}
} // namespace

std::vector<std::string> ViewDriver::texts() const {
    std::vector<std::string> out;
    walk(host_.tree(), [&](Node& n) {
        if (n.kind == NodeKind::text || n.kind == NodeKind::stepper ||
            (n.kind == NodeKind::picker && !n.labelHidden))
            out.push_back(n.text);
        else if (n.kind == NodeKind::representable && n.nativeView) {
            auto label = labelOf(n);
            if (!label.empty()) out.push_back(label);
        }
    });
    return out;
}

bool ViewDriver::hasText(const std::string& text) const {
    auto all = texts();
    return std::find(all.begin(), all.end(), text) != all.end();
}

Node* ViewDriver::find(const std::string& key) const {
    Node* byId = nullptr;
    Node* byText = nullptr;
    walk(host_.tree(), [&](Node& n) {
        // A representable's control may name itself (a recorder by its shortcut's name).
        if (!byId &&
            (n.identity == key || (n.identity.empty() && n.nativeView && n.nativeView->identifier == key)))
            byId = &n;
        // Prefer the element a user would work: the button around a label, not the label.
        if (!byText && actionable(n) && labelOf(n) == key) byText = &n;
    });
    if (byId) return byId;
    if (byText) return byText;
    walk(host_.tree(), [&](Node& n) {
        if (!byText && n.kind == NodeKind::text && n.text == key) byText = &n;
    });
    if (byText) return byText;
    walk(host_.tree(), [&](Node& n) {
        if (!byText && !key.empty() && n.helpText == key) byText = &n;
    });
    return byText;
}

bool ViewDriver::isEnabled(const std::string& key) const {
    auto* n = find(key);
    if (!n) return false;
    if (auto* control = dynamic_cast<Control*>(n->nativeView.get()))
        return control->isEnabled && n->resolvedEnabled;
    return n->resolvedEnabled;
}

View* ViewDriver::nativeView(const std::string& key) const {
    auto* n = find(key);
    return n ? n->nativeView.get() : nullptr;
}

std::optional<KeyboardShortcut> ViewDriver::keyboardShortcut(const std::string& key) const {
    const Node* target = find(key);
    if (!target) return std::nullopt;
    // The path from the root to the element; the innermost modifier on it wins.
    std::vector<const Node*> path;
    std::function<bool(const Element&)> search = [&](const Element& e) {
        const Node& n = *e.node();
        path.push_back(&n);
        if (&n == target) return true;
        for (auto* list : {&n.backgrounds, &n.children, &n.overlays})
            for (auto& c : *list)
                if (search(c)) return true;
        path.pop_back();
        return false;
    };
    if (!search(host_.tree())) return std::nullopt;
    for (auto it = path.rbegin(); it != path.rend(); ++it)
        if ((*it)->hasKeyboardShortcutModifier) return (*it)->keyboardShortcut;
    return std::nullopt;
}

Node* ViewDriver::reveal(const std::string& key) {
    Node* n = find(key);
    if (!n || !n->scrolledOut) return n;
    host_.scrollIntoView(n->key);
    return find(key);
}

bool ViewDriver::scrollIntoView(const std::string& key) {
    Node* n = find(key);
    return n && host_.scrollIntoView(n->key);
}

bool ViewDriver::click(const std::string& key) {
    auto* n = reveal(key);
    if (!n || !n->resolvedEnabled) return false;
    bool done = false;
    if (n->nativeView && !(n->kind == NodeKind::button && n->action)) {
        // A wrapped control takes the click itself.
        auto native = n->nativeView;
        auto* button = dynamic_cast<ui::Button*>(native.get());
        done = button ? UISimulator::click(*button) : UISimulator::clickView(*native);
    } else {
        // The click acts with its mouse-up at the element's centre as the current event.
        const Point centre{n->layoutFrame.midX(), n->layoutFrame.midY()};
        const Point inWindow = host_.convertPointToWindow({centre.x, host_.frame().height() - centre.y});
        Window* window = host_.window();
        // The click's mouse-down activates the program and makes the window key, as a pointer's does.
        if (window) ClickActivation::windowTakesClick(*window);
        EventQueue::CurrentEventScope scope(NSEvent::mouseEvent(EventType::leftMouseUp, inWindow,
                                                                NSEvent::currentModifierFlags(), runtime::now(),
                                                                window ? window->windowNumber() : 0, 1));
        done = host_.clickElement(*n, centre);
    }
    settle();
    return done;
}

bool ViewDriver::type(const std::string& key, const std::string& text) {
    auto* n = reveal(key);
    if (!n || !n->resolvedEnabled || n->kind != NodeKind::textField || !n->setText) return false;
    auto set = n->setText;
    set(text);
    settle();
    return true;
}

bool ViewDriver::commit(const std::string& key) {
    auto* n = reveal(key);
    if (!n || !n->resolvedEnabled || n->kind != NodeKind::textField) return false;
    if (auto fn = n->onCommit) fn();
    settle();
    return true;
}

bool ViewDriver::step(const std::string& key, int direction) {
    auto* n = reveal(key);
    if (!n) return false;
    const bool stepped = host_.stepElement(*n, direction);
    settle();
    return stepped;
}

bool ViewDriver::pick(const std::string& key, const std::string& title) {
    auto* n = reveal(key);
    if (!n || !n->resolvedEnabled) return false;
    bool done = false;
    if (n->kind == NodeKind::picker) {
        for (auto& o : n->options)
            if (o.title == title) {
                auto set = n->setSelection;
                set(o.tag);
                done = true;
                break;
            }
    } else if (auto* popUp = dynamic_cast<PopUpButton*>(n->nativeView.get())) {
        auto titles = popUp->itemTitles();
        auto it = std::find(titles.begin(), titles.end(), title);
        if (it != titles.end()) done = UISimulator::pickPopUpItem(*popUp, it - titles.begin());
    }
    settle();
    return done;
}

bool ViewDriver::slide(const std::string& key, const std::vector<double>& values) {
    auto* n = reveal(key);
    auto* slider = n ? dynamic_cast<Slider*>(n->nativeView.get()) : nullptr;
    if (!slider || !slider->isEnabled) return false;
    UISimulator::dragSlider(*slider, values);
    settle();
    return true;
}

bool ViewDriver::tap(const std::string& key, Point at) {
    auto* root = reveal(key);
    if (!root || !root->resolvedEnabled) return false;
    Point abs{root->layoutFrame.origin.x + at.x, root->layoutFrame.origin.y + at.y};
    // The topmost tappable element under the point: later in document order and higher zIndex win.
    Node* best = nullptr;
    double bestZ = -1e300;
    std::function<void(const Element&, bool, double)> visit = [&](const Element& e, bool hits, double z) {
        Node& n = *e.node();
        bool h = hits && n.hitTesting;
        double zz = z + n.zIndex;
        for (auto& c : n.backgrounds)
            visit(c, h, zz);
        Rect f = n.layoutFrame;
        bool inside = abs.x >= f.minX() && abs.x <= f.maxX() && abs.y >= f.minY() && abs.y <= f.maxY();
        if (h && inside && n.onTap && n.resolvedEnabled && zz >= bestZ) best = &n, bestZ = zz;
        for (auto& c : n.children)
            visit(c, h, zz * 1);
        for (auto& c : n.overlays)
            visit(c, h, zz);
    };
    Element wrapper(std::shared_ptr<Node>(std::shared_ptr<Node>{}, root));
    visit(wrapper, true, 0);
    if (!best) return false;
    auto action = best->onTap;
    action({abs.x - best->layoutFrame.origin.x, abs.y - best->layoutFrame.origin.y});
    settle();
    return true;
}

bool ViewDriver::drag(const std::string& key, Point from, Point to, int steps) {
    auto* n = reveal(key);
    // The gesture follows the press, the moves and the release as it follows the pointer's.
    if (!n || !host_.beginDrag(*n, from)) return false;
    settle();
    steps = std::max(steps, 1);
    for (int i = 1; i <= steps; ++i) {
        const double t = double(i) / steps;
        host_.continueDrag({from.x + (to.x - from.x) * t, from.y + (to.y - from.y) * t});
        settle();
    }
    host_.endDrag(to);
    settle();
    return true;
}

bool ViewDriver::contextMenuItem(const std::string& key, const std::string& title) {
    Node* n = find(key);
    // A context menu belongs to the element or to one of its ancestors; look for the nearest.
    Node* owner = nullptr;
    std::function<bool(const Element&)> search = [&](const Element& e) -> bool {
        Node& m = *e.node();
        bool contains = &m == n;
        for (auto& c : m.children)
            contains = search(c) || contains;
        if (contains && !owner && !m.contextMenu.empty()) owner = &m;
        return contains;
    };
    if (!n) return false;
    search(host_.tree());
    if (!owner || !owner->resolvedEnabled) return false;
    for (auto& item : owner->contextMenu)
        if (item.title == title) {
            auto action = item.action;
            if (action) action();
            settle();
            return true;
        }
    return false;
}

namespace {
Node* findList(const Element& root, const std::string& listId) {
    Node* found = nullptr;
    walk(root, [&](Node& n) {
        if (!found && n.isList && (listId.empty() || n.identity == listId)) found = &n;
    });
    return found;
}

std::size_t rowsOf(const Node& list) {
    if (list.lazyRow) return list.lazyRowCount;
    return list.children.empty() ? 0 : list.children[0].node()->children.size();
}
} // namespace

std::size_t ViewDriver::listRowCount(const std::string& listId) const {
    const Node* list = findList(host_.tree(), listId);
    return list ? rowsOf(*list) : 0;
}

bool ViewDriver::deleteRows(const std::vector<std::size_t>& offsets, const std::string& listId) {
    Node* list = findList(host_.tree(), listId);
    if (!list || !list->onDelete || offsets.empty()) return false;
    std::vector<std::size_t> sorted = offsets;
    std::sort(sorted.begin(), sorted.end());
    sorted.erase(std::unique(sorted.begin(), sorted.end()), sorted.end());
    if (sorted.back() >= rowsOf(*list)) return false;
    auto action = list->onDelete;
    action(sorted);
    settle();
    return true;
}

bool ViewDriver::scrollList(std::size_t firstRow, const std::string& listId) {
    const bool scrolled = host_.scrollList(firstRow, listId);
    if (scrolled) settle();
    return scrolled;
}

bool ViewDriver::hover(const std::string& key, bool inside) {
    Node* n = find(key);
    if (!n || !n->onHover) return false;
    auto action = n->onHover;
    action(inside);
    settle();
    return true;
}

} // namespace platform::ui::declarative
