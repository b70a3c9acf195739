#include "model/SnapArea.hpp"

#include "model/DisplaySignature.hpp"
#include "model/ScreenSource.hpp"

#include <algorithm>

namespace tilmora {

platform::Json toJson(const SnapArea& area) {
    return platform::JsonWriter()
        .set("id", area.id)
        .set("name", area.name)
        .set("x", area.x)
        .set("y", area.y)
        .set("width", area.width)
        .set("height", area.height)
        .setOptional("displayID", area.displayID)
        .setOptional("resolutionWidth", area.resolutionWidth)
        .setOptional("resolutionHeight", area.resolutionHeight)
        .set("appliesToAllDisplays", area.appliesToAllDisplays)
        .take();
}

SnapArea fromJson(const platform::Json& json, std::type_identity<SnapArea>) {
    platform::JsonReader reader(json, "SnapArea");
    SnapArea area{reader.required<platform::UUID>("id"),
                  reader.required<std::string>("name"),
                  reader.required<double>("x"),
                  reader.required<double>("y"),
                  reader.required<double>("width"),
                  reader.required<double>("height"),
                  reader.optional<std::uint32_t>("displayID"),
                  reader.optional<std::int64_t>("resolutionWidth"),
                  reader.optional<std::int64_t>("resolutionHeight"),
                  true};
    area.appliesToAllDisplays =
        reader.optional<bool>("appliesToAllDisplays").value_or(!area.displayID.has_value());
    if (area.name.empty()) area.name = "Untitled";
    return area;
}

std::optional<ScreenInfo> SnapArea::resolveScreen(const std::vector<ScreenInfo>& preferredScreens) const {
    std::vector<ScreenInfo> preferred;
    for (const ScreenInfo& screen : preferredScreens) {
        if (std::find(preferred.begin(), preferred.end(), screen) == preferred.end())
            preferred.push_back(screen);
    }
    auto source = ScreenSource::current();
    if (appliesToAllDisplays) {
        if (!preferred.empty()) return preferred.front();
        if (auto main = source->mainScreen()) return main;
        auto screens = source->screens();
        if (!screens.empty()) return screens.front();
        return std::nullopt;
    }
    auto fits = [this](const ScreenInfo& screen) {
        if (!(screen.frame.width > 0 && screen.frame.height > 0)) return false;
        if (displayID && screen.displayNumber != displayID) return false;
        if (resolutionWidth && resolutionHeight) {
            if (DisplaySignature::pixels(screen.frame.width, screen.backingScaleFactor) != *resolutionWidth ||
                DisplaySignature::pixels(screen.frame.height, screen.backingScaleFactor) != *resolutionHeight)
                return false;
        }
        return true;
    };
    for (const ScreenInfo& screen : preferred) {
        if (fits(screen)) return screen;
    }
    for (const ScreenInfo& screen : source->screens()) {
        if (fits(screen)) return screen;
    }
    return std::nullopt;
}

} // namespace tilmora
