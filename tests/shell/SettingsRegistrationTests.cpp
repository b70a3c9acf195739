#include "ShellFixture.hpp"

#include "model/Settings.hpp"

#include <gtest/gtest.h>

namespace tilmora {
namespace {

using SettingsRegistrationTest = ShellTest;

// The launch registers exactly the catalog's registered values: the same keys, kinds and values.
TEST_F(SettingsRegistrationTest, LaunchRegistersTheCatalogsDefaults) {
    makeShell().registerAppDefaults();
    EXPECT_TRUE(defaults().dictionaryRepresentation() == settings::registeredDefaults());
}

} // namespace
} // namespace tilmora
