#include "platform/control/ElementPainter.hpp"

#include "platform/control/ControlStyle.hpp"
#include "platform/ui/Image.hpp"
#include "platform/ui/declarative/StepperArrows.hpp"

#include <algorithm>
#include <vector>

namespace platform::ui::declarative {

namespace {

using namespace ControlStyle;

Color colorOfRole(const std::string& role) {
    if (role == "secondary") return Color::secondaryLabelColor();
    if (role == "tertiary") return {0, 0, 0, 0.26, "tertiaryLabelColor"};
    if (role == "accent") return Color::controlAccentColor();
    if (role == "white") return Color::whiteColor();
    return Color::labelColor();
}

PicturePainter::TextStyle textStyle(const Node& n, const std::optional<Color>& foreground) {
    PicturePainter::TextStyle style = styleOf(n.style.font(), colorOfRole(n.style.colorRole));
    if (!n.resolvedEnabled)
        style.color = kDisabledText;
    else if (n.style.color)
        style.color = *n.style.color;
    else if (foreground && n.style.colorRole == "primary")
        style.color = *foreground;
    style.align = n.style.multilineAlignment == "center"     ? PicturePainter::Align::center
                  : n.style.multilineAlignment == "trailing" ? PicturePainter::Align::right
                                                             : PicturePainter::Align::left;
    return style;
}

/// A pop-up's bezel with `title` and the chevron at its right end.
void popUpBox(PicturePainter& p, const CGRect& box, const std::string& title, bool enabled) {
    p.fillRoundedRect(box, 5, kBezel);
    p.strokeRoundedRect(box, 5, kBezelBorder, 1);
    const Color ink = enabled ? Color::controlTextColor() : kDisabledText;
    const double cx = box.maxX() - 10;
    // y down: the chevron's point is below its arms.
    p.strokeLine({cx - 3, box.midY() - 1.5}, {cx, box.midY() + 1.5}, ink, 1.5);
    p.strokeLine({cx, box.midY() + 1.5}, {cx + 3, box.midY() - 1.5}, ink, 1.5);
    PicturePainter::TextStyle style;
    style.color = ink;
    p.text(title, {box.minX() + 8, box.minY(), std::max(0.0, box.width() - 28), box.height()}, style);
}

} // namespace

void ElementPainter::element(const Element& e) {
    if (e.node()) node(*e.node(), std::nullopt);
}

void ElementPainter::node(const Node& n, const std::optional<Color>& foreground) {
    if (n.kind == NodeKind::empty || n.opacity <= 0) return;
    PicturePainter::Scope scope(p_);
    const bool grouped = n.opacity < 1;
    if (grouped) p_.beginGroup();
    // A clip shape covers the element with its padding, its backgrounds and its overlays.
    if (n.clipCornerRadius) {
        const CGRect& f = n.layoutFrame;
        const EdgeInsets& pad = n.padding;
        p_.clipRoundedRect({f.minX() - pad.left, f.minY() - pad.top, f.width() + pad.left + pad.right,
                            f.height() + pad.top + pad.bottom},
                           *n.clipCornerRadius);
    }
    for (const auto& b : n.backgrounds)
        if (b.node()) node(*b.node(), foreground);
    content(n, foreground);
    for (const auto& o : n.overlays)
        if (o.node()) node(*o.node(), foreground);
    if (grouped) p_.endGroup(n.opacity);
}

void ElementPainter::content(const Node& n, const std::optional<Color>& inherited) {
    const CGRect frame = n.layoutFrame;
    std::optional<Color> foreground = inherited;
    switch (n.kind) {
    case NodeKind::text:
        textLines(n, frame, textStyle(n, foreground));
        break;
    case NodeKind::button: {
        const std::string& style = n.buttonStyle;
        if (style != "plain" && style != "borderless" && style != "link") {
            const bool prominent = style == "borderedProminent";
            const Color fill = prominent && n.resolvedEnabled ? n.tint.value_or(Color::controlAccentColor()) : kBezel;
            p_.fillRoundedRect(frame, 5, fill);
            if (!prominent) p_.strokeRoundedRect(frame, 5, kBezelBorder, 1);
            if (prominent) foreground = Color::whiteColor();
        } else if (style == "link") {
            foreground = n.tint.value_or(Color::controlAccentColor());
        }
        // A colour given to the button is its label's.
        if (n.style.color &&
            (style == "plain" || style == "borderless" || style == "link" || style == "automatic"))
            foreground = n.style.color;
        break;
    }
    case NodeKind::textField: {
        const bool plain = n.textFieldStyle == "plain";
        if (!plain) {
            const double radius = n.textFieldStyle == "roundedBorder" ? 5 : 0;
            p_.fillRoundedRect(frame, radius, Color::textBackgroundColor());
            p_.strokeRoundedRect(frame, radius, kBezelBorder, 1);
        }
        const std::string value = n.getText ? n.getText() : std::string();
        PicturePainter::TextStyle style;
        style.color = !n.resolvedEnabled ? kDisabledText
                      : value.empty()    ? Color::secondaryLabelColor()
                                         : Color::labelColor();
        const double inset = plain ? 0 : std::min(4.0, frame.width() / 2);
        p_.text(value.empty() ? n.placeholder : value, frame.insetBy(inset, 0), style);
        break;
    }
    case NodeKind::picker: {
        std::string selected;
        const std::string tag = n.getSelection ? n.getSelection() : std::string();
        for (const auto& option : n.options)
            if (option.tag == tag) selected = option.title;
        CGRect box = frame;
        if (!n.labelHidden && !n.text.empty()) {
            PicturePainter::TextStyle label;
            label.color = n.resolvedEnabled ? Color::labelColor() : kDisabledText;
            const double w = std::min(frame.width() / 2, p_.textWidth(n.text, label) + 8);
            p_.text(n.text, {frame.minX(), frame.minY(), w, frame.height()}, label);
            box = {frame.minX() + w, frame.minY(), frame.width() - w, frame.height()};
        }
        popUpBox(p_, box, selected, n.resolvedEnabled);
        break;
    }
    case NodeKind::stepper: {
        PicturePainter::TextStyle label;
        label.color = n.resolvedEnabled ? Color::labelColor() : kDisabledText;
        // The stepper's bezel, split in an up arrow over a down arrow.
        const CGRect box = StepperArrows::bezel(frame);
        p_.text(n.text, {frame.minX(), frame.minY(), frame.width() - box.width() - 4, frame.height()}, label);
        p_.fillRoundedRect(box, 4, kBezel);
        p_.strokeRoundedRect(box, 4, kBezelBorder, 1);
        p_.strokeLine({box.minX() + 2, box.midY()}, {box.maxX() - 2, box.midY()}, kBezelBorder, 1);
        const Color ink = n.resolvedEnabled ? Color::controlTextColor() : kDisabledText;
        const double cx = box.midX(), half = std::min(3.0, box.width() / 2 - 1);
        // y down: the up arrow's point is above its arms, the down arrow's below.
        p_.strokeLine({cx - half, box.minY() + 7.5}, {cx, box.minY() + 4.5}, ink, 1.2);
        p_.strokeLine({cx, box.minY() + 4.5}, {cx + half, box.minY() + 7.5}, ink, 1.2);
        p_.strokeLine({cx - half, box.maxY() - 7.5}, {cx, box.maxY() - 4.5}, ink, 1.2);
        p_.strokeLine({cx, box.maxY() - 4.5}, {cx + half, box.maxY() - 7.5}, ink, 1.2);
        break;
    }
    case NodeKind::progress: {
        const CGRect track{frame.minX(), frame.midY() - 3, frame.width(), 6};
        if (n.progressValue) {
            p_.fillRoundedRect(track, 3, rgb(220, 220, 220));
            const double fraction = std::clamp(*n.progressValue, 0.0, 1.0);
            p_.fillRoundedRect({track.minX(), track.minY(), track.width() * fraction, track.height()}, 3,
                               Color::controlAccentColor());
        } else {
            const double d = std::min({frame.width(), frame.height(), 16.0});
            p_.strokeEllipse({frame.midX() - d / 2, frame.midY() - d / 2, d, d}, rgb(150, 150, 150), 2);
        }
        break;
    }
    case NodeKind::shape:
        shape(n, frame);
        break;
    case NodeKind::color:
        p_.fillRect(frame, n.color);
        break;
    case NodeKind::image:
        if (auto image = Image::named(n.imageName)) p_.image(*image, frame);
        break;
    case NodeKind::divider:
        if (frame.width() >= frame.height())
            p_.strokeLine({frame.minX(), frame.midY()}, {frame.maxX(), frame.midY()}, rgb(210, 210, 210), 1);
        else
            p_.strokeLine({frame.midX(), frame.minY()}, {frame.midX(), frame.maxY()}, rgb(210, 210, 210), 1);
        break;
    case NodeKind::webView: {
        p_.fillRect(frame, Color::whiteColor());
        p_.strokeRect(frame.insetBy(0.5, 0.5), kBezelBorder, 1);
        PicturePainter::TextStyle style;
        style.size = 11;
        style.color = Color::secondaryLabelColor();
        style.centeredVertically = false;
        p_.text(n.url, frame.insetBy(std::min(6.0, frame.width() / 2), std::min(6.0, frame.height() / 2)), style);
        break;
    }
    default:
        break;
    }
    // Children in z order; equal z keeps the order of the tree. An element that clips its
    // content (a scroll view, a stack too small for it) shows them only inside its frame.
    std::vector<const Node*> children;
    for (const auto& c : n.children)
        if (c.node()) children.push_back(c.node().get());
    std::stable_sort(children.begin(), children.end(),
                     [](const Node* a, const Node* b) { return a->zIndex < b->zIndex; });
    {
        PicturePainter::Scope clip(p_);
        if (n.clipsContent) p_.clipRoundedRect(frame, 0);
        for (const Node* c : children)
            node(*c, foreground);
    }
    if (n.kind == NodeKind::scroll) scrollIndicator(n);
}

void ElementPainter::textLines(const Node& n, const CGRect& frame, const PicturePainter::TextStyle& style) {
    // The lines the layout broke the text into, one under the other, the block centred in the
    // frame; a text the layout has not seen is one line.
    if (n.textLines.empty() || n.textLineHeight <= 0) {
        p_.text(n.text, frame, style);
        return;
    }
    const double height = n.textLineHeight;
    double top = frame.midY() - height * double(n.textLines.size()) / 2;
    for (const auto& line : n.textLines) {
        p_.text(line, {frame.minX(), top, frame.width(), height}, style);
        top += height;
    }
}

void ElementPainter::scrollIndicator(const Node& n) {
    // A bar along the trailing (bottom) edge as long as the shown part is of the content, where
    // the shown part lies in it.
    if (!n.showsIndicators || n.children.empty()) return;
    const CGRect frame = n.layoutFrame;
    const CGRect content = n.children[0].node()->layoutFrame;
    const bool vertical = n.scrollVertical;
    const double shown = vertical ? frame.height() : frame.width();
    const double whole = vertical ? content.height() : content.width();
    if (whole <= shown + 0.5 || shown <= 0) return;
    const double length = std::max(20.0, shown * shown / whole);
    const double at = (shown - length) * std::clamp(n.scrollOffset / (whole - shown), 0.0, 1.0);
    const CGRect bar = vertical ? CGRect{frame.maxX() - 7, frame.minY() + at, 5, length}
                                : CGRect{frame.minX() + at, frame.maxY() - 7, length, 5};
    p_.fillRoundedRect(bar, 2.5, rgb(128, 128, 128, 0.5));
}

void ElementPainter::shape(const Node& n, const CGRect& frame) {
    cairo_t* cr = p_.context();
    auto addOutline = [&](const CGRect& r) {
        cairo_new_path(cr);
        if (n.shapeKind == "roundedRect") {
            p_.addRoundedRect(r, n.cornerRadius);
        } else if (n.shapeKind == "capsule") {
            p_.addRoundedRect(r, std::min(r.width(), r.height()) / 2);
        } else if (n.shapeKind == "circle") {
            const double d = std::min(r.width(), r.height());
            p_.addEllipse({r.midX() - d / 2, r.midY() - d / 2, d, d});
        } else if (n.shapeKind == "path") {
            if (!n.pathBuilder) return;
            cairo_save(cr);
            cairo_translate(cr, frame.minX(), frame.minY());
            p_.addPath(n.pathBuilder(frame.size));
            cairo_restore(cr);
        } else {
            cairo_rectangle(cr, r.minX(), r.minY(), r.width(), r.height());
        }
    };
    // A shape with neither fill nor stroke fills with the primary colour.
    const std::optional<Color> fill = n.fill ? n.fill : (n.stroke ? std::nullopt : std::optional(Color::labelColor()));
    if (fill && fill->alpha > 0) {
        addOutline(frame);
        p_.setColor(*fill);
        cairo_fill(cr);
    }
    if (n.stroke && n.stroke->lineWidth > 0 && n.stroke->color.alpha > 0) {
        const StrokeStyle& s = *n.stroke;
        const double inset = s.inset ? s.lineWidth / 2 : 0;
        addOutline(frame.insetBy(inset, inset).isNull() ? frame : frame.insetBy(inset, inset));
        p_.setColor(s.color);
        cairo_set_line_width(cr, s.lineWidth);
        std::vector<double> dashes;
        for (double d : s.dash)
            if (d > 0) dashes.push_back(d);
        cairo_set_dash(cr, dashes.data(), static_cast<int>(dashes.size()), 0);
        cairo_stroke(cr);
        cairo_set_dash(cr, nullptr, 0, 0);
    }
}

} // namespace platform::ui::declarative
