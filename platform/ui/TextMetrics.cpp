#include "platform/ui/TextMetrics.hpp"

#include "platform/internal/TextFaces.hpp"

#include <cmath>

#include <algorithm>
#include <array>
#include <atomic>
#include <cstdint>
#include <mutex>

namespace platform::ui::TextMetrics {

namespace {

constexpr const char* kFolder = "/usr/share/fonts/truetype/dejavu/";
constexpr std::array<const char*, 4> kFiles = {"DejaVuSans.ttf", "DejaVuSans-Bold.ttf", "DejaVuSansMono.ttf",
                                               "DejaVuSansMono-Bold.ttf"};
constexpr const char* kFallbackFile = "/usr/share/fonts/truetype/wqy/wqy-microhei.ttc";

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

/// The advances of one style at one size, one character at a time, under the faces' lock.
class Advances {
public:
    explicit Advances(const Font& font)
        : faces_(TextFaces::shared()), hold_(faces_.mutex()),
          style_(TextFaces::styleIndex(drawsBold(font.weight), font.monospaced)),
          size_(font.pointSize > 0 ? font.pointSize : 0) {}
    ~Advances() { measured += counted_; }
    Advances(const Advances&) = delete;
    Advances& operator=(const Advances&) = delete;

    /// The advance of `c` in ems.
    double ems(char32_t c) {
        ++counted_;
        return faces_.glyph(style_, c).ems;
    }
    double size() const { return size_; }

private:
    TextFaces& faces_;
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
    return std::filesystem::path(kFolder) / kFiles[TextFaces::styleIndex(bold, monospaced)];
}

std::filesystem::path fallbackFontFile() {
    return kFallbackFile;
}

std::vector<Run> runs(const std::string& line, bool bold, bool monospaced) {
    std::vector<Run> out;
    TextFaces& faces = TextFaces::shared();
    const std::lock_guard<std::mutex> hold(faces.mutex());
    const std::size_t style = TextFaces::styleIndex(bold, monospaced);
    for (std::size_t i = 0; i < line.size();) {
        const std::size_t at = i;
        const bool fallback = faces.glyph(style, next(line, i)).fallback;
        if (out.empty() || out.back().fallback != fallback) out.push_back({std::string(), fallback});
        out.back().text.append(line, at, i - at);
    }
    return out;
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
