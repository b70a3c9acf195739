#include "platform/control/ScreenPicture.hpp"

#include "platform/foundation/Error.hpp"

#include <zlib.h>

#include <string>

namespace platform::ui {

namespace {

/// As Cairo stores a colour component: 16 bits rounded, of which a pixel keeps the upper 8.
std::uint8_t component(double c) {
    if (!(c > 0)) return 0;
    if (c >= 1) return 255;
    return static_cast<std::uint8_t>(static_cast<unsigned>(c * 65535.0 + 0.5) >> 8);
}

void appendBigEndian(std::string& out, std::uint32_t value) {
    const char bytes[] = {static_cast<char>(value >> 24), static_cast<char>(value >> 16), static_cast<char>(value >> 8),
                          static_cast<char>(value)};
    out.append(bytes, 4);
}

/// Appends one PNG chunk: length, type, data and the CRC of type and data.
void appendChunk(std::string& out, const char type[4], const std::string& data) {
    appendBigEndian(out, static_cast<std::uint32_t>(data.size()));
    const std::size_t start = out.size();
    out.append(type, 4);
    out += data;
    const auto* crcBytes = reinterpret_cast<const Bytef*>(out.data() + start);
    appendBigEndian(out, static_cast<std::uint32_t>(crc32(0, crcBytes, static_cast<uInt>(out.size() - start))));
}

} // namespace

ScreenPicture::Pixel ScreenPicture::Pixel::of(const Color& color) {
    return {component(color.red), component(color.green), component(color.blue)};
}

std::string ScreenPicture::Pixel::description() const {
    std::string text = "(";
    text += std::to_string(red);
    text += ", ";
    text += std::to_string(green);
    text += ", ";
    text += std::to_string(blue);
    text += ")";
    return text;
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
    // 8-bit RGB, no interlace, no ancillary chunks. Each row is filtered by its left neighbour
    // ("Sub"), which turns the picture's wide single-colour runs into runs of zeros, and the rows
    // are deflated as runs: quick and small for pictures of flat areas.
    z_stream stream{};
    if (deflateInit2(&stream, 6, Z_DEFLATED, 15, 8, Z_RLE) != Z_OK)
        throw Error("cannot encode the picture as PNG: no deflate stream");
    const std::size_t rowBytes = 1 + 3 * static_cast<std::size_t>(width_);
    std::string compressed(deflateBound(&stream, static_cast<uLong>(rowBytes * static_cast<std::size_t>(height_))),
                           '\0');
    stream.next_out = reinterpret_cast<Bytef*>(compressed.data());
    stream.avail_out = static_cast<uInt>(compressed.size());
    std::string row(rowBytes, '\0');
    int status = Z_OK;
    for (int y = 0; y < height_ && status == Z_OK; ++y) {
        row[0] = 1; // Sub
        const std::uint32_t* words = pixels_.data() + static_cast<std::size_t>(y) * static_cast<std::size_t>(width_);
        std::uint32_t previous = 0;
        for (int x = 0; x < width_; ++x) {
            const std::uint32_t word = words[x];
            char* p = row.data() + 1 + 3 * x;
            p[0] = static_cast<char>(((word >> 16) - (previous >> 16)) & 0xff);
            p[1] = static_cast<char>(((word >> 8) - (previous >> 8)) & 0xff);
            p[2] = static_cast<char>((word - previous) & 0xff);
            previous = word;
        }
        stream.next_in = reinterpret_cast<Bytef*>(row.data());
        stream.avail_in = static_cast<uInt>(rowBytes);
        status = deflate(&stream, y + 1 == height_ ? Z_FINISH : Z_NO_FLUSH);
    }
    compressed.resize(stream.total_out);
    deflateEnd(&stream);
    if (status != Z_STREAM_END)
        throw Error("cannot encode the picture as PNG: deflate failed (" + std::to_string(status) + ")");

    std::string header;
    appendBigEndian(header, static_cast<std::uint32_t>(width_));
    appendBigEndian(header, static_cast<std::uint32_t>(height_));
    header += std::string("\x08\x02\x00\x00\x00", 5); // depth 8, RGB, deflate, adaptive filters, no interlace
    std::string png("\x89PNG\r\n\x1a\n", 8);
    appendChunk(png, "IHDR", header);
    appendChunk(png, "IDAT", compressed);
    appendChunk(png, "IEND", std::string());
    return png;
}

} // namespace platform::ui
