#pragma once

#include "model/SnapIconKind.hpp"
#include "platform/desktop/NSScreen.hpp"

#include <cstdint>
#include <map>
#include <optional>
#include <string>
#include <string_view>

namespace tilmora {

/// The snap grid's own log lines, printed through the program's `print`: plain "[RoriDeru] " lines
/// and "[OVERLAY] " lines gated by their settings, and the "PRESET" lines of the rect selection
/// (through `TLog`). Settings are read on every call. Main thread, except `logSnapState`, `olog`
/// and the text helpers, which any thread may call.
namespace SnapLog {

/// Prints "[RoriDeru] " + message while `settings::verboseLogging` is true (no time stamp).
void logSnapState(std::string_view message);

/// Prints "[OVERLAY] " + message while `settings::overlayDebug` is true, whatever `settings::verboseLogging`
/// says (no time stamp).
void olog(std::string_view message);

/// Logs ("TILING") that a drop on `screen` found no overlay and leaves the window as dropped:
/// reason + " on " + the screen's name + " with no overlay; skipping snap and leaving window as
/// dropped".
void missingOverlay(const platform::NSScreen& screen, std::string_view reason);

/// An optional kind in its debug form: "nil", or "Optional(Tilmora.SnapIconKind.leftHalf)".
std::string kindDebugText(std::optional<SnapIconKind> kind);

/// The name of a display number in log lines: the localized name of the first screen with that
/// number, else "sid:" + the number ("sid:7") when no screen has it.
std::string displayName(std::uint32_t displayID);

/// The name of an optional screen in log lines: its localized name, or "nil".
std::string screenName(const std::optional<platform::NSScreen>& screen);

/// While `settings::verboseLogging` is true, logs ("PRESET") message + " scope=" + "all" or "single" +
/// " global=" + the global kind or "nil" + " last=" + the latest display's name or "nil" +
/// " entries=[" + name=kind of each per-display entry, lowest display first, joined by ", " + "]".
void rectPresetState(std::optional<SnapIconKind> global, std::optional<std::uint32_t> lastDisplay,
                     const std::map<std::uint32_t, SnapIconKind>& byDisplay, std::string_view message);

/// While `settings::verboseLogging` is true, logs ("PRESET", at most once per 0.75 s for the same text)
/// "[rect] selectedKindApplies screen=<name> -> true|false".
void rectPresetLookup(const std::optional<platform::NSScreen>& screen, bool applies);

/// While `settings::verboseLogging` is true, logs ("PRESET", at most once per 0.75 s for the same text)
/// "[rect] selectedKind(for:) screen=<name> -> " + the kind in its debug form.
void rectPresetSelectionFetch(const std::optional<platform::NSScreen>& screen,
                              std::optional<SnapIconKind> kind);

} // namespace SnapLog

} // namespace tilmora
