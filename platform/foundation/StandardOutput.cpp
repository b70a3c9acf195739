#include "platform/foundation/StandardOutput.hpp"

#include "platform/internal/CapturableStream.hpp"

namespace platform {

void StandardOutput::write(std::string_view text) {
    CapturableStream::standardOutput().write(text);
}

} // namespace platform
