#include "platform/foundation/StandardOutput.hpp"

#include "platform/control/StandardOutputControl.hpp"

#include <cstdio>
#include <mutex>

namespace platform {

namespace {
struct OutputState {
    std::mutex mutex;
    StandardOutputControl::Capture capture;
};
OutputState& outputState() {
    static OutputState* state = new OutputState; // never destroyed: writes may come during exit
    return *state;
}
} // namespace

void StandardOutput::write(std::string_view text) {
    auto& state = outputState();
    std::lock_guard hold(state.mutex);
    if (state.capture) {
        state.capture(text);
        return;
    }
    std::fwrite(text.data(), 1, text.size(), stdout);
    std::fflush(stdout);
}

void StandardOutputControl::setCapture(Capture capture) {
    auto& state = outputState();
    std::lock_guard hold(state.mutex);
    state.capture = std::move(capture);
}

} // namespace platform
