#include "model/ScreenLayoutEntry.hpp"

#include "model/PresetNormalization.hpp"

namespace tilmora {

ScreenLayoutEntry::PresetModel ScreenLayoutEntry::PresetModel::normalized() const {
    using namespace PresetNormalization;
    return PresetModel{count(rows), count(cols), spacing(gutter), spacing(padding)};
}

platform::Json toJson(const ScreenLayoutEntry::PresetModel& preset) {
    return platform::JsonWriter()
        .set("rows", preset.rows)
        .set("cols", preset.cols)
        .set("gutter", preset.gutter)
        .set("padding", preset.padding)
        .take();
}

ScreenLayoutEntry::PresetModel fromJson(const platform::Json& json,
                                        std::type_identity<ScreenLayoutEntry::PresetModel>) {
    platform::JsonReader reader(json, "PresetModel");
    return ScreenLayoutEntry::PresetModel{
        reader.required<std::int64_t>("rows"), reader.required<std::int64_t>("cols"),
        reader.required<double>("gutter"), reader.required<double>("padding")};
}

platform::Json toJson(const ScreenLayoutEntry& entry) {
    return platform::JsonWriter().set("signature", entry.signature).set("preset", entry.preset).take();
}

ScreenLayoutEntry fromJson(const platform::Json& json, std::type_identity<ScreenLayoutEntry>) {
    platform::JsonReader reader(json, "ScreenLayoutEntry");
    return ScreenLayoutEntry{reader.required<DisplaySignature>("signature"),
                             reader.required<ScreenLayoutEntry::PresetModel>("preset")};
}

} // namespace tilmora
