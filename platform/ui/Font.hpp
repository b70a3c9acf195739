#pragma once

#include <string>

namespace platform::ui {

/// A font description: size in points, weight name and whether it is monospaced.
struct Font {
    double pointSize = 13;
    std::string weight = "regular"; // "regular", "semibold", "bold", ...
    bool monospaced = false;

    static Font systemFont(double size, const std::string& weight = "regular") {
        return {size, weight, false};
    }
    static Font boldSystemFont(double size) { return {size, "bold", false}; }
    static Font monospacedSystemFont(double size, const std::string& weight) { return {size, weight, true}; }
    bool operator==(const Font&) const = default;
};

} // namespace platform::ui
