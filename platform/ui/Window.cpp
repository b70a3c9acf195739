#include "platform/ui/Window.hpp"

#include "platform/desktop/LargestOverlap.hpp"
#include "platform/dispatch/MainThread.hpp"
#include "platform/internal/OwnWindowBridge.hpp"
#include "platform/ui/AnimationContext.hpp"
#include "platform/ui/Application.hpp"
#include "platform/ui/Runtime.hpp"
#include "platform/ui/TextField.hpp"
#include "platform/ui/ViewController.hpp"

#include <algorithm>
#include <functional>

namespace platform::ui {

namespace {
/// Tells `view` and its descendants, parents first, that their window came onto or left the screen.
void tellVisibility(const std::shared_ptr<View>& view, bool visible) {
    if (!view) return;
    view->viewWindowVisibilityDidChange(visible);
    auto subviews = view->subviews(); // a handler may change the tree
    for (auto& subview : subviews)
        tellVisibility(subview, visible);
}
} // namespace

// --- animator -------------------------------------------------------------------------------

void WindowAnimator::change(const std::string& property, const std::function<void(Window&)>& apply) {
    auto* ctx = AnimationContext::current();
    long gen = ++window_.generations_[property];
    if (!ctx) {
        apply(window_);
        return;
    }
    auto weak = std::weak_ptr<Responder>(window_.weak_from_this());
    ctx->addChange([weak, property, apply, gen] {
        auto w = std::static_pointer_cast<Window>(weak.lock());
        if (w && w->generations_[property] == gen) apply(*w);
    });
}

void WindowAnimator::setAlphaValue(double alpha) {
    requireMainThread("WindowAnimator::setAlphaValue");
    change("alpha", [alpha](Window& window) { window.applyAlpha(alpha); });
}

void WindowAnimator::setFrame(const Rect& frame, bool) {
    requireMainThread("WindowAnimator::setFrame");
    change("frame", [frame](Window& window) { window.applyFrame(frame); });
}

void WindowAnimator::setFrameOrigin(Point origin) {
    setFrame({origin, window_.frame().size}, true);
}

// --- window ---------------------------------------------------------------------------------

Window::Window(Rect contentRect, unsigned styleMask, BackingStore backing, bool defer)
    : styleMask_(styleMask)
    , backing_(backing)
    , defer_(defer)
    , number_((requireMainThread("Window::Window"), OwnWindowBridge::newWindowNumber())) {
    frame_ = frameRectForContentRect(contentRect);
    contentView_ = std::make_shared<View>(Rect{0, 0, contentRect.width(), contentRect.height()});
    contentView_->setWindow(this);
    Application::shared().registerWindow(this);
}

Window::~Window() {
    auto& app = Application::shared();
    app.orderOutWindow(this);
    app.unregisterWindow(this);
    if (contentView_) contentView_->setWindow(nullptr);
    OwnWindowBridge::discard(std::uint32_t(number_));
}

Rect Window::contentRectForFrameRect(const Rect& f) const {
    double bar = (styleMask_ & StyleMask::titled) && !(styleMask_ & StyleMask::fullSizeContentView)
                     ? titleBarHeight
                     : 0;
    return {f.origin.x, f.origin.y, f.width(), std::max(0.0, f.height() - bar)};
}

Rect Window::frameRectForContentRect(const Rect& c) const {
    double bar = (styleMask_ & StyleMask::titled) && !(styleMask_ & StyleMask::fullSizeContentView)
                     ? titleBarHeight
                     : 0;
    return {c.origin.x, c.origin.y, c.width(), c.height() + bar};
}

void Window::setFrame(const Rect& frame, bool display, bool animate) {
    requireMainThread("Window::setFrame");
    if (animate) {
        AnimationContext::runAnimationGroup([&](AnimationContext& ctx) {
            ctx.duration = 0.2;
            animator().setFrame(frame, display);
        });
        return;
    }
    ++generations_["frame"];
    applyFrame(frame);
    if (display) this->display();
}

void Window::setFrameOrigin(Point origin) {
    requireMainThread("Window::setFrameOrigin");
    setFrame({origin, frame_.size}, false);
}

void Window::applyFrame(const Rect& frame) {
    Rect f = frame;
    f.size.width = std::max(f.size.width, minSize.width);
    f.size.height = std::max(f.size.height, minSize.height);
    frame_ = f;
    if (contentView_) {
        Rect c = contentRectForFrameRect(f);
        contentView_->setFrame({0, 0, c.width(), c.height()});
    }
    syncWithWindowServer();
}

void Window::setContentSize(Size size) {
    requireMainThread("Window::setContentSize");
    Rect c = contentRectForFrameRect(frame_);
    // Keep the top edge where it is, as the original platform does.
    double top = frame_.maxY();
    Rect f = frameRectForContentRect({c.origin.x, 0, size.width, size.height});
    f.origin.y = top - f.height();
    setFrame(f, true);
}

std::optional<NSScreen> Window::screen() const {
    // None when the window lies off every screen; `center` then falls back to the main screen.
    return screenWithLargestOverlap(frame_, NSScreen::screens(), ScreenArea::frame, std::nullopt);
}

void Window::center() {
    requireMainThread("Window::center");
    auto on = screen();
    if (!on) on = NSScreen::main();
    if (!on) return;
    Rect vf = on->visibleFrame();
    double x = vf.midX() - frame_.width() / 2;
    // A little above centre: a third of the free room above the window, two thirds below.
    double y = vf.minY() + (vf.height() - frame_.height()) * 2.0 / 3.0;
    setFrameOrigin({std::round(x), std::round(y)});
}

Rect Window::convertRectToScreen(const Rect& r) const {
    return {r.origin.x + frame_.origin.x, r.origin.y + frame_.origin.y, r.size.width, r.size.height};
}

void Window::setAppearance(std::optional<Appearance> appearance) {
    requireMainThread("Window::setAppearance");
    if (appearance_ == appearance) return;
    appearance_ = appearance;
    if (contentView_) contentView_->viewDidChangeEffectiveAppearance();
}

void Window::setLevel(long level) {
    requireMainThread("Window::setLevel");
    level_ = level;
    if (visible_) Application::shared().orderIn(this);
    syncWithWindowServer();
}

void Window::setIgnoresMouseEvents(bool ignores) {
    requireMainThread("Window::setIgnoresMouseEvents");
    ignoresMouseEvents_ = ignores;
    syncWithWindowServer();
}

void Window::setAlphaValue(double alpha) {
    requireMainThread("Window::setAlphaValue");
    ++generations_["alpha"];
    applyAlpha(alpha);
}

void Window::applyAlpha(double alpha) {
    alpha_ = std::clamp(alpha, 0.0, 1.0);
    syncWithWindowServer();
}

void Window::setContentView(std::shared_ptr<View> view) {
    requireMainThread("Window::setContentView");
    if (contentView_ == view) return;
    if (contentView_) {
        if (firstResponder_) makeFirstResponder(nullptr);
        contentView_->setWindow(nullptr);
    }
    contentView_ = std::move(view);
    if (contentView_) {
        contentView_->removeFromSuperview();
        Rect c = contentRectForFrameRect(frame_);
        contentView_->setFrame({0, 0, c.width(), c.height()});
        contentView_->setWindow(this);
        contentView_->setNeedsLayout(true);
    }
}

void Window::setContentViewController(std::shared_ptr<ViewController> controller) {
    requireMainThread("Window::setContentViewController");
    contentViewController_ = std::move(controller);
    if (contentViewController_) setContentView(contentViewController_->view());
}

void Window::orderIn(bool activate, bool makingKey) {
    bool wasVisible = visible_;
    closed_ = false;
    miniaturized_ = false;
    visible_ = true;
    Application::shared().orderIn(this);
    if (activate && !(styleMask_ & StyleMask::nonactivatingPanel)) Application::shared().activate(false);
    OwnWindowBridge::orderFront(std::uint32_t(number_), windowServerSpec(),
                                makingKey ? OwnWindowBridge::Ordering::makingKey
                                          : OwnWindowBridge::Ordering::plain);
    listed_ = true;
    if (!wasVisible) tellVisibility(contentView_, true);
}

void Window::orderFront() {
    requireMainThread("Window::orderFront");
    orderIn(false);
}

void Window::orderFrontRegardless() {
    requireMainThread("Window::orderFrontRegardless");
    orderIn(false);
}

void Window::makeKeyAndOrderFront() {
    requireMainThread("Window::makeKeyAndOrderFront");
    orderIn(false, true);
    makeKey();
}

void Window::orderOut() {
    requireMainThread("Window::orderOut");
    if (!visible_) {
        if (miniaturized_) {
            // Out of the Dock.
            miniaturized_ = false;
            syncWithWindowServer();
        }
        return;
    }
    visible_ = false;
    Application::shared().orderOutWindow(this);
    syncWithWindowServer();
    tellVisibility(contentView_, false);
}

void Window::close() {
    requireMainThread("Window::close");
    if (closed_) return;
    auto keep = weak_from_this().lock();
    runtime::post(WindowWillCloseNotification, this);
    if (auto d = delegate.lock()) d->windowWillClose(*this);
    orderOut();
    closed_ = true;
    if (listed_) OwnWindowBridge::remove(std::uint32_t(number_));
    listed_ = false;
}

void Window::performClose() {
    requireMainThread("Window::performClose");
    if (auto d = delegate.lock(); d && !d->windowShouldClose(*this)) return;
    close();
}

void Window::miniaturize() {
    requireMainThread("Window::miniaturize");
    if (!visible_) return;
    orderOut();
    miniaturized_ = true;
    syncWithWindowServer();
}

void Window::zoom() {
    requireMainThread("Window::zoom");
    if (!visible_) return;
    if (const auto frame = OwnWindowBridge::zoom(std::uint32_t(number_))) setFrame(*frame, true);
}

void Window::makeKey() {
    requireMainThread("Window::makeKey");
    if (!canBecomeKeyWindow()) return;
    Application::shared().setKeyWindow(this);
}

bool Window::isKeyWindow() const {
    return Application::shared().keyWindow() == this;
}

bool Window::canBecomeKeyWindow() const {
    return (styleMask_ & StyleMask::titled) != 0;
}

void Window::chooseInitialFirstResponder() {
    if (hasBeenKey_) return;
    hasBeenKey_ = true;
    if (firstResponder_) return;
    if (auto initial = initialFirstResponder.lock();
        initial && initial->window() == this && initial->canBecomeKeyView()) {
        makeFirstResponder(initial.get());
        return;
    }
    std::function<View*(View&)> firstKeyView = [&](View& v) -> View* {
        if (v.isHidden()) return nullptr;
        if (&v != contentView_.get() && v.canBecomeKeyView()) return &v;
        for (auto& sub : v.subviews())
            if (auto* found = firstKeyView(*sub)) return found;
        return nullptr;
    };
    if (contentView_)
        if (auto* view = firstKeyView(*contentView_)) makeFirstResponder(view);
}

void Window::selectKeyViewFollowingView(View& view) {
    selectKeyView(view, true);
}

void Window::selectKeyViewPrecedingView(View& view) {
    selectKeyView(view, false);
}

void Window::selectKeyView(View& from, bool forward) {
    requireMainThread("Window::selectKeyView");
    if (from.window() != this || !contentView_) return;
    std::vector<View*> loop;
    std::function<void(View&)> collect = [&](View& v) {
        if (v.isHidden()) return;
        if (&v == &from ||
            (&v != contentView_.get() && (v.canBecomeKeyView() || v.hasKeyViewsInside())))
            loop.push_back(&v);
        for (auto& sub : v.subviews())
            collect(*sub);
    };
    collect(*contentView_);
    const auto at = std::find(loop.begin(), loop.end(), &from);
    if (at == loop.end()) return;
    const auto keepAlive = from.shared_from_this();
    auto takes = [forward, this](View& v) {
        return v.hasKeyViewsInside() ? v.selectKeyViewInside(forward) : makeFirstResponder(&v);
    };
    const std::size_t count = loop.size();
    const std::size_t start = static_cast<std::size_t>(at - loop.begin());
    for (std::size_t step = 1; step < count; ++step) {
        const std::size_t i = forward ? (start + step) % count : (start + count - step) % count;
        if (takes(*loop[i])) return;
    }
    takes(from);
}

bool Window::makeFirstResponder(Responder* responder) {
    requireMainThread("Window::makeFirstResponder");
    Responder* current = firstResponder_;
    if (responder == this) responder = nullptr;
    if (current == responder) {
        // As the field editor would: the editing session ends and a new one begins.
        auto* field = dynamic_cast<TextField*>(current);
        if (!field || !field->isEditing()) return true;
        if (!field->resignFirstResponder()) return false;
        firstResponder_ = nullptr;
        if (!field->acceptsFirstResponder() || !field->becomeFirstResponder()) return false;
        firstResponder_ = field;
        return true;
    }
    if (current && !current->resignFirstResponder()) return false;
    firstResponder_ = nullptr;
    if (!responder) return true;
    if (!responder->acceptsFirstResponder() || !responder->becomeFirstResponder()) return false;
    firstResponder_ = responder;
    return true;
}

void Window::display() {
    requireMainThread("Window::display");
    ++displayCount_;
    if (contentView_) {
        contentView_->layoutSubtreeIfNeeded();
        contentView_->display();
    }
}

void Window::displayIfNeeded() {
    requireMainThread("Window::displayIfNeeded");
    if (contentView_) {
        contentView_->layoutSubtreeIfNeeded();
        contentView_->displayIfNeeded();
    }
}

Responder* Window::nextResponder() const {
    if (auto d = delegate.lock()) return dynamic_cast<Responder*>(d.get());
    return nullptr;
}

OwnWindowBridge::OwnWindowSpec Window::windowServerSpec() const {
    OwnWindowBridge::OwnWindowSpec spec;
    spec.title = title;
    spec.frame = frame_;
    spec.level = int(level_);
    spec.alpha = alpha_;
    spec.visible = visible_;
    spec.onAllSpaces = (collectionBehavior & CollectionBehavior::canJoinAllSpaces) != 0;
    spec.moveToActiveSpace = (collectionBehavior & CollectionBehavior::moveToActiveSpace) != 0;
    spec.ignoresMouseEvents = ignoresMouseEvents_;
    spec.minimized = miniaturized_;
    return spec;
}

void Window::syncWithWindowServer() {
    // A window gets its window-server record when it is first ordered in.
    if (!visible_ && !listed_) return;
    OwnWindowBridge::sync(std::uint32_t(number_), windowServerSpec());
    listed_ = true;
}

// --- controllers ------------------------------------------------------------------------------

const std::shared_ptr<View>& ViewController::view() {
    if (!view_) loadView();
    return view_;
}

void WindowController::showWindow(Responder*) {
    requireMainThread("WindowController::showWindow");
    if (window_) window_->makeKeyAndOrderFront();
}

} // namespace platform::ui
