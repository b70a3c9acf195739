#pragma once

#include "model/DisplayPresetGrid.hpp"
#include "model/ScreenInfo.hpp"
#include "model/ScreenLayoutEntry.hpp"

#include "platform/foundation/PropertyValue.hpp"

#include <cstdint>
#include <map>
#include <memory>
#include <optional>
#include <set>
#include <string>
#include <vector>

namespace tilmora {

/// Remembers, for each set of connected screens, the grid preset each screen had, and applies them
/// again on request. The data lives in the standard user defaults under "DisplayLayoutMemory.v1":
/// the JSON of a map from configuration key (such as "1-2880x1800|2-1920x1080") to the list of
/// screen entries, in screen order.
///
/// Several instances may work on one key (the shell's shared one and the views' one): each reads
/// the stored data again before it captures or applies, so a capture through one never drops what
/// another stored. A stored value that does not decode, or is not data at all, is logged, and kept
/// under the key followed by ".corrupt" (".corrupt-2", ... when that is taken) before the next
/// capture writes over it.
///
/// Log lines go to the platform's system log, not the log file: the verbose ones start with
/// "[DisplayLayoutMemory] " and appear while `settings::verboseLogging` is true. Main thread.
class DisplayLayoutMemory {
public:
    using Cache = std::map<std::string, std::vector<ScreenLayoutEntry>>;

    /// Loads the stored data under `defaultsKey`.
    explicit DisplayLayoutMemory(std::shared_ptr<DisplayPresetGrid> roriDeru,
                                 std::string defaultsKey = "DisplayLayoutMemory.v1");

    /// The shell's instance, created on first use with "DisplayLayoutMemory.v1" and the installed
    /// grid.
    static DisplayLayoutMemory& shared();
    /// Installs the snap grid that `shared()` uses: the shell installs the shared snap grid when it
    /// builds its environment (`AppEnvironment::live`); tests install fakes. Until then (and after
    /// a null) `shared()` reads the default 2 x 2 preset and applies nothing, and says so once in
    /// the log (hook "DisplayLayoutMemory.grid" of `HookRegistry`).
    static void installGrid(std::shared_ptr<DisplayPresetGrid> grid);

    /// Stores the grid presets of the connected screens under the current configuration key,
    /// replacing that key's earlier list, and logs "Captured N preset(s) for configuration KEY".
    /// Does nothing when no screen has a signature.
    void captureCurrentPresetConfiguration();

    /// Applies the stored presets of the connected configuration screen by screen. Without
    /// `force`, does nothing but log "Auto-apply disabled; skipping stored layout" while
    /// `settings::autoApplyDisplayLayouts` is false. Logs "No stored layout for configuration KEY" (or
    /// "<none>") when nothing is stored, and "Applying preset RxC to NAME (activate=...)" per screen.
    void applyStoredConfiguration(bool force);

    const std::string& defaultsKey() const { return defaultsKey_; }
    /// What this instance read or captured last.
    const Cache& cache() const { return cache_; }

private:
    void load();
    void persist();
    std::optional<ScreenInfo> resolveScreen(const DisplaySignature& signature,
                                            const std::vector<ScreenInfo>& screens,
                                            std::set<std::uint32_t>& used) const;
    void log(const std::string& message) const;

    std::string defaultsKey_;
    Cache cache_;
    std::shared_ptr<DisplayPresetGrid> roriDeru_;
    /// The stored value when it did not decode (or was not data), kept aside before it is
    /// overwritten.
    std::optional<platform::PropertyValue> undecodable_;
};

} // namespace tilmora
