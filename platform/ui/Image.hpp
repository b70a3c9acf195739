#pragma once

#include "platform/ui/Canvas.hpp"

#include <filesystem>
#include <functional>
#include <memory>
#include <optional>
#include <string>

namespace platform::ui {

/// An image: either a resource file of the program found by name, or a drawing of a given size made
/// on a vector canvas. Size in points. Images are shared and read-only once made, except for the
/// template flag and the size, which callers may set as on the original platform.
class Image {
public:
    /// The image of the program's resources called `name` ("Snap.png", or "Snap" with the ".png"
    /// extension tried next), found through `Bundle::pathForResource`: next to the executable, then
    /// in the installed "<executable folder>/../share/tilmora" (or where `BundleControl` points).
    /// Nullptr when there is no such file.
    /// Main thread or any thread; logs nothing.
    static std::shared_ptr<Image> named(const std::string& name);

    /// An image of `size` whose content is what `draw` puts on the canvas. The canvas space is the
    /// image's: points, origin bottom-left, y up (flipped = true: origin top-left, y down).
    static std::shared_ptr<Image> drawn(Size size, bool flipped, const std::function<void(Canvas&)>& draw);

    const std::string& name() const { return name_; }
    Size size() const { return size_; }
    void setSize(Size s) { size_ = s; }
    bool isTemplate() const { return template_; }
    void setTemplate(bool t) { template_ = t; }
    bool isFlipped() const { return flipped_; }
    /// The resource file the image came from (empty for drawn images).
    const std::filesystem::path& file() const { return file_; }
    /// What was drawn, in order (empty for resource images).
    const std::vector<Canvas::Op>& drawing() const { return drawing_; }

private:
    std::string name_;
    Size size_;
    bool template_ = false;
    bool flipped_ = false;
    std::filesystem::path file_;
    std::vector<Canvas::Op> drawing_;
};

} // namespace platform::ui
