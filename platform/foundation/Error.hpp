#pragma once

#include <stdexcept>
#include <string>

namespace platform {

/// The project's one error type: what a throwing call of the platform or of the system raises.
/// `what()` is the text a caller logs or shows.
class Error : public std::runtime_error {
public:
    explicit Error(const std::string& message)
        : std::runtime_error(message) {}
};

} // namespace platform
