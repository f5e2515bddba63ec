// Calendar dates as days since 1899-12-30 with the time of day as a fraction: the
// form in which the game keeps its in-game clock.
#pragma once

#include <optional>
#include <string>

namespace kisharin {

struct CivilTime {
    int year = 1899, month = 12, day = 30;
    int hour = 0, minute = 0, second = 0;
    friend bool operator==(const CivilTime&, const CivilTime&) = default;
};

double toSerial(const CivilTime& t);
CivilTime fromSerial(double serial);  // rounded to the nearest second

// The board clock: gameClock plus playSeconds minutes, as "m/d hh：mm".
std::string clockText(double gameClock, long playSeconds);

// Short date and time, as the save slots keep them: "yyyy/mm/dd hh:mm:ss".
std::string shortDateTimeText(double serial);
// Reads what shortDateTimeText writes (a date alone is midnight); nullopt when it is not a date.
std::optional<double> parseShortDateTime(const std::string& text);

}  // namespace kisharin
