#include "platform/foundation/JsonCoding.hpp"

#include <cstdio>

namespace platform {

namespace {

/// Days since 1970-01-01 of a proleptic Gregorian date.
std::int64_t daysFromCivil(std::int64_t year, unsigned month, unsigned day) {
    year -= month <= 2 ? 1 : 0;
    const std::int64_t era = (year >= 0 ? year : year - 399) / 400;
    const auto yearOfEra = static_cast<unsigned>(year - era * 400);
    const unsigned dayOfYear = (153 * (month + (month > 2 ? -3 : 9)) + 2) / 5 + day - 1;
    const unsigned dayOfEra = yearOfEra * 365 + yearOfEra / 4 - yearOfEra / 100 + dayOfYear;
    return era * 146097 + static_cast<std::int64_t>(dayOfEra) - 719468;
}

struct CivilDate {
    std::int64_t year;
    unsigned month;
    unsigned day;
};

CivilDate civilFromDays(std::int64_t days) {
    days += 719468;
    const std::int64_t era = (days >= 0 ? days : days - 146096) / 146097;
    const auto dayOfEra = static_cast<unsigned>(days - era * 146097);
    const unsigned yearOfEra = (dayOfEra - dayOfEra / 1460 + dayOfEra / 36524 - dayOfEra / 146096) / 365;
    const unsigned dayOfYear = dayOfEra - (365 * yearOfEra + yearOfEra / 4 - yearOfEra / 100);
    const unsigned mp = (5 * dayOfYear + 2) / 153;
    const unsigned day = dayOfYear - (153 * mp + 2) / 5 + 1;
    const unsigned month = mp < 10 ? mp + 3 : mp - 9;
    return {static_cast<std::int64_t>(yearOfEra) + era * 400 + (month <= 2 ? 1 : 0), month, day};
}

bool readDigits(std::string_view text, std::size_t& pos, std::size_t count, std::int64_t& out) {
    if (pos + count > text.size()) return false;
    std::int64_t value = 0;
    for (std::size_t i = 0; i < count; ++i) {
        const char c = text[pos + i];
        if (c < '0' || c > '9') return false;
        value = value * 10 + (c - '0');
    }
    pos += count;
    out = value;
    return true;
}

bool expect(std::string_view text, std::size_t& pos, char c) {
    if (pos >= text.size() || text[pos] != c) return false;
    ++pos;
    return true;
}

} // namespace

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

Json encodeDate(Date date) {
    const auto nanos = std::chrono::duration_cast<std::chrono::nanoseconds>(date.time_since_epoch()).count();
    constexpr std::int64_t perDay = 86'400'000'000'000;
    std::int64_t days = nanos / perDay;
    std::int64_t rest = nanos % perDay;
    if (rest < 0) {
        rest += perDay;
        --days;
    }
    const CivilDate civil = civilFromDays(days);
    const std::int64_t seconds = rest / 1'000'000'000;
    const std::int64_t fraction = rest % 1'000'000'000;
    char buffer[64];
    std::snprintf(buffer, sizeof buffer, "%04lld-%02u-%02uT%02lld:%02lld:%02lld.%09lldZ",
                  static_cast<long long>(civil.year), civil.month, civil.day,
                  static_cast<long long>(seconds / 3600), static_cast<long long>(seconds / 60 % 60),
                  static_cast<long long>(seconds % 60), static_cast<long long>(fraction));
    return Json(std::string(buffer));
}

Date decodeDate(const Json& json) {
    const std::string text = decodeString(json);
    std::size_t pos = 0;
    std::int64_t year = 0, month = 0, day = 0, hour = 0, minute = 0, second = 0, fraction = 0;
    bool ok = readDigits(text, pos, 4, year) && expect(text, pos, '-') && readDigits(text, pos, 2, month) &&
              expect(text, pos, '-') && readDigits(text, pos, 2, day) && expect(text, pos, 'T') &&
              readDigits(text, pos, 2, hour) && expect(text, pos, ':') && readDigits(text, pos, 2, minute) &&
              expect(text, pos, ':') && readDigits(text, pos, 2, second);
    if (ok && pos < text.size() && text[pos] == '.') {
        ++pos;
        std::size_t digits = 0;
        while (pos < text.size() && text[pos] >= '0' && text[pos] <= '9' && digits < 9) {
            fraction = fraction * 10 + (text[pos] - '0');
            ++pos;
            ++digits;
        }
        ok = digits > 0;
        for (; digits < 9; ++digits)
            fraction *= 10;
    }
    ok = ok && expect(text, pos, 'Z') && pos == text.size();
    ok = ok && month >= 1 && month <= 12 && day >= 1 && day <= 31 && hour <= 23 && minute <= 59 &&
         second <= 60;
    if (!ok) throw Error("\"" + text + "\" is not a date of the form YYYY-MM-DDTHH:MM:SS.fffZ");
    const std::int64_t days = daysFromCivil(year, static_cast<unsigned>(month), static_cast<unsigned>(day));
    const auto sinceEpoch = std::chrono::nanoseconds(((days * 24 + hour) * 60 + minute) * 60 * 1'000'000'000 +
                                                     second * 1'000'000'000 + fraction);
    return Date(std::chrono::duration_cast<Date::duration>(sinceEpoch));
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
