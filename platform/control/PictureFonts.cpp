#include "platform/control/PictureFonts.hpp"

#include "platform/ui/TextMetrics.hpp"

#include <cairo-ft.h>
#include <ft2build.h>
#include FT_FREETYPE_H

#include <array>
#include <mutex>

namespace platform::ui::PictureFonts {

namespace {

struct Faces {
    FT_Library library = nullptr;
    std::array<cairo_font_face_t*, 4> faces{};
};

/// Loaded once; the library, the FreeType faces and the Cairo faces live as long as the process.
Faces& faces() {
    static Faces loaded = [] {
        Faces f;
        if (FT_Init_FreeType(&f.library) != 0) return f;
        for (std::size_t i = 0; i < f.faces.size(); ++i) {
            FT_Face face = nullptr;
            const std::string path = TextMetrics::fontFile(i % 2 == 1, i >= 2).string();
            if (FT_New_Face(f.library, path.c_str(), 0, &face) != 0) continue;
            f.faces[i] = cairo_ft_font_face_create_for_ft_face(face, 0);
        }
        return f;
    }();
    return loaded;
}

} // namespace

cairo_font_face_t* face(bool bold, bool monospaced) {
    return faces().faces[(monospaced ? 2 : 0) + (bold ? 1 : 0)];
}

} // namespace platform::ui::PictureFonts
