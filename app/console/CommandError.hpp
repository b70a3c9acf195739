#pragma once

#include <stdexcept>

namespace tilmora {

/// A console command that cannot run. The console prints its message as "error: line N: " +
/// message and the exit status becomes 2.
struct CommandError : std::runtime_error {
    using std::runtime_error::runtime_error;
};

} // namespace tilmora
