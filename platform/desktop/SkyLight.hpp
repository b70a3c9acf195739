#pragma once

#include "platform/desktop/CFValue.hpp"

#include <cstdint>
#include <optional>
#include <string>

namespace platform {

// The window server's private Spaces functions. The system binds them at run time by name, so the
// simulated desktop answers name lookups from a symbol table that tests can remove entries from
// (`SimDesktop::removeSymbol`) and a private framework that can refuse to open
// (`SimDesktop::setSkyLightLoadable`). Any thread; nothing is logged; moves are journalled.

/// The address of a looked-up function; cast it to the function's type below.
using SymbolAddress = void (*)();
/// A handle of an opened library; 0 when opening failed.
using DLHandle = std::intptr_t;
/// The process's default lookup scope (every symbol of the loaded window-server libraries).
inline constexpr DLHandle kRTLDDefault = -2;
inline constexpr int kRTLDLazy = 1;
/// The private framework's path.
inline constexpr const char* kSkyLightFrameworkPath =
    "/System/Library/PrivateFrameworks/SkyLight.framework/SkyLight";

/// Opens a library: the private framework's path gives a handle unless the desktop refuses; any
/// other path gives 0.
DLHandle dlopen(const std::string& path, int mode);
/// Looks a function up by name in a handle (or `kRTLDDefault`); null when unknown or removed.
SymbolAddress dlsym(DLHandle handle, const std::string& name);

using CGSConnectionID = std::uint32_t;
/// Space ids are 64-bit.
using CGSSpaceID = std::uint64_t;

using CGSMainConnectionIDFn = CGSConnectionID (*)();
using CGSCopySpacesForWindowsFn = std::optional<CFArray> (*)(CGSConnectionID, int, const CFArray&);
using CGSCopyManagedDisplaySpacesFn = std::optional<CFArray> (*)(CGSConnectionID);
using CGSGetActiveSpaceFn = CGSSpaceID (*)(CGSConnectionID);
/// Every move function ("SLSMoveWindowsToManagedSpace", "CGSMoveWindowsToManagedSpace") has this
/// type; callers of the form without a result ignore it.
using CGSMoveWindowsToManagedSpaceFn = std::int32_t (*)(CGSConnectionID, const CFArray&, CGSSpaceID);

/// The result code after which the other move function must be tried (0xB0000000 as signed).
inline constexpr std::int32_t kSkyLightMoveTryOtherVariant = -1342177280;

/// The program's connection to the window server; 0 when unavailable.
CGSConnectionID CGSMainConnectionID();
/// The Spaces of the given windows (a list of window numbers). Mask 0x01 answers a window's Space
/// only while it is active, 0x02 only while it is not, 0x04 always (0x07: always). The answer is a
/// list of Space ids in the form the desktop is told to use (numbers, or dictionaries with "id64"
/// or "ManagedSpaceID"). None for a wrong connection.
std::optional<CFArray> CGSCopySpacesForWindows(CGSConnectionID cid, int mask, const CFArray& windows);
/// Per display (main first): {"Display Identifier", "Current Space": {"id64", "ManagedSpaceID"},
/// "Spaces": [{"id64", "ManagedSpaceID", "type"}, ...] in Desktop order}. None for a wrong connection.
std::optional<CFArray> CGSCopyManagedDisplaySpaces(CGSConnectionID cid);
/// The active Space of the key window's display (else the main display's); 0 when unavailable.
CGSSpaceID CGSGetActiveSpace(CGSConnectionID cid);
/// Moves windows to a Space; answers the next queued result code (0 when none is queued); only 0
/// moves them, unless the desktop is told that the move answers without taking effect. A window
/// moved to a Space of another display moves onto that display.
std::int32_t SLSMoveWindowsToManagedSpace(CGSConnectionID cid, const CFArray& windows, CGSSpaceID space);
/// The older move; moves unless the desktop is told it does not work; answers 0.
std::int32_t CGSMoveWindowsToManagedSpace(CGSConnectionID cid, const CFArray& windows, CGSSpaceID space);

} // namespace platform
