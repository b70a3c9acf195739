#pragma once

#include "snapshots/SnapshotPlacement.hpp"
#include "snapshots/SnapshotValue.hpp"
#include "snapshots/WindowDetail.hpp"

#include "model/DisplayDescriptor.hpp"
#include "model/SnapshotDefinition.hpp"
#include "model/WindowDescriptor.hpp"

#include "platform/desktop/NSScreen.hpp"

#include <cstdint>
#include <map>
#include <vector>

namespace tilmora::SnapshotBridging {

// From stored snapshots and live screens to the model's values. Any thread (the screens are read
// through the platform's thread-safe screen queries); nothing is logged.

/// A stored snapshot as a definition: a fresh random id (not stored), its name or "Snapshot",
/// its time stamp (else now) as `createdAt`, now as `updatedAt`, and one mapping per window in
/// `windows` order: the bundle identifier (or ""), the title, the saved display number as decimal
/// text when the low 32 bits of `screenUUID` are not 0, and the normalized frame
/// (`SnapshotWindowGeometry::normalizedRect`). No profile, no shortcut.
SnapshotDefinition snapshotDefinition(const SnapshotValue& snapshot);

/// One descriptor per screen, in order: id the decimal display number (else the localized name,
/// "-", the frame origin's x, "-", its y, as in "Panel-0.0-0.0"), name the localized name, bounds
/// the visible frame (global coordinates, points), scale factor the backing scale.
std::vector<DisplayDescriptor> displayDescriptors(const std::vector<platform::NSScreen>& screens);

/// One descriptor per captured window, in order: id the process identifier, "-" and the title;
/// the bundle identifier and title; the current display the identifier string of the first screen
/// whose display number equals the window's (else that number in decimal); the captured rectangle
/// as it is (relative to the display's visible frame); never minimized or full screen.
std::vector<WindowDescriptor> windowDescriptors(const std::vector<WindowManager::WindowDetail>& windows,
                                                const std::vector<platform::NSScreen>& screens);

/// Row id -> placement of that row's window on `displays`, each row placed on its own as the
/// engine places a mapping with no live windows: a row without a saved display number, or any row
/// when there are no displays, gets none and is absent; so are rows not saved yet. Keyed by row,
/// a row that yields nothing never shifts another row's placement onto it.
std::map<std::int64_t, SnapshotPlacement> placementsByRow(const SnapshotValue& snapshot,
                                                          const std::vector<DisplayDescriptor>& displays);

} // namespace tilmora::SnapshotBridging
