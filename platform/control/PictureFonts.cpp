#include "platform/control/PictureFonts.hpp"

#include "platform/ui/TextMetrics.hpp"

#include <cairo-ft.h>
#include <ft2build.h>
#include FT_FREETYPE_H

#include <array>
#include <filesystem>
#include <mutex>

namespace platform::ui::PictureFonts {

namespace {

struct Faces {
    FT_Library library = nullptr;
    std::array<cairo_font_face_t*, 4> faces{};
    cairo_font_face_t* fallback = nullptr;
};

cairo_font_face_t* loadPictureFace(FT_Library library, const std::filesystem::path& file) {
    FT_Face face = nullptr;
    if (FT_New_Face(library, file.c_str(), 0, &face) != 0) return nullptr;
    return cairo_ft_font_face_create_for_ft_face(face, 0);
}

/// Loaded once; the library, the FreeType faces and the Cairo faces live as long as the process.
Faces& faces() {
    static Faces loaded = [] {
        Faces f;
        if (FT_Init_FreeType(&f.library) != 0) return f;
        for (std::size_t i = 0; i < f.faces.size(); ++i)
            f.faces[i] = loadPictureFace(f.library, TextMetrics::fontFile(i % 2 == 1, i >= 2));
        f.fallback = loadPictureFace(f.library, TextMetrics::fallbackFontFile());
        return f;
    }();
    return loaded;
}

} // namespace

cairo_font_face_t* face(bool bold, bool monospaced) {
    return faces().faces[(monospaced ? 2 : 0) + (bold ? 1 : 0)];
}

cairo_font_face_t* fallbackFace() {
    return faces().fallback;
}

} // namespace platform::ui::PictureFonts
