#pragma once

#include "platform/foundation/PropertyValue.hpp"

#include <array>
#include <optional>
#include <string>
#include <variant>

namespace platform {
class UserDefaults;
}

namespace tilmora::settings {

// The catalog of the program's settings: every key it keeps in the standard user defaults is
// declared here once, with its kind, the value the shell registers at every launch (for 38 keys)
// and the fallback its readers take when the key holds no value of its kind. Code names a key
// through its entry (`settings::gapSize.key`) and reads it through `settings::read`, never through
// a literal or a fallback of its own. A registered value answers every read of a key that holds
// nothing, so a fallback matters only where nothing is registered (before the launch's
// registration, in tests, and for the keys never registered).

/// The kind of value a setting holds.
enum class Kind { boolean, number, text };

/// The registered value of a setting that is not registered.
inline constexpr std::nullopt_t unregistered = std::nullopt;

/// A Boolean setting: its key, the value registered at launch (none when not registered) and its
/// readers' fallback.
struct BoolSetting {
    const char* key;
    std::optional<bool> registered;
    bool fallback;
};

/// How a number setting takes a stored Boolean: as no number (the gap keys, the restore waits), or
/// as 1 for true and 0 for false (a key read as the stored object cast to a double).
enum class BooleanAsNumber { absent, oneOrZero };

/// A number setting (a Double when stored by the program), as above, with its reading of a stored
/// Boolean.
struct NumberSetting {
    const char* key;
    std::optional<double> registered;
    double fallback;
    BooleanAsNumber boolean = BooleanAsNumber::absent;
};

/// A text setting; none is registered.
struct TextSetting {
    const char* key;
    const char* fallback;
};

/// A registered value as the catalog's row holds it (`std::monostate` when none).
template <typename T>
constexpr std::variant<std::monostate, bool, double> registeredVariant(const std::optional<T>& value) {
    if (value) return *value;
    return std::monostate{};
}

/// One row of the catalog, whatever its kind: the key, the kind and the registered value
/// (`std::monostate` when not registered).
struct Setting {
    const char* key;
    Kind kind;
    std::variant<std::monostate, bool, double> registered;

    constexpr Setting(const BoolSetting& s)
        : key(s.key)
        , kind(Kind::boolean)
        , registered(registeredVariant(s.registered)) {}
    constexpr Setting(const NumberSetting& s)
        : key(s.key)
        , kind(Kind::number)
        , registered(registeredVariant(s.registered)) {}
    constexpr Setting(const TextSetting& s)
        : key(s.key)
        , kind(Kind::text)
        , registered() {}

