#include "platform/internal/CapturableStream.hpp"

#include <utility>

namespace platform {

CapturableStream& CapturableStream::standardOutput() {
    static auto* stream = new CapturableStream(stdout);
    return *stream;
}

CapturableStream& CapturableStream::standardError() {
    static auto* stream = new CapturableStream(stderr);
    return *stream;
}

void CapturableStream::write(std::string_view text) {
    std::lock_guard hold(mutex_);
    if (capture_) {
        capture_(text);
        return;
    }
    std::fwrite(text.data(), 1, text.size(), file_);
    std::fflush(file_);
}

void CapturableStream::setCapture(Capture capture) {
    std::lock_guard hold(mutex_);
    capture_ = std::move(capture);
}

} // namespace platform
