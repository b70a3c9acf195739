#pragma once

#include "ShellFixture.hpp"

/// A shell test on the laptop whose shell is made and has registered its defaults, as at launch.
class LaptopShellTest : public ShellTest {
protected:
    void SetUp() override {
        ShellTest::SetUp();
        desk().useLaptop();
        makeShell().registerAppDefaults();
    }
};
