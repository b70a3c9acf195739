#include "model/ScreenSource.hpp"
#include "model/SystemScreenSource.hpp"

#include "platform/control/SharedInstances.hpp"

#include <utility>

namespace tilmora {

namespace {

std::shared_ptr<const ScreenSource>& installedSource() {
    static std::shared_ptr<const ScreenSource> source = std::make_shared<SystemScreenSource>();
    static const bool registered =
        (platform::SharedInstances::registerReset([] { source = std::make_shared<SystemScreenSource>(); }),
         true);
    (void)registered;
    return source;
}

} // namespace

std::shared_ptr<const ScreenSource> ScreenSource::current() {
    return installedSource();
}

void ScreenSource::install(std::shared_ptr<const ScreenSource> source) {
    installedSource() = source ? std::move(source) : std::make_shared<SystemScreenSource>();
}

} // namespace tilmora
