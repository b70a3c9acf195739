#include "platform/ui/View.hpp"

#include "platform/dispatch/MainThread.hpp"

#include "platform/ui/Window.hpp"

#include <algorithm>

namespace platform::ui {

void View::setFrame(const Rect& frame) {
    requireMainThread("View::setFrame");
    if (frame == frame_) return;
    Size old = frame_.size;
    frame_ = frame;
    if (layer_) layer_->frame = frame;
    if (old != frame.size) {
        // Autoresizing: sizable subviews follow the change of this view's size.
        double dw = frame.size.width - old.width, dh = frame.size.height - old.height;
        for (auto& sub : subviews_) {
            if (!sub->translatesAutoresizingMaskIntoConstraints) continue;
            Rect f = sub->frame();
            if (sub->autoresizingMask & AutoresizingMask::widthSizable) f.size.width += dw;
            if (sub->autoresizingMask & AutoresizingMask::heightSizable) f.size.height += dh;
            sub->setFrame(f);
        }
        needsLayout_ = true;
    }
}

void View::addSubview(const std::shared_ptr<View>& view) {
    requireMainThread("View::addSubview");
    if (!view || view.get() == this) return;
    auto keep = view;
    view->removeFromSuperview();
    view->superview_ = this;
    subviews_.push_back(view);
    if (view->window_ != window_) view->setWindow(window_);
    needsLayout_ = true;
}

void View::removeFromSuperview() {
    requireMainThread("View::removeFromSuperview");
    if (!superview_) return;
    auto self = shared_from_this(); // keep alive until the end of this call
    auto& list = superview_->subviews_;
    list.erase(std::remove_if(list.begin(), list.end(), [this](const auto& v) { return v.get() == this; }),
               list.end());
    superview_->needsLayout_ = true;
    superview_ = nullptr;
    if (window_) setWindow(nullptr);
}

bool View::isHiddenOrHasHiddenAncestor() const {
    for (const View* v = this; v; v = v->superview_)
        if (v->hidden_) return true;
    return false;
}

void View::layoutSubtreeIfNeeded() {
    requireMainThread("View::layoutSubtreeIfNeeded");
    if (needsLayout_) {
        needsLayout_ = false;
        layout();
    }
    auto subs = subviews_;
    for (auto& sub : subs)
        sub->layoutSubtreeIfNeeded();
}

void View::display() {
    requireMainThread("View::display");
    ++displayCount_;
    needsDisplay_ = false;
    for (auto& sub : subviews_)
        sub->display();
}

void View::displayIfNeeded() {
    if (needsDisplay_) {
        display();
        return;
    }
    for (auto& sub : subviews_)
        sub->displayIfNeeded();
}

void View::setWantsLayer(bool v) {
    wantsLayer_ = v;
    if (v && !layer_) {
        layer_ = std::make_shared<Layer>();
        layer_->frame = frame_;
    }
}

void View::pinSubview(const std::shared_ptr<View>& view, EdgeInsets insets) {
    if (view->superview() != this) addSubview(view);
    view->translatesAutoresizingMaskIntoConstraints = false;
    pins_.emplace_back(view, insets);
    needsLayout_ = true;
}

void View::layout() {
    for (auto& [weak, in] : pins_) {
        auto v = weak.lock();
        if (!v || v->superview() != this) continue;
        v->setFrame(
            {in.left, in.bottom, frame_.width() - in.left - in.right, frame_.height() - in.top - in.bottom});
        v->setNeedsLayout(true);
    }
}

Size View::fittingSize() const {
    for (auto& [weak, in] : pins_) {
        auto v = weak.lock();
        if (!v || v->superview() != this) continue;
        Size inner = v->fittingSize();
        Size s{inner.width + in.left + in.right, inner.height + in.top + in.bottom};
        if (widthConstraint) s.width = *widthConstraint;
        if (heightConstraint) s.height = *heightConstraint;
        if (minHeightConstraint) s.height = std::max(s.height, *minHeightConstraint);
        return s;
    }
    Size intrinsic = intrinsicContentSize();
    Size s = frame_.size;
    if (intrinsic.width >= 0) s.width = intrinsic.width;
    if (intrinsic.height >= 0) s.height = intrinsic.height;
    if (widthConstraint) s.width = *widthConstraint;
    if (heightConstraint) s.height = *heightConstraint;
    if (minHeightConstraint) s.height = std::max(s.height, *minHeightConstraint);
    return s;
}

Responder* View::nextResponder() const {
    if (superview_) return superview_;
    if (window_ && window_->contentView().get() == this) return window_;
    return nullptr;
}

View* View::hitTest(Point point) {
    if (hidden_ || !frame_.contains(point)) return nullptr;
    const Point inside{point.x - frame_.origin.x, point.y - frame_.origin.y};
    for (auto it = subviews_.rbegin(); it != subviews_.rend(); ++it)
        if (View* hit = (*it)->hitTest(inside)) return hit;
    return this;
}

void View::scrollWheel(const NSEvent& event) {
    if (superview_) superview_->scrollWheel(event);
}

void View::viewDidChangeEffectiveAppearance() {
    const auto subviews = subviews_; // a view may change the tree while it is told
    for (const auto& sub : subviews)
        sub->viewDidChangeEffectiveAppearance();
}

Point View::locationOfEvent(const NSEvent& event) const {
    Point inWindow = event.locationInWindow;
    if (event.windowNumber == 0 && window_) {
        const Rect frame = window_->frame();
        inWindow = {inWindow.x - frame.origin.x, inWindow.y - frame.origin.y};
    }
    return convertPointFromWindow(inWindow);
}

View* View::findByIdentifier(const std::string& id) {
    if (identifier == id) return this;
    for (auto& sub : subviews_)
        if (auto* found = sub->findByIdentifier(id)) return found;
    return nullptr;
}

void View::setWindow(Window* window) {
    if (window_ == window) return;
    if (window_ && !window && window_->firstResponder() == this) window_->makeFirstResponder(nullptr);
    window_ = window;
    for (auto& sub : subviews_)
        sub->setWindow(window);
    viewDidMoveToWindow();
}

} // namespace platform::ui
