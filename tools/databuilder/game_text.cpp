#include "databuilder/game_text.h"

#include <map>

#include "platform/encoding.h"

namespace kisharin::databuilder {

namespace {

// Decodes one UTF-8 character at text[i]; returns its code point and advances i.
// A malformed byte is taken as U+FFFD.
char32_t nextChar(std::string_view text, size_t& i) {
    const auto b = static_cast<unsigned char>(text[i]);
    int len = b < 0x80 ? 1 : (b >> 5) == 6 ? 2 : (b >> 4) == 14 ? 3 : (b >> 3) == 30 ? 4 : 0;
    if (len == 0 || i + static_cast<size_t>(len) > text.size()) {
        ++i;
        return 0xFFFD;
    }
    char32_t cp = len == 1 ? b : len == 2 ? (b & 0x1F) : len == 3 ? (b & 0x0F) : (b & 0x07);
    for (int k = 1; k < len; ++k) {
        const auto c = static_cast<unsigned char>(text[i + static_cast<size_t>(k)]);
        if ((c >> 6) != 2) {
            ++i;
            return 0xFFFD;
        }
        cp = (cp << 6) | (c & 0x3F);
    }
    i += static_cast<size_t>(len);
    return cp;
}

void append(std::string& out, char32_t cp) {
    if (cp < 0x80) {
        out += static_cast<char>(cp);
    } else if (cp < 0x800) {
        out += static_cast<char>(0xC0 | (cp >> 6));
        out += static_cast<char>(0x80 | (cp & 0x3F));
    } else if (cp < 0x10000) {
        out += static_cast<char>(0xE0 | (cp >> 12));
        out += static_cast<char>(0x80 | ((cp >> 6) & 0x3F));
        out += static_cast<char>(0x80 | (cp & 0x3F));
    } else {
        out += static_cast<char>(0xF0 | (cp >> 18));
        out += static_cast<char>(0x80 | ((cp >> 12) & 0x3F));
        out += static_cast<char>(0x80 | ((cp >> 6) & 0x3F));
        out += static_cast<char>(0x80 | (cp & 0x3F));
    }
}

// Characters outside CP932 that turn up in Japanese names, with the CP932 character
// that reads and looks the same.
const std::map<char32_t, const char*>& nearest() {
    static const std::map<char32_t, const char*> table = {
        {U'\u00A0', " "},  {U'\u00A2', "￠"}, {U'\u00A3', "￡"},     {U'\u00AC', "￢"}, {U'\u00B7', "・"},
        {U'\u2010', "‐"},  {U'\u2011', "‐"},  {U'\u2012', "－"},     {U'\u2013', "－"}, {U'\u2014', "―"},
        {U'\u2016', "∥"},  {U'\u2022', "・"}, {U'\u2027', "・"},     {U'\u2053', "～"}, {U'\u2212', "－"},
        {U'\u2225', "∥"},  {U'\u301C', "～"}, {U'\u30A0', "＝"},     {U'\u30FB', "・"}, {U'\u2E3A', "―"},
        {U'\u00E0', "a"},  {U'\u00E1', "a"},  {U'\u00E2', "a"},      {U'\u00E4', "a"},  {U'\u00E7', "c"},
        {U'\u00E8', "e"},  {U'\u00E9', "e"},  {U'\u00EA', "e"},      {U'\u00EB', "e"},  {U'\u00ED', "i"},
        {U'\u00EF', "i"},  {U'\u00F3', "o"},  {U'\u00F4', "o"},      {U'\u00F6', "o"},  {U'\u00FA', "u"},
        {U'\u00FC', "u"},  {U'\u00C9', "E"},  {U'\u014D', "o"},      {U'\u016B', "u"},  {U'\u0101', "a"},
        {U'\u9DD7', "鴎"}, {U'\u5699', "噛"}, {U'\U00020BB7', "吉"}, {U'\u525D', "剥"}, {U'\u6451', "掴"},
        {U'\u7E6B', "繋"}, {U'\u6F51', "溌"}, {U'\u5C5B', "屏"},     {U'\u9A52', "騨"}, {U'\u6414', "掻"},
        {U'\u5861', "填"},
    };
    return table;
}

std::string encodeOne(char32_t cp) {
    std::string s;
    append(s, cp);
    return s;
}

}  // namespace

std::string toCp932Text(std::string_view text, int* mapped) {
    if (representableInCp932(text)) return std::string(text);
    std::string out;
    out.reserve(text.size());
    for (size_t i = 0; i < text.size();) {
        const char32_t cp = nextChar(text, i);
        const std::string one = encodeOne(cp);
        if (cp != 0xFFFD && representableInCp932(one)) {
            out += one;
            continue;
        }
        const auto& table = nearest();
        const auto it = table.find(cp);
        // A variant of a character with no entry keeps its meaning best as the geta
        // mark, which Japanese print has long used for a character it cannot set.
        out += (it != table.end() && representableInCp932(it->second)) ? it->second : "〓";
        if (mapped) ++*mapped;
    }
    return out;
}

std::string toHiragana(std::string_view text) {
    std::string out;
    out.reserve(text.size());
    for (size_t i = 0; i < text.size();) {
        char32_t cp = nextChar(text, i);
        if (cp >= 0x30A1 && cp <= 0x30F6) cp -= 0x60;
        append(out, cp);
    }
    return out;
}

}  // namespace kisharin::databuilder
