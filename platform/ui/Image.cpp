#include "platform/ui/Image.hpp"

#include "platform/foundation/Bundle.hpp"

#include <fstream>
#include <utility>

namespace platform::ui {

namespace {
// Reads the pixel size from a PNG header; a point is a pixel here (no @2x variants).
std::optional<Size> pngSize(const std::filesystem::path& file) {
    std::ifstream in(file, std::ios::binary);
    unsigned char header[24] = {};
    if (!in.read(reinterpret_cast<char*>(header), sizeof header)) return std::nullopt;
    static const unsigned char signature[8] = {0x89, 'P', 'N', 'G', '\r', '\n', 0x1a, '\n'};
    if (!std::equal(signature, signature + 8, header)) return std::nullopt;
    auto be32 = [&](int at) {
        return double((uint32_t(header[at]) << 24) | (uint32_t(header[at + 1]) << 16) |
                      (uint32_t(header[at + 2]) << 8) | uint32_t(header[at + 3]));
    };
    return Size{be32(16), be32(20)};
}
} // namespace

std::shared_ptr<Image> Image::named(const std::string& name) {
    if (name.empty()) return nullptr;
    for (const auto& [base, ext] : {std::pair<std::string, std::string>{name, ""}, {name, "png"}}) {
        auto file = Bundle::pathForResource(base, ext);
        std::error_code ec;
        if (!file || !std::filesystem::is_regular_file(*file, ec)) continue;
        auto image = std::make_shared<Image>();
        image->name_ = name;
        image->file_ = *file;
        image->size_ = pngSize(*file).value_or(Size{});
        return image;
    }
    return nullptr;
}

std::shared_ptr<Image> Image::drawn(Size size, bool flipped, const std::function<void(Canvas&)>& draw) {
    auto image = std::make_shared<Image>();
    image->size_ = size;
    image->flipped_ = flipped;
    Canvas canvas;
    if (draw) draw(canvas);
    image->drawing_ = canvas.ops();
    return image;
}

} // namespace platform::ui
