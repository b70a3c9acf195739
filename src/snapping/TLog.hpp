#pragma once

#include <cstddef>
#include <string>
#include <string_view>

namespace tilmora {

/// The snapping engine's diagnostic lines, shared by the snap grid and the tiling controller:
/// "[" + "HH:mm:ss.SSS" (local time) + "] [" + tag + "] " + message, printed through the program's
/// `print` only while `settings::verboseLogging` is a stored true. Tags in use: "TILING" (overlays, drops,
/// moves), "PRESET" (selection state) and "AX" (the target application).
///
/// `logDedup` keeps, per key, the last message it printed and the media time it printed it, so a
/// line written on every drag tick or menu rebuild appears once per interval. That map is the only
/// state here; it is guarded by a lock and printing happens after the unlock, so every call may
/// come from any thread. The map is reset with the other shared instances.
class TLog {
public:
    TLog() = delete;

    /// More entries than this make `logDedup` drop the `dedupPruneCount` oldest.
    static constexpr std::size_t dedupLimit = 500;
    static constexpr std::size_t dedupPruneCount = 100;

    /// `settings::verboseLogging` as a stored Boolean, read on every call; false when absent.
    static bool verbose();

    /// The time stamp of a line: the current date (`platform::Date::now()`) as local "HH:mm:ss.SSS".
    static std::string timeStamp();

    /// Prints "[<time stamp>] [<tag>] <message>" when `verbose()`; otherwise does nothing.
    static void log(std::string_view tag, std::string_view message);

    /// Prints as `log` does, unless the same `key` printed the same `msg` less than `minInterval`
    /// seconds ago on the media clock (a different message under the key always prints). With
    /// verbose logging off it does nothing at all, not even its bookkeeping. When the map passes
    /// `dedupLimit` keys, the `dedupPruneCount` entries with the oldest times go (equal times: the
    /// earliest written first). The key itself is never printed.
    static void logDedup(std::string_view tag, const std::string& key, const std::string& msg,
                         double minInterval);

    /// Number of keys the de-duplication map holds now.
    static std::size_t dedupCount();
};

} // namespace tilmora
