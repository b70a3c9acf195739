#include "support/PlatformTest.hpp"

#include "platform/dispatch/Runtime.hpp"
#include "platform/control/SharedInstances.hpp"

void PlatformTest::SetUp() {
    FoundationSandbox::SetUp();
    platform::Runtime::start(platform::Runtime::Mode::simulated);
    platform::SharedInstances::resetAll();
    restoreFixture();
}

void PlatformTest::resetSharedInstances() {
    platform::SharedInstances::resetAll();
    restoreFixture();
}

void PlatformTest::TearDown() {
    // Stop every worker first, so that nothing touches a shared instance while it is reset.
    platform::Runtime::start(platform::Runtime::Mode::simulated);
    platform::SharedInstances::resetAll();
    FoundationSandbox::TearDown();
}

void RealPlatformTest::SetUp() {
    FoundationSandbox::SetUp();
    platform::Runtime::start(platform::Runtime::Mode::real);
    platform::SharedInstances::resetAll();
    restoreFixture();
}
