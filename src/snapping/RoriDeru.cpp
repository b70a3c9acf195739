#include "snapping/RoriDeru.hpp"

#include "model/Log.hpp"
#include "platform/dispatch/Lock.hpp"
#include "platform/control/SharedInstances.hpp"
#include "platform/foundation/Text.hpp"
#include "platform/foundation/UserDefaults.hpp"
#include "windows/GeometryBridge.hpp"
#include "windows/ScreenIdentity.hpp"
#include "windows/StageIntegration.hpp"

#include <algorithm>
#include <cmath>
#include <cstdlib>
#include <memory>
#include <mutex>
#include <set>

namespace tilmora {

namespace {

/// A setting read as a number: a stored number (or Boolean); any other kind counts as absent.
std::optional<double> defaultsNumber(const std::string& key) {
    const auto value = platform::UserDefaults::standard().objectForKey(key);
    return value ? value->numberValue() : std::nullopt;
}
bool defaultsBool(const std::string& key) {
    return platform::UserDefaults::standard().boolForKey(key);
}
platform::Lock& sharedMutex() {
    static platform::Lock mutex;
    return mutex;
}

std::unique_ptr<RoriDeru>& sharedSlot() {
    static std::unique_ptr<RoriDeru> instance;
    return instance;
}

double minX(const Rect& r) {
    return r.x;
}
double maxX(const Rect& r) {
    return r.x + r.width;
}
double midX(const Rect& r) {
    return r.x + r.width / 2;
}
double minY(const Rect& r) {
    return r.y;
}
double maxY(const Rect& r) {
    return r.y + r.height;
}
double midY(const Rect& r) {
    return r.y + r.height / 2;
}

/// Area of the intersection of two rectangles; 0 when they do not overlap.
double intersectionArea(const Rect& a, const Rect& b) {
    const double width = std::max(std::min(maxX(a), maxX(b)) - std::max(minX(a), minX(b)), 0.0);
    const double height = std::max(std::min(maxY(a), maxY(b)) - std::max(minY(a), minY(b)), 0.0);
    return width * height;
}

/// The size of one device pixel in points for a backing scale (below 1 or NaN counts as 1).
double pixelSize(double scale) {
    const double s = std::isnan(scale) ? 1.0 : std::max(scale, 1.0);
    return 1.0 / s;
}

/// A gap setting: a stored number, with a negative or NaN value read as 0.
double sanitizedGap(double value) {
    return (std::isnan(value) || value < 0) ? 0.0 : value;
}

/// Splits one axis of the grid: `count` cells over `length` points from `origin`.
void splitAxis(double origin, double length, std::int64_t count, double gutter, double p,
               std::vector<double>& starts, std::vector<double>& sizes) {
    const auto n = static_cast<std::size_t>(std::max<std::int64_t>(count, 1));
    starts.resize(n);
    sizes.resize(n);
    const double available = length - static_cast<double>(n - 1) * gutter;
    const double base = p * std::floor((available / static_cast<double>(n)) / p);
    double sum = 0;
    for (std::size_t i = 0; i + 1 < n; ++i) {
        sizes[i] = std::max(base, p);
        sum += sizes[i];
    }
    const double last = available - sum;
    sizes[n - 1] = std::max(p * std::round(last / p), p);
    double start = origin;
    for (std::size_t i = 0; i < n; ++i) {
        starts[i] = start;
        start = start + sizes[i] + gutter;
    }
}

/// Rows, columns and gutter of an even grid as the layout uses them.
struct GridShape {
    std::int64_t rows = 1;
    std::int64_t cols = 1;
    double gutter = 0;
};

/// The absurd presets and grid shapes already logged, so that a preset read or laid out many times a
/// second (the drag tick, the overlays) is logged once rather than on every call. Bounded: cleared
/// when it passes 100 entries.
platform::Lock& loggedAbsurdMutex() {
    static platform::Lock mutex;
    return mutex;
}
std::set<std::string>& loggedAbsurd() {
    static std::set<std::string> logged;
    return logged;
}

/// Prints `line` unless the same `key` was printed before.
void logAbsurdOnce(const std::string& key, const std::string& line) {
    {
        std::lock_guard lock(loggedAbsurdMutex());
        auto& logged = loggedAbsurd();
        if (logged.count(key)) return;
        if (logged.size() >= 100) logged.clear();
        logged.insert(key);
    }
    print(line);
}

/// The shape to lay out: the given one, or, when rows or cols exceed `maxStoredGridCount` or the
/// gutter is not finite, the fallback shape of 2 x 2 cells without a gutter, which keeps a huge preset
/// that arrives by any route (a remembered display layout, a preset built in code) from creating
/// billions of cells. Logs each such shape once.
GridShape safeGridShape(std::int64_t rows, std::int64_t cols, double gutter) {
    if (rows <= RoriDeru::maxStoredGridCount && cols <= RoriDeru::maxStoredGridCount && std::isfinite(gutter))
        return {rows, cols, gutter};
    const std::string shape = std::to_string(rows) + "x" + std::to_string(cols) + " (gutter " +
                              platform::Text::doubleDescription(gutter) + ")";
    logAbsurdOnce("layout " + shape,
                  "[RoriDeru] Ignoring grid layout " + shape +
                      ": rows and columns must be at most 64 and the gutter finite; using 2x2");
    const auto fallback = RoriDeru::fallbackPreset();
    return {fallback.rows, fallback.cols, fallback.gutter};
}

/// Reads one part of a stored preset as a decimal number that fills the whole part (hexadecimal
/// forms such as "0x10" are not decimal and count as no number).
std::optional<double> readNumber(std::string_view part) {
    if (part.empty() || std::isspace(static_cast<unsigned char>(part.front()))) return std::nullopt;
    if (part.find_first_of("xX") != std::string_view::npos) return std::nullopt;
    const std::string text(part);
    char* end = nullptr;
    const double value = std::strtod(text.c_str(), &end);
    if (end != text.c_str() + text.size()) return std::nullopt;
    return value;
}

} // namespace

RoriDeru::Preset::Preset(std::int64_t rows, std::int64_t cols, double gutter, double padding)
    : rows(std::max<std::int64_t>(rows, 1))
    , cols(std::max<std::int64_t>(cols, 1))
    , gutter((std::isnan(gutter) || gutter < 0) ? 0.0 : gutter)
    , padding((std::isnan(padding) || padding < 0) ? 0.0 : padding) {}

RoriDeru& RoriDeru::shared() {
    static const bool registered = (platform::SharedInstances::registerReset([] { resetShared(); }), true);
    (void)registered;
    std::lock_guard lock(sharedMutex());
    auto& slot = sharedSlot();
    if (!slot) slot = std::make_unique<RoriDeru>();
    return *slot;
}

void RoriDeru::resetShared() {
    {
        std::lock_guard lock(sharedMutex());
        sharedSlot().reset();
    }
    std::lock_guard lock(loggedAbsurdMutex());
    loggedAbsurd().clear();
}

// MARK: Snap-kind geometry

RoriDeru::GapSettings RoriDeru::currentGapSettings() {
    GapSettings settings;
    const double gap = sanitizedGap(defaultsNumber("WMGapSize").value_or(0));
    settings.horizontal = sanitizedGap(defaultsNumber("WMGapHorizontal").value_or(gap));
    settings.vertical = sanitizedGap(defaultsNumber("WMGapVertical").value_or(gap));
    const bool includeEdges = defaultsBool("WMGapsIncludeScreenEdges");
    settings.left = includeEdges || defaultsBool("WMGapsEdgesLeft");
    settings.right = includeEdges || defaultsBool("WMGapsEdgesRight");
    settings.top = includeEdges || defaultsBool("WMGapsEdgesTop");
    settings.bottom = includeEdges || defaultsBool("WMGapsEdgesBottom");
    settings.applyToMaximize = defaultsBool("WMApplyGapsToMaximize");
    return settings;
}

Rect RoriDeru::adjustedVisibleFrame(const platform::NSScreen& screen) const {
    const auto screens = platform::NSScreen::screens();
    const bool isPrimary = !screens.empty() && screens.front() == screen;
    return StageIntegration::effectiveVisibleFrame(toRect(screen.visibleFrame()), isPrimary);
}

Rect RoriDeru::computeRectForVisible(SnapIconKind kind, const Rect& visible) const {
    return computeRectForVisible(kind, visible, currentGapSettings());
}

Rect RoriDeru::computeRectForVisible(SnapIconKind kind, const Rect& f, const GapSettings& gaps) {
    const double w = f.width;
    const double h = f.height;
    const double third = w / 3;
    const double twoThirds = (w + w) / 3;
    const double quarter = w * 0.25;
    const double threeQuarters = (w * 3) * 0.25;
    bool withGaps = true;
    Rect r;
    switch (kind) {
    case SnapIconKind::leftHalf:
        r = {minX(f), minY(f), w * 0.5, h};
        break;
    case SnapIconKind::rightHalf:
        r = {midX(f), minY(f), w * 0.5, h};
        break;
    case SnapIconKind::topHalf:
        r = {minX(f), midY(f), w, h * 0.5};
        break;
    case SnapIconKind::bottomHalf:
        r = {minX(f), minY(f), w, h * 0.5};
        break;
    case SnapIconKind::topLeft:
        r = {minX(f), midY(f), w * 0.5, h * 0.5};
        break;
    case SnapIconKind::topRight:
        r = {midX(f), midY(f), w * 0.5, h * 0.5};
        break;
    case SnapIconKind::bottomLeft:
        r = {minX(f), minY(f), w * 0.5, h * 0.5};
        break;
    case SnapIconKind::bottomRight:
        r = {midX(f), minY(f), w * 0.5, h * 0.5};
        break;
    case SnapIconKind::leftThird:
        r = {minX(f), minY(f), third, h};
        break;
    case SnapIconKind::middleThird:
        r = {minX(f) + third, minY(f), third, h};
        break;
    case SnapIconKind::rightThird:
        r = {minX(f) + twoThirds, minY(f), third, h};
        break;
    case SnapIconKind::leftTwoThirds:
        r = {minX(f), minY(f), twoThirds, h};
        break;
    case SnapIconKind::rightTwoThirds:
        r = {minX(f) + third, minY(f), twoThirds, h};
        break;
    case SnapIconKind::firstQuarter:
        r = {minX(f), minY(f), quarter, h};
        break;
    case SnapIconKind::secondQuarter:
        r = {minX(f) + quarter, minY(f), quarter, h};
        break;
    case SnapIconKind::thirdQuarter:
        r = {minX(f) + w * 0.5, minY(f), quarter, h};
        break;
    case SnapIconKind::lastQuarter:
        r = {maxX(f) - quarter, minY(f), quarter, h};
        break;
    case SnapIconKind::firstThreeQuarters:
        r = {minX(f), minY(f), threeQuarters, h};
        break;
    case SnapIconKind::lastThreeQuarters:
        r = {maxX(f) - threeQuarters, minY(f), threeQuarters, h};
        break;
    case SnapIconKind::topLeftSixth:
        r = {minX(f), midY(f), third, h * 0.5};
        break;
    case SnapIconKind::topCenterSixth:
        r = {minX(f) + third, midY(f), third, h * 0.5};
        break;
    case SnapIconKind::topRightSixth:
        r = {minX(f) + twoThirds, midY(f), third, h * 0.5};
        break;
    case SnapIconKind::bottomLeftSixth:
        r = {minX(f), minY(f), third, h * 0.5};
        break;
    case SnapIconKind::bottomCenterSixth:
        r = {minX(f) + third, minY(f), third, h * 0.5};
        break;
    case SnapIconKind::bottomRightSixth:
        r = {minX(f) + twoThirds, minY(f), third, h * 0.5};
        break;
    case SnapIconKind::centerHalf:
    case SnapIconKind::centerTwoThirds:
    case SnapIconKind::centerThreeFourths: {
        const double factor = kind == SnapIconKind::centerHalf        ? 0.5
                              : kind == SnapIconKind::centerTwoThirds ? 2.0 / 3.0
                                                                      : 0.75;
        const double width = std::round(w * factor);
        return {midX(f) - width * 0.5, minY(f), width, h};
    }
    case SnapIconKind::center:
        r = {midX(f) - (w * 0.66) * 0.5, midY(f) - (h * 0.66) * 0.5, w * 0.66, h * 0.66};
        break;
    case SnapIconKind::almostMaximize: {
        const double width = std::round(w * 0.9);
        const double height = std::round(h * 0.9);
        r = {std::round(midX(f) - width * 0.5), std::round(midY(f) - height * 0.5), width, height};
        break;
    }
    case SnapIconKind::maximize:
    case SnapIconKind::macFullScreen:
    case SnapIconKind::fullScreenLeftHalf:
    case SnapIconKind::fullScreenRightHalf:
        r = f;
        withGaps = gaps.applyToMaximize;
        break;
    case SnapIconKind::grid1x2:
    case SnapIconKind::grid1x3:
    case SnapIconKind::grid2x1:
    case SnapIconKind::grid3x1:
    case SnapIconKind::grid2x2:
    case SnapIconKind::grid3x3:
    case SnapIconKind::grid4x4:
    case SnapIconKind::grid6x4:
    case SnapIconKind::grid8x2:
        return f;
    }
    return withGaps ? applyGaps(r, f, gaps) : r;
}

Rect RoriDeru::applyGaps(const Rect& rect, const Rect& visible) const {
    return applyGaps(rect, visible, currentGapSettings());
}

Rect RoriDeru::applyGaps(const Rect& rect, const Rect& f, const GapSettings& gaps) {
    const double gh = sanitizedGap(gaps.horizontal);
    const double gv = sanitizedGap(gaps.vertical);
    if (gh <= 0 && gv <= 0) return rect;
    const bool onLeft = std::abs(minX(rect) - minX(f)) <= 0.5;
    const bool onRight = std::abs(maxX(rect) - maxX(f)) <= 0.5;
    const bool onBottom = std::abs(minY(rect) - minY(f)) <= 0.5;
    const bool onTop = std::abs(maxY(rect) - maxY(f)) <= 0.5;
    Rect r = rect;
    if (gaps.left || !onLeft) {
        r.x += gh / 2;
        r.width -= gh / 2;
    }
    if (gaps.right || !onRight) r.width -= gh / 2;
    if (gaps.bottom || !onBottom) {
        r.y += gv / 2;
        r.height -= gv / 2;
    }
    if (gaps.top || !onTop) r.height -= gv / 2;
    r.width = std::max(r.width, 50.0);
    r.height = std::max(r.height, 50.0);
    return clamp(r, f);
}

Rect RoriDeru::alignRectToPixelEdges(const Rect& rect, double scale) {
    const double p = pixelSize(scale);
    const auto snap = [p](double v) { return p * std::round(v / p); };
    const double left = snap(minX(rect));
    const double bottom = snap(minY(rect));
    const double right = snap(maxX(rect));
    const double top = snap(maxY(rect));
    return {left, bottom, std::max(right - left, 0.0), std::max(top - bottom, 0.0)};
}

Rect RoriDeru::clamp(const Rect& rect, const Rect& bounds) {
    Rect r = rect;
    if (minX(r) < minX(bounds)) r.x = minX(bounds);
    if (minY(r) < minY(bounds)) r.y = minY(bounds);
    // A rectangle that starts beyond the right or the top edge would get a negative size: move it
    // back so that its far edge lies on the bounds' edge (never left of or below the bounds).
    if (minX(r) > maxX(bounds)) r.x = std::max(maxX(bounds) - r.width, minX(bounds));
    if (minY(r) > maxY(bounds)) r.y = std::max(maxY(bounds) - r.height, minY(bounds));
    if (maxX(bounds) < maxX(r)) r.width = maxX(bounds) - minX(r);
    if (maxY(bounds) < maxY(r)) r.height = maxY(bounds) - minY(r);
    return r;
}

// MARK: Grid presets and tiles

std::string RoriDeru::presetText(const Preset& preset) {
    return std::to_string(preset.rows) + "," + std::to_string(preset.cols) + "," +
           platform::Text::doubleDescription(preset.gutter) + "," +
           platform::Text::doubleDescription(preset.padding);
}

std::optional<RoriDeru::Preset> RoriDeru::parsePreset(std::string_view text) {
    std::vector<double> numbers;
    std::size_t start = 0;
    while (start <= text.size()) {
        const std::size_t comma = text.find(',', start);
        const std::size_t end = comma == std::string_view::npos ? text.size() : comma;
        if (const auto number = readNumber(text.substr(start, end - start))) numbers.push_back(*number);
        if (comma == std::string_view::npos) break;
        start = comma + 1;
    }
    if (numbers.size() != 4) return std::nullopt;
    const bool finite =
        std::all_of(numbers.begin(), numbers.end(), [](double v) { return std::isfinite(v); });
    // Rows and cols are truncated toward zero before the cap applies ("64.5" is 64 rows).
    const double maxCount = static_cast<double>(maxStoredGridCount);
    if (!finite || std::trunc(numbers[0]) > maxCount || std::trunc(numbers[1]) > maxCount) {
        logAbsurdOnce(
            "preset " + std::string(text),
            "[RoriDeru] Ignoring grid preset \"" + std::string(text) +
                "\": rows and columns must be finite and at most 64, gutter and padding finite; using 2x2");
        return std::nullopt;
    }
    // Values below 1 (including large negative ones) become 1 in the preset; convert only in range.
    const auto toCount = [](double v) { return v < 1 ? std::int64_t{0} : static_cast<std::int64_t>(v); };
    return Preset(toCount(numbers[0]), toCount(numbers[1]), numbers[2], numbers[3]);
}

std::string RoriDeru::presetKey(std::uint32_t displayID) {
    return "WMPreset_" + std::to_string(displayID);
}

void RoriDeru::savePreset(const Preset& preset, std::optional<std::uint32_t> displayID) {
    if (!displayID) return;
    platform::UserDefaults::standard().set(presetText(preset), presetKey(*displayID));
}

RoriDeru::Preset RoriDeru::loadPreset(std::optional<std::uint32_t> displayID) const {
    if (!displayID) return fallbackPreset();
    const auto text = platform::UserDefaults::standard().stringForKey(presetKey(*displayID));
    if (!text) return fallbackPreset();
    return parsePreset(*text).value_or(fallbackPreset());
}

void RoriDeru::savePreset(const Preset& preset, const platform::NSScreen& screen) {
    savePreset(preset, tlm_displayID(screen));
}

RoriDeru::Preset RoriDeru::loadPreset(const platform::NSScreen& screen) const {
    return loadPreset(tlm_displayID(screen));
}

RoriDeru::GridMetrics RoriDeru::gridMetrics(const Rect& rect, std::int64_t rows, std::int64_t cols,
                                            double gutter, double scale) {
    const double p = pixelSize(scale);
    const GridShape shape = safeGridShape(rows, cols, gutter);
    GridMetrics metrics;
    splitAxis(rect.x, rect.width, shape.cols, shape.gutter, p, metrics.colXs, metrics.colWidths);
    splitAxis(rect.y, rect.height, shape.rows, shape.gutter, p, metrics.rowYs, metrics.rowHeights);
    return metrics;
}

std::vector<Rect> RoriDeru::tiles(const Rect& f, double scale, std::optional<std::uint32_t> displayID,
                                  const Preset& preset) const {
    const GridShape shape = safeGridShape(preset.rows, preset.cols, preset.gutter);
    const std::int64_t rows = std::max<std::int64_t>(shape.rows, 1);
    const std::int64_t cols = std::max<std::int64_t>(shape.cols, 1);
    const auto rowCount = static_cast<std::size_t>(rows);
    const auto colCount = static_cast<std::size_t>(cols);
    std::vector<Rect> result;
    result.reserve(rowCount * colCount);

    if (displayID) {
        const auto it = customPresetEdges.find(*displayID);
        if (it != customPresetEdges.end() && it->second.xs.size() == colCount + 1 &&
            it->second.ys.size() == rowCount + 1) {
            const auto& edges = it->second;
            for (std::size_t r = 0; r < rowCount; ++r) {
                const double y0 = minY(f) + edges.ys[r] * f.height;
                const double y1 = minY(f) + edges.ys[r + 1] * f.height;
                for (std::size_t c = 0; c < colCount; ++c) {
                    const double x0 = minX(f) + edges.xs[c] * f.width;
                    const double x1 = minX(f) + edges.xs[c + 1] * f.width;
                    result.push_back({x0, y0, x1 - x0, y1 - y0});
                }
            }
            return result;
        }
    }

    const auto metrics =
        gridMetrics(f, rows, cols, shape.gutter, std::isnan(scale) ? 1.0 : std::max(scale, 1.0));
    for (std::size_t r = 0; r < rowCount; ++r) {
        for (std::size_t c = 0; c < colCount; ++c) {
            result.push_back(
                {metrics.colXs[c], metrics.rowYs[r], metrics.colWidths[c], metrics.rowHeights[r]});
        }
    }
    return result;
}

std::vector<Rect> RoriDeru::tiles(const platform::NSScreen& screen, const Preset& preset) const {
    return tiles(toRect(screen.visibleFrame()), screen.backingScaleFactor(), tlm_displayID(screen), preset);
}

std::optional<Rect> RoriDeru::pickSnapTile(const Rect& w, const std::vector<Rect>& tiles, double threshold) {
    for (const auto& t : tiles) {
        if (std::abs(minX(w) - minX(t)) < threshold || std::abs(maxX(w) - maxX(t)) < threshold ||
            std::abs(maxY(w) - maxY(t)) < threshold || std::abs(minY(w) - minY(t)) < threshold) {
            return t;
        }
    }
    if (tiles.empty()) return std::nullopt;
    std::size_t best = 0;
    double bestArea = intersectionArea(w, tiles[0]);
    for (std::size_t i = 1; i < tiles.size(); ++i) {
        const double area = intersectionArea(w, tiles[i]);
        if (area > bestArea) {
            best = i;
            bestArea = area;
        }
    }
    return tiles[best];
}

std::optional<RoriDeru::RowCol> RoriDeru::rowCol(const Rect& tile, const std::vector<Rect>& tiles,
                                                 std::int64_t cols) {
    const auto it = std::find(tiles.begin(), tiles.end(), tile);
    if (it == tiles.end()) return std::nullopt;
    const auto index = static_cast<std::int64_t>(it - tiles.begin());
    const std::int64_t c = std::max<std::int64_t>(cols, 1);
    return RowCol{index / c + 1, index % c + 1};
}

std::optional<platform::NSScreen> RoriDeru::screenForRect(const Rect& rect) {
    const auto screens = platform::NSScreen::screens();
    if (screens.empty()) return std::nullopt;
    std::size_t best = 0;
    double bestArea = intersectionArea(rect, toRect(screens[0].visibleFrame()));
    for (std::size_t i = 1; i < screens.size(); ++i) {
        const double area = intersectionArea(rect, toRect(screens[i].visibleFrame()));
        if (area > bestArea) {
            best = i;
            bestArea = area;
        }
    }
    return screens[best];
}

Rect RoriDeru::insetByPadding(const Rect& tile, double padding) {
    const double inset = (std::isnan(padding) || padding < 0) ? 0.0 : padding;
    Rect r{tile.x + inset, tile.y + inset, tile.width - 2 * inset, tile.height - 2 * inset};
    if (r.width < 0) {
        r.x = midX(tile);
        r.width = 0;
    }
    if (r.height < 0) {
        r.y = midY(tile);
        r.height = 0;
    }
    return r;
}

} // namespace tilmora

std::size_t
std::hash<tilmora::RoriDeru::Preset>::operator()(const tilmora::RoriDeru::Preset& preset) const noexcept {
    // A zero gutter or padding hashes like +0.
    const auto normalized = [](double v) { return v == 0 ? 0.0 : v; };
    std::size_t seed = 0;
    const auto combine = [&seed](std::size_t value) {
        seed ^= value + 0x9e3779b97f4a7c15ULL + (seed << 6) + (seed >> 2);
    };
    combine(std::hash<std::int64_t>{}(preset.rows));
    combine(std::hash<std::int64_t>{}(preset.cols));
    combine(std::hash<double>{}(normalized(preset.gutter)));
    combine(std::hash<double>{}(normalized(preset.padding)));
    return seed;
}
