#pragma once

#include <gtest/gtest.h>

#include <filesystem>

#include "platform/control/SimScheduler.hpp"
#include "support/FoundationSandbox.hpp"

/// The base of every test that touches the platform. Besides the foundation sandbox (own folders,
/// empty user defaults, no notification observers), before and after each test it restarts the
/// scheduler in the simulated mode with the test's thread as the main thread (stopping and joining
/// every worker of the test) and resets every shared instance registered with
/// `platform::SharedInstances`. The wall clock (`Date::now()`) follows the virtual clock.
///
/// A test should not end with workers blocked on objects of its own stack: let the work finish
/// (`sim().runFor`) or call `sim().reset()` at the end of the body.
class PlatformTest : public testsupport::FoundationSandbox {
protected:
    void SetUp() override;
    void TearDown() override;

    platform::SimScheduler& sim() { return platform::SimScheduler::shared(); }

    /// Resets every shared instance in the middle of a test (what a fresh start of the program
    /// would find; the sandbox's folders and files stay), then puts back what the fixture set up.
    void resetSharedInstances();
    /// The fixture's own setup on top of the reset platform; `SetUp` and `resetSharedInstances`
    /// run it after `SharedInstances::resetAll`. Overrides call their base first.
    virtual void restoreFixture() {}
};

/// The same in the real mode: real threads, the host's clocks. For the few smoke tests of the real
/// mode; keep their waits short.
class RealPlatformTest : public PlatformTest {
protected:
    void SetUp() override;
};

/// The program's own resources folder in the source tree (string tables, help page, images).
inline std::filesystem::path programResources() {
    return std::filesystem::path(__FILE__).parent_path().parent_path().parent_path() / "resources";
}
