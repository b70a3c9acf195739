#pragma once

#include "model/SnapIconKind.hpp"
#include "platform/desktop/NSScreen.hpp"

#include <cstdint>
#include <map>
#include <optional>

namespace tilmora {

class LayoutTargets;

/// The rect selection of the snap grid: the snap kind the user last chose from the menu, the snap
/// bar or a shortcut, kept per display number (with the display of the latest choice) or, in
/// all-displays scope (`settings::gridAllDisplays`), once for all displays. The scope is read at the start
/// of every call. Every change of the effective selection posts `didChangeNotification` once, on
/// the default center, with the object given at construction (the snap grid). Owns the
/// selection; the snap grid holds one. Main thread. Logs through `SnapLog` ("PRESET" lines while
/// `settings::verboseLogging` is true).
class RectSelection {
public:
    /// Posted on every change of the effective selection.
    static constexpr const char* didChangeNotification = "RoriDeruSelectedKindDidChange";

    /// The selection as stored: the kind per display number, the display of the latest per-display
    /// choice, the kind of the all-displays scope, and the layout scope last seen by `migrate`.
    struct State {
        std::map<std::uint32_t, SnapIconKind> byDisplay;
        std::optional<std::uint32_t> lastDisplay;
        std::optional<SnapIconKind> global;
        bool cachedScopeAllDisplays = false;
    };

    /// An empty selection whose notifications carry `notificationObject` and whose calls without a
    /// screen use the preferred screen of `targets`, the scope cache starting at `scopeAllDisplays`.
    RectSelection(const void* notificationObject, LayoutTargets& targets, bool scopeAllDisplays);

    /// The selected kind: the global one in all-displays scope; otherwise the kind of the latest
    /// display when it has one, else the kind of the lowest display number, else none.
    std::optional<SnapIconKind> selectedKind() const;

    /// Whether anything is selected in the current scope: the global kind in all-displays scope,
    /// else any display's entry. Logs nothing.
    bool any() const;

    /// The kind selected for a display number: the global one in all-displays scope, else its entry.
    /// Logs nothing.
    std::optional<SnapIconKind> kindForDisplay(std::uint32_t display) const;

    /// The kind selected for `screen`: the global one in all-displays scope; otherwise the entry of
    /// its display number (none without screen, number or entry). Logs the fetch line.
    std::optional<SnapIconKind> selectedKindFor(const std::optional<platform::NSScreen>& screen) const;

    /// Whether a kind applies to `screen`: any global kind in all-displays scope; otherwise whether
    /// its display has an entry. Logs the lookup line.
    bool applies(const std::optional<platform::NSScreen>& screen) const;

    /// Sets `kind` (none clears) for `screen`, or for the preferred screen without one;
    /// in all-displays scope sets the global kind, and clearing a set global kind also empties the
    /// per-display map and the latest display. A per-display call writes the entry and the latest
    /// display even when the kind does not change ("no-change" line, nothing posted).
    void set(std::optional<SnapIconKind> kind, const std::optional<platform::NSScreen>& screen);

    /// Clears the selection of the current scope; nothing happens (no line, no post) when it is empty.
    void clearAll();

    /// When the scope differs from the cached one: to all displays, the preferred screen's kind (else
    /// the lowest display's) becomes the global kind when none is set, the map is emptied, and a
    /// global kind is announced; to one display, a global kind moves to the preferred screen (else
    /// the targets' preferred screen), or is dropped when there is no such screen with a display
    /// number, and is announced and logged either way. The cache then holds the scope.
    void migrate(const std::optional<platform::NSScreen>& preferredScreen);

    /// The selection as stored.
    const State& state() const { return state_; }
    /// Replaces the stored selection as it is, posting and logging nothing (for restoring a state
    /// read with `state()`).
    void restore(const State& state) { state_ = state; }

    /// The selection-state line ("PRESET"): message, scope, global kind, latest display and the
    /// per-display entries.
    void logState(std::string_view message) const;

private:
    void announce() const;

    const void* notificationObject_;
    LayoutTargets& targets_;
    State state_;
};

} // namespace tilmora