    constexpr bool isRegistered() const { return !std::holds_alternative<std::monostate>(registered); }
};

// Registered at launch, in the order the registration builds them: key, registered value, fallback.
inline constexpr BoolSetting useCursorDisplay{"UseCursorDisplay", false, false};
/// Falls back to false but is registered true.
inline constexpr BoolSetting verboseLogging{"WMVerboseLogging", true, false};
inline constexpr BoolSetting spacesKillSwitch{"WMSpacesKillSwitch", false, false};
/// Registered only; nothing reads it.
inline constexpr BoolSetting spacesPreferSkyLightMove{"WMSpacesPreferSkyLightMove", true, true};
inline constexpr BoolSetting spacesEnableAnchors{"WMSpacesEnableAnchors", false, false};
inline constexpr BoolSetting spacesEnableSwitching{"WMSpacesEnableSwitching", true, true};
inline constexpr BoolSetting spacesLogDiagnostics{"WMSpacesLogDiagnostics", false, false};
inline constexpr BoolSetting snapshotAllSpaces{"WMSnapshotAllSpaces", false, false};
inline constexpr BoolSetting snappingEnabled{"WMSnappingEnabled", true, true};
inline constexpr BoolSetting keyboardShortcutsEnabled{"WMKeyboardShortcutsEnabled", true, true};
inline constexpr BoolSetting magnetDragMode{"WMMagnetDragMode", false, false};
inline constexpr BoolSetting dragRequireOption{"WMDragRequireOption", false, false};
/// Falls back to true (the snap grid's switch) but is registered false.
inline constexpr BoolSetting liveResizeDuringDrag{"WMLiveResizeDuringDrag", false, true};
/// Falls back to false but is registered true.
inline constexpr BoolSetting showGridLinesDuringDrag{"WMShowGridLinesDuringDrag", true, false};
inline constexpr BoolSetting gridAllDisplays{"WMGridAllDisplays", false, false};
/// Falls back to true (the preferences' check box) but is registered false.
inline constexpr BoolSetting autoApplyDisplayLayouts{"WMAutoApplyDisplayLayouts", false, true};
inline constexpr BoolSetting preserveRelativeMove{"WMPreserveRelativeMove", true, true};
inline constexpr BoolSetting autoResetSnapshotQuit{"WMAutoResetSnapshotQuit", true, true};
/// Falls back to false (read with the defaults' Boolean accessor) but is registered true.
inline constexpr BoolSetting launchAtLogin{"LaunchAtLogin", true, false};
inline constexpr NumberSetting gapSize{"WMGapSize", 0.0, 0.0};
/// A directional gap that holds no number takes the uniform gap (`GapSettings::current`).
inline constexpr NumberSetting gapHorizontal{"WMGapHorizontal", 0.0, 0.0};
inline constexpr NumberSetting gapVertical{"WMGapVertical", 0.0, 0.0};
inline constexpr BoolSetting gapsIncludeScreenEdges{"WMGapsIncludeScreenEdges", false, false};
inline constexpr BoolSetting gapsEdgesLeft{"WMGapsEdgesLeft", false, false};
inline constexpr BoolSetting gapsEdgesRight{"WMGapsEdgesRight", false, false};
inline constexpr BoolSetting gapsEdgesTop{"WMGapsEdgesTop", false, false};
inline constexpr BoolSetting gapsEdgesBottom{"WMGapsEdgesBottom", false, false};
/// Registered only; nothing reads it.
inline constexpr NumberSetting stageReserveRightWidth{"WMStageReserveRightWidth", 0.0, 0.0};
/// Registered only; nothing reads it.
inline constexpr BoolSetting stageReserveEnabled{"WMStageReserveEnabled", false, false};
inline constexpr BoolSetting applyGapsToMaximize{"WMApplyGapsToMaximize", false, false};
inline constexpr BoolSetting applyGapsToMaximizeHeight{"WMApplyGapsToMaximizeHeight", false, false};
inline constexpr BoolSetting snapBarVisible{"WMSnapBarVisible", false, false};
inline constexpr BoolSetting integrateStageManager{"WMIntegrateStageManager", false, false};
inline constexpr BoolSetting integrateMissionControl{"WMIntegrateMissionControl", false, false};
inline constexpr BoolSetting autoDetectStageManager{"WMAutoDetectStageManager", false, false};
/// Read as the stored object cast to a double: a stored Boolean true is a reserve of 1 point.
inline constexpr NumberSetting stageReserveLeftWidth{"WMStageReserveLeftWidth", 0.0, 0.0,
                                                     BooleanAsNumber::oneOrZero};
inline constexpr BoolSetting autoHideSnapBarWithMissionControl{"WMAutoHideSnapBarWithMissionControl", false,
                                                               false};
inline constexpr BoolSetting autoHideSnapBarWithStageManager{"WMAutoHideSnapBarWithStageManager", false, false};

// Not registered: the fallback answers a key that holds nothing.
inline constexpr BoolSetting strictRestore{"WMStrictRestore", unregistered, false};
inline constexpr TextSetting capturePrimaryRule{"WMCapturePrimaryRule", "center"};
/// The status menu's help and launch-at-login items only in its advanced submenu.
inline constexpr BoolSetting minimalMenuMode{"MinimalMenuMode", unregistered, false};
inline constexpr BoolSetting overlayDebug{"WMOverlayDebug", unregistered, false};
inline constexpr BoolSetting dragAssumeTileSize{"WMDragAssumeTileSize", unregistered, true};
inline constexpr BoolSetting excludeDevApps{"WMExcludeDevApps", unregistered, false};
/// Test switches that stand for the system's Stage Manager and Mission Control being active.
inline constexpr BoolSetting mockStageManagerActive{"WMMockStageManagerActive", unregistered, false};
inline constexpr BoolSetting mockMissionControlActive{"WMMockMissionControlActive", unregistered, false};
/// Read by snapshot restores and never written; the two waits in seconds.
inline constexpr BoolSetting snapshotRestoreActivateApps{"WMSnapshotRestoreActivateApps", unregistered, false};
inline constexpr BoolSetting snapshotRestoreRaiseWindows{"WMSnapshotRestoreRaiseWindows", unregistered, false};
inline constexpr NumberSetting snapshotRestoreInitialAXTimeout{"WMSnapshotRestoreInitialAXTimeout", unregistered,
                                                               1.5};
inline constexpr NumberSetting snapshotRestoreLaunchMaxWait{"WMSnapshotRestoreLaunchMaxWait", unregistered, 6.0};

// Per-display keys: the prefix followed by the display's number or key.
/// A display's snap-grid preset: + the display number in decimal ("WMPreset_2").
inline constexpr const char* presetPrefix = "WMPreset_";
/// A display's selected preset in the preset-grid editor: + the display key as upper-case UUID text.
inline constexpr const char* veskSelectedPresetIdPrefix = "WMVeskSelectedPresetId.";

/// Every flat key, the 38 registered ones first in registration order.
inline constexpr std::array<Setting, 50> catalog{{
    useCursorDisplay,
    verboseLogging,
    spacesKillSwitch,
    spacesPreferSkyLightMove,
    spacesEnableAnchors,
    spacesEnableSwitching,
    spacesLogDiagnostics,
    snapshotAllSpaces,
    snappingEnabled,
    keyboardShortcutsEnabled,
    magnetDragMode,
    dragRequireOption,
    liveResizeDuringDrag,
    showGridLinesDuringDrag,
    gridAllDisplays,
    autoApplyDisplayLayouts,
    preserveRelativeMove,
    autoResetSnapshotQuit,
    launchAtLogin,
    gapSize,
    gapHorizontal,
    gapVertical,
    gapsIncludeScreenEdges,
    gapsEdgesLeft,
    gapsEdgesRight,
    gapsEdgesTop,
    gapsEdgesBottom,
    stageReserveRightWidth,
    stageReserveEnabled,
    applyGapsToMaximize,
    applyGapsToMaximizeHeight,
    snapBarVisible,
    integrateStageManager,
    integrateMissionControl,
    autoDetectStageManager,
    stageReserveLeftWidth,
    autoHideSnapBarWithMissionControl,
    autoHideSnapBarWithStageManager,
    strictRestore,
    capturePrimaryRule,
    minimalMenuMode,
    overlayDebug,
    dragAssumeTileSize,
    excludeDevApps,
    mockStageManagerActive,
    mockMissionControlActive,
    snapshotRestoreActivateApps,
    snapshotRestoreRaiseWindows,
    snapshotRestoreInitialAXTimeout,
    snapshotRestoreLaunchMaxWait,
}};

/// The values registered at launch: each catalog entry that has one, Booleans as Booleans and
/// numbers as Doubles (38 entries).
platform::PropertyDictionary registeredDefaults();

/// The Boolean stored (or registered) under `key`; none when the key holds nothing or a value of
/// another kind (a number or a text never counts as a Boolean here). Reads the standard defaults,
/// or `defaults`.
std::optional<bool> storedBool(const std::string& key);
std::optional<bool> storedBool(const platform::UserDefaults& defaults, const std::string& key);

/// The number stored (or registered) under `key`: an integer or a Double, as it stands (NaN and
/// infinities included), and with `BooleanAsNumber::oneOrZero` a Boolean as 1 or 0; none when the
/// key holds nothing or a value of another kind (a text never counts as a number, nor, by default,
/// a Boolean).
std::optional<double> storedNumber(const platform::UserDefaults& defaults, const std::string& key,
                                   BooleanAsNumber boolean = BooleanAsNumber::absent);

// The readers of the catalog's settings, one per kind: the value stored (or registered) under the
// setting's key, else the setting's fallback. Read anew on every call, from the standard defaults
// or `defaults`; any thread (the user defaults are thread-safe); log nothing.
/// A Boolean counts only as a Boolean (`storedBool`): a text such as "YES" or a number reads as
/// nothing.
bool read(const BoolSetting& setting);
bool read(const platform::UserDefaults& defaults, const BoolSetting& setting);
/// A number counts as an integer or a Double, a Boolean as the setting says (`storedNumber`).
double read(const NumberSetting& setting);
double read(const platform::UserDefaults& defaults, const NumberSetting& setting);
/// A text as the defaults' text accessor gives it (a stored number reads as its text).
std::string read(const TextSetting& setting);
std::string read(const platform::UserDefaults& defaults, const TextSetting& setting);

} // namespace tilmora::settings
