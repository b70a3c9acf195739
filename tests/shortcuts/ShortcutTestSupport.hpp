#pragma once

#include "platform/control/BundleControl.hpp"
#include "shortcuts/Shortcut.hpp"
#include "support/InputTestSupport.hpp"

/// Input tests with the module bundle read from the source tree's resources.
class ShortcutTest : public InputTest {
protected:
    void SetUp() override {
        InputTest::SetUp();
        platform::BundleControl::setResourceDirectory(programResources());
    }
};

/// Control-Option, and shortcuts made of it, as the tests bind them.
inline const platform::ModifierFlags ctrlOpt =
    platform::ModifierFlags::control | platform::ModifierFlags::option;
inline const tilmora::GlobalShortcuts::Shortcut ctrlOptLeft(tilmora::GlobalShortcuts::Key::leftArrow,
                                                            ctrlOpt);
inline const tilmora::GlobalShortcuts::Shortcut ctrlOptG(tilmora::GlobalShortcuts::Key::g, ctrlOpt);
inline const tilmora::GlobalShortcuts::Shortcut ctrlOptH(tilmora::GlobalShortcuts::Key::h, ctrlOpt);
inline const tilmora::GlobalShortcuts::Shortcut ctrlOptJ(tilmora::GlobalShortcuts::Key::j, ctrlOpt);
