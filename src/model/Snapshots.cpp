#include "model/SnapshotDefinition.hpp"
#include "model/SnapshotWindowMapping.hpp"

namespace tilmora {

using platform::Date;
using platform::Json;
using platform::JsonReader;
using platform::JsonWriter;

Json toJson(const SnapshotWindowMapping& mapping) {
    return JsonWriter()
        .set("bundleIdentifier", mapping.bundleIdentifier)
        .setOptional("windowTitlePattern", mapping.windowTitlePattern)
        .setOptional("displayId", mapping.displayId)
        .setOptional("normalizedFrame", mapping.normalizedFrame)
        .take();
}

SnapshotWindowMapping fromJson(const Json& json, std::type_identity<SnapshotWindowMapping>) {
    JsonReader reader(json, "SnapshotWindowMapping");
    return SnapshotWindowMapping{
        reader.required<std::string>("bundleIdentifier"), reader.optional<std::string>("windowTitlePattern"),
        reader.optional<DisplayId>("displayId"), reader.optional<Rect>("normalizedFrame")};
}

Json toJson(const SnapshotDefinition& definition) {
    return JsonWriter()
        .set("id", definition.id)
        .set("name", definition.name)
        .set("createdAt", definition.createdAt)
        .set("updatedAt", definition.updatedAt)
        .set("windowMappings", definition.windowMappings)
        .setOptional("linkedProfileId", definition.linkedProfileId)
        .setOptional("globalShortcut", definition.globalShortcut)
        .take();
}

SnapshotDefinition fromJson(const Json& json, std::type_identity<SnapshotDefinition>) {
    JsonReader reader(json, "SnapshotDefinition");
    return SnapshotDefinition{reader.required<SnapshotId>("id"),
                              reader.required<std::string>("name"),
                              reader.required<Date>("createdAt"),
                              reader.required<Date>("updatedAt"),
                              reader.required<std::vector<SnapshotWindowMapping>>("windowMappings"),
                              reader.optional<ProfileId>("linkedProfileId"),
                              reader.optional<std::string>("globalShortcut")};
}

} // namespace tilmora
