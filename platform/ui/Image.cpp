#include "platform/ui/Image.hpp"

#include <fstream>
#include <mutex>

namespace platform::ui {

namespace {
std::mutex resourceMutex;
std::optional<std::filesystem::path> resourceOverride;

std::filesystem::path executableDirectory() {
    std::error_code ec;
    auto exe = std::filesystem::read_symlink("/proc/self/exe", ec);
    if (ec) return std::filesystem::current_path(ec);
    return exe.parent_path();
}

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
    auto dir = resourceDirectory();
    for (const auto& candidate : {name, name + ".png"}) {
        std::error_code ec;
        auto file = dir / candidate;
        if (!std::filesystem::is_regular_file(file, ec)) continue;
        auto image = std::make_shared<Image>();
        image->name_ = name;
        image->file_ = file;
        image->size_ = pngSize(file).value_or(Size{});
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

void Image::setResourceDirectory(const std::filesystem::path& dir) {
    std::lock_guard lock(resourceMutex);
    resourceOverride = dir;
}

std::filesystem::path Image::resourceDirectory() {
    std::lock_guard lock(resourceMutex);
    return resourceOverride ? *resourceOverride : executableDirectory();
}

void Image::resetResourceDirectory() {
    std::lock_guard lock(resourceMutex);
    resourceOverride.reset();
}

} // namespace platform::ui
