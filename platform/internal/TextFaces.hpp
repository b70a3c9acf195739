#pragma once

#include <array>
#include <cstddef>
#include <filesystem>
#include <mutex>
#include <unordered_map>

// FreeType's handles, declared as FreeType declares them (FT_Library, FT_Face).
struct FT_LibraryRec_;
struct FT_FaceRec_;

namespace platform::ui {

/// The FreeType faces that `TextMetrics` measures texts in, one per style (DejaVu Sans and DejaVu
/// Sans Mono, regular and bold), and one fallback face with CJK glyphs for the characters a style's
/// face has no glyph for; the screen capture draws with faces read from the same files.
/// Internal to the platform. Any thread: `glyph` must be called holding `mutex()`
/// (FreeType faces are not thread-safe).
class TextFaces {
public:
    /// How one character is set in one style: its advance in ems, and whether the fallback face
    /// draws it.
    struct Glyph {
        double ems = 0;
        bool fallback = false;
    };

    /// The faces of the four style files and the fallback file; a file that cannot be read leaves
    /// its face out (a style without its face sets each character at 0.6 em; without the fallback
    /// each character the style's face lacks gets that face's .notdef glyph, a box). A fallback that
    /// cannot be read is said once, on standard error ("[Fonts] No fallback font ..."), which the
    /// desktop console keeps in its log.
    TextFaces(const std::array<std::filesystem::path, 4>& styleFiles,
              const std::filesystem::path& fallbackFile);
    ~TextFaces();
    TextFaces(const TextFaces&) = delete;
    TextFaces& operator=(const TextFaces&) = delete;

    /// The faces of `TextMetrics::fontFile` and `TextMetrics::fallbackFontFile`, loaded on first
    /// use and kept for the life of the process.
    static TextFaces& shared();

    std::mutex& mutex() { return mutex_; }
    /// The index of a style (0 to 3): regular, bold, monospaced, monospaced bold.
    static std::size_t styleIndex(bool bold, bool monospaced) {
        return (monospaced ? 2 : 0) + (bold ? 1 : 0);
    }
    /// How `c` is set in `style` (cached per character).
    Glyph glyph(std::size_t style, char32_t c);

private:
    std::mutex mutex_;
    FT_LibraryRec_* library_ = nullptr;
    std::array<FT_FaceRec_*, 4> faces_{};
    FT_FaceRec_* fallback_ = nullptr;
    std::array<std::unordered_map<char32_t, Glyph>, 4> glyphs_;
};

} // namespace platform::ui
