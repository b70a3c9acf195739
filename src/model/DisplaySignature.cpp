#include "model/DisplaySignature.hpp"
#include "model/DisplayConfigurationSignature.hpp"
#include "platform/foundation/JsonObjectCoding.hpp"

#include <algorithm>
#include <cmath>
#include <functional>

namespace tilmora {

namespace {

// Largest pixel count a signature takes; a larger side is no real screen.
constexpr double kMaxPixels = 1e12;

bool isUsableSide(double points) {
    return std::isfinite(points) && points > 0;
}

} // namespace

std::int64_t DisplaySignature::pixels(double points, double scale) {
    // NaN or a scale below 1 counts as 1.
    double factor = scale > 1.0 ? scale : 1.0;
    double value = points * factor;
    if (!std::isfinite(value)) return 0;
    value = std::clamp(value, -kMaxPixels, kMaxPixels);
    return static_cast<std::int64_t>(std::llround(value));
}

std::optional<DisplaySignature> DisplaySignature::fromScreen(const ScreenInfo& screen) {
    if (!isUsableSide(screen.frame.width) || !isUsableSide(screen.frame.height)) return std::nullopt;
    return DisplaySignature{screen.displayNumber, pixels(screen.frame.width, screen.backingScaleFactor),
                            pixels(screen.frame.height, screen.backingScaleFactor)};
}

std::string DisplaySignature::persistenceKeySegment() const {
    std::string segment = displayID ? std::to_string(*displayID) : std::string("unknown");
    segment += "-";
    segment += std::to_string(width);
    segment += "x";
    segment += std::to_string(height);
    return segment;
}

const platform::JsonObjectCoding
    signatureCoding("DisplaySignature", platform::JsonField("displayID", &DisplaySignature::displayID),
                    platform::JsonField("width", &DisplaySignature::width),
                    platform::JsonField("height", &DisplaySignature::height));

platform::Json toJson(const DisplaySignature& signature) {
    return signatureCoding.encode(signature);
}

DisplaySignature fromJson(const platform::Json& json, std::type_identity<DisplaySignature>) {
    return signatureCoding.decode(json);
}

std::string DisplayConfigurationSignature::key() const {
    std::string joined;
    for (std::size_t i = 0; i < signatures.size(); ++i) {
        if (i > 0) joined += "|";
        joined += signatures[i].persistenceKeySegment();
    }
    return joined;
}

std::optional<std::string> DisplayConfigurationSignature::key(const std::vector<ScreenInfo>& screens) {
    DisplayConfigurationSignature configuration;
    for (const ScreenInfo& screen : screens) {
        if (auto signature = DisplaySignature::fromScreen(screen))
            configuration.signatures.push_back(*signature);
    }
    if (configuration.signatures.empty()) return std::nullopt;
    std::stable_sort(configuration.signatures.begin(), configuration.signatures.end(),
                     [](const DisplaySignature& a, const DisplaySignature& b) {
                         return a.persistenceKeySegment() < b.persistenceKeySegment();
                     });
    return configuration.key();
}

} // namespace tilmora

std::size_t
std::hash<tilmora::DisplaySignature>::operator()(const tilmora::DisplaySignature& s) const noexcept {
    std::size_t seed = s.displayID ? std::hash<std::uint32_t>{}(*s.displayID) + 1 : 0;
    auto mix = [&seed](std::size_t value) {
        seed ^= value + 0x9e3779b97f4a7c15ULL + (seed << 6) + (seed >> 2);
    };
    mix(std::hash<std::int64_t>{}(s.width));
    mix(std::hash<std::int64_t>{}(s.height));
    return seed;
}
