#include "support/WindowLayoutCheck.hpp"

#include <algorithm>
#include <cmath>
#include <map>
#include <optional>
#include <set>
#include <sstream>

namespace testsupport {

using platform::CGRect;
using Pixel = platform::ui::ScreenPicture::Pixel;

namespace {

/// Reads a quoted text (escapes kept as the character after the backslash) from `at`, which
/// points at the opening quote; leaves `at` after the closing one.
std::string quoted(const std::string& s, std::size_t& at) {
    std::string out;
    for (++at; at < s.size() && s[at] != '"'; ++at) {
        if (s[at] == '\\' && at + 1 < s.size()) ++at;
        out += s[at];
    }
    ++at;
    return out;
}

std::string word(const std::string& s, std::size_t& at) {
    const std::size_t end = std::min(s.find(' ', at), s.size());
    std::string out = s.substr(at, end - at);
    at = end;
    return out;
}

bool startsWith(const std::string& s, std::size_t at, const char* prefix) {
    return s.compare(at, std::char_traits<char>::length(prefix), prefix) == 0;
}

double luminance(const Pixel& p) {
    auto channel = [](std::uint8_t c) {
        const double v = c / 255.0;
        return v <= 0.04045 ? v / 12.92 : std::pow((v + 0.055) / 1.055, 2.4);
    };
    return 0.2126 * channel(p.red) + 0.7152 * channel(p.green) + 0.0722 * channel(p.blue);
}

std::string named(const WindowLayoutCheck::Line& line) {
    std::string out = line.kind;
    if (!line.id.empty()) out += " " + line.id;
    if (!line.text.empty()) out += " \"" + line.text + "\"";
    return out;
}

std::string frameText(const CGRect& r) {
    std::ostringstream out;
    out << r.minX() << " " << r.minY() << " " << r.width() << " " << r.height();
    return out.str();
}

const std::set<std::string> controlKinds = {"button", "checkbox",  "radio",       "popUp",    "picker",
                                            "slider", "textField", "searchField", "recorder", "stepper",
                                            "text",   "label",     "control"};

/// The text a line's element draws, as a person reads it: a field's value (not its
/// placeholder), a pop-up's selected item, else its quoted text.
std::string drawnText(const WindowLayoutCheck::Line& line) {
    if (line.kind == "textField" || line.kind == "searchField" || line.kind == "popUp" ||
        line.kind == "picker") {
        std::string value = line.value;
        if (value.size() >= 2 && value.front() == '"') value = value.substr(1, value.size() - 2);
        return value;
    }
    if (line.kind == "slider" || line.kind == "webView") return {};
    return line.text;
}

/// The contrast of the text in `box` (global points): the largest between a pixel of `picture`
/// and the pixel of `bare` (the same picture without texts) under it, among the pixels the text
/// changed; 1 when it changed none. With the text's pixel and the one under it. None when the box
/// holds no pixel of the picture.
struct Seen {
    double contrast = 1;
    Pixel ink, under;
};
std::optional<Seen> textContrast(const platform::ui::ScreenPicture& picture,
                                 const platform::ui::ScreenPicture& bare, const CGRect& box) {
    const CGRect area = picture.area();
    const double s = picture.scale();
    const int x0 = std::max(0, int(std::ceil((box.minX() - area.minX()) * s)));
    const int x1 = std::min(picture.width(), int(std::floor((box.maxX() - area.minX()) * s)));
    const int y0 = std::max(0, int(std::ceil((area.maxY() - box.maxY()) * s)));
    const int y1 = std::min(picture.height(), int(std::floor((area.maxY() - box.minY()) * s)));
    if (x1 <= x0 || y1 <= y0) return std::nullopt;
    Seen seen;
    for (int y = y0; y < y1; ++y)
        for (int x = x0; x < x1; ++x) {
            const Pixel ink = picture.pixel(x, y), under = bare.pixel(x, y);
            const double c = WindowLayoutCheck::contrast(ink, under);
            if (c > seen.contrast) seen = {c, ink, under};
        }
    return seen;
}

} // namespace

std::vector<WindowLayoutCheck::Line> WindowLayoutCheck::parse(const std::string& shown) {
    std::vector<Line> lines;
    std::istringstream in(shown);
    std::string s;
    while (std::getline(in, s)) {
        Line line;
        line.source = s;
        std::size_t at = s.find_first_not_of(' ');
        if (at == std::string::npos) continue;
        line.depth = at / 2;
        line.kind = word(s, at);
        while (at < s.size()) {
            if (s[at] == ' ') {
                ++at;
            } else if (s[at] == '"') {
                line.text = quoted(s, at);
            } else if (startsWith(s, at, "id=")) {
                at += 3;
                line.id = word(s, at);
            } else if (startsWith(s, at, "value=")) {
                at += 6;
                line.value = at < s.size() && s[at] == '"' ? "\"" + quoted(s, at) + "\"" : word(s, at);
            } else if (startsWith(s, at, "tooltip=")) {
                at += 8;
                quoted(s, at);
            } else if (startsWith(s, at, "frame ")) {
                at += 6;
                double v[4];
                for (double& d : v) {
                    while (at < s.size() && s[at] == ' ')
                        ++at;
                    d = std::stod(word(s, at));
                }
                line.frame = {v[0], v[1], v[2], v[3]};
                line.hasFrame = true;
            } else {
                const std::string flag = word(s, at);
                if (flag == "disabled") line.disabled = true;
                if (flag == "scrolled-out") line.scrolledOut = true;
            }
        }
        lines.push_back(line);
    }
    return lines;
}

double WindowLayoutCheck::contrast(const Pixel& a, const Pixel& b) {
    const double la = luminance(a), lb = luminance(b);
    return (std::max(la, lb) + 0.05) / (std::min(la, lb) + 0.05);
}

std::vector<std::string> WindowLayoutCheck::problems(const std::string& shown, const CGRect& content,
                                                     const platform::ui::ScreenPicture& picture,
                                                     const platform::ui::ScreenPicture& bare) {
    const auto lines = parse(shown);
    std::vector<std::string> out;
    // Each line's parent: the nearest line above it one level up.
    std::vector<long> parent(lines.size(), -1);
    std::vector<long> open;
    for (std::size_t i = 0; i < lines.size(); ++i) {
        open.resize(std::min(open.size(), lines[i].depth));
        parent[i] = open.empty() ? -1 : open.back();
        if (open.size() == lines[i].depth) open.push_back(long(i));
    }
    constexpr double slack = 0.5;
    for (std::size_t i = 0; i < lines.size(); ++i) {
        const Line& line = lines[i];
        if (!line.hasFrame) continue;
        const CGRect& f = line.frame;
        if (!controlKinds.count(line.kind)) continue;
        if (!line.scrolledOut && (f.minX() < content.minX() - slack || f.maxX() > content.maxX() + slack ||
                                  f.minY() < content.minY() - slack || f.maxY() > content.maxY() + slack))
            out.push_back("outside the window: " + named(line) + " frame " + frameText(f) + " (content " +
                          frameText(content) + ")");
        for (std::size_t j = i + 1; j < lines.size(); ++j) {
            const Line& other = lines[j];
            if (parent[j] != parent[i] || !other.hasFrame || !controlKinds.count(other.kind)) continue;
            const CGRect common = f.intersection(other.frame);
            if (!common.isNull() && common.width() > slack && common.height() > slack)
                out.push_back("overlap: " + named(line) + " frame " + frameText(f) + " and " + named(other) +
                              " frame " + frameText(other.frame));
        }
        const std::string text = drawnText(line);
        if (text.empty() || line.disabled || line.scrolledOut) continue;
        CGRect box = f.intersection(content);
        if (box.isNull()) continue;
        // A check box's or radio button's mark is not its text; nor are a stepper's arrows.
        if (line.kind == "checkbox" || line.kind == "radio")
            box = {box.minX() + 20, box.minY(), std::max(0.0, box.width() - 20), box.height()};
        if (line.kind == "stepper")
            box = {box.minX(), box.minY(), std::max(0.0, box.width() - 18), box.height()};
        const auto seen = textContrast(picture, bare, box);
        if (seen && seen->contrast < 3)
            out.push_back("contrast " + std::to_string(seen->contrast).substr(0, 4) + ":1 of " + named(line) +
                          " (text " + seen->ink.description() + " on " + seen->under.description() + ")");
    }
    return out;
}

} // namespace testsupport
