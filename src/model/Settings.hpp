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
// declared here once, with its kind and, for the 38 keys the shell registers at every launch, the
// registered value. Code names a key through its entry (`settings::gapSize.key`), never through a
// literal. A registered value answers every read of a key that holds nothing; each reader still
// codes its own fallback where it reads a key, because the registration runs only at launch.

/// The kind of value a setting holds.
enum class Kind { boolean, number, text };

/// A Boolean setting; `registered` is the value registered at launch, none when not registered.
struct BoolSetting {
    const char* key;
    std::optional<bool> registered = std::nullopt;
};

/// A number setting (a Double when stored by the program); `registered` as above.
struct NumberSetting {
    const char* key;
    std::optional<double> registered = std::nullopt;
};

/// A text setting; none is registered.
struct TextSetting {
    const char* key;
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

// Registered at launch, in the order the registration builds them.
inline constexpr BoolSetting useCursorDisplay{"UseCursorDisplay", false};
inline constexpr BoolSetting verboseLogging{"WMVerboseLogging", true};
inline constexpr BoolSetting spacesKillSwitch{"WMSpacesKillSwitch", false};
/// Registered only; nothing reads it.
inline constexpr BoolSetting spacesPreferSkyLightMove{"WMSpacesPreferSkyLightMove", true};
inline constexpr BoolSetting spacesEnableAnchors{"WMSpacesEnableAnchors", false};
inline constexpr BoolSetting spacesEnableSwitching{"WMSpacesEnableSwitching", true};
inline constexpr BoolSetting spacesLogDiagnostics{"WMSpacesLogDiagnostics", false};
inline constexpr BoolSetting snapshotAllSpaces{"WMSnapshotAllSpaces", false};
inline constexpr BoolSetting snappingEnabled{"WMSnappingEnabled", true};
inline constexpr BoolSetting keyboardShortcutsEnabled{"WMKeyboardShortcutsEnabled", true};
inline constexpr BoolSetting magnetDragMode{"WMMagnetDragMode", false};
inline constexpr BoolSetting dragRequireOption{"WMDragRequireOption", false};
inline constexpr BoolSetting liveResizeDuringDrag{"WMLiveResizeDuringDrag", false};
inline constexpr BoolSetting showGridLinesDuringDrag{"WMShowGridLinesDuringDrag", true};
inline constexpr BoolSetting gridAllDisplays{"WMGridAllDisplays", false};
inline constexpr BoolSetting autoApplyDisplayLayouts{"WMAutoApplyDisplayLayouts", false};
inline constexpr BoolSetting preserveRelativeMove{"WMPreserveRelativeMove", true};
inline constexpr BoolSetting autoResetSnapshotQuit{"WMAutoResetSnapshotQuit", true};
inline constexpr BoolSetting launchAtLogin{"LaunchAtLogin", true};
inline constexpr NumberSetting gapSize{"WMGapSize", 0.0};
inline constexpr NumberSetting gapHorizontal{"WMGapHorizontal", 0.0};
inline constexpr NumberSetting gapVertical{"WMGapVertical", 0.0};
inline constexpr BoolSetting gapsIncludeScreenEdges{"WMGapsIncludeScreenEdges", false};
inline constexpr BoolSetting gapsEdgesLeft{"WMGapsEdgesLeft", false};
inline constexpr BoolSetting gapsEdgesRight{"WMGapsEdgesRight", false};
inline constexpr BoolSetting gapsEdgesTop{"WMGapsEdgesTop", false};
inline constexpr BoolSetting gapsEdgesBottom{"WMGapsEdgesBottom", false};
/// Registered only; nothing reads it.
inline constexpr NumberSetting stageReserveRightWidth{"WMStageReserveRightWidth", 0.0};
/// Registered only; nothing reads it.
inline constexpr BoolSetting stageReserveEnabled{"WMStageReserveEnabled", false};
inline constexpr BoolSetting applyGapsToMaximize{"WMApplyGapsToMaximize", false};
inline constexpr BoolSetting applyGapsToMaximizeHeight{"WMApplyGapsToMaximizeHeight", false};
inline constexpr BoolSetting snapBarVisible{"WMSnapBarVisible", false};
inline constexpr BoolSetting integrateStageManager{"WMIntegrateStageManager", false};
inline constexpr BoolSetting integrateMissionControl{"WMIntegrateMissionControl", false};
inline constexpr BoolSetting autoDetectStageManager{"WMAutoDetectStageManager", false};
inline constexpr NumberSetting stageReserveLeftWidth{"WMStageReserveLeftWidth", 0.0};
inline constexpr BoolSetting autoHideSnapBarWithMissionControl{"WMAutoHideSnapBarWithMissionControl", false};
inline constexpr BoolSetting autoHideSnapBarWithStageManager{"WMAutoHideSnapBarWithStageManager", false};

// Not registered: their readers' own fallbacks apply.
inline constexpr BoolSetting strictRestore{"WMStrictRestore"};
/// "center" when absent.
inline constexpr TextSetting capturePrimaryRule{"WMCapturePrimaryRule"};
inline constexpr BoolSetting overlayDebug{"WMOverlayDebug"};
inline constexpr BoolSetting dragAssumeTileSize{"WMDragAssumeTileSize"};
inline constexpr BoolSetting excludeDevApps{"WMExcludeDevApps"};
/// Test switches that stand for the system's Stage Manager and Mission Control being active.
inline constexpr BoolSetting mockStageManagerActive{"WMMockStageManagerActive"};
inline constexpr BoolSetting mockMissionControlActive{"WMMockMissionControlActive"};
/// Read by snapshot restores and never written.
inline constexpr BoolSetting snapshotRestoreActivateApps{"WMSnapshotRestoreActivateApps"};
inline constexpr BoolSetting snapshotRestoreRaiseWindows{"WMSnapshotRestoreRaiseWindows"};
inline constexpr NumberSetting snapshotRestoreInitialAXTimeout{"WMSnapshotRestoreInitialAXTimeout"};
inline constexpr NumberSetting snapshotRestoreLaunchMaxWait{"WMSnapshotRestoreLaunchMaxWait"};

// Per-display keys: the prefix followed by the display's number or key.
/// A display's snap-grid preset: + the display number in decimal ("WMPreset_2").
inline constexpr const char* presetPrefix = "WMPreset_";
/// A display's selected preset in the preset-grid editor: + the display key as upper-case UUID text.
inline constexpr const char* veskSelectedPresetIdPrefix = "WMVeskSelectedPresetId.";

/// Every flat key, the 38 registered ones first in registration order.
inline constexpr std::array<Setting, 49> catalog{{
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

} // namespace tilmora::settings
