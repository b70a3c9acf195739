#pragma once

#include "platform/foundation/Date.hpp"

#include <concepts>
#include <cstdint>
#include <map>
#include <optional>
#include <string>
#include <string_view>
#include <variant>
#include <vector>

namespace platform {

class PropertyValue;

/// Raw bytes held by a property value (a data value of the user defaults).
using Bytes = std::vector<std::uint8_t>;
/// An ordered list of property values.
using PropertyArray = std::vector<PropertyValue>;
/// Property values by text key, sorted by key.
using PropertyDictionary = std::map<std::string, PropertyValue>;

/// One value of a property-list tree: what user defaults store and what notifications carry in
/// their user info. Exactly one of: Boolean, 64-bit integer, double, UTF-8 text, bytes, date,
/// array, dictionary. A Boolean is a kind of its own: it is not an integer, though the user
/// defaults' readers coerce between them. A default-constructed value is the Boolean false.
class PropertyValue {
public:
    enum class Kind { boolean, integer, real, string, data, date, array, dictionary };

    PropertyValue()
        : storage_(false) {}
    PropertyValue(bool value)
        : storage_(value) {}
    template <std::integral T>
    requires(!std::same_as<T, bool> && !std::same_as<T, char>) PropertyValue(T value)
        : storage_(static_cast<std::int64_t>(value)) {}
    PropertyValue(double value)
        : storage_(value) {}
    PropertyValue(float value)
        : storage_(static_cast<double>(value)) {}
    PropertyValue(const char* value)
        : storage_(std::string(value)) {}
    PropertyValue(std::string value)
        : storage_(std::move(value)) {}
    PropertyValue(Bytes value)
        : storage_(std::move(value)) {}
    PropertyValue(Date value)
        : storage_(value) {}
    PropertyValue(PropertyArray value)
        : storage_(std::move(value)) {}
    PropertyValue(PropertyDictionary value)
        : storage_(std::move(value)) {}

    Kind kind() const { return static_cast<Kind>(storage_.index()); }

    bool isBool() const { return kind() == Kind::boolean; }
    bool isInteger() const { return kind() == Kind::integer; }
    bool isDouble() const { return kind() == Kind::real; }
    /// True for the number kinds: Boolean, integer and double.
    bool isNumber() const { return isBool() || isInteger() || isDouble(); }
    bool isString() const { return kind() == Kind::string; }
    bool isData() const { return kind() == Kind::data; }
    bool isDate() const { return kind() == Kind::date; }
    bool isArray() const { return kind() == Kind::array; }
    bool isDictionary() const { return kind() == Kind::dictionary; }

    /// The held value when it has that kind, else null (no coercion).
    const bool* asBool() const { return std::get_if<bool>(&storage_); }
    const std::int64_t* asInteger() const { return std::get_if<std::int64_t>(&storage_); }
    const double* asDouble() const { return std::get_if<double>(&storage_); }
    const std::string* asString() const { return std::get_if<std::string>(&storage_); }
    const Bytes* asData() const { return std::get_if<Bytes>(&storage_); }
    const Date* asDate() const { return std::get_if<Date>(&storage_); }
    const PropertyArray* asArray() const { return std::get_if<PropertyArray>(&storage_); }
    const PropertyDictionary* asDictionary() const { return std::get_if<PropertyDictionary>(&storage_); }

    /// A number kind read as a double (true 1, false 0); none for the other kinds.
    std::optional<double> numberValue() const;

    friend bool operator==(const PropertyValue& a, const PropertyValue& b) {
        return a.storage_ == b.storage_;
    }

private:
    std::variant<bool, std::int64_t, double, std::string, Bytes, Date, PropertyArray, PropertyDictionary>
        storage_;
};

} // namespace platform
