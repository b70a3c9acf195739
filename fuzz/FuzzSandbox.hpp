#pragma once

#include "platform/control/FoldersControl.hpp"
#include "platform/control/SharedInstances.hpp"
#include "platform/dispatch/Runtime.hpp"

#include <filesystem>
#include <stdexcept>
#include <string>
#include <system_error>
#include <vector>

#include <stdlib.h>

namespace fuzzing {

/// The fuzz programs' platform: the simulated runtime and the user's folders under a fresh
/// temporary root (in TMPDIR), made on first use and removed when the program exits normally; a
/// program that stops on a fault leaves it to whoever set TMPDIR. Main thread.
class FuzzSandbox {
public:
    static FuzzSandbox& instance() {
        static FuzzSandbox sandbox;
        return sandbox;
    }

    const std::filesystem::path& root() const { return root_; }
    std::filesystem::path preferences() const { return root_ / "Library" / "Preferences"; }

    /// Every shared instance afresh, the folders emptied and made again.
    void reset() {
        platform::SharedInstances::resetAll();
        std::error_code ec;
        for (const auto& entry : std::filesystem::directory_iterator(root_, ec))
            std::filesystem::remove_all(entry.path(), ec);
        platform::FoldersControl::useRoot(root_);
    }

private:
    FuzzSandbox() {
        std::string pattern = (std::filesystem::temp_directory_path() / "tilmora-fuzz-XXXXXX").string();
        std::vector<char> name(pattern.begin(), pattern.end());
        name.push_back('\0');
        if (::mkdtemp(name.data()) == nullptr) throw std::runtime_error("cannot create a temporary folder");
        root_ = name.data();
        platform::Runtime::start(platform::Runtime::Mode::simulated);
        platform::FoldersControl::useRoot(root_);
        platform::SharedInstances::resetAll();
    }

    ~FuzzSandbox() {
        std::error_code ec;
        std::filesystem::remove_all(root_, ec);
    }

    std::filesystem::path root_;
};

} // namespace fuzzing
