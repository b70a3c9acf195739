#pragma once

#include "platform/desktop/CFValue.hpp"
#include "platform/desktop/SkyLight.hpp"

#include <atomic>
#include <cstdint>
#include <memory>
#include <optional>
#include <string>
#include <vector>

namespace tilmora::WindowManager {

/// The window server's private Spaces functions, bound once at creation: which Space holds a
/// window, which Desktop number a Space has, and the functions that move windows between Spaces
/// (used by `attemptSpaceMoveWithRetry`). The process has one (`spacesMover()`); tests make fresh
/// ones with `make()`.
///
/// Space ids are 64-bit; ids above the signed 64-bit range (and negative numbers) are not Space ids.
/// A Desktop number is the 1-based position of a Space in its display's list of Spaces.
///
/// Logging: "[SPACE][WARN] " and "[SPACE][DIAG] " lines through `print`, always written, each kind
/// at most once per mover (the once-flags are atomic, set by the thread that logs).
///
/// Threads: the lookups run on the main thread; `primarySpaceID` called elsewhere hops to the main
/// queue and waits at most 1.0 s. The bound functions and `connection` never change after creation,
/// so any thread may read them.
class SpacesMover : public std::enable_shared_from_this<SpacesMover> {
public:
    using MoveFn = std::int32_t (*)(platform::CGSConnectionID, const platform::CFArray&,
                                    platform::CGSSpaceID);
    using VoidMoveFn = MoveFn; // its result is ignored
    using CopySpacesFn = std::optional<platform::CFArray> (*)(platform::CGSConnectionID, int,
                                                              const platform::CFArray&);
    using CopyManagedDisplaySpacesFn = std::optional<platform::CFArray> (*)(platform::CGSConnectionID);
    using GetActiveSpaceFn = platform::CGSSpaceID (*)(platform::CGSConnectionID);

    /// A mover bound now (see the fields for the order of binding).
    static std::shared_ptr<SpacesMover> make();
    SpacesMover(const SpacesMover&) = delete;
    SpacesMover& operator=(const SpacesMover&) = delete;

    /// The private framework opened from its path with lazy binding; 0 when it did not open.
    platform::DLHandle skylightHandle = 0;
    /// The window-server connection (`CGSMainConnectionID()`); 0 when none.
    platform::CGSConnectionID connection = 0;
    /// "SLSMoveWindowsToManagedSpace", else "CGSMoveWindowsToManagedSpace", from the framework.
    MoveFn moveFn = nullptr;
    /// "CGSMoveWindowsToManagedSpace" from the default scope (the older move, result ignored).
    VoidMoveFn cgsVoidMoveFn = nullptr;
    /// `CGSCopySpacesForWindows`, linked directly (always present).
    CopySpacesFn copySpacesFn = nullptr;
    /// `CGSCopyManagedDisplaySpaces`, linked directly (always present).
    CopyManagedDisplaySpacesFn copyManagedDisplaySpacesFn = nullptr;
    /// "CGSGetActiveSpace", else "SLSGetActiveSpace", from the default scope.
    GetActiveSpaceFn getActiveSpaceFn = nullptr;

    std::atomic<bool> didWarnUnavailable{false};
    std::atomic<bool> didWarnLookupUnavailable{false};
    /// Set by whichever of the two lookup diagnostics ("returned non-empty." / "returned empty")
    /// is written first; the other is then never written.
    std::atomic<bool> didLogLookupDiagnostics{false};
    /// Whether any lookup answered a Space id (read by the snapshot capture).
    std::atomic<bool> lookupEverReturnedNonEmpty{false};

    /// True when the framework, a non-zero connection and a move function are all present.
    /// Otherwise false, and the first time "[SPACE][WARN] Spaces move API unavailable. Windows may
    /// restore onto the current Space only.". Any thread.
    bool ensureAvailable();

    /// True when the connection is non-zero and at least one lookup function is present. Otherwise
    /// false, and the first time "[SPACE][WARN] SpaceID lookup API unavailable. Space-aware restore
    /// cannot be verified; falling back to geometry-only restore.". Any thread.
    bool ensureLookupAvailable();

    /// The Space of window `windowID`: the first Space id answered by the lookup with mask 0x01,
    /// then 0x07, over a list of the number as a 64-bit number, then the same over a 32-bit list.
    /// None when the lookup is unavailable or all four answer nothing (the first time, a
    /// "[SPACE][DIAG] ... returned empty ..." line). On the main thread it runs inline; from any
    /// other thread it runs on the main queue and the caller waits at most 1.0 s (virtual clock),
    /// getting none when the main thread has not answered by then; a later answer is dropped.
    std::optional<std::uint64_t> primarySpaceID(std::uint32_t windowID);

    /// The Desktop number (1 to 9) of Space `spaceID`: its 1-based position in its display's
    /// "Spaces" list. None without the lookup, with a zero connection, for an unknown Space, for a
    /// position above 9 and for an answer that is not a list. Any thread; logs nothing.
    std::optional<int> desktopNumber(std::uint64_t spaceID);

    /// One number per window number, as signed 32-bit numbers; a window number above the signed
    /// 32-bit range cannot be made into one and is left out.
    static platform::CFArray makeCFNumberArray32(const std::vector<std::uint32_t>& windowIDs);
    /// One number per window number, as signed 64-bit numbers (values widened).
    static platform::CFArray makeCFNumberArray64(const std::vector<std::uint32_t>& windowIDs);

    /// A value read as a Space id: any numeric kind (not a Boolean) within 0 ... 2^63 - 1, a number
    /// object read as an unsigned 64-bit integer. None for anything else.
    static std::optional<std::uint64_t> extractSpaceID(const platform::CFValue& value);

private:
    SpacesMover();
    std::optional<std::uint64_t> lookupOnMain(std::uint32_t windowID);
    std::optional<std::uint64_t> firstSpaceID(const std::optional<platform::CFArray>& answer,
                                              const char* label);
};

/// The one mover of the process, created (bound) on first use. Any thread.
SpacesMover& spacesMover();

/// Installs the Space lookup of the Spaces service once per process: the service's
/// `primarySpaceProvider` becomes a lookup that answers none for window number 0 and otherwise asks
/// `spacesMover().primarySpaceID`. The first call also writes the `WindowManager` line "SPACE"
/// "SpacesService configured (once)." (only while verbose logging is on). Serialized by its own
/// lock; any thread.
void configureSpacesServiceIfNeeded();

} // namespace tilmora::WindowManager
