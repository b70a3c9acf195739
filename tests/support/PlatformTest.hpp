#pragma once

#include <gtest/gtest.h>

#include "platform/dispatch/SimScheduler.hpp"

/// The base of every test that touches the platform: before and after each test it restarts the
/// scheduler in the simulated mode with the test's thread as the main thread (stopping every
/// worker of the previous test), and resets every registered shared instance (user defaults, the
/// notification center and whatever later layers register).
class PlatformTest : public ::testing::Test {
protected:
    void SetUp() override;
    void TearDown() override;

    platform::SimScheduler& sim() { return platform::SimScheduler::shared(); }
};

/// The same in the real mode: real threads, real clock. For the few smoke tests of the real mode;
/// keep their waits short.
class RealPlatformTest : public PlatformTest {
protected:
    void SetUp() override;
};
