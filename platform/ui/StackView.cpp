#include "platform/ui/StackView.hpp"

#include <algorithm>

namespace platform::ui {

std::shared_ptr<StackView> StackView::withViews(const std::vector<std::shared_ptr<View>>& views) {
    auto s = std::make_shared<StackView>();
    for (auto& v : views)
        s->addArrangedSubview(v);
    return s;
}

void StackView::addArrangedSubview(const std::shared_ptr<View>& view) {
    insertArrangedSubview(view, arranged_.size());
}

void StackView::insertArrangedSubview(const std::shared_ptr<View>& view, size_t index) {
    if (!view) return;
    removeArrangedSubview(view);
    if (view->superview() != this) addSubview(view);
    arranged_.insert(arranged_.begin() + static_cast<long>(std::min(index, arranged_.size())), view);
    setNeedsLayout(true);
}

void StackView::removeArrangedSubview(const std::shared_ptr<View>& view) {
    arranged_.erase(std::remove(arranged_.begin(), arranged_.end(), view), arranged_.end());
    setNeedsLayout(true);
}

Size StackView::fittingSize() const {
    double along = 0, across = 0;
    int count = 0;
    bool vertical = orientation == UserInterfaceOrientation::vertical;
    for (auto& v : arranged_) {
        if (detachesHiddenViews && v->isHidden()) continue;
        // Only views attached to this stack take room.
        if (v->superview() != this) continue;
        Size s = v->fittingSize();
        along += vertical ? s.height : s.width;
        across = std::max(across, vertical ? s.width : s.height);
        ++count;
    }
    if (count > 1) along += spacing * (count - 1);
    Size s =
        vertical
            ? Size{across + edgeInsets.left + edgeInsets.right, along + edgeInsets.top + edgeInsets.bottom}
            : Size{along + edgeInsets.left + edgeInsets.right, across + edgeInsets.top + edgeInsets.bottom};
    if (widthConstraint) s.width = *widthConstraint;
    if (heightConstraint) s.height = *heightConstraint;
    if (minHeightConstraint) s.height = std::max(s.height, *minHeightConstraint);
    return s;
}

void StackView::layout() {
    bool vertical = orientation == UserInterfaceOrientation::vertical;
    double innerW = frame().width() - edgeInsets.left - edgeInsets.right;
    double innerH = frame().height() - edgeInsets.top - edgeInsets.bottom;
    double cursor = vertical ? frame().height() - edgeInsets.top : edgeInsets.left;
    std::size_t attached = 0;
    for (auto& v : arranged_)
        if (!(detachesHiddenViews && v->isHidden()) && v->superview() == this) ++attached;
    for (auto& v : arranged_) {
        if ((detachesHiddenViews && v->isHidden()) || v->superview() != this) continue;
        Size s = v->fittingSize();
        // A vertical stack's only view, with no height of its own and no subviews to size it (a
        // web view made with a zero frame), fills the stack's height, as its constraints to both
        // ends give it.
        if (vertical && attached == 1 && v->subviews().empty() && v->intrinsicContentSize().height < 0 &&
            !v->heightConstraint)
            s.height = std::max(s.height, innerH);
        // A view with neither a width nor a width of its own (a web view made with a zero frame)
        // takes the width of a vertical stack, as a weak constraint to its far edge gives it.
        if (vertical && s.width <= 0 && v->intrinsicContentSize().width < 0 && !v->widthConstraint)
            s.width = std::max(0.0, innerW);
        Rect f;
        if (vertical) {
            double x = edgeInsets.left;
            if (alignment == LayoutAttribute::centerX)
                x += (innerW - s.width) / 2;
            else if (alignment == LayoutAttribute::trailing || alignment == LayoutAttribute::right)
                x += innerW - s.width;
            else if (alignment == LayoutAttribute::width)
                s.width = innerW;
            cursor -= s.height;
            f = {x, cursor, s.width, s.height};
            cursor -= spacing;
        } else {
            double y = edgeInsets.bottom;
            if (alignment == LayoutAttribute::centerY)
                y += (innerH - s.height) / 2;
            else if (alignment == LayoutAttribute::top)
                y += innerH - s.height;
            else if (alignment == LayoutAttribute::height)
                s.height = innerH;
            f = {cursor, y, s.width, s.height};
            cursor += s.width + spacing;
        }
        v->setFrame(f);
        v->setNeedsLayout(true);
    }
}

} // namespace platform::ui
