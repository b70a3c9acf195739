#include "shortcuts/NameRow.hpp"

#include <array>
#include <memory>
#include <stdexcept>

namespace tilmora::GlobalShortcuts {

namespace {

using N = Name;
using platform::ModifierFlags;

constexpr FirstRunGroup snap = FirstRunGroup::snapCommands;
constexpr FirstRunGroup later = FirstRunGroup::laterCommands;
constexpr ModifierFlags controlOption = ModifierFlags::control | ModifierFlags::option;
constexpr ModifierFlags controlOptionShift = controlOption | ModifierFlags::shift;
constexpr ModifierFlags controlOptionCommand = controlOption | ModifierFlags::command;

// The catalog: one row per command that can have a global chord, in catalog order. The raw value
// is the kebab-case form of the constant's name ("snap-left-half", "grid-1x2"). Control-Option-G
// is the first-run chord of both `snapRightThird` and `toggleIntegrateStageManager`.
constexpr std::array<NameRow, 61> rows{{
    {&N::snapLeftHalf, "snap-left-half", snap, 1, Key::leftArrow, controlOption},
    {&N::snapRightHalf, "snap-right-half", snap, 2, Key::rightArrow, controlOption},
    {&N::snapTopHalf, "snap-top-half", snap, 3, Key::upArrow, controlOption},
    {&N::snapBottomHalf, "snap-bottom-half", snap, 4, Key::downArrow, controlOption},
    {&N::snapLeftThird, "snap-left-third", snap, 9, Key::d, controlOption},
    {&N::snapMiddleThird, "snap-middle-third", snap, 10, Key::f, controlOption},
    {&N::snapRightThird, "snap-right-third", snap, 11, Key::g, controlOption},
    {&N::snapLeftTwoThirds, "snap-left-two-thirds", snap, 12, Key::e, controlOption},
    {&N::snapRightTwoThirds, "snap-right-two-thirds", snap, 13, Key::t, controlOption},
    {&N::snapTopLeft, "snap-top-left", snap, 5, Key::u, controlOption},
    {&N::snapTopRight, "snap-top-right", snap, 6, Key::i, controlOption},
    {&N::snapBottomLeft, "snap-bottom-left", snap, 7, Key::j, controlOption},
    {&N::snapBottomRight, "snap-bottom-right", snap, 8, Key::k, controlOption},
    {&N::snapCenter, "snap-center", snap, 14, Key::c, controlOption},
    {&N::snapMaximize, "snap-maximize", snap, 15, Key::return_, controlOption},
    {&N::snapCenterHalf, "snap-center-half"},
    {&N::snapCenterTwoThirds, "snap-center-two-thirds", snap, 16, Key::r, controlOption},
    {&N::snapCenterThreeFourths, "snap-center-three-fourths"},
    {&N::snapAlmostMaximize, "snap-almost-maximize"},
    {&N::snapMaximizeHeight, "snap-maximize-height", snap, 17, Key::upArrow, controlOptionShift},
    {&N::snapSmaller, "snap-smaller", snap, 19, Key::minus, controlOption},
    {&N::snapLarger, "snap-larger", snap, 18, Key::equal, controlOption},
    {&N::snapRestore, "snap-restore", snap, 22, Key::deleteForward, controlOption},
    {&N::nextDisplay, "next-display", snap, 20, Key::rightArrow, controlOptionCommand},
    {&N::previousDisplay, "previous-display", snap, 21, Key::leftArrow, controlOptionCommand},
    {&N::moveToEdgeLeft, "move-to-edge-left"},
    {&N::moveToEdgeRight, "move-to-edge-right"},
    {&N::moveToEdgeUp, "move-to-edge-up"},
    {&N::moveToEdgeDown, "move-to-edge-down"},
    {&N::firstQuarter, "first-quarter"},
    {&N::secondQuarter, "second-quarter"},
    {&N::thirdQuarter, "third-quarter"},
    {&N::lastQuarter, "last-quarter"},
    {&N::firstThreeQuarters, "first-three-quarters"},
    {&N::lastThreeQuarters, "last-three-quarters"},
    {&N::topLeftSixth, "top-left-sixth"},
    {&N::topCenterSixth, "top-center-sixth"},
    {&N::topRightSixth, "top-right-sixth"},
    {&N::bottomLeftSixth, "bottom-left-sixth"},
    {&N::bottomCenterSixth, "bottom-center-sixth"},
    {&N::bottomRightSixth, "bottom-right-sixth"},
    {&N::fullScreenLeftHalf, "full-screen-left-half"},
    {&N::fullScreenRightHalf, "full-screen-right-half"},
    {&N::nativeFullScreen, "native-full-screen"},
    {&N::grid1x2, "grid-1x2"},
    {&N::grid1x3, "grid-1x3"},
    {&N::grid2x1, "grid-2x1"},
    {&N::grid3x1, "grid-3x1"},
    {&N::grid2x2, "grid-2x2"},
    {&N::grid3x3, "grid-3x3"},
    {&N::grid4x4, "grid-4x4"},
    {&N::grid6x4, "grid-6x4"},
    {&N::grid8x2, "grid-8x2"},
    {&N::toggleSnapBar, "toggle-snap-bar", later, 1, Key::b, controlOption},
    {&N::toggleSnapping, "toggle-snapping", later, 2, Key::s, controlOption},
    {&N::showSnapshotManager, "show-snapshot-manager", later, 3, Key::o, controlOption},
    {&N::openPreferences, "open-preferences", later, 4, Key::comma, controlOption},
    {&N::openHelp, "open-help", later, 5, Key::slash, controlOption},
    {&N::quitApp, "quit-app", later, 6, Key::q, controlOption},
    {&N::toggleIntegrateStageManager, "toggle-integrate-stage-manager", later, 8, Key::g, controlOption},
    {&N::toggleIntegrateMissionControl, "toggle-integrate-mission-control", later, 7, Key::m, controlOption},
}};

/// The name of the row whose constant is `constant`, built once, on first use, with no default of
/// its own (`registerDefaultSnapShortcutsIfNeeded` stores the first-run chords). Main thread.
const Name& catalogName(const Name& (*constant)()) {
    static std::array<std::unique_ptr<const Name>, rows.size()> built;
    for (std::size_t i = 0; i < rows.size(); ++i) {
        if (rows[i].name != constant) continue;
        if (!built[i]) built[i] = std::make_unique<const Name>(std::string(rows[i].rawValue));
        return *built[i];
    }
    throw std::logic_error("a shortcut name without a catalog row");
}

} // namespace

std::span<const NameRow> NameRow::all() {
    return rows;
}

const NameRow* NameRow::of(const Name& name) {
    for (const NameRow& row : rows) {
        if (row.rawValue == name.rawValue) return &row;
    }
    return nullptr;
}

const std::vector<std::reference_wrapper<const Name>>& Name::catalog() {
    static const std::vector<std::reference_wrapper<const Name>> names = [] {
        std::vector<std::reference_wrapper<const Name>> list;
        for (const NameRow& row : rows) list.push_back(std::cref(row.name()));
        return list;
    }();
    return names;
}

const Name& Name::snapLeftHalf() { return catalogName(&Name::snapLeftHalf); }
const Name& Name::snapRightHalf() { return catalogName(&Name::snapRightHalf); }
const Name& Name::snapTopHalf() { return catalogName(&Name::snapTopHalf); }
const Name& Name::snapBottomHalf() { return catalogName(&Name::snapBottomHalf); }
const Name& Name::snapLeftThird() { return catalogName(&Name::snapLeftThird); }
const Name& Name::snapMiddleThird() { return catalogName(&Name::snapMiddleThird); }
const Name& Name::snapRightThird() { return catalogName(&Name::snapRightThird); }
const Name& Name::snapLeftTwoThirds() { return catalogName(&Name::snapLeftTwoThirds); }
const Name& Name::snapRightTwoThirds() { return catalogName(&Name::snapRightTwoThirds); }
const Name& Name::snapTopLeft() { return catalogName(&Name::snapTopLeft); }
const Name& Name::snapTopRight() { return catalogName(&Name::snapTopRight); }
const Name& Name::snapBottomLeft() { return catalogName(&Name::snapBottomLeft); }
const Name& Name::snapBottomRight() { return catalogName(&Name::snapBottomRight); }
const Name& Name::snapCenter() { return catalogName(&Name::snapCenter); }
const Name& Name::snapMaximize() { return catalogName(&Name::snapMaximize); }
const Name& Name::snapCenterHalf() { return catalogName(&Name::snapCenterHalf); }
const Name& Name::snapCenterTwoThirds() { return catalogName(&Name::snapCenterTwoThirds); }
const Name& Name::snapCenterThreeFourths() { return catalogName(&Name::snapCenterThreeFourths); }
const Name& Name::snapAlmostMaximize() { return catalogName(&Name::snapAlmostMaximize); }
const Name& Name::snapMaximizeHeight() { return catalogName(&Name::snapMaximizeHeight); }
const Name& Name::snapSmaller() { return catalogName(&Name::snapSmaller); }
const Name& Name::snapLarger() { return catalogName(&Name::snapLarger); }
const Name& Name::snapRestore() { return catalogName(&Name::snapRestore); }
const Name& Name::nextDisplay() { return catalogName(&Name::nextDisplay); }
const Name& Name::previousDisplay() { return catalogName(&Name::previousDisplay); }
const Name& Name::moveToEdgeLeft() { return catalogName(&Name::moveToEdgeLeft); }
const Name& Name::moveToEdgeRight() { return catalogName(&Name::moveToEdgeRight); }
const Name& Name::moveToEdgeUp() { return catalogName(&Name::moveToEdgeUp); }
const Name& Name::moveToEdgeDown() { return catalogName(&Name::moveToEdgeDown); }
const Name& Name::firstQuarter() { return catalogName(&Name::firstQuarter); }
const Name& Name::secondQuarter() { return catalogName(&Name::secondQuarter); }
const Name& Name::thirdQuarter() { return catalogName(&Name::thirdQuarter); }
const Name& Name::lastQuarter() { return catalogName(&Name::lastQuarter); }
const Name& Name::firstThreeQuarters() { return catalogName(&Name::firstThreeQuarters); }
const Name& Name::lastThreeQuarters() { return catalogName(&Name::lastThreeQuarters); }
const Name& Name::topLeftSixth() { return catalogName(&Name::topLeftSixth); }
const Name& Name::topCenterSixth() { return catalogName(&Name::topCenterSixth); }
const Name& Name::topRightSixth() { return catalogName(&Name::topRightSixth); }
const Name& Name::bottomLeftSixth() { return catalogName(&Name::bottomLeftSixth); }
const Name& Name::bottomCenterSixth() { return catalogName(&Name::bottomCenterSixth); }
const Name& Name::bottomRightSixth() { return catalogName(&Name::bottomRightSixth); }
const Name& Name::fullScreenLeftHalf() { return catalogName(&Name::fullScreenLeftHalf); }
const Name& Name::fullScreenRightHalf() { return catalogName(&Name::fullScreenRightHalf); }
const Name& Name::nativeFullScreen() { return catalogName(&Name::nativeFullScreen); }
const Name& Name::grid1x2() { return catalogName(&Name::grid1x2); }
const Name& Name::grid1x3() { return catalogName(&Name::grid1x3); }
const Name& Name::grid2x1() { return catalogName(&Name::grid2x1); }
const Name& Name::grid3x1() { return catalogName(&Name::grid3x1); }
const Name& Name::grid2x2() { return catalogName(&Name::grid2x2); }
const Name& Name::grid3x3() { return catalogName(&Name::grid3x3); }
const Name& Name::grid4x4() { return catalogName(&Name::grid4x4); }
const Name& Name::grid6x4() { return catalogName(&Name::grid6x4); }
const Name& Name::grid8x2() { return catalogName(&Name::grid8x2); }
const Name& Name::toggleSnapBar() { return catalogName(&Name::toggleSnapBar); }
const Name& Name::toggleSnapping() { return catalogName(&Name::toggleSnapping); }
const Name& Name::showSnapshotManager() { return catalogName(&Name::showSnapshotManager); }
const Name& Name::openPreferences() { return catalogName(&Name::openPreferences); }
const Name& Name::openHelp() { return catalogName(&Name::openHelp); }
const Name& Name::quitApp() { return catalogName(&Name::quitApp); }
const Name& Name::toggleIntegrateStageManager() { return catalogName(&Name::toggleIntegrateStageManager); }
const Name& Name::toggleIntegrateMissionControl() { return catalogName(&Name::toggleIntegrateMissionControl); }

} // namespace tilmora::GlobalShortcuts
