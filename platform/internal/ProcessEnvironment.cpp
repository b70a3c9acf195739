#include "platform/internal/ProcessEnvironment.hpp"

#include <cstring>

extern char** environ;

namespace platform::process_detail {

ProcessEnvironment::ProcessEnvironment() {
    for (char** entry = environ; entry && *entry; ++entry) {
        const char* text = *entry;
        const char* equals = std::strchr(text, '=');
        if (!equals) continue;
        variables.emplace(std::string(text, equals), std::string(equals + 1));
    }
}

} // namespace platform::process_detail
