#include "platform/internal/UserDefaultsFileFormat.hpp"

#include "platform/foundation/Error.hpp"
#include "platform/foundation/Utf8Text.hpp"

#include <array>
#include <charconv>
#include <cmath>
#include <cstdint>
#include <limits>

namespace platform::defaults_detail {

using nlohmann::json;

namespace {

constexpr char kBase64[] = "ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz0123456789+/";

std::string encodeBase64(const Bytes& bytes) {
    std::string out;
    out.reserve((bytes.size() + 2) / 3 * 4);
    std::size_t i = 0;
    for (; i + 2 < bytes.size(); i += 3) {
        std::uint32_t v = (std::uint32_t(bytes[i]) << 16) | (std::uint32_t(bytes[i + 1]) << 8) | bytes[i + 2];
        out += kBase64[(v >> 18) & 63];
        out += kBase64[(v >> 12) & 63];
        out += kBase64[(v >> 6) & 63];
        out += kBase64[v & 63];
    }
    if (i + 1 == bytes.size()) {
        std::uint32_t v = std::uint32_t(bytes[i]) << 16;
        out += kBase64[(v >> 18) & 63];
        out += kBase64[(v >> 12) & 63];
        out += "==";
    } else if (i + 2 == bytes.size()) {
        std::uint32_t v = (std::uint32_t(bytes[i]) << 16) | (std::uint32_t(bytes[i + 1]) << 8);
        out += kBase64[(v >> 18) & 63];
        out += kBase64[(v >> 12) & 63];
        out += kBase64[(v >> 6) & 63];
        out += '=';
    }
    return out;
}

Bytes decodeBase64(const std::string& text) {
    if (text.size() % 4 != 0) throw Error("data value is not base64");
    auto value = [](char c) -> int {
        if (c >= 'A' && c <= 'Z') return c - 'A';
        if (c >= 'a' && c <= 'z') return c - 'a' + 26;
        if (c >= '0' && c <= '9') return c - '0' + 52;
        if (c == '+') return 62;
        if (c == '/') return 63;
        return -1;
    };
    Bytes out;
    for (std::size_t i = 0; i < text.size(); i += 4) {
        const bool last = i + 4 == text.size();
        int pad = 0;
        std::uint32_t v = 0;
        for (std::size_t j = 0; j < 4; ++j) {
            char c = text[i + j];
            if (c == '=' && last && j >= 2) {
                ++pad;
                v <<= 6;
                continue;
            }
            int d = value(c);
            if (d < 0 || pad > 0) throw Error("data value is not base64");
            v = (v << 6) | std::uint32_t(d);
        }
        out.push_back(std::uint8_t(v >> 16));
        if (pad < 2) out.push_back(std::uint8_t(v >> 8));
        if (pad < 1) out.push_back(std::uint8_t(v));
    }
    return out;
}

json encodeReal(double d) {
    if (std::isnan(d)) return "nan";
    if (std::isinf(d)) return d > 0 ? "inf" : "-inf";
    return d;
}

double decodeReal(const json& j) {
    if (j.is_number()) return j.get<double>();
    if (j.is_string()) {
        const auto& s = j.get_ref<const std::string&>();
        if (s == "nan") return std::numeric_limits<double>::quiet_NaN();
        if (s == "inf") return std::numeric_limits<double>::infinity();
        if (s == "-inf") return -std::numeric_limits<double>::infinity();
    }
    throw Error("real value is not a number");
}

// The stored form written straight as text, laid out exactly as `json::dump(2)` lays out the
// tagged values (keys sorted, two blanks per level), without building the JSON tree first: a
// domain of a hundred thousand keys is written in a few milliseconds.
void appendJsonString(std::string& out, std::string_view text) {
    static const char* const hex = "0123456789abcdef";
    out += '"';
    for (char c : text) {
        switch (c) {
        case '"': out += "\\\""; break;
        case '\\': out += "\\\\"; break;
        case '\b': out += "\\b"; break;
        case '\f': out += "\\f"; break;
        case '\n': out += "\\n"; break;
        case '\r': out += "\\r"; break;
        case '\t': out += "\\t"; break;
        default:
            if (static_cast<unsigned char>(c) < 0x20) {
                out += "\\u00";
                out += hex[(static_cast<unsigned char>(c) >> 4) & 0xF];
                out += hex[static_cast<unsigned char>(c) & 0xF];
            } else {
                out += c;
            }
        }
    }
    out += '"';
}

void appendIndent(std::string& out, int indent) {
    out.append(std::size_t(indent), ' ');
}

void appendReal(std::string& out, double d) {
    out += encodeReal(d).dump();
}

void appendTaggedValue(std::string& out, const PropertyValue& value, int indent);

void appendTaggedDictionary(std::string& out, const PropertyDictionary& members, int indent) {
    if (members.empty()) {
        out += "{}";
        return;
    }
    out += "{\n";
    bool first = true;
    for (const auto& [key, item] : members) {
        if (!first) out += ",\n";
        first = false;
        appendIndent(out, indent + 2);
        appendJsonString(out, key);
        out += ": ";
        appendTaggedValue(out, item, indent + 2);
    }
    out += '\n';
    appendIndent(out, indent);
    out += '}';
}

// {"<tag>": <value>} at `indent`.
void appendTaggedValue(std::string& out, const PropertyValue& value, int indent) {
    out += "{\n";
    appendIndent(out, indent + 2);
    switch (value.kind()) {
    case PropertyValue::Kind::boolean:
        out += "\"bool\": ";
        out += *value.asBool() ? "true" : "false";
        break;
    case PropertyValue::Kind::integer:
        out += "\"integer\": ";
        out += std::to_string(*value.asInteger());
        break;
    case PropertyValue::Kind::real:
        out += "\"real\": ";
        appendReal(out, *value.asDouble());
        break;
    case PropertyValue::Kind::string:
        out += "\"string\": ";
        appendJsonString(out, *value.asString());
        break;
    case PropertyValue::Kind::data:
        out += "\"data\": ";
        appendJsonString(out, encodeBase64(*value.asData()));
        break;
    case PropertyValue::Kind::date:
        out += "\"date\": ";
        appendReal(out, value.asDate()->timeIntervalSince1970);
        break;
    case PropertyValue::Kind::array: {
        out += "\"array\": ";
        const PropertyArray& items = *value.asArray();
        if (items.empty()) {
            out += "[]";
            break;
        }
        out += "[\n";
        for (std::size_t i = 0; i < items.size(); ++i) {
            if (i > 0) out += ",\n";
            appendIndent(out, indent + 4);
            appendTaggedValue(out, items[i], indent + 4);
        }
        out += '\n';
        appendIndent(out, indent + 2);
        out += ']';
        break;
    }
    case PropertyValue::Kind::dictionary:
        out += "\"dictionary\": ";
        appendTaggedDictionary(out, *value.asDictionary(), indent + 2);
        break;
    }
    out += '\n';
    appendIndent(out, indent);
    out += '}';
}

PropertyValue decodeValue(const json& j, int depth);

PropertyDictionary decodeDictionary(const json& j, int depth) {
    if (!j.is_object()) throw Error("expected an object of values");
    PropertyDictionary result;
    for (const auto& [key, item] : j.items())
        result.emplace(key, decodeValue(item, depth + 1));
    return result;
}

PropertyValue decodeValue(const json& j, int depth) {
    if (depth > 256) throw Error("values nested too deeply");
    if (!j.is_object() || j.size() != 1) throw Error("value is not a tagged object");
    const auto member = j.begin();
    const std::string& tag = member.key();
    const json& v = member.value();
    if (tag == "bool" && v.is_boolean()) return v.get<bool>();
    if (tag == "integer" && v.is_number_integer()) {
        if (v.is_number_unsigned() && v.get<std::uint64_t>() > std::uint64_t(INT64_MAX))
            throw Error("integer value out of range");
        return v.get<std::int64_t>();
    }
    if (tag == "real") return decodeReal(v);
    if (tag == "string" && v.is_string()) return v.get<std::string>();
    if (tag == "data" && v.is_string()) return decodeBase64(v.get_ref<const std::string&>());
    if (tag == "date") return Date{decodeReal(v)};
    if (tag == "array" && v.is_array()) {
        PropertyArray items;
        for (const auto& item : v)
            items.push_back(decodeValue(item, depth + 1));
        return items;
    }
    if (tag == "dictionary") return decodeDictionary(v, depth);
    throw Error("unknown or mistyped value tag \"" + tag + "\"");
}

} // namespace

std::string domainFileText(const PropertyDictionary& persisted) {
    std::string out;
    out.reserve(persisted.size() * 48 + 16);
    appendTaggedDictionary(out, persisted, 0);
    out += '\n';
    return out;
}

PropertyDictionary decodeDomainFile(const json& file) { return decodeDictionary(file, 0); }

} // namespace platform::defaults_detail
