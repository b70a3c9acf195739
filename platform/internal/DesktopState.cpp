#include "platform/internal/DesktopState.hpp"

#include "platform/foundation/SharedInstance.hpp"
#include "platform/internal/DesktopModel.hpp"
#include "platform/internal/DesktopNotifications.hpp"

#include <mutex>

namespace platform::desktop_detail {

namespace {

/// Holds the record store, so that a reset of the shared instances starts a fresh desktop.
std::shared_ptr<DesktopModel> makeModel() {
    auto model = std::make_shared<DesktopModel>();
    model->poster = postDesktopNotification;
    return model;
}

class DesktopState {
public:
    static constexpr SharedScope sharedScope = SharedScope::desktop;
    std::mutex mutex;
    std::shared_ptr<DesktopModel> model = makeModel();
};

} // namespace

std::shared_ptr<DesktopModel> currentModel() {
    auto& state = SharedInstance<DesktopState>::get();
    std::lock_guard lock(state.mutex);
    return state.model;
}

void replaceModel() {
    auto fresh = makeModel();
    auto& state = SharedInstance<DesktopState>::get();
    std::lock_guard lock(state.mutex);
    state.model = std::move(fresh);
}

pid_t programPid() {
    auto model = currentModel();
    std::lock_guard lock(model->mutex);
    return model->programPid;
}

} // namespace platform::desktop_detail
