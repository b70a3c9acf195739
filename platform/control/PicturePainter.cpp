#include "platform/control/PicturePainter.hpp"

#include "platform/control/AppearancePalette.hpp"

#include "platform/control/PictureFonts.hpp"
#include "platform/ui/TextMetrics.hpp"

#include <algorithm>
#include <cmath>
#include <numbers>

namespace platform::ui {

PicturePainter::PicturePainter(cairo_t* context)
    : cr_(context) {
    // The same glyphs on every host: grey antialiasing, no hinting.
    cairo_font_options_t* options = cairo_font_options_create();
    cairo_font_options_set_antialias(options, CAIRO_ANTIALIAS_GRAY);
    cairo_font_options_set_hint_style(options, CAIRO_HINT_STYLE_NONE);
    cairo_font_options_set_hint_metrics(options, CAIRO_HINT_METRICS_OFF);
    cairo_set_font_options(cr_, options);
    cairo_font_options_destroy(options);
}

PicturePainter::~PicturePainter() {
    for (auto& [file, surface] : pngs_)
        if (surface) cairo_surface_destroy(surface);
}

PicturePainter::Scope::Scope(PicturePainter& painter)
    : painter_(painter)
    , yUp_(painter.yUp)
    , appearance_(painter.appearance) {
    cairo_save(painter_.cr_);
}

PicturePainter::Scope::~Scope() {
    cairo_restore(painter_.cr_);
    painter_.yUp = yUp_;
    painter_.appearance = appearance_;
}

void PicturePainter::flip(double height) {
    cairo_translate(cr_, 0, height);
    cairo_scale(cr_, 1, -1);
    yUp = !yUp;
}

void PicturePainter::setColor(const Color& color) {
    const Color c = AppearancePalette::resolved(color, appearance);
    cairo_set_source_rgba(cr_, c.red, c.green, c.blue, c.alpha);
}

void PicturePainter::fillRect(const CGRect& rect, const Color& color) {
    if (color.alpha <= 0 || rect.isEmpty()) return;
    cairo_new_path(cr_);
    cairo_rectangle(cr_, rect.minX(), rect.minY(), rect.width(), rect.height());
    setColor(color);
    cairo_fill(cr_);
}

void PicturePainter::strokeRect(const CGRect& rect, const Color& color, double width) {
    if (color.alpha <= 0 || width <= 0 || rect.isNull()) return;
    cairo_new_path(cr_);
    cairo_rectangle(cr_, rect.minX(), rect.minY(), rect.width(), rect.height());
    setColor(color);
    cairo_set_line_width(cr_, width);
    cairo_stroke(cr_);
}

void PicturePainter::addRoundedRect(const CGRect& rect, double radius) {
    const double x = rect.minX(), y = rect.minY(), w = rect.width(), h = rect.height();
    const double r = std::clamp(radius, 0.0, std::min(w, h) / 2);
    if (r <= 0) {
        cairo_rectangle(cr_, x, y, w, h);
        return;
    }
    constexpr double pi = std::numbers::pi;
    cairo_new_sub_path(cr_);
    cairo_arc(cr_, x + w - r, y + r, r, -pi / 2, 0);
    cairo_arc(cr_, x + w - r, y + h - r, r, 0, pi / 2);
    cairo_arc(cr_, x + r, y + h - r, r, pi / 2, pi);
    cairo_arc(cr_, x + r, y + r, r, pi, 3 * pi / 2);
    cairo_close_path(cr_);
}

void PicturePainter::addEllipse(const CGRect& rect) {
    if (rect.isEmpty()) return;
    cairo_save(cr_);
    cairo_translate(cr_, rect.midX(), rect.midY());
    cairo_scale(cr_, rect.width() / 2, rect.height() / 2);
    cairo_new_sub_path(cr_);
    cairo_arc(cr_, 0, 0, 1, 0, 2 * std::numbers::pi);
    cairo_close_path(cr_);
    cairo_restore(cr_);
}

void PicturePainter::fillRoundedRect(const CGRect& rect, double radius, const Color& color) {
    if (color.alpha <= 0 || rect.isEmpty()) return;
    cairo_new_path(cr_);
    addRoundedRect(rect, radius);
    setColor(color);
    cairo_fill(cr_);
}

void PicturePainter::strokeRoundedRect(const CGRect& rect, double radius, const Color& color, double width) {
    if (color.alpha <= 0 || width <= 0 || rect.isEmpty()) return;
    cairo_new_path(cr_);
    addRoundedRect(rect.insetBy(width / 2, width / 2), std::max(0.0, radius - width / 2));
    setColor(color);
    cairo_set_line_width(cr_, width);
    cairo_stroke(cr_);
}

void PicturePainter::fillEllipse(const CGRect& rect, const Color& color) {
    if (color.alpha <= 0) return;
    cairo_new_path(cr_);
    addEllipse(rect);
    setColor(color);
    cairo_fill(cr_);
}

void PicturePainter::strokeEllipse(const CGRect& rect, const Color& color, double width) {
    if (color.alpha <= 0 || width <= 0) return;
    cairo_new_path(cr_);
    addEllipse(rect);
    setColor(color);
    cairo_set_line_width(cr_, width);
    cairo_stroke(cr_);
}

void PicturePainter::strokeLine(CGPoint from, CGPoint to, const Color& color, double width) {
    if (color.alpha <= 0 || width <= 0) return;
    cairo_new_path(cr_);
    cairo_move_to(cr_, from.x, from.y);
    cairo_line_to(cr_, to.x, to.y);
    setColor(color);
    cairo_set_line_width(cr_, width);
    cairo_stroke(cr_);
}

void PicturePainter::addPath(const Path& path) {
    using K = Path::ElementKind;
    for (const auto& e : path.elements()) {
        switch (e.kind) {
        case K::moveTo:
            cairo_move_to(cr_, e.point.x, e.point.y);
            break;
        case K::lineTo:
            cairo_line_to(cr_, e.point.x, e.point.y);
            break;
        case K::rect:
            cairo_rectangle(cr_, e.rect.minX(), e.rect.minY(), e.rect.width(), e.rect.height());
            break;
        case K::roundedRect:
            addRoundedRect(e.rect, std::min(e.radiusX, e.radiusY));
            break;
        case K::ellipse:
            addEllipse(e.rect);
            break;
        case K::closeSubpath:
            cairo_close_path(cr_);
            break;
        }
    }
}

void PicturePainter::clipRoundedRect(const CGRect& rect, double radius) {
    cairo_new_path(cr_);
    addRoundedRect(rect, radius);
    cairo_clip(cr_);
}

void PicturePainter::selectFont(const TextStyle& style, bool fallback) {
    cairo_font_face_t* face = fallback ? PictureFonts::fallbackFace() : nullptr;
    if (face == nullptr) face = PictureFonts::face(style.bold, style.monospaced);
    if (face != nullptr)
        cairo_set_font_face(cr_, face);
    else
        cairo_select_font_face(cr_, style.monospaced ? "DejaVu Sans Mono" : "DejaVu Sans", CAIRO_FONT_SLANT_NORMAL,
                               style.bold ? CAIRO_FONT_WEIGHT_BOLD : CAIRO_FONT_WEIGHT_NORMAL);
    cairo_set_font_size(cr_, std::max(1.0, style.size));
}

double PicturePainter::runsAdvance(const std::vector<TextMetrics::Run>& runs, const TextStyle& style) {
    double advance = 0;
    for (const auto& run : runs) {
        selectFont(style, run.fallback);
        cairo_text_extents_t extents;
        cairo_text_extents(cr_, run.text.c_str(), &extents);
        advance += extents.x_advance;
    }
    return advance;
}

double PicturePainter::textWidth(const std::string& text, const TextStyle& style) {
    if (text.empty()) return 0;
    return runsAdvance(TextMetrics::runs(text, style.bold, style.monospaced), style);
}

void PicturePainter::text(const std::string& text, const CGRect& box, const TextStyle& style) {
    if (!drawsText || text.empty() || style.color.alpha <= 0 || box.isEmpty()) return;
    // One line: a text with line breaks shows its first line.
    std::string line = text.substr(0, text.find('\n'));
    cairo_save(cr_);
    cairo_new_path(cr_);
    cairo_rectangle(cr_, box.minX(), box.minY(), box.width(), box.height());
    cairo_clip(cr_);
    selectFont(style);
    cairo_font_extents_t font;
    cairo_font_extents(cr_, &font);
    // A line wider than its box ends in "…" after the last whole character that fits.
    line = TextMetrics::fitted(line, box.width(), Font{style.size, style.bold ? "bold" : "regular", style.monospaced});
    // Each run in its face: the style's, or the fallback for the characters the style's lacks.
    const auto runs = TextMetrics::runs(line, style.bold, style.monospaced);
    const double advance = runsAdvance(runs, style);
    selectFont(style);
    double x = box.minX();
    if (style.align == Align::center) x = box.midX() - advance / 2;
    if (style.align == Align::right) x = box.maxX() - advance;
    const double lineHeight = font.ascent - font.descent;
    double baseline;
    if (yUp) {
        baseline = style.centeredVertically ? box.midY() - lineHeight / 2 : box.maxY() - font.ascent;
        cairo_translate(cr_, x, baseline);
        cairo_scale(cr_, 1, -1);
        cairo_move_to(cr_, 0, 0);
    } else {
        baseline = style.centeredVertically ? box.midY() + lineHeight / 2 : box.minY() + font.ascent;
        cairo_move_to(cr_, x, baseline);
    }
    const Color ink = AppearancePalette::resolvedText(style.color, appearance);
    cairo_set_source_rgba(cr_, ink.red, ink.green, ink.blue, ink.alpha);
    for (const auto& run : runs) {
        // Each run starts where the one before it ended (the current point moves with the text).
        selectFont(style, run.fallback);
        cairo_show_text(cr_, run.text.c_str());
    }
    cairo_new_path(cr_);
    cairo_restore(cr_);
}

cairo_surface_t* PicturePainter::pngSurface(const std::filesystem::path& file) {
    auto it = pngs_.find(file);
    if (it != pngs_.end()) return it->second;
    cairo_surface_t* surface = cairo_image_surface_create_from_png(file.c_str());
    if (cairo_surface_status(surface) != CAIRO_STATUS_SUCCESS) {
        cairo_surface_destroy(surface);
        surface = nullptr;
    }
    pngs_[file] = surface;
    return surface;
}

void PicturePainter::image(const Image& image, const CGRect& rect) {
    if (rect.isEmpty()) return;
    Scope scope(*this);
    // A y-up space with the rectangle at its origin.
    if (yUp) {
        translate(rect.minX(), rect.minY());
    } else {
        translate(rect.minX(), rect.maxY());
        cairo_scale(cr_, 1, -1);
    }
    cairo_new_path(cr_);
    cairo_rectangle(cr_, 0, 0, rect.width(), rect.height());
    cairo_clip(cr_);
    if (!image.file().empty()) {
        cairo_surface_t* png = pngSurface(image.file());
        if (!png) return;
        const int w = cairo_image_surface_get_width(png);
        const int h = cairo_image_surface_get_height(png);
        if (w <= 0 || h <= 0) return;
        // Image rows run top down.
        cairo_translate(cr_, 0, rect.height());
        cairo_scale(cr_, rect.width() / w, -rect.height() / h);
        cairo_set_source_surface(cr_, png, 0, 0);
        cairo_rectangle(cr_, 0, 0, w, h);
        cairo_fill(cr_);
        return;
    }
    const Size size = image.size();
    if (size.width > 0 && size.height > 0) cairo_scale(cr_, rect.width() / size.width, rect.height() / size.height);
    if (image.isFlipped()) {
        cairo_translate(cr_, 0, size.height);
        cairo_scale(cr_, 1, -1);
    }
    replay(image.drawing());
}

void PicturePainter::replay(const std::vector<Canvas::Op>& ops) {
    using K = Canvas::OpKind;
    for (const auto& op : ops) {
        switch (op.kind) {
        case K::fillRect:
            fillRect(op.rect, op.color);
            break;
        case K::strokeRect:
            strokeRect(op.rect, op.color, op.lineWidth);
            break;
        case K::strokeLine:
            strokeLine(op.from, op.to, op.color, op.lineWidth);
            break;
        case K::fillPath:
            if (op.color.alpha <= 0) break;
            cairo_new_path(cr_);
            addPath(op.path);
            setColor(op.color);
            cairo_fill(cr_);
            break;
        case K::strokePath:
            if (op.color.alpha <= 0 || op.lineWidth <= 0) break;
            cairo_new_path(cr_);
            addPath(op.path);
            setColor(op.color);
            cairo_set_line_width(cr_, op.lineWidth);
            cairo_stroke(cr_);
            break;
        }
    }
}

void PicturePainter::beginGroup() {
    cairo_push_group(cr_);
}

void PicturePainter::endGroup(double alpha) {
    cairo_pop_group_to_source(cr_);
    cairo_paint_with_alpha(cr_, std::clamp(alpha, 0.0, 1.0));
}

} // namespace platform::ui
