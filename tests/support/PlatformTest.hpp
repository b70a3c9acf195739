#pragma once

#include <gtest/gtest.h>

#include <filesystem>
#include <functional>
#include <string>

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
    /// Runs `work` on a worker and expects the main thread's turn to fail with "<call> must be
    /// called on the main thread". The failed worker stays behind: end with `sim().reset()`.
    void expectMainThreadOnly(const std::string& call, std::function<void()> work);

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

/// The program's own resources folder in the source tree (string tables, help page, images): an
/// absolute path the build names, whatever folder a test runs in.
std::filesystem::path programResources();

/// Points the main bundle at the program's own resources and makes English the preferred language,
/// so that the program's texts read as in English.
void useProgramTextsInEnglish();

/// The message of the `platform::Error` that `action` throws; "" when it throws none.
std::string platformErrorOf(const std::function<void()>& action);
