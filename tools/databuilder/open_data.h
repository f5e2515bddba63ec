// The open data the railway network is built from, as read from its folder:
// station_database (line/*.json, company.csv, prefecture.csv) and the game's own
// tables (game/airports.tsv, game/air_routes.tsv, game/race_courses.tsv).
#pragma once

#include <array>
#include <map>
#include <optional>
#include <string>
#include <vector>

namespace kisharin::databuilder {

using Rgb = std::array<int, 3>;

struct OpenStation {
    int id = 0;                // the same place on every line
    std::string name;          // unique name, e.g. 福島(福島)
    std::string originalName;  // the name to show
    std::string kana;
    double lat = 0;
    double lng = 0;
    int prefecture = 0;  // JIS X 0401 code
};

struct OpenLine {
    int code = 0;
    std::string name;
    std::string kana;
    int company = -1;  // -1 when the data names none
    std::optional<Rgb> color;
    std::vector<OpenStation> stations;  // open stations in line order
};

struct Company {
    std::string name;
    int type = 0;  // 1 = JR
};

struct Airport {
    std::string name;
    std::string reading;
    std::string prefecture;
    std::string shortName;
    std::vector<std::string> stations;  // station `name`s at the airport
    int fileLine = 0;
};

struct AirRoute {
    std::vector<std::string> airports;  // in flight order
    int fileLine = 0;
};

struct RaceCourse {
    std::string marker;   // 競馬, 競艇 or 競輪
    std::string station;  // station `name`
    int fileLine = 0;
};

struct OpenData {
    std::vector<OpenLine> lines;  // open lines, by line code
    std::map<int, Company> companies;
    std::map<int, std::string> prefectures;
    std::vector<Airport> airports;
    std::vector<AirRoute> airRoutes;
    std::vector<RaceCourse> raceCourses;
};

// Reads the folder. Closed lines and closed stations are left out. Throws DataError
// naming the file and line for a missing or malformed file.
OpenData readOpenData(const std::string& dir);

// Parses one line/<code>.json text; nullopt for a closed line.
std::optional<OpenLine> parseLineJson(const std::string& text, const std::string& name);

}  // namespace kisharin::databuilder
