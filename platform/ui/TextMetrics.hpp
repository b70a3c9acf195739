#pragma once

#include "platform/ui/Font.hpp"

#include <cstdint>
#include <filesystem>
#include <string>
#include <vector>

/// The widths of texts as the screen capture sets them, so that a layout gives a text the room
/// its picture takes: DejaVu Sans (DejaVu Sans Mono for a monospaced font), bold for the bold
/// weights, each character at its unhinted advance, no kerning, one line. A character the style's
/// face has no glyph for (CJK among them) is set in the fallback face, WenQuanYi Micro Hei (regular
/// in every style), when that face has one; else it gets the style's .notdef glyph, a box. The faces
/// are read straight from their files through FreeType on first use and kept for the life of the
/// process; without a style's font file a character is 0.6 of the font size wide, and without the
/// fallback file (said once in the log, "[Fonts] No fallback font ...") every character is set in
/// the style's face. Any thread.
namespace platform::ui::TextMetrics {

/// The font file of a style (the screen capture draws with the same files).
std::filesystem::path fontFile(bool bold, bool monospaced);
/// The font file of the fallback face (a collection: its first face is the one used).
std::filesystem::path fallbackFontFile();

/// A part of a line that one face sets: the style's, or the fallback face (`fallback`).
struct Run {
    std::string text;
    bool fallback = false;
};
/// `line` cut into runs of the characters each face sets, in order (bytes that are not UTF-8 go with
/// the style's face); the screen capture draws each run in its face, so a picture's text takes the
/// width measured here. An empty line has no runs.
std::vector<Run> runs(const std::string& line, bool bold, bool monospaced);

/// Whether a font weight name draws bold ("bold", "semibold", "heavy", "black").
bool drawsBold(const std::string& weight);

/// The width of `text` (points) in `size` points. A line break ends the measured line (only the
/// first line is set); bytes that are not UTF-8 count as U+FFFD.
double width(const std::string& text, double size, bool bold, bool monospaced);
/// The width of `text` (points) in `font`.
double width(const std::string& text, const Font& font);

/// How far (points) a line may pass the width it is given and still count as fitting: Cairo's
/// setting of a line and the sum of its advances differ only by rounding.
inline constexpr double kFitSlack = 0.5;

/// `line` as it shows in `width` points of `font`: itself when it fits, else its longest start of
/// whole characters (blanks at its end dropped) followed by "…" that fits, or "…" alone. One pass
/// over the characters that fit (a line break ends the line, as in `width`).
std::string fitted(const std::string& line, double width, const Font& font);

/// The lines `text` takes in `width` points of `font`, as a text of several lines is set: a line
/// ends at a line break, and before a word that would pass the width (at the blanks before it,
/// which are dropped; a word wider than the width alone is broken before the character that would
/// pass it). With `maxLines` above 0, at most that many lines: the last then holds the rest of the
/// text (line breaks as blanks) cut to the width by `fitted`. One pass over the text. An empty text
/// is one empty line.
std::vector<std::string> lines(const std::string& text, double width, const Font& font, std::size_t maxLines = 0);

/// How many characters the calls above have measured since the process started (each pass over a
/// character counts once); tests compare it to tell linear work from repeated measuring.
std::uint64_t measuredCharacters();

} // namespace platform::ui::TextMetrics
