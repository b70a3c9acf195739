#include "platform/ui/declarative/HostingView.hpp"

#include "platform/desktop/CoordinateSpace.hpp"

#include "platform/dispatch/MainQueueDelivery.hpp"
#include "platform/dispatch/MainThread.hpp"

#include "platform/foundation/Text.hpp"
#include "platform/ui/Application.hpp"
#include "platform/ui/ClickActivation.hpp"
#include "platform/ui/Control.hpp"
#include "platform/ui/PopUpButton.hpp"
#include "platform/ui/Runtime.hpp"
#include "platform/ui/TextEditing.hpp"
#include "platform/ui/Window.hpp"
#include "platform/ui/declarative/ColorScheme.hpp"
#include "platform/ui/declarative/Layout.hpp"
#include "platform/ui/declarative/StepperArrows.hpp"

#include <algorithm>
#include <cmath>
#include <functional>
#include <utility>

namespace platform::ui::declarative {

// --- view base --------------------------------------------------------------------------------

ViewBase::~ViewBase() = default;

void ViewBase::invalidate() {
    if (host_) host_->setNeedsRebuild();
}

Window* ViewBase::hostingWindow() const {
    return host_ ? host_->window() : nullptr;
}

void ViewBase::deferToMain(std::function<void()> fn) {
    std::weak_ptr<int> alive = alive_;
    runtime::mainAsync([alive, fn = std::move(fn)] {
        if (alive.lock() && fn) fn();
    });
}

void ObservableObject::objectWillChange() {
    auto copy = observers_; // an observer may unsubscribe while we tell them
    for (auto& [token, fn] : copy)
        if (observers_.count(token) && fn) fn();
}

long ObservableObject::subscribe(std::function<void()> observer) {
    long token = next_++;
    observers_[token] = std::move(observer);
    return token;
}

void ObservableObject::unsubscribe(long token) {
    observers_.erase(token);
}

// --- host -------------------------------------------------------------------------------------

HostingView::HostingView(std::shared_ptr<ViewBase> root, Rect frame)
    : View(frame)
    , root_(std::move(root)) {}

HostingView::~HostingView() {
    for (auto& [key, token] : tokens_)
        NotificationCenter::defaultCenter().removeObserver(token);
    for (auto& [key, inst] : instances_)
        inst->host_ = nullptr;
}

void HostingView::setRootView(std::shared_ptr<ViewBase> root) {
    requireMainThread("HostingView::setRootView");
    root_ = std::move(root);
    instances_.erase("r<root>");
    setNeedsRebuild();
}

void HostingView::setNeedsRebuild() {
    dirty_ = true;
    if (scheduled_ || building_) return;
    scheduled_ = true;
    std::weak_ptr<int> alive = alive_;
    runtime::mainAsync([this, alive] {
        if (!alive.lock()) return;
        scheduled_ = false;
        rebuildIfNeeded();
    });
}

void HostingView::rebuildIfNeeded() {
    requireMainThread("HostingView::rebuildIfNeeded");
    // State changed by on-appear handlers asks for another pass; a few passes settle any tree.
    for (int pass = 0; dirty_ && pass < 8; ++pass)
        rebuild();
}

void HostingView::setFrame(const Rect& frame) {
    bool resized = frame.size != this->frame().size;
    View::setFrame(frame);
    if (resized && builds_ > 0) rebuild();
}

void HostingView::viewDidMoveToWindow() {
    if (window() && builds_ == 0) rebuild();
}

void HostingView::viewWindowVisibilityDidChange(bool visible) {
    if (!visible) {
        if (offscreen_ || builds_ == 0) return;
        offscreen_ = true;
        // Every place disappears; they all appear anew when the window is back.
        auto gone = std::move(disappear_);
        disappear_.clear();
        for (auto& [key, fn] : gone)
            if (fn) fn();
        return;
    }
    if (!offscreen_) return;
    offscreen_ = false;
    dirty_ = true;
    rebuildIfNeeded();
}

Size HostingView::fittingSize() const {
    if (builds_ == 0) return View::fittingSize();
    Element copy = tree_;
    Size s = Layout::measure(*copy.node(), {frame().width(), FrameSpec::infinity});
    Layout::run(*copy.node(), {0, 0, frame().width(), frame().height()});
    return s;
}

void HostingView::rebuild() {
    if (!root_ || building_) return;
    building_ = true;
    dirty_ = false;
    ++builds_;
    Pass pass;
    canvasEnv_.clear();
    tree_ = Element();
    tree_.node()->kind = NodeKind::component;
    tree_.node()->component = root_;
    // Views read the appearance of their window as their colour scheme.
    std::map<std::string, std::any> rootEnv;
    if (window() && window()->effectiveAppearance() == Appearance::darkAqua)
        rootEnv[colorSchemeKey] = ColorScheme::dark;
    resolve(tree_, "r", true, rootEnv, pass);
    Rect bounds{0, 0, frame().width(), frame().height()};
    Layout::run(*tree_.node(), bounds);
    for (int round = 0; round < 4; ++round) {
        size_t before = pass.seen.size();
        resolveCanvases(tree_, true, {}, pass);
        Layout::run(*tree_.node(), bounds);
        if (pass.seen.size() == before) break;
    }
    // A lazy list whose rows were made for another height asks for another pass.
    bool relayout = false;
    for (Node* list : pass.lazyLists) {
        const double height = list->layoutFrame.size.height;
        const double madeFor = scrolling_.madeForHeight(list->key).value_or(frame().height());
        if (std::abs(height - madeFor) > 0.5) relayout = true;
        scrolling_.setMadeForHeight(list->key, height);
    }

    // Scroll views keep where they were scrolled to (as the layout limited it); those that left
    // the tree forget it.
    scrolling_.keepOffsets(tree_);

    // Places that left the tree: their views, controls and subscriptions go (the views after
    // their on-disappear handlers ran).
    std::vector<std::shared_ptr<ViewBase>> leaving;
    for (auto it = instances_.begin(); it != instances_.end();) {
        if (pass.seen.count(it->first)) {
            ++it;
            continue;
        }
        it->second->host_ = nullptr;
        leaving.push_back(it->second);
        it = instances_.erase(it);
    }
    for (auto it = natives_.begin(); it != natives_.end();) {
        if (pass.seen.count(it->first)) {
            ++it;
            continue;
        }
        it->second.view->removeFromSuperview();
        it = natives_.erase(it);
    }
    for (auto it = tokens_.begin(); it != tokens_.end();) {
        if (pass.seen.count(it->first)) {
            ++it;
            continue;
        }
        NotificationCenter::defaultCenter().removeObserver(it->second);
        handlers_.erase(it->first);
        it = tokens_.erase(it);
    }
    std::vector<std::function<void()>> gone;
    for (auto it = disappear_.begin(); it != disappear_.end();) {
        if (pass.seen.count(it->first)) {
            ++it;
            continue;
        }
        gone.push_back(std::move(it->second));
        it = disappear_.erase(it);
    }
    // Native controls sit where the layout put them (y down from the view's top), flipped into the
    // view's own y-up space.
    nativeVisible_.clear();
    std::function<void(const Element&)> placeNatives = [&](const Element& e) {
        auto& n = *e.node();
        if (n.nativeView) {
            n.nativeView->setFrame(flipRect(n.layoutFrame, frame().height()));
            nativeVisible_[n.nativeView.get()] = n.visibleFrame;
        }
        for (auto& c : n.backgrounds)
            placeNatives(c);
        for (auto& c : n.children)
            placeNatives(c);
        for (auto& c : n.overlays)
            placeNatives(c);
    };
    placeNatives(tree_);
    building_ = false;
    for (auto& fn : gone)
        if (fn) fn();
    for (auto& view : leaving)
        view->alive_.reset();
    leaving.clear();
    for (auto& fn : pass.appear)
        if (fn) fn();
    // A focused field that left the tree (or was disabled) takes the keys no more.
    if (focus_.focused() && !focus_.focusedNode(tree_)) {
        focus_.clear();
        if (Window* w = window(); w && w->firstResponder() == this) w->makeFirstResponder(nullptr);
    }
    if (relayout) setNeedsRebuild();
}

void HostingView::resolve(Element& e, const std::string& parentKey, bool enabled,
                          const std::map<std::string, std::any>& parentEnv, Pass& pass) {
    Node& n = *e.node();
    n.key = n.identity.empty() ? parentKey : parentKey + "#" + n.identity;
    n.resolvedEnabled = enabled && !n.isDisabled;
    auto env = parentEnv;
    for (auto& [k, v] : n.environment)
        env[k] = v;
    pass.seen.insert(n.key);

    if ((n.onAppear || n.onDisappear) && !offscreen_) {
        std::string k = n.key + "|appear";
        pass.seen.insert(k);
        if (!disappear_.count(k)) pass.appear.push_back(n.onAppear);
        disappear_[k] = n.onDisappear ? n.onDisappear : [] {};
    }
    for (auto& [name, handler] : n.subscriptions) {
        std::string k = n.key + "|" + name;
        pass.seen.insert(k);
        handlers_[k] = handler;
        if (!tokens_.count(k)) {
            std::weak_ptr<int> alive = alive_;
            tokens_[k] = NotificationCenter::defaultCenter().addObserver(
                // On the main queue: at once for a post on the main thread, as one main-queue
                // block for a post from another thread.
                name, nullptr, MainQueueDelivery::shared(), [this, alive, k](const Notification& notification) {
                    if (!alive.lock()) return;
                    auto it = handlers_.find(k);
                    if (it != handlers_.end() && it->second) {
                        auto fn = it->second;
                        fn(notification);
                    }
                });
        }
    }

    for (size_t i = 0; i < n.backgrounds.size(); ++i)
        resolve(n.backgrounds[i], n.key + "/bg" + std::to_string(i), n.resolvedEnabled, env, pass);
    for (size_t i = 0; i < n.overlays.size(); ++i)
        resolve(n.overlays[i], n.key + "/ov" + std::to_string(i), n.resolvedEnabled, env, pass);

    switch (n.kind) {
    case NodeKind::component: {
        std::string k =
            n.key + "<" + (n.component == root_ ? std::string("root") : n.component->viewType().name()) + ">";
        pass.seen.insert(k);
        auto found = instances_.find(k);
        if (found != instances_.end() && found->second != n.component) {
            found->second->assignInputs(*n.component);
            n.component = found->second;
        } else if (found == instances_.end()) {
            instances_[k] = n.component;
        }
        n.component->host_ = this;
        n.component->environment_ = env;
        n.component->environment_["isEnabled"] = n.resolvedEnabled;
        n.children = {n.component->body()};
        resolve(n.children[0], k + "/0", n.resolvedEnabled, env, pass);
        break;
    }
    case NodeKind::representable: {
        std::string k = n.key + "<" + n.representable->representableType().name() + ">";
        pass.seen.insert(k);
        auto& native = natives_[k];
        RepresentableContext ctx{native.coordinator, n.resolvedEnabled};
        if (!native.view) {
            native.coordinator = n.representable->makeCoordinator();
            ctx.coordinator = native.coordinator;
            native.view = n.representable->makeView(ctx);
            if (native.view) addSubview(native.view);
        }
        if (native.view) {
            if (auto* control = dynamic_cast<Control*>(native.view.get()))
                control->isEnabled = n.resolvedEnabled;
            n.representable->updateView(*native.view, ctx);
        }
        n.nativeView = native.view;
        break;
    }
    case NodeKind::canvas:
        canvasEnv_[n.key] = env;
        break;
    case NodeKind::scroll:
        if (n.lazyRow) {
            resolveLazyList(n, n.resolvedEnabled, env, pass);
            break;
        }
        if (const ScrollPosition* kept = scrolling_.find(n.key)) n.scrollOffset = kept->offset();
        [[fallthrough]];
    default:
        for (size_t i = 0; i < n.children.size(); ++i)
            resolve(n.children[i], n.key + "/" + std::to_string(i), n.resolvedEnabled, env, pass);
        break;
    }
}

void HostingView::resolveCanvases(Element& e, bool, const std::map<std::string, std::any>&, Pass& pass) {
    Node& n = *e.node();
    if (n.kind == NodeKind::canvas && n.children.empty() && n.canvasContent) {
        Element content = n.canvasContent(n.layoutFrame.size);
        // A group's children are placed one by one; anything else is one child.
        if (content.node()->kind == NodeKind::group)
            n.children = content.node()->children;
        else
            n.children = {content};
        auto env = canvasEnv_[n.key];
        for (size_t i = 0; i < n.children.size(); ++i)
            resolve(n.children[i], n.key + "/c" + std::to_string(i), n.resolvedEnabled, env, pass);
    }
    for (auto& c : n.backgrounds)
        resolveCanvases(c, true, {}, pass);
    for (auto& c : n.children)
        resolveCanvases(c, true, {}, pass);
    for (auto& c : n.overlays)
        resolveCanvases(c, true, {}, pass);
}

HostingController::HostingController(std::shared_ptr<ViewBase> root)
    : ViewController(std::make_shared<HostingView>(std::move(root))) {}

// --- pointer clicks ---------------------------------------------------------------------------

namespace {

/// Whether a click on the element stops there (whether or not it then acts).
bool takesClicks(const Node& n) {
    return n.kind == NodeKind::button || n.kind == NodeKind::textField || n.kind == NodeKind::stepper ||
           n.kind == NodeKind::picker || n.nativeView || n.onTap;
}

/// Whether a press on the element starts its drag gesture.
bool takesDrags(const Node& n) {
    return n.resolvedEnabled && (n.onDragChanged || n.onDragEnded);
}

/// The frontmost element under `point` (host space, y down) for which `wanted` holds: later
/// elements and higher z-indexes lie in front, only the part of an element that shows counts, and
/// an element that takes no hit testing is passed through with its content.
Node* frontmostUnder(const Element& tree, Point point, bool (*wanted)(const Node&)) {
    Node* best = nullptr;
    double bestZ = -1e300;
    std::function<void(const Element&, double)> visit = [&](const Element& e, double z) {
        Node& n = *e.node();
        if (!n.hitTesting) return;
        const double zz = z + n.zIndex;
        for (const auto& c : n.backgrounds)
            visit(c, zz);
        // Only the part that shows takes clicks: what a scroll view or a clipping stack hides does not.
        const Rect f = n.visibleFrame;
        const bool inside = !f.isNull() && point.x >= f.minX() && point.x <= f.maxX() &&
                            point.y >= f.minY() && point.y <= f.maxY();
        if (inside && wanted(n) && zz >= bestZ) {
            best = &n;
            bestZ = zz;
        }
        for (const auto& c : n.children)
            visit(c, zz);
        for (const auto& c : n.overlays)
            visit(c, zz);
    };
    visit(tree, 0);
    return best;
}

} // namespace

Node* HostingView::elementAt(Point point) {
    rebuildIfNeeded();
    return frontmostUnder(tree_, point, takesClicks);
}

Node* HostingView::dragElementAt(Point point) {
    rebuildIfNeeded();
    return frontmostUnder(tree_, point, takesDrags);
}

bool HostingView::stepElement(Node& node, int direction) {
    if (!node.resolvedEnabled || node.kind != NodeKind::stepper || !node.getInt || !node.setInt) return false;
    const long value = node.getInt();
    const long next = std::clamp(value + (direction >= 0 ? node.step : -node.step), node.lowerBound, node.upperBound);
    // At its bound the stepper does not move.
    if (next == value) return false;
    auto set = node.setInt;
    set(next);
    rebuildIfNeeded();
    return true;
}

// --- drags ------------------------------------------------------------------------------------

bool HostingView::beginDrag(Node& node, Point at) {
    drag_.reset();
    if (!node.resolvedEnabled || !node.hitTesting || (!node.onDragChanged && !node.onDragEnded)) return false;
    drag_ = Drag{node.key, node.dragMinimumDistance, at, at, false};
    // A gesture that needs no travel reports its first change at the press point.
    if (node.dragMinimumDistance <= 0) reportDrag(node, at);
    return true;
}

void HostingView::reportDrag(Node& node, Point at) {
    const DragValue value{drag_->start, at};
    drag_->last = at;
    drag_->reported = true;
    if (auto changed = node.onDragChanged) changed(value);
    rebuildIfNeeded();
    // The tree was rebuilt: a gesture whose element left it is over.
    if (drag_ && !ScrollStates::findByKey(tree_, drag_->key)) drag_.reset();
}

void HostingView::continueDrag(Point at) {
    if (!drag_) return;
    Node* node = ScrollStates::findByKey(tree_, drag_->key);
    if (!node) {
        drag_.reset();
        return;
    }
    if (drag_->reported && at.x == drag_->last.x && at.y == drag_->last.y) return; // no movement
    if (std::hypot(at.x - drag_->start.x, at.y - drag_->start.y) < drag_->minimumDistance) return;
    reportDrag(*node, at);
}

bool HostingView::endDrag(Point at) {
    const auto drag = std::exchange(drag_, std::nullopt);
    if (!drag) return false;
    const double moved = std::hypot(at.x - drag->start.x, at.y - drag->start.y);
    Node* node = ScrollStates::findByKey(tree_, drag->key);
    if (node && moved >= drag->minimumDistance)
        if (auto ended = node->onDragEnded) ended(DragValue{drag->start, at});
    rebuildIfNeeded();
    return moved > 0 && moved >= drag->minimumDistance;
}

std::optional<Point> HostingView::inDraggedElement(Point point) const {
    const Node* node = drag_ ? ScrollStates::findByKey(tree_, drag_->key) : nullptr;
    if (!node) return std::nullopt;
    return Point{point.x - node->layoutFrame.origin.x, point.y - node->layoutFrame.origin.y};
}

bool HostingView::clickElement(Node& node, Point point) {
    if (!node.resolvedEnabled) return false;
    bool done = false;
    if (node.kind == NodeKind::button && node.action) {
        auto action = node.action;
        action();
        done = true;
    } else if (auto* button = dynamic_cast<platform::ui::Button*>(node.nativeView.get());
               button && !dynamic_cast<PopUpButton*>(button)) {
        auto keep = node.nativeView;
        done = button->performClick();
    } else if (node.onTap && node.hitTesting) {
        auto tap = node.onTap;
        tap({point.x - node.layoutFrame.origin.x, point.y - node.layoutFrame.origin.y});
        done = true;
    } else if (node.kind == NodeKind::stepper) {
        // Only the arrows step it; the label takes the click and does nothing.
        const int direction = StepperArrows::directionAt(node.layoutFrame, point);
        done = direction != 0 && stepElement(node, direction);
    } else if (node.kind == NodeKind::textField) {
        // A click on a window of a program in the background brings the program and the window
        // to the front, so that the keys pressed next reach the field.
        if (Window* w = window(); w && w->canBecomeKeyWindow()) ClickActivation::windowTakesClick(*w);
        done = focusField(node.key);
    }
    rebuildIfNeeded();
    return done;
}

// --- keys -------------------------------------------------------------------------------------

bool HostingView::focusField(const std::string& key) {
    requireMainThread("HostingView::focusField");
    Window* w = window();
    const auto fields = FocusScope::fields(tree_);
    const bool known = std::any_of(fields.begin(), fields.end(), [&key](const Node* n) { return n->key == key; });
    if (!w || !known) return false;
    if (w->firstResponder() == this && focus_.focused()) {
        focus_.moveTo(key);
        return true;
    }
    focus_.beginTaking(key);
    const bool taken = w->makeFirstResponder(this);
    focus_.endTaking(taken);
    return taken;
}

bool HostingView::resignFirstResponder() {
    focus_.clear();
    return true;
}

bool HostingView::hasKeyViewsInside() const {
    return !FocusScope::fields(tree_).empty();
}

bool HostingView::selectKeyViewInside(bool forward) {
    const auto fields = FocusScope::fields(tree_);
    if (fields.empty()) return false;
    return focusField((forward ? fields.front() : fields.back())->key);
}

namespace {

/// The host's side of the one editing step: the focused field's text through its binding.
class FieldEditing : public TextEditingTarget {
public:
    FieldEditing(HostingView& host, Node& field, std::function<void(bool)> moveFocus)
        : host_(host)
        , field_(field)
        , moveFocus_(std::move(moveFocus)) {}
    std::string editedText() const override { return field_.getText(); }
    const void* editingOwner() const override { return &host_; }
    std::string editedField() const override { return field_.key; }
    void insertEditedText(const std::string& text) override { host_.insertText(text); }
    void replaceEditedText(const std::string& text) override {
        auto set = field_.setText;
        set(text);
    }
    void commitEditing() override {
        if (auto commit = field_.onCommit) commit();
    }
    void moveKeyFocus(bool forward) override { moveFocus_(forward); }

private:
    HostingView& host_;
    Node& field_;
    std::function<void(bool)> moveFocus_;
};

} // namespace

void HostingView::keyDown(const NSEvent& event) {
    Node* field = focus_.focusedNode(tree_);
    if (!field || !field->getText || !field->setText) return View::keyDown(event);
    FieldEditing editing(*this, *field, [this, field](bool forward) {
        if (Node* next = FocusScope::neighbour(FocusScope::fields(tree_), field, forward)) {
            focusField(next->key);
            return;
        }
        // Past the host's last (or first) field the window's key view loop goes on.
        if (Window* w = window()) {
            const auto keep = shared_from_this();
            if (forward) {
                w->selectKeyViewFollowingView(*this);
            } else {
                w->selectKeyViewPrecedingView(*this);
            }
        }
    });
    if (!TextEditing::perform(event, editing)) View::keyDown(event);
}

void HostingView::insertText(const std::string& text) {
    Node* field = focus_.focusedNode(tree_);
    if (!field || !field->getText || !field->setText) return View::insertText(text);
    auto set = field->setText;
    set(field->getText() + text);
}

View* HostingView::hitTest(Point point) {
    if (isHidden() || !frame().contains(point)) return nullptr;
    const Point inside{point.x - frame().origin.x, point.y - frame().origin.y};
    Node* node = elementAt({inside.x, frame().height() - inside.y});
    if (node && node->nativeView)
        if (View* hit = node->nativeView->hitTest(inside)) return hit;
    return this;
}

void HostingView::mouseDown(const NSEvent& event) {
    const Point local = locationOfEvent(event);
    const Point point{local.x, frame().height() - local.y};
    Node* node = elementAt(point);
    pressedKey_ = node ? std::optional<std::string>(node->key) : std::nullopt;
    drag_.reset();
    // The press also starts the drag gesture of the element under it, or of the one it lies in.
    if (Node* dragged = dragElementAt(point))
        beginDrag(*dragged, {point.x - dragged->layoutFrame.origin.x, point.y - dragged->layoutFrame.origin.y});
}

void HostingView::mouseDragged(const NSEvent& event) {
    const Point local = locationOfEvent(event);
    if (const auto at = inDraggedElement({local.x, frame().height() - local.y})) continueDrag(*at);
}

void HostingView::mouseUp(const NSEvent& event) {
    const auto pressed = std::exchange(pressedKey_, std::nullopt);
    const Point local = locationOfEvent(event);
    const Point point{local.x, frame().height() - local.y};
    bool dragged = false;
    if (const auto at = inDraggedElement(point))
        dragged = endDrag(*at);
    else
        drag_.reset(); // its element left the tree
    // A press that dragged is no click; a click ends on the element it began on.
    if (dragged || !bounds().contains(local)) return;
    Node* node = elementAt(point);
    if (node && pressed && node->key == *pressed) clickElement(*node, point);
}

void HostingView::viewDidChangeEffectiveAppearance() {
    View::viewDidChangeEffectiveAppearance();
    if (builds_ > 0) setNeedsRebuild();
}

} // namespace platform::ui::declarative
