#include "state/datetime.h"

#include <algorithm>
#include <charconv>
#include <cmath>
#include <cstdio>
#include <string_view>

namespace kisharin {

namespace {
// Days from 1970-01-01 to a civil date (Howard Hinnant's algorithm), in long arithmetic
// throughout so that no int-sized part can overflow.
long daysFromCivil(long y, long m, long d) {
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
bool leapYear(int y) {
    return (y % 4 == 0 && y % 100 != 0) || y % 400 == 0;
}
// Every part is checked against its range before any arithmetic on it.
bool validDate(int y, int m, int d) {
    if (y < 100 || y > 9999 || m < 1 || m > 12 || d < 1) return false;
    static const int length[13] = {0, 31, 28, 31, 30, 31, 30, 31, 31, 30, 31, 30, 31};
    return d <= length[m] + (m == 2 && leapYear(y) ? 1 : 0);
}
// Reads an unsigned decimal number of 1..digits digits at text[i]; false when there is none,
// it is longer, or it does not fit.
bool readNumber(std::string_view text, size_t& i, int digits, int& out) {
    const char* first = text.data() + i;
    const char* last = text.data() + std::min(text.size(), i + static_cast<size_t>(digits) + 1);
    const auto [end, ec] = std::from_chars(first, last, out);
    const size_t used = static_cast<size_t>(end - first);
    if (ec != std::errc() || used == 0 || used > static_cast<size_t>(digits) || *first == '-') return false;
    i += used;
    return true;
}
bool expect(std::string_view text, size_t& i, char c) {
    if (i >= text.size() || text[i] != c) return false;
    ++i;
    return true;
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
    const std::string_view t(text);
    CivilTime c;
    size_t i = t.find_first_not_of(' ');
    if (i == std::string_view::npos) return std::nullopt;
    if (!readNumber(t, i, 4, c.year) || !expect(t, i, '/') || !readNumber(t, i, 2, c.month) ||
        !expect(t, i, '/') || !readNumber(t, i, 2, c.day) || !validDate(c.year, c.month, c.day))
        return std::nullopt;
    const size_t timeStart = t.find_first_not_of(' ', i);
    if (timeStart != std::string_view::npos) {
        if (timeStart == i) return std::nullopt;  // the time stands apart from the date
        i = timeStart;
        if (!readNumber(t, i, 2, c.hour) || !expect(t, i, ':') || !readNumber(t, i, 2, c.minute) ||
            !expect(t, i, ':') || !readNumber(t, i, 2, c.second))
            return std::nullopt;
        if (t.find_first_not_of(' ', i) != std::string_view::npos) return std::nullopt;
        if (c.hour > 23 || c.minute > 59 || c.second > 59) return std::nullopt;
    }
    return toSerial(c);
}

}  // namespace kisharin
