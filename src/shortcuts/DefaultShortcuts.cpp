#include "shortcuts/DefaultShortcuts.hpp"

#include "platform/foundation/UserDefaults.hpp"
#include "shortcuts/Registry.hpp"

#include <functional>

namespace tilmora {

namespace {

using GlobalShortcuts::Key;
using GlobalShortcuts::Name;
using GlobalShortcuts::Shortcut;
using platform::ModifierFlags;

struct Default {
    const Name& (*name)();
    Key key;
    ModifierFlags modifiers;
};

const ModifierFlags controlOption = ModifierFlags::control | ModifierFlags::option;
const ModifierFlags controlOptionShift = controlOption | ModifierFlags::shift;
const ModifierFlags controlOptionCommand = controlOption | ModifierFlags::command;

// In the order they are considered.
const Default snapDefaults[] = {
    {&Name::snapLeftHalf, Key::leftArrow, controlOption},
    {&Name::snapRightHalf, Key::rightArrow, controlOption},
    {&Name::snapTopHalf, Key::upArrow, controlOption},
    {&Name::snapBottomHalf, Key::downArrow, controlOption},
    {&Name::snapTopLeft, Key::u, controlOption},
    {&Name::snapTopRight, Key::i, controlOption},
    {&Name::snapBottomLeft, Key::j, controlOption},
    {&Name::snapBottomRight, Key::k, controlOption},
    {&Name::snapLeftThird, Key::d, controlOption},
    {&Name::snapMiddleThird, Key::f, controlOption},
    {&Name::snapRightThird, Key::g, controlOption},
    {&Name::snapLeftTwoThirds, Key::e, controlOption},
    {&Name::snapRightTwoThirds, Key::t, controlOption},
    {&Name::snapCenter, Key::c, controlOption},
    {&Name::snapMaximize, Key::return_, controlOption},
    {&Name::snapCenterTwoThirds, Key::r, controlOption},
    {&Name::snapMaximizeHeight, Key::upArrow, controlOptionShift},
    {&Name::snapLarger, Key::equal, controlOption},
    {&Name::snapSmaller, Key::minus, controlOption},
    {&Name::nextDisplay, Key::rightArrow, controlOptionCommand},
    {&Name::previousDisplay, Key::leftArrow, controlOptionCommand},
    {&Name::snapRestore, Key::deleteForward, controlOption},
};

const Default laterDefaults[] = {
    {&Name::toggleSnapBar, Key::b, controlOption},
    {&Name::toggleSnapping, Key::s, controlOption},
    {&Name::showSnapshotManager, Key::o, controlOption},
    {&Name::openPreferences, Key::comma, controlOption},
    {&Name::openHelp, Key::slash, controlOption},
    {&Name::quitApp, Key::q, controlOption},
    {&Name::toggleIntegrateMissionControl, Key::m, controlOption},
    {&Name::toggleIntegrateStageManager, Key::g, controlOption},
};

} // namespace

void registerDefaultSnapShortcutsIfNeeded() {
    auto& defaults = platform::UserDefaults::standard();
    const std::string snapFlag(hasRegisteredDefaultSnapShortcutsKey);
    const bool snapDefaultsDone = defaults.boolForKey(snapFlag);

    if (!snapDefaultsDone) {
        for (const auto& d : snapDefaults) {
            const Name& name = d.name();
            if (!GlobalShortcuts::getShortcut(name))
                GlobalShortcuts::setShortcut(Shortcut(d.key, d.modifiers), name);
        }
        defaults.set(platform::PropertyValue(true), snapFlag);
    }

    for (const auto& d : laterDefaults) {
        const Name& name = d.name();
        const std::string flag = std::string(hasRegisteredDefaultShortcutPrefix) + name.rawValue;
        if (defaults.boolForKey(flag)) continue;
        if (!snapDefaultsDone && !GlobalShortcuts::getShortcut(name))
            GlobalShortcuts::setShortcut(Shortcut(d.key, d.modifiers), name);
        defaults.set(platform::PropertyValue(true), flag);
    }
}

std::optional<Shortcut> firstRunShortcut(const Name& name) {
    for (const auto& d : snapDefaults)
        if (d.name() == name) return Shortcut(d.key, d.modifiers);
    for (const auto& d : laterDefaults)
        if (d.name() == name) return Shortcut(d.key, d.modifiers);
    return std::nullopt;
}

} // namespace tilmora
