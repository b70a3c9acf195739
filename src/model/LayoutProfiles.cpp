#include "model/LayoutProfile.hpp"
#include "model/MonitorConfigurationSignature.hpp"

#include <algorithm>

namespace tilmora {

using platform::Json;
using platform::JsonReader;
using platform::JsonWriter;

MonitorConfigurationSignature::MonitorConfigurationSignature(std::vector<DisplayId> ids)
    : displayIds(std::move(ids)) {
    std::stable_sort(displayIds.begin(), displayIds.end(),
                     [](const DisplayId& a, const DisplayId& b) { return a < b; });
}

Json toJson(const MonitorConfigurationSignature& signature) {
    return JsonWriter().set("displayIds", signature.displayIds).take();
}

MonitorConfigurationSignature fromJson(const Json& json, std::type_identity<MonitorConfigurationSignature>) {
    JsonReader reader(json, "MonitorConfigurationSignature");
    return MonitorConfigurationSignature(reader.required<std::vector<DisplayId>>("displayIds"),
                                         MonitorConfigurationSignature::StoredOrder{});
}

namespace {

Json encodeLayoutsMap(const std::map<DisplayId, LayoutId>& layouts) {
    Json array = Json::array();
    for (const auto& [displayId, layoutId] : layouts) {
        array.push_back(platform::encodeJson(displayId));
        array.push_back(platform::encodeJson(layoutId));
    }
    return array;
}

std::map<DisplayId, LayoutId> decodeLayoutsMap(const Json& json) {
    if (!json.is_array()) platform::throwJsonMismatch("an array", json);
    if (json.size() % 2 != 0) {
        throw platform::Error("expected display and layout ids in pairs, found an array of " +
                              std::to_string(json.size()) + " elements");
    }
    std::map<DisplayId, LayoutId> layouts;
    for (std::size_t i = 0; i < json.size(); i += 2) {
        try {
            auto displayId = platform::decodeJson<DisplayId>(json[i]);
            auto layoutId = platform::decodeJson<LayoutId>(json[i + 1]);
            layouts.insert_or_assign(std::move(displayId), layoutId);
        } catch (...) {
            platform::rethrowJsonError("pair at element " + std::to_string(i) + ": ");
        }
    }
    return layouts;
}

} // namespace

Json toJson(const LayoutProfile& profile) {
    return JsonWriter()
        .set("id", profile.id)
        .set("name", profile.name)
        .set("configuration", profile.configuration)
        .set("layouts", encodeLayoutsMap(profile.layouts))
        .take();
}

LayoutProfile fromJson(const Json& json, std::type_identity<LayoutProfile>) {
    JsonReader reader(json, "LayoutProfile");
    auto id = reader.required<ProfileId>("id");
    auto name = reader.required<std::string>("name");
    auto configuration = reader.required<MonitorConfigurationSignature>("configuration");
    const Json* layouts = reader.find("layouts");
    if (layouts == nullptr) reader.fail("key \"layouts\" is missing");
    try {
        return LayoutProfile{std::move(id), std::move(name), std::move(configuration),
                             decodeLayoutsMap(*layouts)};
    } catch (...) {
        platform::rethrowJsonError("cannot decode LayoutProfile: key \"layouts\": ");
    }
}

} // namespace tilmora

std::size_t std::hash<tilmora::MonitorConfigurationSignature>::operator()(
    const tilmora::MonitorConfigurationSignature& signature) const noexcept {
    std::size_t hash = std::hash<std::size_t>{}(signature.displayIds.size());
    for (const auto& id : signature.displayIds) {
        hash ^= std::hash<tilmora::DisplayId>{}(id) + 0x9e3779b97f4a7c15ull + (hash << 6) + (hash >> 2);
    }
    return hash;
}
