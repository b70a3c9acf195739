#include "model/EnumName.hpp"
#include "model/VeskPreset.hpp"
#include "model/VeskPresetKind.hpp"
#include "model/VeskTile.hpp"
#include "platform/foundation/JsonObjectCoding.hpp"

#include <algorithm>
#include <limits>

namespace tilmora {

using platform::Json;
using platform::JsonReader;
using platform::JsonWriter;

namespace {

constexpr EnumName<VeskPresetKind> kindNames[] = {{VeskPresetKind::grid, "grid"},
                                                  {VeskPresetKind::singleTile, "singleTile"}};

} // namespace

std::string_view rawValue(VeskPresetKind kind) {
    return enumName(kindNames, kind, "grid");
}

std::optional<VeskPresetKind> veskPresetKind(std::string_view text) {
    return enumValue(kindNames, text);
}

Json toJson(VeskPresetKind kind) {
    return Json(std::string(rawValue(kind)));
}

VeskPresetKind fromJson(const Json& json, std::type_identity<VeskPresetKind>) {
    const auto text = platform::decodeJson<std::string>(json);
    if (auto kind = veskPresetKind(text)) return *kind;
    throw platform::Error("cannot decode VeskPresetKind: \"" + text +
                          "\" is neither \"grid\" nor \"singleTile\"");
}

namespace {

/// A rectangle in the platform's standard coded form: [[x, y], [width, height]].
Json encodeRectPair(const Rect& rect) {
    return Json::array({Json::array({platform::encodeJson(rect.x), platform::encodeJson(rect.y)}),
                        Json::array({platform::encodeJson(rect.width), platform::encodeJson(rect.height)})});
}

Rect decodeRectPair(const Json& json) {
    const auto parts = platform::decodeJson<std::vector<std::vector<double>>>(json);
    if (parts.size() < 2 || parts[0].size() < 2 || parts[1].size() < 2) {
        platform::throwJsonMismatch("[[x, y], [width, height]]", json);
    }
    return Rect{parts[0][0], parts[0][1], parts[1][0], parts[1][1]};
}

} // namespace

Json toJson(const VeskTile& tile) {
    Json json = JsonWriter().set("id", tile.id).set("name", tile.name).take();
    try {
        json["normalisedRect"] = encodeRectPair(tile.normalisedRect);
    } catch (...) {
        platform::rethrowJsonError("cannot encode key \"normalisedRect\": ");
    }
    return json;
}

VeskTile fromJson(const Json& json, std::type_identity<VeskTile>) {
    JsonReader reader(json, "VeskTile");
    auto id = reader.required<platform::UUID>("id");
    auto name = reader.required<std::string>("name");
    const Json* rect = reader.find("normalisedRect");
    if (rect == nullptr) reader.fail("key \"normalisedRect\" is missing");
    try {
        return VeskTile{id, std::move(name), decodeRectPair(*rect)};
    } catch (...) {
        platform::rethrowJsonError("cannot decode VeskTile: key \"normalisedRect\": ");
    }
}

namespace {

const platform::JsonObjectCoding presetCoding("VeskPreset", platform::JsonField("id", &VeskPreset::id),
                                              platform::JsonField("name", &VeskPreset::name),
                                              platform::JsonField("kind", &VeskPreset::kind),
                                              platform::JsonField("displayId", &VeskPreset::displayId),
                                              platform::JsonField("tiles", &VeskPreset::tiles),
                                              platform::JsonField("sortOrder", &VeskPreset::sortOrder));

} // namespace

Json toJson(const VeskPreset& preset) {
    return presetCoding.encode(preset);
}

VeskPreset fromJson(const Json& json, std::type_identity<VeskPreset>) {
    return presetCoding.decode(json);
}

std::vector<VeskPreset> sortedBySortOrder(std::vector<VeskPreset> presets) {
    std::stable_sort(presets.begin(), presets.end(),
                     [](const VeskPreset& a, const VeskPreset& b) { return a.sortOrder < b.sortOrder; });
    return presets;
}

std::int64_t nextSortOrder(const std::vector<VeskPreset>& presets) {
    std::int64_t largest = 0;
    if (!presets.empty()) {
        largest =
            std::max_element(presets.begin(), presets.end(), [](const VeskPreset& a, const VeskPreset& b) {
                return a.sortOrder < b.sortOrder;
            })->sortOrder;
    }
    if (largest == std::numeric_limits<std::int64_t>::max()) return largest;
    return largest + 1;
}

} // namespace tilmora
