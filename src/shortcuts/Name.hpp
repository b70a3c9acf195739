#pragma once

#include "shortcuts/Shortcut.hpp"

#include <cstddef>
#include <functional>
#include <optional>
#include <string>
#include <vector>

namespace tilmora::GlobalShortcuts {

/// A configurable action's name: its identifier (`rawValue`, also the suffix of its user-defaults
/// key "GlobalShortcuts_" + raw value) and the chord a fresh installation starts with. Equal and
/// hashed by `rawValue` alone. Main thread.
struct Name {
    std::string rawValue;
    std::optional<Shortcut> defaultShortcut;

    /// The name `rawValue`. With a default, and when the user defaults hold nothing under the
    /// name's key, stores the default as `setShortcut` does (hot key registered, change posted).
    explicit Name(std::string rawValue, std::optional<Shortcut> defaultShortcut = std::nullopt);

    /// The chord stored now (`getShortcut`).
    std::optional<Shortcut> shortcut() const;
    /// Stores or clears the chord (`setShortcut`).
    void setShortcut(const std::optional<Shortcut>& shortcut) const;

    bool operator==(const Name& other) const { return rawValue == other.rawValue; }

    // ----- the program's catalog: one name per command that can have a global chord, each read
    // from its row of the catalog's table (`NameRow`: raw value, first-run chord and group). Each
    // is built once, on first use, with no default of its own
    // (`registerDefaultSnapShortcutsIfNeeded` stores the first-run chords).
    /// The 61 catalog names below, in this order.
    static const std::vector<std::reference_wrapper<const Name>>& catalog();

    static const Name& snapLeftHalf();
    static const Name& snapRightHalf();
    static const Name& snapTopHalf();
    static const Name& snapBottomHalf();
    static const Name& snapLeftThird();
    static const Name& snapMiddleThird();
    static const Name& snapRightThird();
    static const Name& snapLeftTwoThirds();
    static const Name& snapRightTwoThirds();
    static const Name& snapTopLeft();
    static const Name& snapTopRight();
    static const Name& snapBottomLeft();
    static const Name& snapBottomRight();
    static const Name& snapCenter();
    static const Name& snapMaximize();
    static const Name& snapCenterHalf();
    static const Name& snapCenterTwoThirds();
    static const Name& snapCenterThreeFourths();
    static const Name& snapAlmostMaximize();
    static const Name& snapMaximizeHeight();
    static const Name& snapSmaller();
    static const Name& snapLarger();
    static const Name& snapRestore();
    static const Name& nextDisplay();
    static const Name& previousDisplay();
    static const Name& moveToEdgeLeft();
    static const Name& moveToEdgeRight();
    static const Name& moveToEdgeUp();
    static const Name& moveToEdgeDown();
    static const Name& firstQuarter();
    static const Name& secondQuarter();
    static const Name& thirdQuarter();
    static const Name& lastQuarter();
    static const Name& firstThreeQuarters();
    static const Name& lastThreeQuarters();
    static const Name& topLeftSixth();
    static const Name& topCenterSixth();
    static const Name& topRightSixth();
    static const Name& bottomLeftSixth();
    static const Name& bottomCenterSixth();
    static const Name& bottomRightSixth();
    static const Name& fullScreenLeftHalf();
    static const Name& fullScreenRightHalf();
    static const Name& nativeFullScreen();
    static const Name& grid1x2();
    static const Name& grid1x3();
    static const Name& grid2x1();
    static const Name& grid3x1();
    static const Name& grid2x2();
    static const Name& grid3x3();
    static const Name& grid4x4();
    static const Name& grid6x4();
    static const Name& grid8x2();
    static const Name& toggleSnapBar();
    static const Name& toggleSnapping();
    static const Name& showSnapshotManager();
    static const Name& openPreferences();
    static const Name& openHelp();
    static const Name& quitApp();
    static const Name& toggleIntegrateStageManager();
    static const Name& toggleIntegrateMissionControl();
};

} // namespace tilmora::GlobalShortcuts

template <>
struct std::hash<tilmora::GlobalShortcuts::Name> {
    std::size_t operator()(const tilmora::GlobalShortcuts::Name& name) const noexcept {
        return std::hash<std::string>()(name.rawValue);
    }
};
