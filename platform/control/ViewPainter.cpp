#include "platform/control/ViewPainter.hpp"

#include "platform/control/ControlStyle.hpp"
#include "platform/control/ElementPainter.hpp"
#include "platform/control/WindowChrome.hpp"
#include "platform/ui/Button.hpp"
#include "platform/ui/PopUpButton.hpp"
#include "platform/ui/SearchField.hpp"
#include "platform/ui/ShapeLayer.hpp"
#include "platform/ui/Slider.hpp"
#include "platform/ui/TextField.hpp"
#include "platform/ui/TextLayer.hpp"
#include "platform/ui/TextMetrics.hpp"
#include "platform/ui/VisualEffectView.hpp"
#include "platform/ui/WKWebView.hpp"
#include "platform/ui/declarative/HostingView.hpp"

#include <algorithm>
#include <cmath>

namespace platform::ui {

namespace {

using namespace ControlStyle;

PicturePainter::Align alignOf(TextAlignment alignment) {
    switch (alignment) {
    case TextAlignment::center:
        return PicturePainter::Align::center;
    case TextAlignment::right:
        return PicturePainter::Align::right;
    default:
        return PicturePainter::Align::left;
    }
}

cairo_line_join_t joinOf(const std::string& join) {
    if (join == "round") return CAIRO_LINE_JOIN_ROUND;
    if (join == "bevel") return CAIRO_LINE_JOIN_BEVEL;
    return CAIRO_LINE_JOIN_MITER;
}

cairo_line_cap_t capOf(const std::string& cap) {
    if (cap == "round") return CAIRO_LINE_CAP_ROUND;
    if (cap == "square") return CAIRO_LINE_CAP_SQUARE;
    return CAIRO_LINE_CAP_BUTT;
}

} // namespace

void ViewPainter::window(const Window& window, const CGRect& frame, double alpha, bool active) {
    if (alpha <= 0 || frame.isEmpty()) return;
    PicturePainter::Scope scope(p_);
    p_.appearance = window.effectiveAppearance();
    const bool grouped = alpha < 1;
    if (grouped) p_.beginGroup();
    const bool titled = (window.styleMask() & StyleMask::titled) != 0;
    {
        PicturePainter::Scope inner(p_);
        if (titled) {
            const std::string title = window.titleVisibility == "hidden" ? std::string() : window.title;
            const unsigned mask = window.styleMask();
            WindowChrome::draw(p_, frame, title, active, window.backgroundColor,
                               {(mask & StyleMask::closable) != 0, (mask & StyleMask::miniaturizable) != 0,
                                (mask & StyleMask::resizable) != 0});
            p_.clipRoundedRect(frame, WindowChrome::cornerRadius);
        } else {
            p_.fillRect(frame, window.backgroundColor);
        }
        if (const auto& content = window.contentView()) {
            const CGRect c = window.contentRectForFrameRect(frame);
            p_.translate(c.minX(), c.minY());
            view(*content);
        }
    }
    if (grouped) p_.endGroup(alpha);
}

void ViewPainter::view(const View& v) {
    if (v.isHidden() || v.alphaValue <= 0) return;
    PicturePainter::Scope scope(p_);
    p_.translate(v.frame().minX(), v.frame().minY());
    const bool grouped = v.alphaValue < 1;
    if (grouped) p_.beginGroup();
    const CGRect bounds = v.bounds();
    const Layer* backing = v.layer().get();
    if (backing && backing->hidden) backing = nullptr;
    {
        PicturePainter::Scope inner(p_);
        if (backing) {
            p_.fillRoundedRect(bounds, backing->cornerRadius, backing->backgroundColor.value_or(Color::clearColor()));
            if (backing->masksToBounds) p_.clipRoundedRect(bounds, backing->cornerRadius);
        }
        control(v);
        if (backing) {
            for (const auto& sub : backing->sublayers())
                if (sub) layer(*sub);
        }
        const auto* host = dynamic_cast<const declarative::HostingView*>(&v);
        if (host) {
            PicturePainter::Scope flipped(p_);
            p_.flip(bounds.height());
            declarative::ElementPainter(p_).element(host->tree());
        }
        for (const auto& sub : v.subviews()) {
            if (!sub) continue;
            // A wrapped control shows only the part its host's layout leaves visible.
            const auto shown = host ? host->visibleRectOfSubview(*sub) : std::nullopt;
            if (shown && shown->isNull()) continue;
            PicturePainter::Scope clip(p_);
            if (shown) p_.clipRoundedRect(*shown, 0);
            view(*sub);
        }
    }
    if (backing && backing->borderWidth > 0)
        p_.strokeRoundedRect(bounds, backing->cornerRadius, backing->borderColor.value_or(Color::blackColor()),
                             backing->borderWidth);
    if (grouped) p_.endGroup(v.alphaValue);
}

void ViewPainter::layer(const Layer& l) {
    if (l.hidden || l.opacity <= 0) return;
    PicturePainter::Scope scope(p_);
    p_.translate(l.frame.minX(), l.frame.minY());
    const bool grouped = l.opacity < 1;
    if (grouped) p_.beginGroup();
    layerContent(l, l.bounds());
    if (grouped) p_.endGroup(l.opacity);
}

void ViewPainter::layerContent(const Layer& l, const CGRect& bounds) {
    {
        PicturePainter::Scope scope(p_);
        p_.fillRoundedRect(bounds, l.cornerRadius, l.backgroundColor.value_or(Color::clearColor()));
        if (l.masksToBounds) p_.clipRoundedRect(bounds, l.cornerRadius);
        cairo_t* cr = p_.context();
        if (const auto* shape = dynamic_cast<const ShapeLayer*>(&l); shape && shape->path) {
            if (shape->fillColor && shape->fillColor->alpha > 0) {
                cairo_new_path(cr);
                p_.addPath(*shape->path);
                p_.setColor(*shape->fillColor);
                cairo_set_fill_rule(cr, CAIRO_FILL_RULE_WINDING);
                cairo_fill(cr);
            }
            if (shape->strokeColor && shape->strokeColor->alpha > 0 && shape->lineWidth > 0) {
                cairo_new_path(cr);
                p_.addPath(*shape->path);
                p_.setColor(*shape->strokeColor);
                cairo_set_line_width(cr, shape->lineWidth);
                cairo_set_line_join(cr, joinOf(shape->lineJoin));
                cairo_set_line_cap(cr, capOf(shape->lineCap));
                std::vector<double> dashes;
                for (double d : shape->lineDashPattern)
                    if (d > 0) dashes.push_back(d);
                cairo_set_dash(cr, dashes.data(), static_cast<int>(dashes.size()), 0);
                cairo_stroke(cr);
                cairo_set_dash(cr, nullptr, 0, 0);
            }
        }
        if (const auto* text = dynamic_cast<const TextLayer*>(&l); text && text->string) {
            PicturePainter::TextStyle style = styleOf(text->font, text->foregroundColor);
            style.size = text->fontSize;
            style.centeredVertically = false;
            style.align = text->alignmentMode == "center"  ? PicturePainter::Align::center
                          : text->alignmentMode == "right" ? PicturePainter::Align::right
                                                           : PicturePainter::Align::left;
            p_.text(*text->string, bounds, style);
        }
        for (const auto& sub : l.sublayers())
            if (sub) layer(*sub);
    }
    if (l.borderWidth > 0)
        p_.strokeRoundedRect(bounds, l.cornerRadius, l.borderColor.value_or(Color::blackColor()), l.borderWidth);
}

void ViewPainter::control(const View& v) {
    const CGRect bounds = v.bounds();
    if (const auto* popUp = dynamic_cast<const PopUpButton*>(&v)) {
        this->popUp(*popUp, bounds);
    } else if (const auto* b = dynamic_cast<const Button*>(&v)) {
        button(*b, bounds);
    } else if (const auto* s = dynamic_cast<const Slider*>(&v)) {
        slider(*s, bounds);
    } else if (const auto* field = dynamic_cast<const TextField*>(&v)) {
        textField(*field, bounds);
    } else if (const auto* web = dynamic_cast<const WKWebView*>(&v)) {
        webView(*web, bounds);
    } else if (const auto* effect = dynamic_cast<const VisualEffectView*>(&v)) {
        const bool dark = effect->material == VisualEffectView::Material::hudWindow ||
                          effect->material == VisualEffectView::Material::fullScreenUI;
        // The material fills the view's layer, its corners rounded as the layer's.
        const Layer* backing = v.layer().get();
        const double radius = backing && !backing->hidden ? backing->cornerRadius : 0;
        p_.fillRoundedRect(bounds, radius, dark ? rgb(30, 30, 30, 0.85) : rgb(246, 246, 246, 0.92));
    }
}

void ViewPainter::button(const Button& b, const CGRect& bounds) {
    const bool enabled = b.isEnabled;
    const Color text = !enabled ? kDisabledText : b.attributedTitleColor.value_or(Color::controlTextColor());
    PicturePainter::TextStyle style = styleOf(b.attributedTitleFont.value_or(b.font), text);
    const double box = 14;
    if (b.buttonType == ButtonType::switchButton || b.buttonType == ButtonType::radio) {
        const CGRect mark{bounds.minX() + 1, bounds.midY() - box / 2, box, box};
        const bool on = b.state != ControlState::off;
        const Color fill = on && enabled ? Color::controlAccentColor() : kBezel;
        if (b.buttonType == ButtonType::radio) {
            p_.fillEllipse(mark, fill);
            p_.strokeEllipse(mark.insetBy(0.5, 0.5), kBezelBorder, 1);
            if (on) p_.fillEllipse(mark.insetBy(4.5, 4.5), Color::whiteColor());
        } else {
            p_.fillRoundedRect(mark, 3, fill);
            p_.strokeRoundedRect(mark, 3, kBezelBorder, 1);
            if (b.state == ControlState::on) {
                cairo_t* cr = p_.context();
                cairo_new_path(cr);
                cairo_move_to(cr, mark.minX() + 3, mark.midY());
                cairo_line_to(cr, mark.minX() + 6, mark.minY() + 3.5);
                cairo_line_to(cr, mark.maxX() - 3, mark.maxY() - 3);
                p_.setColor(Color::whiteColor());
                cairo_set_line_width(cr, 2);
                cairo_stroke(cr);
            } else if (b.state == ControlState::mixed) {
                p_.strokeLine({mark.minX() + 3.5, mark.midY()}, {mark.maxX() - 3.5, mark.midY()}, Color::whiteColor(),
                              2);
            }
        }
        // The title takes the room the button's size gives it after the mark.
        p_.text(b.title, {mark.maxX() + 5, bounds.minY(), std::max(0.0, bounds.maxX() - mark.maxX() - 5), bounds.height()},
                style);
        return;
    }
    const bool imageOnly = b.image && (b.title.empty() || b.imagePosition == ImagePosition::imageOnly);
    const bool isDefault = b.keyEquivalent == KeyEquivalent::returnKey;
    if (b.isBordered && !b.showsBorderOnlyWhileMouseOver) {
        const bool on = b.state == ControlState::on &&
                        (b.buttonType == ButtonType::pushOnPushOff || b.buttonType == ButtonType::toggle ||
                         b.buttonType == ButtonType::onOff);
        const Color fill = (isDefault || on) && enabled ? b.contentTintColor.value_or(Color::controlAccentColor()) : kBezel;
        const CGRect bezel = bounds.insetBy(0.5, std::min(1.0, bounds.height() / 4));
        if (b.bezelStyle == BezelStyle::circular) {
            p_.fillEllipse(bezel, fill);
            p_.strokeEllipse(bezel, kBezelBorder, 1);
        } else {
            p_.fillRoundedRect(bezel, 5, fill);
            p_.strokeRoundedRect(bezel, 5, kBezelBorder, 1);
        }
        if ((isDefault || on) && enabled && !b.attributedTitleColor) style.color = Color::whiteColor();
    }
    if (imageOnly) {
        const Size size = b.image->size();
        const double w = std::min(bounds.width(), size.width > 0 ? size.width : bounds.width());
        const double h = std::min(bounds.height(), size.height > 0 ? size.height : bounds.height());
        p_.image(*b.image, {bounds.midX() - w / 2, bounds.midY() - h / 2, w, h});
        return;
    }
    // A bordered button keeps its title off the bezel's ends; a borderless one is its title.
    CGRect titleBox = b.isBordered ? bounds.insetBy(std::min(6.0, bounds.width() / 2), 0) : bounds;
    if (b.image && b.imagePosition == ImagePosition::imageLeft) {
        const Size size = b.image->size();
        const double w = std::min(size.width, bounds.height());
        p_.image(*b.image, {titleBox.minX(), bounds.midY() - w / 2, w, w});
        titleBox = {titleBox.minX() + w + 4, titleBox.minY(), std::max(0.0, titleBox.width() - w - 4), titleBox.height()};
    }
    style.align = PicturePainter::Align::center;
    p_.text(b.title, titleBox, style);
}

void ViewPainter::webView(const WKWebView& web, const CGRect& bounds) {
    // The page as its layout sets it (`WebPageLayout`), moved up by how far it is scrolled, links
    // in blue; only what the view's frame holds shows.
    if (web.drawsBackground()) p_.fillRect(bounds, Color::whiteColor());
    PicturePainter::Scope scope(p_);
    cairo_t* cr = p_.context();
    cairo_new_path(cr);
    cairo_rectangle(cr, bounds.minX(), bounds.minY(), bounds.width(), bounds.height());
    cairo_clip(cr);
    const Color ink = rgb(17, 17, 17);
    const Color linkInk = rgb(3, 102, 214);
    const double offset = web.scrollOffset();
    // Page space (y down from the page's top) to the picture's space (y up).
    auto placed = [&](const CGRect& f) {
        return CGRect{bounds.minX() + f.minX(), bounds.maxY() - (f.maxY() - offset), f.width(), f.height()};
    };
    const auto& page = web.pageLayout();
    for (const auto& block : page.blocks()) {
        if (block.frame.maxY() < offset) continue;
        if (block.frame.minY() > offset + bounds.height()) break;
        const auto& shown = web.shownText()[block.index];
        PicturePainter::TextStyle style;
        style.size = block.font.pointSize;
        style.bold = TextMetrics::drawsBold(block.font.weight);
        style.color = shown.isLink() ? linkInk : ink;
        style.centeredVertically = true;
        if (!shown.marker.empty()) {
            PicturePainter::TextStyle marker = style;
            marker.color = ink;
            marker.align = PicturePainter::Align::right;
            p_.text(shown.marker, placed(block.markerFrame), marker);
        }
        for (const auto& line : block.lines)
            p_.text(line.text, placed(line.frame), style);
    }
}

void ViewPainter::popUp(const PopUpButton& popUp, const CGRect& bounds) {
    const CGRect bezel = bounds.insetBy(0.5, std::min(1.0, bounds.height() / 4));
    p_.fillRoundedRect(bezel, 5, kBezel);
    p_.strokeRoundedRect(bezel, 5, kBezelBorder, 1);
    // The chevron at the right end.
    const double cx = bezel.maxX() - 10;
    const Color arrow = popUp.isEnabled ? Color::controlTextColor() : kDisabledText;
    p_.strokeLine({cx - 3, bezel.midY() + 1.5}, {cx, bezel.midY() - 1.5}, arrow, 1.5);
    p_.strokeLine({cx, bezel.midY() - 1.5}, {cx + 3, bezel.midY() + 1.5}, arrow, 1.5);
    PicturePainter::TextStyle style = styleOf(popUp.font, arrow);
    p_.text(popUp.titleOfSelectedItem(),
            {bezel.minX() + 8, bezel.minY(), std::max(0.0, bezel.width() - 28), bezel.height()}, style);
}

void ViewPainter::slider(const Slider& s, const CGRect& bounds) {
    const double inset = std::min(8.0, bounds.width() / 2);
    const double y = bounds.midY();
    const double left = bounds.minX() + inset, right = bounds.maxX() - inset;
    const double knob = bounds.minX() + s.knobPosition();
    p_.strokeLine({left, y}, {right, y}, rgb(200, 200, 200), 3);
    p_.strokeLine({left, y}, {knob, y}, s.isEnabled ? Color::controlAccentColor() : rgb(170, 170, 170), 3);
    for (long i = 0; s.numberOfTickMarks > 1 && i < s.numberOfTickMarks; ++i) {
        const double x = left + (right - left) * static_cast<double>(i) / static_cast<double>(s.numberOfTickMarks - 1);
        p_.strokeLine({x, y - 8}, {x, y - 5}, rgb(150, 150, 150), 1);
    }
    const double r = Slider::knobRadius;
    const CGRect knobRect{knob - r, y - r, 2 * r, 2 * r};
    p_.fillEllipse(knobRect, Color::whiteColor());
    p_.strokeEllipse(knobRect.insetBy(0.5, 0.5), kBezelBorder, 1);
}

void ViewPainter::textField(const TextField& field, const CGRect& bounds) {
    const auto* searchField = dynamic_cast<const SearchField*>(&field);
    const bool search = searchField != nullptr;
    const bool boxed = field.isBezeled || field.isBordered;
    const double radius = search || field.bezelStyle == "rounded" ? bounds.height() / 2 : 0;
    if (field.drawsBackground || search)
        p_.fillRoundedRect(bounds, radius, field.backgroundColor.value_or(Color::textBackgroundColor()));
    if (boxed || search) p_.strokeRoundedRect(bounds, radius, kBezelBorder, 1);
    const std::string value = field.stringValue();
    const bool placeholder = value.empty();
    PicturePainter::TextStyle style =
        styleOf(field.font, !field.isEnabled ? kDisabledText
                            : placeholder    ? Color::secondaryLabelColor()
                                             : field.textColor);
    style.align = alignOf(field.alignment);
    const double inset = boxed ? 4 : 0;
    const double boxWidth = std::max(0.0, bounds.width() - 2 * inset);
    CGRect box = search ? searchField->searchTextRect(bounds)
                        : CGRect{bounds.minX() + inset, bounds.minY(), boxWidth, bounds.height()};
    if (search && searchField->showsCancelButton()) {
        // The cancel (clear) button: a grey disc with a white cross, centred in its room.
        const CGRect room = searchField->cancelButtonRect(bounds);
        const double side = std::min({14.0, room.width(), room.height()});
        const CGRect disc{room.midX() - side / 2, room.midY() - side / 2, side, side};
        p_.fillEllipse(disc, rgb(180, 180, 184));
        const double arm = side * 0.2;
        p_.strokeLine({disc.midX() - arm, disc.midY() - arm}, {disc.midX() + arm, disc.midY() + arm},
                      Color::whiteColor(), 1.5);
        p_.strokeLine({disc.midX() - arm, disc.midY() + arm}, {disc.midX() + arm, disc.midY() - arm},
                      Color::whiteColor(), 1.5);
    }
    if (field.wraps) style.centeredVertically = false;
    p_.text(placeholder ? field.placeholderString : value, box, style);
}

} // namespace platform::ui
