#include "platform/foundation/StandardError.hpp"

#include "platform/control/StandardErrorControl.hpp"

#include <cstdio>
#include <mutex>

namespace platform {

namespace {
struct ErrorState {
    std::mutex mutex;
    StandardErrorControl::Capture capture;
};
ErrorState& errorState() {
    static ErrorState* state = new ErrorState; // never destroyed: writes may come during exit
    return *state;
}
} // namespace

void StandardError::write(std::string_view text) {
    auto& state = errorState();
    std::lock_guard hold(state.mutex);
    if (state.capture) {
        state.capture(text);
        return;
    }
    std::fwrite(text.data(), 1, text.size(), stderr);
    std::fflush(stderr);
}

void StandardErrorControl::setCapture(Capture capture) {
    auto& state = errorState();
    std::lock_guard hold(state.mutex);
    state.capture = std::move(capture);
}

} // namespace platform
