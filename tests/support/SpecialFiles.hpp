#pragma once

#include "platform/foundation/FileSystem.hpp"

#include <gtest/gtest.h>

#include <filesystem>

#include <sys/stat.h>

namespace testsupport {

/// What a test plants where the program keeps a file, in place of a plain file it can read whole.
enum class SpecialFile {
    /// A named pipe: opening it for reading blocks until a writer comes.
    pipe,
    /// A symbolic link to /dev/zero: reading it never ends.
    zeroDeviceLink,
    /// A plain but sparse file of 2,000,000,000 bytes that starts "{}".
    sparse2GB,
};

/// Makes `kind` at `path`, whose folder exists and where nothing stands yet. A pipe that cannot be
/// made fails the test fatally: call it within `ASSERT_NO_FATAL_FAILURE`.
inline void plantSpecialFile(const std::filesystem::path& path, SpecialFile kind) {
    switch (kind) {
    case SpecialFile::pipe:
        ASSERT_EQ(::mkfifo(path.c_str(), 0644), 0);
        break;
    case SpecialFile::zeroDeviceLink:
        std::filesystem::create_symlink("/dev/zero", path);
        break;
    case SpecialFile::sparse2GB:
        platform::FileSystem::writeFile(path, "{}");
        std::filesystem::resize_file(path, 2'000'000'000);
        break;
    }
}

} // namespace testsupport
