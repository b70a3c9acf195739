#pragma once

#include "platform/foundation/Date.hpp"
#include "platform/foundation/Error.hpp"
#include "platform/foundation/Uuid.hpp"

#include <nlohmann/json.hpp>

#include <cmath>
#include <cstdint>
#include <limits>
#include <optional>
#include <string>
#include <string_view>
#include <type_traits>
#include <utility>
#include <vector>

/// The platform's JSON coder: one set of coding rules for every value the system writes or reads.
///
/// Rules, the same for every type:
/// - keys of an object may come in any order; unknown keys are ignored;
/// - an absent optional is left out on writing (never written as null); on reading a missing key
///   and a null both read as absent;
/// - a missing or wrongly typed required key fails the whole value (and so the enclosing array or
///   file) with a `platform::Error` whose text names the type and the key;
/// - an integer field takes only integral numbers (2 and 2.0 read as 2; 1.5 fails, and so does a
///   number outside the field's range);
/// - a double that is NaN or infinite cannot be written (encoding throws), and a number too large
///   for a double fails to read;
/// - a UUID is written as its 36-character upper-case text and read in either letter case;
/// - a `Date` is written as its number of seconds since 1970-01-01 00:00:00 UTC, which reads back
///   to the same instant.
///
/// Objects are written with their keys in the order in which they were set. Text output is compact
/// by default. A type takes part by declaring, in its own namespace (found by argument-dependent
/// lookup):
///
///     platform::Json toJson(const T& value);
///     T fromJson(const platform::Json& json, std::type_identity<T>);
///
/// and writes them with `JsonWriter` and `JsonReader`. Every function here may run on any thread.
namespace platform {

/// A JSON document. Objects keep their keys in insertion order.
using Json = nlohmann::ordered_json;

/// How `jsonText` lays out its output.
struct JsonTextOptions {
    /// Line breaks and an indent of two blanks; compact (no added whitespace) when false.
    bool prettyPrinted = false;
    /// Object keys in ascending byte order instead of the order in which they were set.
    bool sortedKeys = false;
};

/// The JSON text of a document. Throws `platform::Error` when a string in it is not valid UTF-8.
std::string jsonText(const Json& json, const JsonTextOptions& options = {});

/// Parses JSON text. Throws `platform::Error` (with the parser's position and reason) when the
/// text is not one well-formed JSON value.
Json parseJson(std::string_view text);

/// A short description of a value's JSON type for messages ("a string", "an object", ...).
std::string jsonTypeDescription(const Json& json);

/// Throws `platform::Error` "expected <expected>, found <description of found>"; for values of a
/// shape of their own (a map written as an array, an enumeration written as text).
[[noreturn]] void throwJsonMismatch(std::string_view expected, const Json& found);

/// Called inside a `catch` handler: rethrows the error being handled (a `platform::Error`, a JSON
/// library error or another `std::exception`) as a `platform::Error` with `context` put in front,
/// so that a nested failure names its whole path ("cannot decode Layout: key \"tiles\": element 0:
/// ...").
[[noreturn]] void rethrowJsonError(const std::string& context);

/// UUIDs as their text form.
Json toJson(const UUID& uuid);
UUID fromJson(const Json& json, std::type_identity<UUID>);

/// Dates as their number of seconds since 1970 (a non-finite date cannot be encoded).
Json toJson(const Date& date);
Date fromJson(const Json& json, std::type_identity<Date>);

namespace json_detail {

template <class T>
struct IsVector : std::false_type {};
template <class T, class A>
struct IsVector<std::vector<T, A>> : std::true_type {};

template <class T>
struct IsOptional : std::false_type {};
template <class T>
struct IsOptional<std::optional<T>> : std::true_type {};

Json encodeDouble(double value);
double decodeDouble(const Json& json);
bool decodeBool(const Json& json);
std::string decodeString(const Json& json);

template <class I>
I decodeInteger(const Json& json) {
    constexpr long double upper = static_cast<long double>(std::numeric_limits<I>::max()) + 1.0L;
    constexpr long double lower = static_cast<long double>(std::numeric_limits<I>::min());
    if (json.is_number_unsigned()) {
        const auto value = json.get<std::uint64_t>();
        if (static_cast<long double>(value) < upper) return static_cast<I>(value);
    } else if (json.is_number_integer()) {
        const auto value = json.get<std::int64_t>();
        if (static_cast<long double>(value) >= lower && static_cast<long double>(value) < upper)
            return static_cast<I>(value);
    } else if (json.is_number_float()) {
        const auto value = json.get<double>();
        if (std::isfinite(value) && std::trunc(value) == value && static_cast<long double>(value) >= lower &&
            static_cast<long double>(value) < upper)
            return static_cast<I>(value);
    }
    throwJsonMismatch("an integer within range", json);
}

} // namespace json_detail

/// The JSON form of a value: booleans, integers, doubles, strings, `Date`s, UUIDs, vectors of
/// these and every type with a `toJson` of its own. Throws `platform::Error` for a non-finite
/// double anywhere in the value.
template <class T>
Json encodeJson(const T& value);

/// Reads a value from its JSON form. Throws `platform::Error` naming the first fault.
template <class T>
T decodeJson(const Json& json);

/// A JSON array holding the JSON form of each element, in order.
template <class T>
Json encodeJsonArray(const std::vector<T>& values) {
    Json array = Json::array();
    for (std::size_t i = 0; i < values.size(); ++i) {
        try {
            array.push_back(encodeJson(values[i]));
        } catch (...) {
            rethrowJsonError("cannot encode element " + std::to_string(i) + ": ");
        }
    }
    return array;
}

/// Reads a JSON array whose every element must decode; one bad element fails the whole array.
template <class T>
std::vector<T> decodeJsonArray(const Json& json) {
    if (!json.is_array()) throwJsonMismatch("an array", json);
    std::vector<T> values;
    values.reserve(json.size());
    for (std::size_t i = 0; i < json.size(); ++i) {
        try {
            values.push_back(decodeJson<T>(json[i]));
        } catch (...) {
            rethrowJsonError("element " + std::to_string(i) + ": ");
        }
    }
    return values;
}

template <class T>
Json encodeJson(const T& value) {
    static_assert(!json_detail::IsOptional<T>::value, "write optionals with JsonWriter::setOptional");
    if constexpr (std::is_same_v<T, Json>) {
        return value;
    } else if constexpr (std::is_same_v<T, bool>) {
        return Json(value);
    } else if constexpr (std::is_integral_v<T>) {
        return Json(value);
    } else if constexpr (std::is_floating_point_v<T>) {
        return json_detail::encodeDouble(static_cast<double>(value));
    } else if constexpr (std::is_convertible_v<const T&, std::string_view>) {
        return Json(std::string(std::string_view(value)));
    } else if constexpr (json_detail::IsVector<T>::value) {
        return encodeJsonArray(value);
    } else {
        return toJson(value);
    }
}

template <class T>
T decodeJson(const Json& json) {
    static_assert(!json_detail::IsOptional<T>::value, "read optionals with JsonReader::optional");
    if constexpr (std::is_same_v<T, Json>) {
        return json;
    } else if constexpr (std::is_same_v<T, bool>) {
        return json_detail::decodeBool(json);
    } else if constexpr (std::is_integral_v<T>) {
        return json_detail::decodeInteger<T>(json);
    } else if constexpr (std::is_floating_point_v<T>) {
        return static_cast<T>(json_detail::decodeDouble(json));
    } else if constexpr (std::is_same_v<T, std::string>) {
        return json_detail::decodeString(json);
    } else if constexpr (json_detail::IsVector<T>::value) {
        return decodeJsonArray<typename T::value_type>(json);
    } else {
        return fromJson(json, std::type_identity<T>{});
    }
}

/// `jsonText(encodeJson(value), options)`.
template <class T>
std::string encodeJsonText(const T& value, const JsonTextOptions& options = {}) {
    return jsonText(encodeJson(value), options);
}

/// `decodeJson<T>(parseJson(text))`.
template <class T>
T decodeJsonText(std::string_view text) {
    return decodeJson<T>(parseJson(text));
}

/// Builds one JSON object key by key, in the order of the calls. A failing value throws
/// `platform::Error` naming its key.
///
///     return platform::JsonWriter().set("x", r.x).set("y", r.y).take();
class JsonWriter {
public:
    JsonWriter()
        : json_(Json::object()) {}

