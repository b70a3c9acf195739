#include "model/ScreenLayoutEntry.hpp"

#include "model/PresetNormalization.hpp"
#include "platform/foundation/JsonObjectCoding.hpp"

namespace tilmora {

ScreenLayoutEntry::PresetModel ScreenLayoutEntry::PresetModel::normalized() const {
    using namespace PresetNormalization;
    return PresetModel{count(rows), count(cols), spacing(gutter), spacing(padding)};
}

namespace {

using platform::JsonField;
using PresetModel = ScreenLayoutEntry::PresetModel;

const platform::JsonObjectCoding presetCoding("PresetModel", JsonField("rows", &PresetModel::rows),
                                              JsonField("cols", &PresetModel::cols),
                                              JsonField("gutter", &PresetModel::gutter),
                                              JsonField("padding", &PresetModel::padding));

const platform::JsonObjectCoding entryCoding("ScreenLayoutEntry",
                                             JsonField("signature", &ScreenLayoutEntry::signature),
                                             JsonField("preset", &ScreenLayoutEntry::preset));

} // namespace

platform::Json toJson(const ScreenLayoutEntry::PresetModel& preset) {
    return presetCoding.encode(preset);
}

ScreenLayoutEntry::PresetModel fromJson(const platform::Json& json,
                                        std::type_identity<ScreenLayoutEntry::PresetModel>) {
    return presetCoding.decode(json);
}

platform::Json toJson(const ScreenLayoutEntry& entry) {
    return entryCoding.encode(entry);
}

ScreenLayoutEntry fromJson(const platform::Json& json, std::type_identity<ScreenLayoutEntry>) {
    return entryCoding.decode(json);
}

} // namespace tilmora
