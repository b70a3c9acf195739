#pragma once

#include "platform/foundation/JsonCoding.hpp"
#include "platform/foundation/Uuid.hpp"

#include <compare>
#include <concepts>
#include <cstddef>
#include <functional>
#include <type_traits>

namespace tilmora {

/// The shared shape of the identifiers that hold a UUID (`LayoutId`, `ProfileId`, `SnapshotId`,
/// `TileId`): one field `rawValue`, compared, ordered and hashed by the UUID's 16 bytes, written as
/// {"rawValue": "<36-character upper-case UUID>"} and read from either letter case.
/// A new identifier is made from a fresh random UUID: `LayoutId(platform::UUID())`.
template <class Derived>
struct UuidIdentifier {
    platform::UUID rawValue;

    explicit UuidIdentifier(const platform::UUID& rawValue)
        : rawValue(rawValue) {}

    friend bool operator==(const UuidIdentifier&, const UuidIdentifier&) = default;
    friend std::strong_ordering operator<=>(const UuidIdentifier&, const UuidIdentifier&) = default;

    friend platform::Json toJson(const Derived& id) {
        return platform::JsonWriter().set("rawValue", id.rawValue).take();
    }
    friend Derived fromJson(const platform::Json& json, std::type_identity<Derived>) {
        platform::JsonReader reader(json, Derived::typeName);
        return Derived(reader.required<platform::UUID>("rawValue"));
    }
};

} // namespace tilmora

/// Hashing feeds only the UUID's 16 bytes, so it agrees with equality; it serves every identifier
/// built on `UuidIdentifier`.
template <class Id>
    requires std::derived_from<Id, tilmora::UuidIdentifier<Id>>
struct std::hash<Id> {
    std::size_t operator()(const Id& id) const noexcept { return std::hash<platform::UUID>{}(id.rawValue); }
};
