#include "platform/internal/TextFaces.hpp"

#include "platform/foundation/StandardError.hpp"
#include "platform/ui/TextMetrics.hpp"

#include <ft2build.h>
#include FT_FREETYPE_H

#include <string>

namespace platform::ui {

namespace {

constexpr double kMissingFaceAdvance = 0.6; // of the font size, per character

FT_Face openFace(FT_Library library, const std::filesystem::path& file) {
    FT_Face face = nullptr;
    if (library == nullptr || FT_New_Face(library, file.c_str(), 0, &face) != 0) return nullptr;
    if (face->units_per_EM == 0) {
        FT_Done_Face(face);
        return nullptr;
    }
    return face;
}

} // namespace

TextFaces::TextFaces(const std::array<std::filesystem::path, 4>& styleFiles,
                     const std::filesystem::path& fallbackFile) {
    FT_Library library = nullptr;
    if (FT_Init_FreeType(&library) != 0) library = nullptr;
    library_ = library;
    for (std::size_t i = 0; i < faces_.size(); ++i)
        faces_[i] = openFace(library, styleFiles[i]);
    fallback_ = openFace(library, fallbackFile);
    if (fallback_ == nullptr)
        StandardError::write("[Fonts] No fallback font at " + fallbackFile.string() +
                             ": characters the DejaVu faces lack are drawn as boxes\n");
}

TextFaces::~TextFaces() {
    for (FT_Face face : faces_)
        if (face) FT_Done_Face(face);
    if (fallback_) FT_Done_Face(fallback_);
    if (library_) FT_Done_FreeType(library_);
}

TextFaces& TextFaces::shared() {
    static TextFaces loaded( // kept for the life of the process
        {TextMetrics::fontFile(false, false), TextMetrics::fontFile(true, false),
         TextMetrics::fontFile(false, true), TextMetrics::fontFile(true, true)},
        TextMetrics::fallbackFontFile());
    return loaded;
}

TextFaces::Glyph TextFaces::glyph(std::size_t style, char32_t c) {
    auto& cache = glyphs_[style];
    if (auto it = cache.find(c); it != cache.end()) return it->second;
    Glyph glyph{kMissingFaceAdvance, false};
    FT_Face face = faces_[style];
    if (face != nullptr) {
        FT_UInt index = FT_Get_Char_Index(face, c);
        if (index == 0 && fallback_ != nullptr) {
            // The style's face has no glyph: the fallback face sets it when it has one.
            if (const FT_UInt other = FT_Get_Char_Index(fallback_, c); other != 0) {
                face = fallback_;
                index = other;
                glyph.fallback = true;
            }
        }
        if (FT_Load_Glyph(face, index, FT_LOAD_NO_SCALE | FT_LOAD_NO_HINTING) == 0)
            glyph.ems = static_cast<double>(face->glyph->advance.x) / face->units_per_EM;
    }
    cache.emplace(c, glyph);
    return glyph;
}

} // namespace platform::ui
