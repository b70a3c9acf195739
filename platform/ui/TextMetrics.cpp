#include "platform/ui/TextMetrics.hpp"

#include <cmath>
#include <ft2build.h>
#include FT_FREETYPE_H

#include <array>
#include <cstdint>
#include <mutex>
#include <unordered_map>

namespace platform::ui::TextMetrics {

namespace {

constexpr const char* kFolder = "/usr/share/fonts/truetype/dejavu/";
constexpr std::array<const char*, 4> kFiles = {"DejaVuSans.ttf", "DejaVuSans-Bold.ttf", "DejaVuSansMono.ttf",
                                               "DejaVuSansMono-Bold.ttf"};
constexpr double kFallbackAdvance = 0.6; // of the font size, per character

std::size_t styleIndex(bool bold, bool monospaced) {
    return (monospaced ? 2 : 0) + (bold ? 1 : 0);
}

/// The four faces with their advances (font units) by character, cached as they are asked for.
/// FreeType faces are not thread-safe: every use holds the mutex.
struct Faces {
    std::mutex mutex;
    FT_Library library = nullptr;
    std::array<FT_Face, 4> faces{};
    std::array<std::unordered_map<char32_t, double>, 4> advances; // in ems

    Faces() {
        if (FT_Init_FreeType(&library) != 0) return;
        for (std::size_t i = 0; i < kFiles.size(); ++i) {
            const std::string path = std::string(kFolder) + kFiles[i];
            FT_Face face = nullptr;
            if (FT_New_Face(library, path.c_str(), 0, &face) == 0) faces[i] = face;
        }
    }

    /// The advance of `c` in ems (the .notdef glyph's for a character the face lacks).
    double advance(std::size_t style, char32_t c) {
        auto& cache = advances[style];
        if (auto it = cache.find(c); it != cache.end()) return it->second;
        double em = kFallbackAdvance;
        FT_Face face = faces[style];
        if (face != nullptr && face->units_per_EM > 0) {
            const FT_UInt glyph = FT_Get_Char_Index(face, c);
            if (FT_Load_Glyph(face, glyph, FT_LOAD_NO_SCALE | FT_LOAD_NO_HINTING) == 0)
                em = static_cast<double>(face->glyph->advance.x) / face->units_per_EM;
        }
        cache.emplace(c, em);
        return em;
    }
};

Faces& faces() {
    static Faces loaded; // kept for the life of the process
    return loaded;
}

/// Decodes the next character at `i` (advancing it); a malformed byte is U+FFFD.
char32_t next(const std::string& s, std::size_t& i) {
    const auto b = static_cast<unsigned char>(s[i]);
    int length = b < 0x80 ? 1 : (b >> 5) == 0x6 ? 2 : (b >> 4) == 0xE ? 3 : (b >> 3) == 0x1E ? 4 : 0;
    if (length == 0 || i + static_cast<std::size_t>(length) > s.size()) {
        ++i;
        return 0xFFFD;
    }
    char32_t c = length == 1 ? b : b & (0x7F >> length);
    for (int k = 1; k < length; ++k) {
        const auto cont = static_cast<unsigned char>(s[i + static_cast<std::size_t>(k)]);
        if ((cont & 0xC0) != 0x80) {
            ++i;
            return 0xFFFD;
        }
        c = (c << 6) | (cont & 0x3F);
    }
    i += static_cast<std::size_t>(length);
    return c;
}

} // namespace

std::filesystem::path fontFile(bool bold, bool monospaced) {
    return std::filesystem::path(kFolder) / kFiles[styleIndex(bold, monospaced)];
}

bool drawsBold(const std::string& weight) {
    return weight == "bold" || weight == "semibold" || weight == "heavy" || weight == "black";
}

double width(const std::string& text, double size, bool bold, bool monospaced) {
    if (text.empty() || !(size > 0)) return 0;
    auto& f = faces();
    const std::size_t style = styleIndex(bold, monospaced);
    std::lock_guard<std::mutex> hold(f.mutex);
    double ems = 0;
    for (std::size_t i = 0; i < text.size();) {
        const char32_t c = next(text, i);
        if (c == U'\n') break;
        ems += f.advance(style, c);
    }
    return ems * size;
}

double width(const std::string& text, const Font& font) {
    // Layout works in whole points: a text takes the points its glyphs reach into.
    return std::ceil(width(text, font.pointSize, drawsBold(font.weight), font.monospaced));
}

std::string fitted(const std::string& line, double width, const Font& font) {
    if (TextMetrics::width(line, font) <= width + kFitSlack) return line;
    static const std::string ellipsis = "\u2026";
    std::string kept = line;
    while (!kept.empty()) {
        // Drop the last character (all its bytes), then the blanks before it.
        std::size_t end = kept.size() - 1;
        while (end > 0 && (static_cast<unsigned char>(kept[end]) & 0xC0) == 0x80)
            --end;
        kept.erase(end);
        while (!kept.empty() && kept.back() == ' ')
            kept.pop_back();
        std::string candidate = kept + ellipsis;
        if (TextMetrics::width(candidate, font) <= width + kFitSlack) return candidate;
    }
    return ellipsis;
}

} // namespace platform::ui::TextMetrics
