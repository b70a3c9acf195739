#pragma once

namespace tilmora {

/// The snap grid's reads of its Boolean settings in the standard user defaults, through the
/// settings catalog's reader (`settings::read`: only a stored or registered Boolean counts, else
/// the setting's fallback). Read anew on every call; any thread (the user defaults are
/// thread-safe); logs nothing.
namespace SnapDefaults {

/// The layout scope, `settings::gridAllDisplays`: true when layouts and selections apply to all displays
/// at once, false for one display.
bool layoutAppliesToAllScreens();

/// `settings::verboseLogging`.
bool verboseLogging();

/// `settings::overlayDebug`.
bool overlayDebug();

} // namespace SnapDefaults

} // namespace tilmora
