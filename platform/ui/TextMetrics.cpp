#include "platform/ui/TextMetrics.hpp"

#include <cmath>
#include <ft2build.h>
#include FT_FREETYPE_H

#include <algorithm>
#include <array>
#include <atomic>
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

std::atomic<std::uint64_t> measured{0};

/// The advances of one face at one size, one character at a time, under the faces' lock.
class Advances {
public:
    explicit Advances(const Font& font)
        : faces_(faces()), hold_(faces_.mutex), style_(styleIndex(drawsBold(font.weight), font.monospaced)),
          size_(font.pointSize > 0 ? font.pointSize : 0) {}
    ~Advances() { measured += counted_; }
    Advances(const Advances&) = delete;
    Advances& operator=(const Advances&) = delete;

    /// The advance of `c` in ems.
    double ems(char32_t c) {
        ++counted_;
        return faces_.advance(style_, c);
    }
    double size() const { return size_; }

private:
    Faces& faces_;
    std::lock_guard<std::mutex> hold_;
    std::size_t style_;
    double size_;
    std::uint64_t counted_ = 0;
};

bool fits(double ems, double size, double width) {
    // Layout works in whole points: a text takes the points its glyphs reach into.
    return std::ceil(ems * size) <= width + kFitSlack;
}

const std::string kEllipsis = "\u2026";

} // namespace

std::uint64_t measuredCharacters() {
    return measured.load();
}

std::filesystem::path fontFile(bool bold, bool monospaced) {
    return std::filesystem::path(kFolder) / kFiles[styleIndex(bold, monospaced)];
}

bool drawsBold(const std::string& weight) {
    return weight == "bold" || weight == "semibold" || weight == "heavy" || weight == "black";
}

double width(const std::string& text, double size, bool bold, bool monospaced) {
    if (text.empty() || !(size > 0)) return 0;
    Advances advances(Font{size, bold ? "bold" : "regular", monospaced});
    double ems = 0;
    for (std::size_t i = 0; i < text.size();) {
        const char32_t c = next(text, i);
        if (c == U'\n') break;
        ems += advances.ems(c);
    }
    return ems * size;
}

double width(const std::string& text, const Font& font) {
    // Layout works in whole points: a text takes the points its glyphs reach into.
    return std::ceil(width(text, font.pointSize, drawsBold(font.weight), font.monospaced));
}

std::string fitted(const std::string& line, double width, const Font& font) {
    if (line.empty()) return line;
    Advances advances(font);
    const double size = advances.size();
    const double ellipsis = advances.ems(U'\u2026');
    // The longest start that ends in a character other than a blank and fits with "…" after it;
    // the pass stops at the first character past the width.
    double ems = 0;
    std::size_t cut = 0;
    for (std::size_t i = 0; i < line.size();) {
        const char32_t c = next(line, i);
        if (c == U'\n') return line.substr(0, i - 1);
        ems += advances.ems(c);
        if (!fits(ems, size, width)) return line.substr(0, cut) + kEllipsis;
        if (c != U' ' && fits(ems + ellipsis, size, width)) cut = i;
    }
    return line;
}

std::vector<std::string> lines(const std::string& text, double width, const Font& font, std::size_t maxLines) {
    std::vector<std::string> out;
    std::size_t start = 0; // the current line's first byte
    {
        Advances advances(font);
        const double size = advances.size();
        std::size_t breakAt = 0;    // where the line may end: after its last word so far (0: none)
        std::size_t resumeAt = 0;   // where the next line then starts: the word after the blanks
        double ems = 0, emsAtResume = 0;
        bool inBlanks = false;
        auto endLine = [&](std::size_t end, std::size_t next) {
            std::string line = text.substr(start, end - start);
            while (!line.empty() && line.back() == ' ')
                line.pop_back();
            out.push_back(std::move(line));
            start = next;
            breakAt = 0;
        };
        std::size_t i = 0;
        while (i < text.size() && (maxLines == 0 || out.size() + 1 < maxLines)) {
            const std::size_t at = i;
            const char32_t c = next(text, i);
            if (c == U'\n') {
                endLine(at, i);
                ems = 0;
                inBlanks = false;
                continue;
            }
            if (c == U' ') {
                if (!inBlanks && at > start) breakAt = at;
                inBlanks = true;
                ems += advances.ems(c);
                continue; // blanks at a line's end may pass the width
            }
            if (inBlanks && breakAt != 0) {
                resumeAt = at;
                emsAtResume = ems;
            }
            inBlanks = false;
            const double advance = advances.ems(c);
            if (!fits(ems + advance, size, width) && at > start) {
                if (breakAt != 0 && resumeAt > breakAt) {
                    // The words since the last blanks go to the next line.
                    endLine(breakAt, resumeAt);
                    ems -= emsAtResume;
                } else {
                    endLine(at, at);
                    ems = 0;
                }
            }
            ems += advance;
        }
        if (i >= text.size()) {
            std::string line = text.substr(start);
            while (!line.empty() && line.back() == ' ')
                line.pop_back();
            out.push_back(std::move(line));
            return out;
        }
    }
    // The last line allowed holds the rest of the text, cut to the width.
    std::string rest = text.substr(out.empty() ? 0 : start);
    std::replace(rest.begin(), rest.end(), '\n', ' ');
    out.push_back(fitted(rest, width, font));
    return out;
}

} // namespace platform::ui::TextMetrics
