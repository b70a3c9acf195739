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
           n.kind == NodeKind::group || n.kind == NodeKind::component || n.kind == NodeKind::labeledContent ||
           n.kind == NodeKind::modified;
}

/// The axis of a stack's children: vertical for vertical stacks and groups, horizontal for
/// horizontal stacks and labelled rows, none for the rest.
std::optional<bool> childAxis(const Node& n) {
    if (n.kind == NodeKind::vstack || n.kind == NodeKind::group) return true;
    if (n.kind == NodeKind::hstack || n.kind == NodeKind::labeledContent) return false;
    return std::nullopt;
}

/// Whether the element takes the room it is offered along an axis (`vertical`) rather than a size
/// of its own. `stackVertical` is the axis of the stack that holds it: a spacer grows only along
/// that axis, so a row with a spacer is as tall as its content.
bool flexible(const Node& n, bool vertical, std::optional<bool> stackVertical = std::nullopt) {
    if (n.frame) {
        auto fixed = vertical ? n.frame->height : n.frame->width;
        auto mx = vertical ? n.frame->maxHeight : n.frame->maxWidth;
        if (fixed) return false;
        if (mx && std::isinf(*mx)) return true;
    }
    if (n.aspectFit) return true;
    switch (n.kind) {
    case NodeKind::spacer:
        return !stackVertical || *stackVertical == vertical;
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
            if (flexible(*c.node(), vertical, childAxis(n))) return true;
    return false;
}

/// Whether a horizontal stack may make the element narrower than it would like: a text (it wraps
/// or is cut short) and what holds one, unless a fixed width holds it.
bool compressible(const Node& n) {
    if (n.frame && n.frame->width) return false;
    if (n.kind == NodeKind::text) return true;
    if (isStack(n) || n.kind == NodeKind::button)
        for (auto& c : n.children)
            if (compressible(*c.node())) return true;
    return false;
}

double textScale(const TextStyle& s) {
    if (s.fontRole == "system" && s.fontSize > 0) return s.fontSize / 13.0;
    if (s.fontRole == "caption" || s.fontRole == "footnote") return 10.0 / 13.0;
    if (s.fontRole == "headline" || s.fontRole == "title") return 1.1;
    return 1;
}

/// A spacer fills the share of its stack's axis it was given (and nothing across it); `size` is
/// what it measured, padding included. Other elements keep their size.
Size spread(Node& n, Size size, double share, bool vertical) {
    if (n.kind != NodeKind::spacer || !std::isfinite(share)) return size;
    const double pad = vertical ? n.padding.top + n.padding.bottom : n.padding.left + n.padding.right;
    const double length = std::max(0.0, share - pad);
    (vertical ? n.layoutFrame.size.height : n.layoutFrame.size.width) = length;
    (vertical ? size.height : size.width) = length + pad;
    return size;
}

// A vertical stack gives its fixed children what they ask within the offered width and shares
// the height left among its flexible ones.
Size verticalStackMeasure(Node& n, Size p) {
    const double spacing = n.spacing.value_or(8);
    double fixedAlong = 0, across = 0;
    std::vector<Node*> flex;
    int count = 0;
    for (auto& c : n.children) {
        Node& child = *c.node();
        if (child.kind == NodeKind::empty) continue;
        ++count;
        if (flexible(child, true, true)) {
            flex.push_back(&child);
            continue;
        }
        const Size s = measure(child, p);
        fixedAlong += s.height;
        across = std::max(across, s.width);
    }
    const double gaps = count > 1 ? spacing * (count - 1) : 0;
    const double room = p.height - fixedAlong - gaps;
    const double share = flex.empty() ? 0 : std::max(0.0, finiteOr(room, 0) / double(flex.size()));
    double along = fixedAlong + gaps;
    for (auto* child : flex) {
        const Size s = spread(*child, measure(*child, {p.width, share}), share, true);
        along += s.height;
        across = std::max(across, s.width);
    }
    return {across, along};
}

// A horizontal stack gives each fixed child its fitting width and shares the width left among its
// flexible ones. When the fixed children alone are wider than the room, the flexible ones get
// nothing, then the texts give up width in proportion to theirs; fixed-size children are never
// made narrower. What still does not fit is clipped at the stack's edge when it is placed.
Size horizontalStackMeasure(Node& n, Size p) {
    const double spacing = n.spacing.value_or(8);
    struct Item {
        Node* node;
        bool flex;
        Size size;
    };
    std::vector<Item> items;
    for (auto& c : n.children) {
        Node& child = *c.node();
        if (child.kind == NodeKind::empty) continue;
        items.push_back({&child, flexible(child, false, false), {}});
    }
    const double gaps = items.size() > 1 ? spacing * double(items.size() - 1) : 0;
    double fixedAlong = 0;
    std::size_t flexCount = 0;
    for (auto& item : items) {
        if (item.flex) {
            ++flexCount;
            continue;
        }
        item.size = measure(*item.node, {inf, p.height});
        fixedAlong += item.size.width;
    }
    const double room = p.width - fixedAlong - gaps;
    if (!std::isfinite(p.width) || room >= 0) {
        const double share = flexCount == 0 ? 0 : std::max(0.0, finiteOr(room, 0) / double(flexCount));
        for (auto& item : items)
            if (item.flex)
                item.size = spread(*item.node, measure(*item.node, {share, p.height}), share, false);
    } else {
        double over = -room;
        for (auto& item : items)
            if (item.flex) {
                item.size = measure(*item.node, {0, p.height});
                over += item.size.width;
            }
        double compressibleWidth = 0;
        for (const auto& item : items)
            if (!item.flex && compressible(*item.node)) compressibleWidth += item.size.width;
        if (compressibleWidth > 0)
            for (auto& item : items) {
                if (item.flex || !compressible(*item.node)) continue;
                const double width = item.size.width;
                item.size =
                    measure(*item.node, {std::max(0.0, width - over * width / compressibleWidth), p.height});
            }
    }
    double along = gaps, across = 0;
    for (const auto& item : items) {
        along += item.size.width;
        across = std::max(across, item.size.height);
    }
    return {along, across};
}

/// A stack's size: what its children need, at most what it is offered (the rest is clipped).
Size stackMeasure(Node& n, Size p, bool vertical) {
    Size s = vertical ? verticalStackMeasure(n, p) : horizontalStackMeasure(n, p);
    if (std::isfinite(p.width)) s.width = std::min(s.width, std::max(0.0, p.width));
    if (std::isfinite(p.height)) s.height = std::min(s.height, std::max(0.0, p.height));
    return s;
}

Size contentSize(Node& n, Size p) {
    switch (n.kind) {
    case NodeKind::text: {
        // The text is set in lines of its width: the widest line's, or all that is offered when
        // it wraps.
        const Font font = n.style.font();
        const std::size_t limit = n.style.lineLimit ? std::size_t(std::max(1, *n.style.lineLimit)) : 0;
        const double width = std::isfinite(p.width) ? std::max(0.0, p.width) : inf;
        n.textLines = TextMetrics::lines(n.text, width, font, limit);
        n.textLineHeight = 16 * textScale(n.style);
        double w = 0;
        for (const auto& line : n.textLines)
            w = std::max(w, TextMetrics::width(line, font));
        const bool wrapped = n.textLines.size() > 1 || n.textLines.front() != n.text;
        if (std::isfinite(width) && wrapped && n.text.find('\n') == std::string::npos) w = width;
        return {std::isfinite(width) ? std::min(w, width) : w, n.textLineHeight * double(n.textLines.size())};
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
        if (!n.children.empty())
            measure(*n.children[0].node(), n.scrollVertical ? Size{p.width, inf} : Size{inf, p.height});
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
    case NodeKind::modified:
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

/// A wrapped control in a fixed frame is held at that size: the control under `n` (through the
/// views that wrap it) takes the frame's fixed width and height, `s` being `n`'s framed size.
void holdControl(Node& n, Size s) {
    Node* c = &n;
    while ((c->kind == NodeKind::component || c->kind == NodeKind::modified) && !c->children.empty())
        c = c->children[0].node().get();
    if (c == &n || c->kind != NodeKind::representable) return;
    if (n.frame->width)
        c->layoutFrame.size.width = std::max(0.0, s.width - c->padding.left - c->padding.right);
    if (n.frame->height)
        c->layoutFrame.size.height = std::max(0.0, s.height - c->padding.top - c->padding.bottom);
}

/// What clips an element as it is placed: the part of the host that shows through its clipping
/// ancestors (host space), and the visible part of the scroll views that hold it, if any.
struct Clip {
    Rect visible;
    std::optional<Rect> scroll;
};

/// A rectangle too large to clip anything.
const Rect unclipped{-1e9, -1e9, 2e9, 2e9};

/// How far a frame may stand out of the part that shows and still count as inside it (points).
constexpr double kSlack = 0.5;

bool holds(const Rect& outer, const Rect& inner) {
    return inner.minX() >= outer.minX() - kSlack && inner.maxX() <= outer.maxX() + kSlack &&
           inner.minY() >= outer.minY() - kSlack && inner.maxY() <= outer.maxY() + kSlack;
}

/// The part of `frame` inside `visible`; an element without width or height shows where its
/// origin shows.
Rect visiblePart(const Rect& frame, const Rect& visible) {
    if (frame.width() == 0 || frame.height() == 0) return holds(visible, frame) ? frame : Rect::null();
    return frame.intersection(visible);
}

/// The clip for the children of an element that clips them to its frame.
Clip clippedTo(const Clip& clip, const Rect& frame) {
    Clip c = clip;
    c.visible = clip.visible.intersection(frame);
    return c;
}

void placeNode(Node& n, Rect rect, const Clip& clip);

/// Places a stack's children one after another along its axis. Content longer than the stack
/// starts at its leading (top) edge and is clipped at the stack's frame.
void placeStack(Node& n, const Rect& frame, const Clip& clip) {
    const bool vertical = n.kind != NodeKind::hstack && n.kind != NodeKind::labeledContent;
    const double spacing = n.spacing.value_or(8);
    const Alignment inside = n.frame ? n.frame->alignment : Alignment::center;
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
    const double length = vertical ? frame.height() : frame.width();
    Rect content = frame;
    if (along > length + kSlack && n.frame) {
        // A frame centres what it holds, overflowing it when it is larger (unclipped).
        content = aligned(vertical ? Size{frame.size.width, along} : Size{along, frame.size.height}, frame, inside);
    } else if (along > length + kSlack) {
        n.clipsContent = true;
        content = vertical ? Rect{frame.minX(), frame.minY(), frame.width(), along}
                           : Rect{frame.minX(), frame.minY(), along, frame.height()};
    } else if (n.frame) {
        content =
            aligned(vertical ? Size{frame.size.width, along} : Size{along, frame.size.height}, frame, inside);
    }
    const Clip childClip = n.clipsContent ? clippedTo(clip, frame) : clip;
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
        placeNode(child, slot, childClip);
    }
}

/// Places a scroll view's content scrolled by its offset (limited to the content's overhang) and
/// clips it to the scroll view's frame.
void placeScroll(Node& n, const Rect& frame, const Clip& clip) {
    n.clipsContent = true;
    if (n.children.empty()) return;
    Node& child = *n.children[0].node();
    const Size outer = paddedSize(child);
    const double overhang =
        std::max(0.0, n.scrollVertical ? outer.height - frame.height() : outer.width - frame.width());
    n.scrollOffset = std::isnan(n.scrollOffset) ? 0 : std::clamp(n.scrollOffset, 0.0, overhang);
    Clip childClip = clippedTo(clip, frame);
    childClip.scroll = n.visibleFrame;
    if (clip.scroll) childClip.scroll = clip.scroll->intersection(n.visibleFrame);
    if (n.scrollVertical)
        placeNode(
            child,
            {frame.minX(), frame.minY() - n.scrollOffset, std::max(frame.width(), outer.width), outer.height},
            childClip);
    else
        placeNode(child,
                  {frame.minX() - n.scrollOffset, frame.minY(), outer.width,
                   std::max(frame.height(), outer.height)},
                  childClip);
}

void placeNode(Node& n, Rect rect, const Clip& clip) {
    EdgeInsets pad = n.padding;
    Rect inner{rect.origin.x + pad.left, rect.origin.y + pad.top, rect.size.width - pad.left - pad.right,
               rect.size.height - pad.top - pad.bottom};
    Size own = n.layoutFrame.size;
    // The element's own frame, aligned inside what it was given.
    Rect frame = aligned(own, inner, Alignment::center);
    n.layoutFrame = frame;
    n.clipsContent = false;
    n.visibleFrame = visiblePart(frame, clip.visible);
    n.scrolledOut = clip.scroll && !holds(*clip.scroll, frame);
    Rect outer{frame.origin.x - pad.left, frame.origin.y - pad.top, frame.size.width + pad.left + pad.right,
               frame.size.height + pad.top + pad.bottom};
    for (auto& b : n.backgrounds) {
        measure(*b.node(), outer.size);
        placeNode(*b.node(), outer, clip);
    }
    for (auto& o : n.overlays) {
        measure(*o.node(), outer.size);
        placeNode(*o.node(), outer, clip);
    }
    Alignment inside = n.frame ? n.frame->alignment : Alignment::center;
    switch (n.kind) {
    case NodeKind::vstack:
    case NodeKind::group:
    case NodeKind::hstack:
    case NodeKind::labeledContent:
        placeStack(n, frame, clip);
        break;
    case NodeKind::zstack:
        for (auto& c : n.children) {
            Node& child = *c.node();
            placeNode(child, aligned(paddedSize(child), frame, n.alignment), clip);
        }
        break;
    case NodeKind::component:
    case NodeKind::button:
    case NodeKind::modified:
        if (!n.children.empty()) {
            // Content larger than a frame overflows it, centred as the frame aligns it.
            Node& child = *n.children[0].node();
            placeNode(child, aligned(paddedSize(child), frame, inside), clip);
        }
        break;
    case NodeKind::scroll:
        placeScroll(n, frame, clip);
        break;
    case NodeKind::canvas:
        for (auto& c : n.children) {
            Node& child = *c.node();
            if (child.placement) {
                Rect r = *child.placement;
                Rect abs{frame.origin.x + r.origin.x, frame.origin.y + r.origin.y, r.size.width,
                         r.size.height};
                measure(child, abs.size);
                placeNode(child, abs, clip);
            } else {
                measure(child, frame.size);
                placeNode(child, frame, clip);
            }
        }
        break;
    default:
        break;
    }
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
    if (n.frame && (n.frame->width || n.frame->height)) holdControl(n, s);
    Size outer{s.width + pad.left + pad.right, s.height + pad.top + pad.bottom};
    n.layoutFrame.size = s;
    return outer;
}

void place(Node& n, Rect rect) {
    placeNode(n, rect, {unclipped, std::nullopt});
}

void run(Node& root, Rect bounds) {
    measure(root, bounds.size);
    placeNode(root, bounds, {bounds, std::nullopt});
}

} // namespace platform::ui::declarative::Layout
