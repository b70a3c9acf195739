#include "platform/control/StandardErrorControl.hpp"

#include "platform/internal/CapturableStream.hpp"

#include <utility>

namespace platform {

void StandardErrorControl::setCapture(Capture capture) {
    CapturableStream::standardError().setCapture(std::move(capture));
}

} // namespace platform
