#pragma once

#include "platform/desktop/Geometry.hpp"
#include "platform/ui/Appearance.hpp"
#include "platform/ui/Canvas.hpp"
#include "platform/ui/Color.hpp"
#include "platform/ui/Image.hpp"
#include "platform/ui/Path.hpp"
#include "platform/ui/TextMetrics.hpp"

#include <cairo.h>

#include <filesystem>
#include <map>
#include <string>
#include <vector>

namespace platform::ui {

/// The drawing primitives of the screen capture over one Cairo context: fills, strokes, paths,
/// text and images in the context's current user space (points). `yUp` tells which way that space
/// points (the desktop and views: y up; declarative views: y down), so that text and images come
/// out upright either way. Used by `ScreenCapture` only; one thread at a time.
class PicturePainter {
public:
    /// How a text is placed in its box.
    enum class Align { left, center, right };
    struct TextStyle {
        double size = 13;
        bool bold = false;
        bool monospaced = false;
        Color color = Color::blackColor();
        Align align = Align::left;
        /// Centred vertically in the box; else the first line's top at the box's top.
        bool centeredVertically = true;
    };

    explicit PicturePainter(cairo_t* context);
    ~PicturePainter();
    PicturePainter(const PicturePainter&) = delete;
    PicturePainter& operator=(const PicturePainter&) = delete;

    cairo_t* context() const { return cr_; }
    bool yUp = true;
    /// The appearance the colours are drawn in (`AppearancePalette`); a `Scope` restores it.
    Appearance appearance = Appearance::aqua;
    /// False: `text` draws nothing.
    bool drawsText = true;

    /// Saves the context and the orientation; restored when the object goes.
    class Scope {
    public:
        explicit Scope(PicturePainter& painter);
        ~Scope();
        Scope(const Scope&) = delete;
        Scope& operator=(const Scope&) = delete;

    private:
        PicturePainter& painter_;
        bool yUp_;
        Appearance appearance_;
    };

    void translate(double x, double y) { cairo_translate(cr_, x, y); }
    /// Turns the space upside down within `height` (y' = height - y) and flips `yUp`.
    void flip(double height);

    /// Sets the source colour: `color` as drawn in `appearance`.
    void setColor(const Color& color);
    void fillRect(const CGRect& rect, const Color& color);
    void strokeRect(const CGRect& rect, const Color& color, double width);
    void fillRoundedRect(const CGRect& rect, double radius, const Color& color);
    /// Strokes inside the rectangle's edge (inset by half the width).
    void strokeRoundedRect(const CGRect& rect, double radius, const Color& color, double width);
    void fillEllipse(const CGRect& rect, const Color& color);
    void strokeEllipse(const CGRect& rect, const Color& color, double width);
    void strokeLine(CGPoint from, CGPoint to, const Color& color, double width);

    /// Adds a rectangle with corners of `radius` (limited to half the shorter side) to the path.
    void addRoundedRect(const CGRect& rect, double radius);
    void addEllipse(const CGRect& rect);
    /// Adds every element of `path` to the current Cairo path.
    void addPath(const Path& path);
    /// Clips further drawing to a rounded rectangle.
    void clipRoundedRect(const CGRect& rect, double radius);

    /// Draws one line of `text` in `box` (clipped to it). A line wider than the box ends in "…"
    /// after the last whole character that fits with it. A character the style's face lacks is
    /// drawn in the fallback face (`TextMetrics::runs`). Nothing for an empty text.
    void text(const std::string& text, const CGRect& box, const TextStyle& style);
    /// The width `text` takes in `style` (points).
    double textWidth(const std::string& text, const TextStyle& style);

    /// Draws `image` scaled into `rect`: a resource image from its PNG file (nothing when the file
    /// cannot be read), a drawn image by replaying its canvas commands.
    void image(const Image& image, const CGRect& rect);

    /// Starts drawing into a layer that `endGroup` lays on what is below with `alpha`.
    void beginGroup();
    void endGroup(double alpha);

private:
    /// Sets the style's face (the fallback face with `fallback`) at the style's size.
    void selectFont(const TextStyle& style, bool fallback = false);
    /// How far the runs of one line advance, each in its face.
    double runsAdvance(const std::vector<TextMetrics::Run>& runs, const TextStyle& style);
    void replay(const std::vector<Canvas::Op>& ops);
    cairo_surface_t* pngSurface(const std::filesystem::path& file);

    cairo_t* cr_;
    std::map<std::filesystem::path, cairo_surface_t*> pngs_;
};

} // namespace platform::ui
