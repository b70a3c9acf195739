#pragma once

#include "platform/foundation/JsonCoding.hpp"

#include <compare>
#include <cstddef>
#include <functional>
#include <string>
#include <type_traits>
#include <utility>

namespace tilmora {

/// The shared shape of the identifiers that hold text (`WindowId`, `DisplayId`): one field
/// `rawValue`, compared, ordered and hashed as UTF-8 bytes, written as {"rawValue": "<text>"}.
/// `Derived` names itself in decoding errors through a static `typeName`.
template <class Derived>
struct TextIdentifier {
    std::string rawValue;

    explicit TextIdentifier(std::string rawValue)
        : rawValue(std::move(rawValue)) {}
    /// A text literal becomes `rawValue` unchanged (`DisplayId id = "1";`).
    TextIdentifier(const char* literal)
        : rawValue(literal) {}
    TextIdentifier(std::nullptr_t) = delete;

    friend bool operator==(const TextIdentifier&, const TextIdentifier&) = default;
    friend std::strong_ordering operator<=>(const TextIdentifier&, const TextIdentifier&) = default;

    friend platform::Json toJson(const Derived& id) {
        return platform::JsonWriter().set("rawValue", id.rawValue).take();
    }
    friend Derived fromJson(const platform::Json& json, std::type_identity<Derived>) {
        platform::JsonReader reader(json, Derived::typeName);
        return Derived(reader.required<std::string>("rawValue"));
    }
};

/// Hashing feeds only `rawValue`, so it agrees with equality.
template <class Derived>
struct TextIdentifierHash {
    std::size_t operator()(const Derived& id) const noexcept { return std::hash<std::string>{}(id.rawValue); }
};

} // namespace tilmora
