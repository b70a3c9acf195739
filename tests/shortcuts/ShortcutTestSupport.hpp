#pragma once

#include "platform/control/BundleControl.hpp"
#include "platform/control/BundleControl.hpp"
#include "support/InputTestSupport.hpp"

/// Input tests with the module bundle read from the source tree's resources.
class ShortcutTest : public InputTest {
protected:
    void SetUp() override {
        InputTest::SetUp();
        platform::BundleControl::setResourceDirectory(programResources());
    }
};
