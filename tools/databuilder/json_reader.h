// A small JSON reader for the open data files: objects, arrays, strings (with \u
// escapes), numbers, true, false and null. Enough for the station database; not a
// general-purpose library.
#pragma once

#include <string>
#include <string_view>
#include <utility>
#include <vector>

namespace kisharin::databuilder {

struct JsonValue {
    enum class Kind { Null, Bool, Number, String, Array, Object };
    Kind kind = Kind::Null;
    bool boolean = false;
    double number = 0;
    std::string text;  // the string's content (UTF-8)
    std::vector<JsonValue> items;
    std::vector<std::pair<std::string, JsonValue>> members;

    // The member named key of an object, or nullptr (also when this is no object).
    const JsonValue* find(std::string_view key) const;
    bool isNull() const { return kind == Kind::Null; }
};

// Parses a whole JSON text. Throws DataError naming `name` and the text line of the
// first fault (unexpected character, unterminated string, bad escape, trailing text).
JsonValue parseJson(std::string_view text, const std::string& name);

}  // namespace kisharin::databuilder
