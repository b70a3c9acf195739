#pragma once

#include <gtest/gtest.h>

#include <filesystem>

namespace testsupport {

/// A fresh folder under the system's temporary folder, removed with everything in it when the
/// object goes away.
class TemporaryFolder {
public:
    TemporaryFolder();
    ~TemporaryFolder();
    TemporaryFolder(const TemporaryFolder&) = delete;
    TemporaryFolder& operator=(const TemporaryFolder&) = delete;

    const std::filesystem::path& path() const { return path_; }

private:
    std::filesystem::path path_;
};

/// Test fixture that gives every test its own user folders (Documents, Application Support,
/// Preferences under a temporary root), resets every shared instance (`SharedInstances::resetAll`:
/// empty user defaults, notification centers without observers, no queued alert answers or menu
/// picks, ...) and the system wall clock; everything is put back after the test.
class FoundationSandbox : public ::testing::Test {
protected:
    void SetUp() override;
    void TearDown() override;

    /// The sandbox's root (the user's home folder while the test runs).
    const std::filesystem::path& root() const { return root_.path(); }

private:
    TemporaryFolder root_;
};

} // namespace testsupport
