#include "platform/ui/declarative/Layout.hpp"

#include "platform/ui/TextMetrics.hpp"
#include "platform/ui/View.hpp"

#include <algorithm>
#include <cmath>
#include <optional>

namespace platform::ui::declarative::Layout {

namespace {
constexpr double inf = FrameSpec::infinity;
double finiteOr(double v, double fallback) {
    return std::isfinite(v) ? v : fallback;
}

/// The size a laid-out element takes with its padding.
Size paddedSize(const Node& n) {
    const Size& s = n.layoutFrame.size;
    return {s.width + n.padding.left + n.padding.right, s.height + n.padding.top + n.padding.bottom};
}

/// One side of a frame modifier applied to a content length `length`: a fixed length wins; else an
/// infinite maximum grows it to the `offered` length (when finite), a finite maximum caps it, and
/// the minimum raises it.
double framed(double length, std::optional<double> fixed, std::optional<double> minimum,
              std::optional<double> maximum, double offered) {
    if (fixed) return *fixed;
    if (maximum && std::isinf(*maximum))
        length = std::max(length, finiteOr(offered, length));
    else if (maximum)
        length = std::min(length, *maximum);
    if (minimum) length = std::max(length, *minimum);
    return length;
}

bool isStack(const Node& n) {
    return n.kind == NodeKind::vstack || n.kind == NodeKind::hstack || n.kind == NodeKind::zstack ||
           n.kind == NodeKind::group || n.kind == NodeKind::component || n.kind == NodeKind::labeledContent;
}

bool flexible(const Node& n, bool vertical) {
    if (n.frame) {
        auto fixed = vertical ? n.frame->height : n.frame->width;
        auto mx = vertical ? n.frame->maxHeight : n.frame->maxWidth;
        if (fixed) return false;
        if (mx && std::isinf(*mx)) return true;
    }
    if (n.aspectFit) return true;
    switch (n.kind) {
    case NodeKind::spacer:
        return true;
    case NodeKind::color:
    case NodeKind::shape:
    case NodeKind::canvas:
    case NodeKind::scroll:
    case NodeKind::webView:
        return true;
    case NodeKind::divider:
        return !vertical;
    case NodeKind::textField:
        return !vertical;
    default:
        break;
    }
    if (isStack(n))
        for (auto& c : n.children)
            if (flexible(*c.node(), vertical)) return true;
    return false;
}

double textScale(const TextStyle& s) {
    if (s.fontRole == "system" && s.fontSize > 0) return s.fontSize / 13.0;
    if (s.fontRole == "caption" || s.fontRole == "footnote") return 10.0 / 13.0;
    if (s.fontRole == "headline" || s.fontRole == "title") return 1.1;
    return 1;
}

Size stackMeasure(Node& n, Size p, bool vertical) {
    double spacing = n.spacing.value_or(8);
    double fixedAlong = 0, across = 0;
    std::vector<Node*> flex;
    int count = 0;
    for (auto& c : n.children) {
        Node& child = *c.node();
        if (child.kind == NodeKind::empty) continue;
        ++count;
        if (flexible(child, vertical)) {
            flex.push_back(&child);
            continue;
        }
        Size s = measure(child, p);
        fixedAlong += vertical ? s.height : s.width;
        across = std::max(across, vertical ? s.width : s.height);
    }
    double gaps = count > 1 ? spacing * (count - 1) : 0;
    double room = (vertical ? p.height : p.width) - fixedAlong - gaps;
    double share = flex.empty() ? 0 : std::max(0.0, finiteOr(room, 0) / double(flex.size()));
    double along = fixedAlong + gaps;
    for (auto* child : flex) {
        Size offer = vertical ? Size{p.width, share} : Size{share, p.height};
        Size s = measure(*child, offer);
        along += vertical ? s.height : s.width;
        across = std::max(across, vertical ? s.width : s.height);
    }
    return vertical ? Size{across, along} : Size{along, across};
}

Size contentSize(Node& n, Size p) {
    switch (n.kind) {
    case NodeKind::text: {
        double k = textScale(n.style);
        double w = TextMetrics::width(n.text, n.style.font());
        double lines = 1;
        if (std::isfinite(p.width) && p.width > 0 && w > p.width) {
            lines = std::ceil(w / p.width);
            if (n.style.lineLimit) lines = std::min(lines, double(*n.style.lineLimit));
            w = p.width;
        }
        return {w, 16 * k * lines};
    }
    case NodeKind::button: {
        Size label = n.children.empty() ? Size{} : measure(*n.children[0].node(), p);
        if (n.buttonStyle == "plain") return label;
        return {label.width + 16, std::max(label.height + 6, 22.0)};
    }
    case NodeKind::textField:
        return {finiteOr(p.width, 120), 22};
    case NodeKind::stepper:
        return {TextMetrics::width(n.text, Font{}) + 44, 22};
    case NodeKind::picker:
        return {(n.labelHidden ? 0 : TextMetrics::width(n.text, Font{}) + 8) + 120, 22};
    case NodeKind::progress:
        return {20, 20};
    case NodeKind::divider:
        return {finiteOr(p.width, 0), 1};
    case NodeKind::spacer:
        return {0, 0};
    case NodeKind::image:
        return {16, 16};
    case NodeKind::color:
    case NodeKind::shape:
    case NodeKind::canvas:
    case NodeKind::webView:
        return {finiteOr(p.width, 10), finiteOr(p.height, 10)};
    case NodeKind::scroll: {
        if (!n.children.empty()) measure(*n.children[0].node(), {p.width, inf});
        return {finiteOr(p.width, 100), finiteOr(p.height, 100)};
    }
    case NodeKind::vstack:
    case NodeKind::group:
        return stackMeasure(n, p, true);
    case NodeKind::hstack:
    case NodeKind::labeledContent:
        return stackMeasure(n, p, false);
    case NodeKind::zstack: {
        Size s;
        for (auto& c : n.children) {
            Size cs = measure(*c.node(), p);
            s.width = std::max(s.width, cs.width);
            s.height = std::max(s.height, cs.height);
        }
        return s;
    }
    case NodeKind::component:
        return n.children.empty() ? Size{} : measure(*n.children[0].node(), p);
    case NodeKind::representable:
        return n.nativeView ? n.nativeView->fittingSize() : Size{};
    case NodeKind::empty:
        return {};
    }
    return {};
}

Rect aligned(Size s, Rect in, Alignment a) {
    double x = in.origin.x + (in.size.width - s.width) / 2, y = in.origin.y + (in.size.height - s.height) / 2;
    if (a == Alignment::leading || a == Alignment::topLeading || a == Alignment::bottomLeading)
        x = in.origin.x;
    if (a == Alignment::trailing || a == Alignment::topTrailing || a == Alignment::bottomTrailing)
        x = in.origin.x + in.size.width - s.width;
    if (a == Alignment::top || a == Alignment::topLeading || a == Alignment::topTrailing) y = in.origin.y;
    if (a == Alignment::bottom || a == Alignment::bottomLeading || a == Alignment::bottomTrailing)
        y = in.origin.y + in.size.height - s.height;
    return {x, y, s.width, s.height};
}
} // namespace

Size measure(Node& n, Size p) {
    EdgeInsets pad = n.padding;
    Size inner{p.width - pad.left - pad.right, p.height - pad.top - pad.bottom};
    inner.width = std::max(0.0, inner.width);
    inner.height = std::max(0.0, inner.height);
    Size offer = inner;
    if (n.frame) {
        if (n.frame->width) offer.width = *n.frame->width;
        if (n.frame->height) offer.height = *n.frame->height;
    }
    Size s = contentSize(n, offer);
    if (n.aspectFit) {
        double r = n.aspectRatio.value_or(s.height > 0 ? s.width / s.height : 1);
        double w = finiteOr(inner.width, 100), h = finiteOr(inner.height, w / r);
        if (w / r <= h)
            s = {w, w / r};
        else
            s = {h * r, h};
    }
    if (n.frame) {
        const auto& f = *n.frame;
        s = {framed(s.width, f.width, f.minWidth, f.maxWidth, inner.width),
             framed(s.height, f.height, f.minHeight, f.maxHeight, inner.height)};
    }
    Size outer{s.width + pad.left + pad.right, s.height + pad.top + pad.bottom};
    n.layoutFrame.size = s;
    return outer;
}

void place(Node& n, Rect rect) {
    EdgeInsets pad = n.padding;
    Rect inner{rect.origin.x + pad.left, rect.origin.y + pad.top, rect.size.width - pad.left - pad.right,
               rect.size.height - pad.top - pad.bottom};
    Size own = n.layoutFrame.size;
    // The element's own frame, aligned inside what it was given.
    Rect frame = aligned(own, inner, Alignment::center);
    n.layoutFrame = frame;
    Rect outer{frame.origin.x - pad.left, frame.origin.y - pad.top, frame.size.width + pad.left + pad.right,
               frame.size.height + pad.top + pad.bottom};
    for (auto& b : n.backgrounds) {
        measure(*b.node(), outer.size);
        place(*b.node(), outer);
    }
    for (auto& o : n.overlays) {
        measure(*o.node(), outer.size);
        place(*o.node(), outer);
    }
    Alignment inside = n.frame ? n.frame->alignment : Alignment::center;
    switch (n.kind) {
    case NodeKind::vstack:
    case NodeKind::group:
    case NodeKind::hstack:
    case NodeKind::labeledContent: {
        bool vertical = n.kind != NodeKind::hstack && n.kind != NodeKind::labeledContent;
        double spacing = n.spacing.value_or(8);
        // Children were sized by the last measure; lay them out along the axis.
        double along = 0;
        int count = 0;
        for (auto& c : n.children) {
            if (c.node()->kind == NodeKind::empty) continue;
            const Size outer = paddedSize(*c.node());
            along += vertical ? outer.height : outer.width;
            ++count;
        }
        if (count > 1) along += spacing * (count - 1);
        Rect content =
            n.frame ? aligned(vertical ? Size{frame.size.width, along} : Size{along, frame.size.height},
                              frame, inside)
                    : frame;
        double cursor = vertical ? content.origin.y : content.origin.x;
        for (auto& c : n.children) {
            Node& child = *c.node();
            if (child.kind == NodeKind::empty) continue;
            const Size outerSize = paddedSize(child);
            Rect slot;
            if (vertical) {
                Rect row{content.origin.x, cursor, content.size.width, outerSize.height};
                Alignment a = n.alignment == Alignment::leading    ? Alignment::leading
                              : n.alignment == Alignment::trailing ? Alignment::trailing
                                                                   : Alignment::center;
                slot = aligned(outerSize, row, a);
                cursor += outerSize.height + spacing;
            } else {
                Rect col{cursor, content.origin.y, outerSize.width, content.size.height};
                // A single line's baseline lies at the same depth under every top edge.
                Alignment a = n.alignment == Alignment::top || n.alignment == Alignment::firstTextBaseline
                                  ? Alignment::top
                              : n.alignment == Alignment::bottom ? Alignment::bottom
                                                                 : Alignment::center;
                slot = aligned(outerSize, col, a);
                cursor += outerSize.width + spacing;
            }
            place(child, slot);
        }
        break;
    }
    case NodeKind::zstack:
        for (auto& c : n.children) {
            Node& child = *c.node();
            place(child, aligned(paddedSize(child), frame, n.alignment));
        }
        break;
    case NodeKind::component:
    case NodeKind::button:
        if (!n.children.empty()) {
            Node& child = *n.children[0].node();
            place(child, aligned(paddedSize(child), frame, inside));
        }
        break;
    case NodeKind::scroll:
        if (!n.children.empty()) {
            Node& child = *n.children[0].node();
            const Size outer = paddedSize(child);
            place(child,
                  {frame.origin.x, frame.origin.y, std::max(frame.size.width, outer.width), outer.height});
        }
        break;
    case NodeKind::canvas:
        for (auto& c : n.children) {
            Node& child = *c.node();
            if (child.placement) {
                Rect r = *child.placement;
                Rect abs{frame.origin.x + r.origin.x, frame.origin.y + r.origin.y, r.size.width,
                         r.size.height};
                measure(child, abs.size);
                place(child, abs);
            } else {
                measure(child, frame.size);
                place(child, frame);
            }
        }
        break;
    default:
        break;
    }
}

void run(Node& root, Rect bounds) {
    measure(root, bounds.size);
    place(root, bounds);
}

} // namespace platform::ui::declarative::Layout
