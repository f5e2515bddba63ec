#include "setup/values.h"

#include <algorithm>
#include <cctype>
#include <cstdlib>

namespace kisharin {

std::string printInteger(long long v) {
    return (v < 0 ? "-" : " ") + std::to_string(v < 0 ? -v : v) + " ";
}

std::string printFlag(bool v) {
    return v ? "True" : "False";
}

std::string trimBlanks(const std::string& text) {
    const size_t a = text.find_first_not_of(" \t");
    if (a == std::string::npos) return {};
    const size_t b = text.find_last_not_of(" \t");
    return text.substr(a, b - a + 1);
}

std::optional<long long> parseInteger(const std::string& text) {
    const std::string t = trimBlanks(text);
    size_t i = 0;
    bool negative = false;
    if (i < t.size() && (t[i] == '-' || t[i] == '+')) negative = t[i++] == '-';
    if (i == t.size() || t.size() - i > 12) return std::nullopt;
    long long v = 0;
    for (; i < t.size(); ++i) {
        if (t[i] < '0' || t[i] > '9') return std::nullopt;
        v = v * 10 + (t[i] - '0');
    }
    return negative ? -v : v;
}

std::optional<bool> parseFlag(const std::string& text) {
    std::string t = trimBlanks(text);
    std::transform(t.begin(), t.end(), t.begin(), [](unsigned char c) { return std::tolower(c); });
    if (t == "true" || t == "-1") return true;
    if (t == "false" || t == "0") return false;
    return std::nullopt;
}

// The Japanese regional form: the full-width yen sign, thousands grouped by commas, no
// decimals, and the minus sign in front of the yen sign ("-￥1,500").
std::string moneyText(long yen) {
    const long long v = yen;
    std::string digits = std::to_string(std::llabs(v));
    std::string grouped;
    const size_t n = digits.size();
    for (size_t i = 0; i < n; ++i) {
        if (i > 0 && (n - i) % 3 == 0) grouped += ',';
        grouped += digits[i];
    }
    return (v < 0 ? "-￥" : "￥") + grouped;
}

}  // namespace kisharin
