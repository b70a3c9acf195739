#include "model/SnapshotDefinition.hpp"
#include "model/SnapshotWindowMapping.hpp"
#include "platform/foundation/JsonObjectCoding.hpp"

namespace tilmora {

using platform::Json;
using platform::JsonField;
using platform::JsonObjectCoding;

namespace {

const JsonObjectCoding mappingCoding("SnapshotWindowMapping",
                                     JsonField("bundleIdentifier", &SnapshotWindowMapping::bundleIdentifier),
                                     JsonField("windowTitlePattern",
                                               &SnapshotWindowMapping::windowTitlePattern),
                                     JsonField("displayId", &SnapshotWindowMapping::displayId),
                                     JsonField("normalizedFrame", &SnapshotWindowMapping::normalizedFrame));

const JsonObjectCoding definitionCoding("SnapshotDefinition", JsonField("id", &SnapshotDefinition::id),
                                        JsonField("name", &SnapshotDefinition::name),
                                        JsonField("createdAt", &SnapshotDefinition::createdAt),
                                        JsonField("updatedAt", &SnapshotDefinition::updatedAt),
                                        JsonField("windowMappings", &SnapshotDefinition::windowMappings),
                                        JsonField("linkedProfileId", &SnapshotDefinition::linkedProfileId),
                                        JsonField("globalShortcut", &SnapshotDefinition::globalShortcut));

} // namespace

Json toJson(const SnapshotWindowMapping& mapping) {
    return mappingCoding.encode(mapping);
}

SnapshotWindowMapping fromJson(const Json& json, std::type_identity<SnapshotWindowMapping>) {
    return mappingCoding.decode(json);
}

Json toJson(const SnapshotDefinition& definition) {
    return definitionCoding.encode(definition);
}

SnapshotDefinition fromJson(const Json& json, std::type_identity<SnapshotDefinition>) {
    return definitionCoding.decode(json);
}

} // namespace tilmora
