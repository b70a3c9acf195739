// The toolkit's waits go through the platform's main queue and main run loop on the (virtual)
// clock of the scheduler.
#include "platform/ui/Runtime.hpp"

#include "platform/dispatch/DispatchQueue.hpp"
#include "platform/dispatch/DispatchTime.hpp"
#include "platform/dispatch/MediaTime.hpp"
#include "platform/dispatch/RunLoop.hpp"
#include "platform/foundation/NotificationCenter.hpp"

#include <utility>

namespace platform::ui::runtime {

namespace {
RunLoopMode toMode(const std::string& mode) {
    if (mode == eventTrackingMode) return RunLoopMode::eventTracking;
    if (mode == modalPanelMode) return RunLoopMode::modalPanel;
    return RunLoopMode::defaultMode;
}
} // namespace

double now() {
    return mediaTime();
}

void mainAsync(std::function<void()> fn) {
    DispatchQueue::main().async(std::move(fn));
}

void afterDelay(double seconds, std::function<void()> fn) {
    DispatchQueue::main().asyncAfter(DispatchTime::now() + std::max(seconds, 0.0), std::move(fn));
}

void runLoop(const std::string& mode, double seconds) {
    RunLoop::main().runFor(toMode(mode), std::max(seconds, 0.0));
}

bool runLoopUntil(const std::string& mode, const std::function<bool()>& done, double timeoutSeconds) {
    double end = now() + timeoutSeconds;
    bool ok = done();
    // Small turns, so that the condition is seen soon after it holds.
    while (!ok && now() < end) {
        runLoop(mode, std::min(0.001, end - now()));
        ok = done();
    }
    return ok;
}

std::string currentMode() {
    auto mode = RunLoop::main().currentMode();
    if (!mode) return "";
    switch (*mode) {
    case RunLoopMode::eventTracking:
        return eventTrackingMode;
    case RunLoopMode::modalPanel:
        return modalPanelMode;
    case RunLoopMode::defaultMode:
    case RunLoopMode::common:
        break;
    }
    return defaultMode;
}

void post(const std::string& name, const void* object, const PropertyDictionary& userInfo) {
    NotificationCenter::defaultCenter().post(name, object, userInfo);
}

} // namespace platform::ui::runtime
