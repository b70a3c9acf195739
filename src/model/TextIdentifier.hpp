#pragma once

#include "platform/foundation/JsonCoding.hpp"
#include "platform/foundation/Text.hpp"

#include <compare>
#include <concepts>
#include <cstddef>
#include <functional>
#include <string>
#include <type_traits>
#include <utility>

namespace tilmora {

/// The shared shape of the identifiers that hold text (`WindowId`, `DisplayId`): one field
/// `rawValue`, written as {"rawValue": "<text>"} exactly as it is held. Two identifiers are equal
/// when their texts are canonically equivalent Unicode ("Café" with a composed "é" equals "Cafe"
/// followed by a combining accent); they order by the Unicode scalar values of their canonical
/// (NFC) forms ("10" before "2", digits before letters) and hash their canonical forms, so both
/// agree with equality. `Derived` names itself in decoding errors through a static `typeName`.
template <class Derived>
struct TextIdentifier {
    std::string rawValue;

    explicit TextIdentifier(std::string rawValue)
        : rawValue(std::move(rawValue)) {}
    /// A text literal becomes `rawValue` unchanged (`DisplayId id = "1";`).
    TextIdentifier(const char* literal)
        : rawValue(literal) {}
    TextIdentifier(std::nullptr_t) = delete;

    friend bool operator==(const TextIdentifier& a, const TextIdentifier& b) {
        return platform::Text::canonicallyEquivalent(a.rawValue, b.rawValue);
    }
    /// UTF-8 byte order of the canonical forms, which is their code point order.
    friend std::weak_ordering operator<=>(const TextIdentifier& a, const TextIdentifier& b) {
        if (a.rawValue == b.rawValue) return std::weak_ordering::equivalent;
        const int order = platform::Text::canonicalForm(a.rawValue).compare(platform::Text::canonicalForm(b.rawValue));
        return order < 0 ? std::weak_ordering::less : order > 0 ? std::weak_ordering::greater : std::weak_ordering::equivalent;
    }

    friend platform::Json toJson(const Derived& id) {
        return platform::JsonWriter().set("rawValue", id.rawValue).take();
    }
    friend Derived fromJson(const platform::Json& json, std::type_identity<Derived>) {
        platform::JsonReader reader(json, Derived::typeName);
        return Derived(reader.required<std::string>("rawValue"));
    }
};

} // namespace tilmora

/// Hashing feeds only the canonical form of `rawValue`, so it agrees with equality; it serves every
/// identifier built on `TextIdentifier`.
template <class Id>
    requires std::derived_from<Id, tilmora::TextIdentifier<Id>>
struct std::hash<Id> {
    std::size_t operator()(const Id& id) const noexcept {
        return std::hash<std::string>{}(platform::Text::canonicalForm(id.rawValue));
    }
};
