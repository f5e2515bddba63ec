// A small writer of one JSON object per line.
#pragma once

#include <string>
#include <vector>

#include "state/types.h"

namespace kisharin::sim {

// text as a JSON string literal: quotes, backslashes and control characters escaped;
// other characters (UTF-8) as they are.
inline std::string jsonString(const std::string& text) {
    std::string out = "\"";
    for (unsigned char c : text) {
        switch (c) {
            case '"':
                out += "\\\"";
                break;
            case '\\':
                out += "\\\\";
                break;
            case '\b':
                out += "\\b";
                break;
            case '\f':
                out += "\\f";
                break;
            case '\n':
                out += "\\n";
                break;
            case '\r':
                out += "\\r";
                break;
            case '\t':
                out += "\\t";
                break;
            default:
                if (c < 0x20 || c == 0x7F) {
                    static const char hex[] = "0123456789abcdef";
                    out += "\\u00";
                    out += hex[c >> 4];
                    out += hex[c & 0xF];
                } else {
                    out += static_cast<char>(c);
                }
        }
    }
    return out + "\"";
}

class JsonObject {
  public:
    JsonObject& field(const char* name, const std::string& value) { return raw(name, jsonString(value)); }
    JsonObject& field(const char* name, const char* value) { return raw(name, jsonString(value)); }
    JsonObject& field(const char* name, long long value) { return raw(name, std::to_string(value)); }
    JsonObject& field(const char* name, int value) { return raw(name, std::to_string(value)); }
    JsonObject& field(const char* name, bool value) { return raw(name, value ? "true" : "false"); }
    JsonObject& station(const char* name, const Station& st) { return raw(name, stationText(st)); }
    JsonObject& stations(const char* name, const std::vector<Station>& list) {
        std::string t = "[";
        for (size_t i = 0; i < list.size(); ++i) t += (i ? "," : "") + stationText(list[i]);
        return raw(name, t + "]");
    }
    template <typename T>
    JsonObject& numbers(const char* name, const std::vector<T>& list) {
        std::string t = "[";
        for (size_t i = 0; i < list.size(); ++i) t += (i ? "," : "") + std::to_string(list[i]);
        return raw(name, t + "]");
    }
    JsonObject& flags(const char* name, const std::vector<bool>& list) {
        std::string t = "[";
        for (size_t i = 0; i < list.size(); ++i)
            t += std::string(i ? "," : "") + (list[i] ? "true" : "false");
        return raw(name, t + "]");
    }
    JsonObject& strings(const char* name, const std::vector<std::string>& list) {
        std::string t = "[";
        for (size_t i = 0; i < list.size(); ++i) t += (i ? "," : "") + jsonString(list[i]);
        return raw(name, t + "]");
    }
    JsonObject& raw(const char* name, const std::string& json) {
        text_ += text_.empty() ? "{" : ",";
        text_ += jsonString(name) + ":" + json;
        return *this;
    }
    std::string line() const { return text() + "\n"; }
    // The object without the line end, to nest it in another one.
    std::string text() const { return (text_.empty() ? "{" : text_) + "}"; }

  private:
    static std::string stationText(const Station& st) {
        return "[" + std::to_string(st.line) + "," + std::to_string(st.pos) + "]";
    }
    std::string text_;
};

}  // namespace kisharin::sim
