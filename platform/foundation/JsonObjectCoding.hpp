#pragma once

#include "platform/foundation/JsonCoding.hpp"

#include <string_view>
#include <tuple>

namespace platform {

/// One key of a value's JSON object and the member that holds it (`JsonField("x", &Rect::x)`).
template <class T, class M>
struct JsonField {
    constexpr JsonField(std::string_view key, M T::*member)
        : key(key)
        , member(member) {}

    std::string_view key;
    M T::*member;
};

/// The JSON object form of a value type coded member by member, one key each: the key list is
/// written once and serves both directions, so writing and reading cannot drift apart.
///
/// Writing sets the keys in the order of the fields (`JsonWriter::set`; a `std::optional` member
/// through `JsonWriter::setOptional`, left out when absent). Reading takes every field in the same
/// order (`JsonReader::required`; an optional member through `JsonReader::optional`) and builds
/// the value as `T{field1, field2, ...}`, so the fields are listed in the order of `T`'s members
/// (or of its constructor's parameters); the first fault fails the value with the type name in
/// the error, as a hand-written `fromJson` does. Any thread.
///
///     const platform::JsonObjectCoding rectCoding("Rect", platform::JsonField("x", &Rect::x), ...);
///     Json toJson(const Rect& rect) { return rectCoding.encode(rect); }
///     Rect fromJson(const Json& json, std::type_identity<Rect>) { return rectCoding.decode(json); }
template <class T, class... M>
class JsonObjectCoding {
public:
    constexpr JsonObjectCoding(std::string_view typeName, JsonField<T, M>... fields)
        : typeName_(typeName)
        , fields_(fields...) {}

    /// The object holding every field of `value`. Throws `platform::Error` naming the key that
    /// cannot be written.
    Json encode(const T& value) const {
        JsonWriter writer;
        std::apply([&](const auto&... field) { (write(writer, value, field), ...); }, fields_);
        return writer.take();
    }

    /// The value read from `json`. Throws `platform::Error` "cannot decode <type name>: ..."
    /// naming the first fault.
    T decode(const Json& json) const {
        JsonReader reader(json, typeName_);
        return std::apply([&](const auto&... field) { return T{read(reader, field)...}; }, fields_);
    }

private:
    template <class F>
    static void write(JsonWriter& writer, const T& value, const JsonField<T, F>& field) {
        if constexpr (json_detail::IsOptional<F>::value) {
            writer.setOptional(field.key, value.*field.member);
        } else {
            writer.set(field.key, value.*field.member);
        }
    }

    template <class F>
    static F read(const JsonReader& reader, const JsonField<T, F>& field) {
        if constexpr (json_detail::IsOptional<F>::value) {
            return reader.optional<typename F::value_type>(field.key);
        } else {
            return reader.required<F>(field.key);
        }
    }

    std::string_view typeName_;
    std::tuple<JsonField<T, M>...> fields_;
};

} // namespace platform
