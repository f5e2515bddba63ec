// JSON of the open data, read with nlohmann::json. A fault in the text becomes a
// DataError that names the file and the text line where reading stopped.
#pragma once

#include <nlohmann/json.hpp>
#include <string>
#include <string_view>

namespace kisharin::databuilder {

using Json = nlohmann::json;

// Parses a whole JSON text. Throws DataError naming `name` and the line of the first
// fault (unexpected character, unterminated string, bad escape, trailing text).
Json parseJson(std::string_view text, const std::string& name);

// The member `key` of an object, or nullptr (also when `obj` is no object or the
// member is null).
const Json* findMember(const Json& obj, std::string_view key);

}  // namespace kisharin::databuilder
