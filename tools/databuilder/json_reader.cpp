#include "databuilder/json_reader.h"

#include <algorithm>

#include "state/error.h"

namespace kisharin::databuilder {

Json parseJson(std::string_view text, const std::string& name) {
    try {
        return Json::parse(text.begin(), text.end());
    } catch (const Json::parse_error& e) {
        // e.byte counts from 1 and points at the character reading stopped on.
        const size_t at = std::min(e.byte == 0 ? 0 : e.byte - 1, text.size());
        const int line =
            1 + static_cast<int>(std::count(text.begin(), text.begin() + static_cast<long>(at), '\n'));
        throw DataError(name, line, std::string("JSON として読めません（") + e.what() + "）");
    }
}

const Json* findMember(const Json& obj, std::string_view key) {
    if (!obj.is_object()) return nullptr;
    const auto it = obj.find(key);
    if (it == obj.end() || it->is_null()) return nullptr;
    return &*it;
}

}  // namespace kisharin::databuilder
