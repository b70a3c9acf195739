#pragma once

#include <cairo.h>

namespace platform::ui {

/// The faces the screen capture writes text in: DejaVu Sans and DejaVu Sans Mono, regular and bold,
/// and the fallback face for the characters they lack (`TextMetrics::runs` says which), read
/// straight from the files `TextMetrics` measures with through FreeType, so that pictures do not
/// depend on the host's font configuration. Made on first use and kept for the life of the process.
/// Main thread.
namespace PictureFonts {

/// The face for the style; null when its font file is missing (the caller then falls back to
/// Cairo's own font selection).
cairo_font_face_t* face(bool bold, bool monospaced);
/// The fallback face; null when its file is missing (its runs are then drawn in the style's face).
cairo_font_face_t* fallbackFace();

} // namespace PictureFonts

} // namespace platform::ui
