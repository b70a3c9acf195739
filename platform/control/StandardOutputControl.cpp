#include "platform/control/StandardOutputControl.hpp"

#include "platform/internal/CapturableStream.hpp"

#include <utility>

namespace platform {

void StandardOutputControl::setCapture(Capture capture) {
    CapturableStream::standardOutput().setCapture(std::move(capture));
}

} // namespace platform
