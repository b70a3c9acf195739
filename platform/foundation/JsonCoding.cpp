#include "platform/foundation/JsonCoding.hpp"

namespace platform {

std::string jsonText(const Json& json, const JsonTextOptions& options) {
    const int indent = options.prettyPrinted ? 2 : -1;
    try {
        if (options.sortedKeys) {
            // nlohmann::json keeps its object keys sorted.
            return nlohmann::json::parse(json.dump()).dump(indent);
        }
        return json.dump(indent);
    } catch (const nlohmann::json::exception& e) {
        throw Error(std::string("cannot write JSON text: ") + e.what());
    }
}

Json parseJson(std::string_view text) {
    // A NUL byte is never valid JSON text; the parser would stop at one and accept a shortened
    // text, so a file holding one is refused whole.
    if (const auto nul = text.find('\0'); nul != std::string_view::npos)
        throw Error("malformed JSON text: a NUL byte at offset " + std::to_string(nul));
    try {
        return Json::parse(text.begin(), text.end());
    } catch (const nlohmann::json::exception& e) {
        throw Error(std::string("malformed JSON text: ") + e.what());
    }
}

std::string jsonTypeDescription(const Json& json) {
    switch (json.type()) {
    case Json::value_t::null:
        return "null";
    case Json::value_t::boolean:
        return "a boolean";
    case Json::value_t::number_integer:
    case Json::value_t::number_unsigned:
    case Json::value_t::number_float:
        return "the number " + json.dump();
    case Json::value_t::string:
        return "a string";
    case Json::value_t::array:
        return "an array";
    case Json::value_t::object:
        return "an object";
    default:
        return "an unsupported value";
    }
}

Json toJson(const UUID& uuid) {
    return uuid.uuidString();
}

UUID fromJson(const Json& json, std::type_identity<UUID>) {
    const std::string text = json_detail::decodeString(json);
    if (auto uuid = UUID::fromString(text)) return *uuid;
    throw Error("\"" + text + "\" is not a UUID");
}

void throwJsonMismatch(std::string_view expected, const Json& found) {
    throw Error("expected " + std::string(expected) + ", found " + jsonTypeDescription(found));
}

Json toJson(const Date& date) {
    return json_detail::encodeDouble(date.timeIntervalSince1970);
}

Date fromJson(const Json& json, std::type_identity<Date>) {
    return Date{json_detail::decodeDouble(json)};
}

namespace json_detail {

Json encodeDouble(double value) {
    if (!std::isfinite(value)) {
        throw Error("the number " + std::string(std::isnan(value) ? "nan" : (value > 0 ? "inf" : "-inf")) +
                    " is not finite and cannot be written as JSON");
    }
    return Json(value);
}

double decodeDouble(const Json& json) {
    if (!json.is_number()) throwJsonMismatch("a number", json);
    const double value = json.get<double>();
    if (!std::isfinite(value)) throwJsonMismatch("a number that fits a double", json);
    return value;
}

bool decodeBool(const Json& json) {
    if (!json.is_boolean()) throwJsonMismatch("true or false", json);
    return json.get<bool>();
}

std::string decodeString(const Json& json) {
    if (!json.is_string()) throwJsonMismatch("a string", json);
    return json.get<std::string>();
}

} // namespace json_detail

void rethrowJsonError(const std::string& context) {
    try {
        throw;
    } catch (const Error& e) {
        throw Error(context + e.what());
    } catch (const nlohmann::json::exception& e) {
        throw Error(context + e.what());
    } catch (const std::exception& e) {
        throw Error(context + e.what());
    }
}

JsonReader::JsonReader(const Json& json, std::string_view typeName)
    : json_(json)
    , typeName_(typeName) {
    if (!json.is_object()) fail("expected an object, found " + jsonTypeDescription(json));
}

const Json* JsonReader::find(std::string_view key) const {
    const auto it = json_.find(std::string(key));
    if (it == json_.end() || it->is_null()) return nullptr;
    return &*it;
}

void JsonReader::fail(const std::string& message) const {
    throw Error("cannot decode " + typeName_ + ": " + message);
}

} // namespace platform
