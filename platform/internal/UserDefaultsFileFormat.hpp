#pragma once

#include "platform/foundation/PropertyValue.hpp"

#include <nlohmann/json.hpp>

#include <string>

// The file form of a user-defaults domain. A defaults file is one JSON object: key -> tagged
// value. A tagged value is an object with one member naming its kind: {"bool": true},
// {"integer": 5}, {"real": 0.5} (non-finite values as the texts "nan", "inf", "-inf"),
// {"string": "x"}, {"data": "<base64>"}, {"date": <seconds since 1970>}, {"array": [tagged...]},
// {"dictionary": {key: tagged}}. Pure; any thread.
namespace platform::defaults_detail {

/// The whole file of a domain's persisted values, pretty-printed (four-space indents) and ending
/// with a newline.
std::string domainFileText(const PropertyDictionary& persisted);

/// The persisted values of a parsed domain file. Throws `platform::Error` naming what is wrong (a
/// value that is not a tagged object, an unknown tag, values nested more than 256 deep, an integer
/// out of range).
PropertyDictionary decodeDomainFile(const nlohmann::json& file);

} // namespace platform::defaults_detail
