#pragma once

#include <cairo.h>

namespace platform::ui {

/// The faces the screen capture writes text in: DejaVu Sans and DejaVu Sans Mono, regular and bold,
/// read straight from their files through FreeType, so that pictures do not depend on the host's
/// font configuration. Made on first use and kept for the life of the process. Main thread.
namespace PictureFonts {

/// The face for the style; null when its font file is missing (the caller then falls back to
/// Cairo's own font selection).
cairo_font_face_t* face(bool bold, bool monospaced);

} // namespace PictureFonts

} // namespace platform::ui
