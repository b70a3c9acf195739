#include "model/ScreenSource.hpp"
#include "model/HookRegistry.hpp"
#include "model/SystemScreenSource.hpp"

#include "platform/foundation/SharedInstance.hpp"

#include <utility>

namespace tilmora {

namespace {

// A shared instance: `SharedInstances::resetAll` returns to the platform's screens.
struct InstalledSource {
    std::shared_ptr<const ScreenSource> source = std::make_shared<SystemScreenSource>();
};

std::shared_ptr<const ScreenSource>& installedSource() {
    return platform::SharedInstance<InstalledSource>::get().source;
}

// The default is the real thing: the platform's screens.
const HookRegistry::Registration sourceHook("ScreenSource", [] {
    return std::dynamic_pointer_cast<const SystemScreenSource>(installedSource()) != nullptr;
});

} // namespace

std::shared_ptr<const ScreenSource> ScreenSource::current() {
    return installedSource();
}

void ScreenSource::install(std::shared_ptr<const ScreenSource> source) {
    installedSource() = source ? std::move(source) : std::make_shared<SystemScreenSource>();
}

} // namespace tilmora
