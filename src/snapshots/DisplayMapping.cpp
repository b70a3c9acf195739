#include "snapshots/DisplayMapping.hpp"

#include "snapshots/CurrentDisplayInfo.hpp"
#include "snapshots/DisplayFingerprint.hpp"
#include "snapshots/SavedDisplayIdentity.hpp"
#include "snapshots/SavedDisplayInfo.hpp"
#include "windows/ScreenIdentity.hpp"

#include "platform/desktop/CGDisplay.hpp"

#include <algorithm>
#include <cmath>
#include <optional>

namespace tilmora::WindowManager {

namespace {

/// The number of display numbers asked of the online display list.
constexpr std::uint32_t maxOnlineDisplays = 16;

/// The fallback display number of the automatic mapping: the main screen's, else the first
/// screen's (exact, then as a plain number), else 0.
std::uint32_t fallbackDisplayNumber(const std::vector<platform::NSScreen>& screens) {
    if (const auto main = platform::NSScreen::main())
        if (const auto id = tlm_displayID(*main)) return *id;
    if (const auto id = tlm_displayID(screens.front())) return *id;
    if (const auto id = screenNumberValue(screens.front())) return *id;
    return 0;
}

/// The origin by which the size pass orders saved displays ((0, 0) without a saved frame).
platform::CGPoint sortOrigin(const SavedDisplayInfo& info) {
    return info.visibleBounds ? info.visibleBounds->origin : platform::CGPoint{};
}

bool originBefore(platform::CGPoint a, platform::CGPoint b) {
    if (a.x != b.x) return a.x < b.x;
    return a.y < b.y;
}

} // namespace

bool boundsMatch(const platform::CGRect& a, const platform::CGRect& b) {
    return std::abs(a.origin.x - b.origin.x) <= displayBoundsTolerance &&
           std::abs(a.origin.y - b.origin.y) <= displayBoundsTolerance &&
           std::abs(a.size.width - b.size.width) <= displayBoundsTolerance &&
           std::abs(a.size.height - b.size.height) <= displayBoundsTolerance;
}

std::optional<std::string> sizeKey(const platform::CGSize& size) {
    const auto part = [](double v) -> std::optional<long long> {
        if (!std::isfinite(v)) return std::nullopt;
        const double rounded = std::round(v);
        if (std::abs(rounded) >= 9.2e18) return std::nullopt;
        return static_cast<long long>(rounded);
    };
    const auto w = part(size.width), h = part(size.height);
    if (!w || !h) return std::nullopt;
    return std::to_string(*w) + "x" + std::to_string(*h);
}

std::set<std::uint32_t> presentScreenIDs() {
    platform::CGDirectDisplayID ids[maxOnlineDisplays] = {};
    std::uint32_t count = 0;
    std::set<std::uint32_t> present;
    if (platform::CGGetOnlineDisplayList(maxOnlineDisplays, ids, &count) == platform::kCGErrorSuccess) {
        for (std::uint32_t i = 0; i < std::min(count, maxOnlineDisplays); ++i)
            present.insert(ids[i]);
        return present;
    }
    for (const auto& screen : platform::NSScreen::screens())
        if (const auto id = tlm_displayID(screen)) present.insert(*id);
    return present;
}

std::map<std::uint32_t, std::uint32_t> automaticDisplayMapping(const std::vector<WindowValue>& windows,
                                                               const std::vector<platform::NSScreen>& screens) {
    std::map<std::uint32_t, std::uint32_t> mapping;
    if (screens.empty()) return mapping;
    const std::uint32_t fallback = fallbackDisplayNumber(screens);

    std::vector<CurrentDisplayInfo> current;
    for (const auto& screen : screens)
        if (const auto id = tlm_displayID(screen))
            current.push_back({*id, displayFingerprintHash(*id), screen.visibleFrame()});

    // One entry per saved display number, read from its first row, in ascending number.
    std::map<std::uint32_t, const WindowValue*> firstRows;
    for (const auto& window : windows)
        firstRows.emplace(savedDisplayNumber(window.screenUUID), &window);
    std::vector<SavedDisplayInfo> saved;
    for (const auto& [id, row] : firstRows)
        saved.push_back({id, savedFingerprint(row->screenUUID), savedDisplayBounds(*row),
                         {row->originalScreenWidth, row->originalScreenHeight}});

    std::set<std::uint32_t> used;
    const auto take = [&](const SavedDisplayInfo& s, const CurrentDisplayInfo& c) {
        mapping[s.id] = c.id;
        used.insert(c.id);
    };

    // Fingerprint: exactly one present display with the same (non-zero) fingerprint.
    for (const auto& s : saved) {
        if (s.fingerprintHash == 0 || mapping.count(s.id)) continue;
        const CurrentDisplayInfo* candidate = nullptr;
        int candidates = 0;
        for (const auto& c : current)
            if (c.fingerprintHash == s.fingerprintHash) {
                candidate = &c;
                ++candidates;
            }
        if (candidates == 1 && !used.count(candidate->id)) take(s, *candidate);
    }

    // Visible frame within the tolerance: the first present display not used yet.
    for (const auto& s : saved) {
        if (!s.visibleBounds || mapping.count(s.id)) continue;
        for (const auto& c : current)
            if (!used.count(c.id) && boundsMatch(c.visibleBounds, *s.visibleBounds)) {
                take(s, c);
                break;
            }
    }

    // The same number, unless that display is taken already.
    for (const auto& s : saved) {
        if (mapping.count(s.id)) continue;
        const auto it = std::find_if(current.begin(), current.end(),
                                     [&](const CurrentDisplayInfo& c) { return c.id == s.id; });
        if (it != current.end() && !used.count(it->id)) take(s, *it);
    }

    // The same size key, paired by position from the left (then from the bottom).
    std::map<std::string, std::vector<const SavedDisplayInfo*>> savedBySize;
    std::map<std::string, std::vector<const CurrentDisplayInfo*>> currentBySize;
    for (const auto& s : saved)
        if (!mapping.count(s.id))
            if (const auto key = sizeKey(s.visibleSize)) savedBySize[*key].push_back(&s);
    for (const auto& c : current)
        if (!used.count(c.id))
            if (const auto key = sizeKey(c.visibleBounds.size)) currentBySize[*key].push_back(&c);
    for (auto& [key, savedGroup] : savedBySize) {
        const auto found = currentBySize.find(key);
        if (found == currentBySize.end()) continue;
        auto& currentGroup = found->second;
        std::stable_sort(savedGroup.begin(), savedGroup.end(), [](const auto* a, const auto* b) {
            return originBefore(sortOrigin(*a), sortOrigin(*b));
        });
        std::stable_sort(currentGroup.begin(), currentGroup.end(), [](const auto* a, const auto* b) {
            return originBefore(a->visibleBounds.origin, b->visibleBounds.origin);
        });
        for (std::size_t i = 0; i < std::min(savedGroup.size(), currentGroup.size()); ++i) {
            if (mapping.count(savedGroup[i]->id) || used.count(currentGroup[i]->id)) continue;
            take(*savedGroup[i], *currentGroup[i]);
        }
    }

    // Whatever is left goes to the fallback display (which several may share).
    for (const auto& s : saved)
        mapping.emplace(s.id, fallback);
    return mapping;
}

bool detectDisplayIdSwap(const std::vector<WindowValue>& windows, const std::vector<platform::NSScreen>& screens) {
    if (screens.empty()) return false;
    for (const auto& window : windows) {
        const auto bounds = savedDisplayBounds(window);
        if (!bounds) continue;
        const std::uint32_t savedID = savedDisplayNumber(window.screenUUID);
        const auto idScreen = std::find_if(screens.begin(), screens.end(), [&](const platform::NSScreen& s) {
            return tlm_displayID(s) == savedID;
        });
        if (idScreen == screens.end()) continue;
        const auto boundsScreen = std::find_if(screens.begin(), screens.end(), [&](const platform::NSScreen& s) {
            return boundsMatch(s.visibleFrame(), *bounds);
        });
        if (boundsScreen == screens.end()) continue;
        if (tlm_displayID(*idScreen) != tlm_displayID(*boundsScreen)) return true;
    }
    return false;
}

} // namespace tilmora::WindowManager