    /// Writes `value` under `key` (replacing an earlier value of that key).
    template <class T>
    JsonWriter& set(std::string_view key, const T& value) {
        try {
            json_[std::string(key)] = encodeJson(value);
        } catch (...) {
            rethrowJsonError("cannot encode key \"" + std::string(key) + "\": ");
        }
        return *this;
    }

    /// Writes the value under `key` when there is one; leaves the key out when absent.
    template <class T>
    JsonWriter& setOptional(std::string_view key, const std::optional<T>& value) {
        if (value) set(key, *value);
        return *this;
    }

    /// The object built so far; the writer is left empty.
    Json take() { return std::exchange(json_, Json::object()); }

private:
    Json json_;
};

/// Reads the keys of one JSON object. `typeName` names the value being read in every error.
/// The reader keeps a reference to `json`, which must outlive it.
///
///     platform::JsonReader reader(json, "Rect");
///     return Rect{reader.required<double>("x"), ...};
class JsonReader {
public:
    /// Throws `platform::Error` when `json` is not an object.
    JsonReader(const Json& json, std::string_view typeName);
    /// A reader of a temporary would dangle.
    JsonReader(Json&&, std::string_view) = delete;

    /// The value of a key that must be present, non-null and of the right form.
    template <class T>
    T required(std::string_view key) const {
        const Json* value = find(key);
        if (value == nullptr) fail("key \"" + std::string(key) + "\" is missing");
        return decodeAt<T>(key, *value);
    }

    /// The value of an optional key: absent when the key is missing or null; a present value of
    /// the wrong form still fails.
    template <class T>
    std::optional<T> optional(std::string_view key) const {
        const Json* value = find(key);
        if (value == nullptr) return std::nullopt;
        return decodeAt<T>(key, *value);
    }

    /// The raw value under `key`; null when the key is missing or holds null.
    const Json* find(std::string_view key) const;

    /// Throws `platform::Error` "cannot decode <type>: <message>".
    [[noreturn]] void fail(const std::string& message) const;

    const Json& json() const { return json_; }
    const std::string& typeName() const { return typeName_; }

private:
    template <class T>
    T decodeAt(std::string_view key, const Json& value) const {
        try {
            return decodeJson<T>(value);
        } catch (...) {
            rethrowJsonError("cannot decode " + typeName_ + ": key \"" + std::string(key) + "\": ");
        }
    }

    const Json& json_;
    std::string typeName_;
};

} // namespace platform
