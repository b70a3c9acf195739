#include "model/SystemScreenSource.hpp"

namespace tilmora {

namespace {

Rect rect(const platform::CGRect& r) {
    return Rect{r.origin.x, r.origin.y, r.size.width, r.size.height};
}

} // namespace

std::optional<std::uint32_t> SystemScreenSource::displayIdentifierValue(const platform::NSScreen& screen) {
    const platform::CFDictionary& description = screen.deviceDescription();
    const platform::CFValue* number = platform::lookup(description, "NSScreenNumber");
    if (number == nullptr || !number->isNumber()) return std::nullopt;
    if (const auto* unsignedValue = number->get<std::uint64_t>())
        return static_cast<std::uint32_t>(*unsignedValue);
    auto value = number->integerValue();
    if (!value) return std::nullopt;
    return static_cast<std::uint32_t>(static_cast<std::uint64_t>(*value));
}

ScreenInfo SystemScreenSource::info(const platform::NSScreen& screen) {
    return ScreenInfo{displayIdentifierValue(screen), screen.localizedName(), rect(screen.frame()),
                      rect(screen.visibleFrame()), screen.backingScaleFactor()};
}

std::vector<ScreenInfo> SystemScreenSource::screens() const {
    std::vector<ScreenInfo> result;
    for (const platform::NSScreen& screen : platform::NSScreen::screens())
        result.push_back(info(screen));
    return result;
}

std::optional<ScreenInfo> SystemScreenSource::mainScreen() const {
    auto main = platform::NSScreen::main();
    if (!main) return std::nullopt;
    return info(*main);
}

} // namespace tilmora
