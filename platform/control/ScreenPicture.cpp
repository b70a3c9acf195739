#include "platform/control/ScreenPicture.hpp"

#include "platform/foundation/Error.hpp"

#include <cairo.h>

#include <memory>

namespace platform::ui {

namespace {

/// As Cairo stores a colour component: 16 bits rounded, of which a pixel keeps the upper 8.
std::uint8_t component(double c) {
    if (!(c > 0)) return 0;
    if (c >= 1) return 255;
    return static_cast<std::uint8_t>(static_cast<unsigned>(c * 65535.0 + 0.5) >> 8);
}

cairo_status_t appendToString(void* closure, const unsigned char* data, unsigned int length) {
    static_cast<std::string*>(closure)->append(reinterpret_cast<const char*>(data), length);
    return CAIRO_STATUS_SUCCESS;
}

} // namespace

ScreenPicture::Pixel ScreenPicture::Pixel::of(const Color& color) {
    return {component(color.red), component(color.green), component(color.blue)};
}

std::string ScreenPicture::Pixel::description() const {
    return "(" + std::to_string(red) + ", " + std::to_string(green) + ", " + std::to_string(blue) + ")";
}

ScreenPicture::ScreenPicture(CGRect area, double scale, int width, int height)
    : area_(area)
    , scale_(scale)
    , width_(width)
    , height_(height)
    , pixels_(static_cast<std::size_t>(width) * static_cast<std::size_t>(height), 0) {}

ScreenPicture::Pixel ScreenPicture::pixel(int x, int y) const {
    if (x < 0 || y < 0 || x >= width_ || y >= height_)
        throw Error("pixel (" + std::to_string(x) + ", " + std::to_string(y) + ") lies outside the picture " +
                    std::to_string(width_) + " x " + std::to_string(height_));
    const std::uint32_t word = pixels_[static_cast<std::size_t>(y) * static_cast<std::size_t>(width_) +
                                       static_cast<std::size_t>(x)];
    return {static_cast<std::uint8_t>((word >> 16) & 0xff), static_cast<std::uint8_t>((word >> 8) & 0xff),
            static_cast<std::uint8_t>(word & 0xff)};
}

std::optional<ScreenPicture::Pixel> ScreenPicture::pixelAt(CGPoint point) const {
    const double x = std::floor((point.x - area_.minX()) * scale_);
    const double y = std::floor((area_.maxY() - point.y) * scale_);
    if (!(x >= 0 && y >= 0 && x < width_ && y < height_)) return std::nullopt;
    return pixel(static_cast<int>(x), static_cast<int>(y));
}

std::string ScreenPicture::pngData() const {
    // Cairo only reads the pixels here; the surface borrows them for the call.
    auto* pixels = const_cast<unsigned char*>(reinterpret_cast<const unsigned char*>(pixels_.data()));
    std::unique_ptr<cairo_surface_t, decltype(&cairo_surface_destroy)> surface(
        cairo_image_surface_create_for_data(pixels, CAIRO_FORMAT_RGB24, width_, height_, stride()),
        &cairo_surface_destroy);
    std::string bytes;
    const cairo_status_t status = cairo_surface_write_to_png_stream(surface.get(), appendToString, &bytes);
    if (status != CAIRO_STATUS_SUCCESS)
        throw Error(std::string("cannot encode the picture as PNG: ") + cairo_status_to_string(status));
    return bytes;
}

} // namespace platform::ui
