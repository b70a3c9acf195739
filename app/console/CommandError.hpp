#pragma once

#include <stdexcept>
#include <string>
#include <utility>
#include <vector>

namespace tilmora {

/// A console command that cannot run. The console prints its message as "error: line N: " +
/// message and the exit status becomes 2; the lines of `listed` (a long list of names) follow, one
/// a line, each indented by two spaces.
struct CommandError : std::runtime_error {
    using std::runtime_error::runtime_error;
    CommandError(const std::string& message, std::vector<std::string> listed)
        : std::runtime_error(message)
        , listed(std::move(listed)) {}

    std::vector<std::string> listed;
};

} // namespace tilmora
