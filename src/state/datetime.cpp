#include "state/datetime.h"

#include <cmath>
#include <cstdio>

namespace kisharin {

namespace {
// Days from 1970-01-01 to a civil date (Howard Hinnant's algorithm).
long daysFromCivil(int y, int m, int d) {
    y -= m <= 2;
    const long era = (y >= 0 ? y : y - 399) / 400;
    const long yoe = y - era * 400;
    const long doy = (153 * (m + (m > 2 ? -3 : 9)) + 2) / 5 + d - 1;
    const long doe = yoe * 365 + yoe / 4 - yoe / 100 + doy;
    return era * 146097 + doe - 719468;
}
void civilFromDays(long z, int& y, int& m, int& d) {
    z += 719468;
    const long era = (z >= 0 ? z : z - 146096) / 146097;
    const long doe = z - era * 146097;
    const long yoe = (doe - doe / 1460 + doe / 36524 - doe / 146096) / 365;
    const long doy = doe - (365 * yoe + yoe / 4 - yoe / 100);
    const long mp = (5 * doy + 2) / 153;
    d = static_cast<int>(doy - (153 * mp + 2) / 5 + 1);
    m = static_cast<int>(mp < 10 ? mp + 3 : mp - 9);
    y = static_cast<int>(yoe + era * 400 + (m <= 2));
}
constexpr long kEpochOffset = 25569;  // 1970-01-01 as a serial day
bool validDate(int y, int m, int d) {
    if (y < 100 || y > 9999 || m < 1 || m > 12 || d < 1) return false;
    int ny, nm, nd;
    civilFromDays(daysFromCivil(y, m, d), ny, nm, nd);
    return ny == y && nm == m && nd == d;
}
}  // namespace

double toSerial(const CivilTime& t) {
    const long days = daysFromCivil(t.year, t.month, t.day) + kEpochOffset;
    return static_cast<double>(days) + (t.hour * 3600 + t.minute * 60 + t.second) / 86400.0;
}

CivilTime fromSerial(double serial) {
    long total = std::lround(serial * 86400.0);
    long days = total >= 0 ? total / 86400 : -((-total + 86399) / 86400);
    long secs = total - days * 86400;
    CivilTime t;
    civilFromDays(days - kEpochOffset, t.year, t.month, t.day);
    t.hour = static_cast<int>(secs / 3600);
    t.minute = static_cast<int>(secs / 60 % 60);
    t.second = static_cast<int>(secs % 60);
    return t;
}

std::string clockText(double gameClock, long playSeconds) {
    const CivilTime t = fromSerial(gameClock + playSeconds / 1440.0);
    char buf[64];
    std::snprintf(buf, sizeof buf, "%d/%d %02d：%02d", t.month, t.day, t.hour, t.minute);
    return buf;
}

std::string shortDateTimeText(double serial) {
    const CivilTime t = fromSerial(serial);
    char buf[64];
    std::snprintf(buf, sizeof buf, "%04d/%02d/%02d %02d:%02d:%02d", t.year, t.month, t.day, t.hour, t.minute,
                  t.second);
    return buf;
}

std::optional<double> parseShortDateTime(const std::string& text) {
    CivilTime t;
    int consumed = 0;
    const int n = std::sscanf(text.c_str(), "%d/%d/%d%n", &t.year, &t.month, &t.day, &consumed);
    if (n != 3 || !validDate(t.year, t.month, t.day)) return std::nullopt;
    std::string rest = text.substr(static_cast<size_t>(consumed));
    size_t first = rest.find_first_not_of(' ');
    if (first != std::string::npos) {
        int used = 0;
        if (std::sscanf(rest.c_str() + first, "%d:%d:%d%n", &t.hour, &t.minute, &t.second, &used) != 3 ||
            rest.find_first_not_of(' ', first + static_cast<size_t>(used)) != std::string::npos)
            return std::nullopt;
        if (t.hour < 0 || t.hour > 23 || t.minute < 0 || t.minute > 59 || t.second < 0 || t.second > 59)
            return std::nullopt;
    }
    return toSerial(t);
}

}  // namespace kisharin
