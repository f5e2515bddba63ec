#include "databuilder/json_reader.h"

#include "platform/encoding.h"

#include <cctype>
#include <charconv>

#include "state/error.h"

namespace kisharin::databuilder {

const JsonValue* JsonValue::find(std::string_view key) const {
    for (const auto& [k, v] : members)
        if (k == key) return &v;
    return nullptr;
}

namespace {

class Parser {
  public:
    Parser(std::string_view text, const std::string& name) : s_(text), name_(name) {}

    JsonValue document() {
        JsonValue v = value(0);
        skipBlanks();
        if (i_ != s_.size()) fail("値の後に余分な文字があります");
        return v;
    }

  private:
    [[noreturn]] void fail(const std::string& what) const {
        int line = 1;
        for (size_t k = 0; k < i_ && k < s_.size(); ++k)
            if (s_[k] == '\n') ++line;
        throw DataError(name_, line, "JSON として読めません（" + what + "）");
    }

    void skipBlanks() {
        while (i_ < s_.size() && (s_[i_] == ' ' || s_[i_] == '\t' || s_[i_] == '\n' || s_[i_] == '\r')) ++i_;
    }

    bool take(char c) {
        skipBlanks();
        if (i_ < s_.size() && s_[i_] == c) {
            ++i_;
            return true;
        }
        return false;
    }

    void expect(char c) {
        if (!take(c)) fail(std::string("「") + c + "」がありません");
    }

    bool word(std::string_view w) {
        if (s_.substr(i_, w.size()) == w) {
            i_ += w.size();
            return true;
        }
        return false;
    }

    JsonValue value(int depth) {
        if (depth > 64) fail("入れ子が深すぎます");
        skipBlanks();
        if (i_ >= s_.size()) fail("値がありません");
        JsonValue v;
        const char c = s_[i_];
        if (c == '{') {
            ++i_;
            v.kind = JsonValue::Kind::Object;
            if (take('}')) return v;
            do {
                skipBlanks();
                std::string key = string();
                expect(':');
                JsonValue member = value(depth + 1);
                v.members.emplace_back(std::move(key), std::move(member));
            } while (take(','));
            expect('}');
        } else if (c == '[') {
            ++i_;
            v.kind = JsonValue::Kind::Array;
            if (take(']')) return v;
            do {
                v.items.push_back(value(depth + 1));
            } while (take(','));
            expect(']');
        } else if (c == '"') {
            v.kind = JsonValue::Kind::String;
            v.text = string();
        } else if (word("true")) {
            v.kind = JsonValue::Kind::Bool;
            v.boolean = true;
        } else if (word("false")) {
            v.kind = JsonValue::Kind::Bool;
        } else if (word("null")) {
            v.kind = JsonValue::Kind::Null;
        } else {
            v.kind = JsonValue::Kind::Number;
            v.number = number();
        }
        return v;
    }

    double number() {
        const size_t start = i_;
        while (i_ < s_.size() && (std::isdigit(static_cast<unsigned char>(s_[i_])) || s_[i_] == '-' ||
                                  s_[i_] == '+' || s_[i_] == '.' || s_[i_] == 'e' || s_[i_] == 'E'))
            ++i_;
        double out = 0;
        const auto [p, ec] = std::from_chars(s_.data() + start, s_.data() + i_, out);
        if (i_ == start || ec != std::errc() || p != s_.data() + i_) {
            i_ = start;
            fail("数値または値が正しくありません");
        }
        return out;
    }

    unsigned hex4() {
        if (i_ + 4 > s_.size()) fail("\\u の後に 16 進数 4 桁がありません");
        unsigned v = 0;
        for (int k = 0; k < 4; ++k) {
            const char h = s_[i_++];
            v <<= 4;
            if (h >= '0' && h <= '9')
                v |= static_cast<unsigned>(h - '0');
            else if (h >= 'a' && h <= 'f')
                v |= static_cast<unsigned>(h - 'a' + 10);
            else if (h >= 'A' && h <= 'F')
                v |= static_cast<unsigned>(h - 'A' + 10);
            else
                fail("\\u の後に 16 進数 4 桁がありません");
        }
        return v;
    }

    std::string string() {
        if (i_ >= s_.size() || s_[i_] != '"') fail("文字列がありません");
        ++i_;
        std::string out;
        while (true) {
            if (i_ >= s_.size()) fail("文字列が閉じていません");
            const char c = s_[i_++];
            if (c == '"') break;
            if (static_cast<unsigned char>(c) < 0x20) fail("文字列の中に制御文字があります");
            if (c != '\\') {
                out += c;
                continue;
            }
            if (i_ >= s_.size()) fail("文字列が閉じていません");
            const char e = s_[i_++];
            switch (e) {
                case '"':
                    out += '"';
                    break;
                case '\\':
                    out += '\\';
                    break;
                case '/':
                    out += '/';
                    break;
                case 'b':
                    out += '\b';
                    break;
                case 'f':
                    out += '\f';
                    break;
                case 'n':
                    out += '\n';
                    break;
                case 'r':
                    out += '\r';
                    break;
                case 't':
                    out += '\t';
                    break;
                case 'u': {
                    unsigned cp = hex4();
                    if (cp >= 0xD800 && cp < 0xDC00) {
                        if (!word("\\u")) fail("サロゲートペアが途切れています");
                        const unsigned low = hex4();
                        if (low < 0xDC00 || low >= 0xE000) fail("サロゲートペアが正しくありません");
                        cp = 0x10000 + ((cp - 0xD800) << 10) + (low - 0xDC00);
                    } else if (cp >= 0xDC00 && cp < 0xE000) {
                        fail("サロゲートペアが正しくありません");
                    }
                    appendUtf8(out, cp);
                    break;
                }
                default:
                    fail(std::string("不明なエスケープ \\") + e);
            }
        }
        return out;
    }

    std::string_view s_;
    const std::string& name_;
    size_t i_ = 0;
};

}  // namespace

JsonValue parseJson(std::string_view text, const std::string& name) {
    return Parser(text, name).document();
}

}  // namespace kisharin::databuilder
