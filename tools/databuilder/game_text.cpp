#include "databuilder/game_text.h"

#include <map>

#include "platform/encoding.h"

namespace kisharin::databuilder {

namespace {

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
    appendUtf8(s, cp);
    return s;
}

}  // namespace

std::string toCp932Text(std::string_view text, int* mapped) {
    if (representableInCp932(text)) return std::string(text);
    std::string out;
    out.reserve(text.size());
    for (size_t i = 0; i < text.size();) {
        const char32_t cp = nextUtf8(text, i);
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
        char32_t cp = nextUtf8(text, i);
        if (cp >= 0x30A1 && cp <= 0x30F6) cp -= 0x60;
        appendUtf8(out, cp);
    }
    return out;
}

}  // namespace kisharin::databuilder
