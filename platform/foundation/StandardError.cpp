#include "platform/foundation/StandardError.hpp"

#include "platform/internal/CapturableStream.hpp"

namespace platform {

void StandardError::write(std::string_view text) {
    CapturableStream::standardError().write(text);
}

} // namespace platform
