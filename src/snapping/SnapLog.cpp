#include "snapping/SnapLog.hpp"

#include "model/Log.hpp"
#include "snapping/SnapDefaults.hpp"
#include "snapping/TLog.hpp"
#include "windows/ScreenIdentity.hpp"

namespace tilmora::SnapLog {

namespace {
/// Interval of the de-duplicated selection lines, seconds.
constexpr double selectionLineInterval = 0.75;
} // namespace

void logSnapState(std::string_view message) {
    if (!SnapDefaults::verboseLogging()) return;
    print(std::string("[RoriDeru] ").append(message));
}

void olog(std::string_view message) {
    if (!SnapDefaults::overlayDebug()) return;
    print(std::string("[OVERLAY] ").append(message));
}

void missingOverlay(const platform::NSScreen& screen, std::string_view reason) {
    TLog::log("TILING", std::string(reason) + " on " + screen.localizedName() +
                            " with no overlay; skipping snap and leaving window as dropped");
}

std::string kindDebugText(std::optional<SnapIconKind> kind) {
    if (!kind) return "nil";
    return std::string("Optional(Tilmora.SnapIconKind.").append(caseName(*kind)).append(")");
}

std::string displayName(std::uint32_t displayID) {
    for (const auto& screen : platform::NSScreen::screens()) {
        if (tlm_displayID(screen) == displayID) return screen.localizedName();
    }
    return "sid:" + std::to_string(displayID);
}

std::string screenName(const std::optional<platform::NSScreen>& screen) {
    return screen ? screen->localizedName() : std::string("nil");
}

void rectPresetState(std::optional<SnapIconKind> global, std::optional<std::uint32_t> lastDisplay,
                     const std::map<std::uint32_t, SnapIconKind>& byDisplay, std::string_view message) {
    if (!SnapDefaults::verboseLogging()) return;
    std::string text(message);
    text += " scope=";
    text += SnapDefaults::layoutAppliesToAllScreens() ? "all" : "single";
    text += " global=";
    text += global ? std::string(caseName(*global)) : std::string("nil");
    text += " last=";
    text += lastDisplay ? displayName(*lastDisplay) : std::string("nil");
    text += " entries=[";
    bool first = true;
    for (const auto& [display, kind] : byDisplay) {
        if (!first) text += ", ";
        first = false;
        text += displayName(display);
        text += "=";
        text += caseName(kind);
    }
    text += "]";
    TLog::log("PRESET", text);
}

void rectPresetLookup(const std::optional<platform::NSScreen>& screen, bool applies) {
    if (!SnapDefaults::verboseLogging()) return;
    const std::string name = screenName(screen);
    TLog::logDedup("PRESET", "rect:selectedKindApplies:" + name,
                   "[rect] selectedKindApplies screen=" + name + " -> " + (applies ? "true" : "false"),
                   selectionLineInterval);
}

void rectPresetSelectionFetch(const std::optional<platform::NSScreen>& screen,
                              std::optional<SnapIconKind> kind) {
    if (!SnapDefaults::verboseLogging()) return;
    const std::string name = screenName(screen);
    TLog::logDedup("PRESET", "rect:selectedKindFor:" + name,
                   "[rect] selectedKind(for:) screen=" + name + " -> " + kindDebugText(kind),
                   selectionLineInterval);
}

} // namespace tilmora::SnapLog
