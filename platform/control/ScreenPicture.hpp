#pragma once

#include "platform/desktop/Geometry.hpp"
#include "platform/ui/Color.hpp"

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

namespace platform::ui {

/// A drawing of (part of) the simulated desktop made by `ScreenCapture`: opaque 8-bit RGB pixels,
/// row 0 at the top, and the global rectangle it shows (points, y up from the bottom of the main
/// display) at its scale (pixels per point). Control API; any thread once made.
class ScreenPicture {
public:
    /// One pixel's colour components, 0...255.
    struct Pixel {
        std::uint8_t red = 0;
        std::uint8_t green = 0;
        std::uint8_t blue = 0;
        bool operator==(const Pixel&) const = default;
        /// The pixel an opaque fill of `color` gives: each component rounded to 16 bits, of which the
        /// pixel keeps the upper 8 (alpha ignored).
        static Pixel of(const Color& color);
        /// "(r, g, b)", for test failures.
        std::string description() const;
    };

    /// A black picture of `width` x `height` pixels showing `area` at `scale`.
    ScreenPicture(CGRect area, double scale, int width, int height);

    int width() const { return width_; }
    int height() const { return height_; }
    CGRect area() const { return area_; }
    double scale() const { return scale_; }

    /// The pixel in column `x`, row `y` (row 0 at the top). Throws `platform::Error` outside the
    /// picture.
    Pixel pixel(int x, int y) const;
    /// The pixel that shows the global point `point`; none outside the picture.
    std::optional<Pixel> pixelAt(CGPoint point) const;

    /// The picture as a PNG file's bytes. The same pixels always give the same bytes (no time
    /// stamp or other varying data is written).
    std::string pngData() const;

    /// The drawing surface of `ScreenCapture`: 32-bit words 0x00RRGGBB in host byte order, row by
    /// row, `stride()` bytes per row.
    unsigned char* data() { return reinterpret_cast<unsigned char*>(pixels_.data()); }
    int stride() const { return width_ * 4; }

private:
    CGRect area_;
    double scale_;
    int width_;
    int height_;
    std::vector<std::uint32_t> pixels_;
};

} // namespace platform::ui
