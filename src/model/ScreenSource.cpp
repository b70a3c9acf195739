#include "model/ScreenSource.hpp"

#include "platform/foundation/SharedInstances.hpp"

#include <utility>

namespace tilmora {

namespace {

class NoScreens final : public ScreenSource {
public:
    std::vector<ScreenInfo> screens() const override { return {}; }
    std::optional<ScreenInfo> mainScreen() const override { return std::nullopt; }
};

std::shared_ptr<const ScreenSource>& installedSource() {
    static std::shared_ptr<const ScreenSource> source = std::make_shared<NoScreens>();
    static const bool registered =
        (platform::SharedInstances::registerReset([] { source = std::make_shared<NoScreens>(); }), true);
    (void)registered;
    return source;
}

} // namespace

std::shared_ptr<const ScreenSource> ScreenSource::current() {
    return installedSource();
}

void ScreenSource::install(std::shared_ptr<const ScreenSource> source) {
    installedSource() = source ? std::move(source) : std::make_shared<NoScreens>();
}

} // namespace tilmora
