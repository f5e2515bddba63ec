// The line on the board: a vertical strip of station boxes with their connectors, the
// ★ marks of stations already visited, the transfer labels and their direction hints,
// and the scroll bar beside it. The rules build it as a model that a window draws as is
// (pixels in the strip's own coordinates, colours as red + green*256 + blue*65536).
#pragma once

#include <string>
#include <vector>

#include "state/game_state.h"

namespace kisharin {

class TextMetrics;

struct PixelRect {
    int left = 0, top = 0, width = 0, height = 0;
    friend bool operator==(const PixelRect&, const PixelRect&) = default;
};

inline constexpr Long kColorWhite = rgb(255, 255, 255);
inline constexpr Long kColorSpecial = rgb(255, 255, 128);      // yellow: a marked station
inline constexpr Long kColorDestination = rgb(255, 128, 255);  // pink: a pending destination
inline constexpr Long kColorCurrent = rgb(192, 192, 255);      // light blue: where the player stands
inline constexpr Long kColorReachable = rgb(192, 255, 192);    // light green: reachable, under the mouse

// Sizes of the strip's pieces.
inline constexpr int kStationLabelLeft = 30;
inline constexpr int kStationLabelWidth = 120;
inline constexpr int kStationFontSize = 9;
inline constexpr int kStationSmallFontSize = 7;     // names of more than 10 characters
inline constexpr int kStationSmallestFontSize = 6;  // a long name in two lines
inline constexpr int kBoxHeight = 25;
inline constexpr int kTransferFontSize = 8;
inline constexpr int kTransferSmallestFontSize = 6;  // for a station with very many transfers
inline constexpr int kTransferTemplateWidth = 49;    // the fresh label, before its caption
inline constexpr int kWheelStep = 50;

struct StationView {
    std::string name;  // caption and tool tip
    PixelRect label;
    int fontSize = kStationFontSize;
    PixelRect box;
    Long fill = kColorWhite;
    bool connector = false;  // a line down to the next station
    int connectorX = 0, connectorY1 = 0, connectorY2 = 0;
    bool star = false;  // "★" in grey, left of the label
    PixelRect starRect;
};

struct TransferView {
    int line = 0;     // the line it leads to
    int pos = 0;      // the station of that line
    int station = 0;  // the station of the displayed line it stands beside
    std::string caption;
    std::string directions;  // shown by the hint while the mouse is over it
    PixelRect rect;
    int fontSize = kTransferFontSize;
};

struct LineDisplayModel {
    int line = 0;
    std::string title;  // lblTrainName
    bool visible = true;
    int stripWidth = 750;
    int stripHeight = 0;
    Long background = kColorWhite;  // of the viewport and the strip
    int scrollMin = 0;
    int scrollMax = 0;  // may be negative for short lines: then the value stays 0
    int scrollValue = 0;
    std::vector<StationView> stations;    // station i is stations[i - 1]
    std::vector<TransferView> transfers;  // label k is transfers[k - 1]
    bool hintVisible = false;             // lblAnnai
    std::string hintText;
    PixelRect hintRect;
    Long grey = rgb(128, 128, 128);  // colour of the ★

    // What this viewer's mouse is doing: none of it is part of the game.
    int hoverEki = 0;           // the reachable station lit under the mouse
    bool ekiHover = false;      // a station is lit
    bool norikaeHover = false;  // a transfer hint is shown
    bool wheelBusy = false;     // a wheel message is being handled

    StationView& station(int i);
    const StationView& station(int i) const;
    int stationCount() const { return static_cast<int>(stations.size()); }
};

// What lies under a point of the strip: the label of station i, transfer label k (1-based),
// or nothing (both 0). Where pieces overlap, the one painted last, the one on top, wins:
// transfer labels are painted after the stations and in the order of their numbers.
struct StripHit {
    int station = 0;
    int transfer = 0;
};
StripHit hitTest(const LineDisplayModel& m, int x, int y);

// The text naming both directions of line `line` from station `pos`, e.g.
// "D・A 方面 ― F・I 方面"; empty for a line of one station.
std::string directionText(const RailwayData& d, int line, int pos);

// A station's name as its box shows it. In one line at the model's size when it fits
// `width`; else in two lines within `height` (the box), at 7 and then 6 points, broken
// where the name breaks by itself (before "（", after "・" ...) when both halves fit there,
// else where the longer half is shortest; else in one line at the smallest size.
struct StationCaption {
    std::vector<std::string> lines;
    int fontSize = kStationFontSize;
};
StationCaption fitStationName(const std::string& name, int fontSize, int width, int height,
                              const TextMetrics& tm);

// 路線初期化: clears the strip and its transfer labels and takes the background of the
// current station's region. Drawing writes nothing: the arrival at the current station is
// recorded by the rules before the line is drawn.
void 路線初期化(const GameState& s, LineDisplayModel& m);

// 路線読み込み: rebuilds the strip for playerRosen(curPlayer), and norikaeList with the
// transfer labels it shows (for the announcements). Which changes are allowed is the
// rules' matter (transfersAt), not the strip's.
void 路線読み込み(GameState& s, LineDisplayModel& m, const TextMetrics& tm);

// The lines a player standing at (line, pos) may change to: every link of that station, in
// the order of its link text; links that name no station are left out.
std::vector<Station> transfersAt(const RailwayData& d, int line, int pos);

// The highest value the scroll bar takes; a line shorter than the viewport stays at 0.
int scrollTop(const LineDisplayModel& m);

// The scroll value that brings station pos of the player's line into view.
int scrollValueForStation(const GameState& s, int pos);
// スクロール位置決め: brings station pos of the displayed line into view on the scroll bar.
void スクロール位置決め(const GameState& s, LineDisplayModel& m, int pos);

// Sets the scroll bar's value; a value outside Min..Max is ignored (false).
bool setScrollValue(LineDisplayModel& m, int value);

// The scroll bar moved (scTate_Change): the strip follows (its top is -value).
void scTate_Change(LineDisplayModel& m, int value);

// One wheel step down (toward the user) or up.
void vbWheelMinus(LineDisplayModel& m);
void vbWheelPlus(LineDisplayModel& m);
// A wheel message with its delta; negative is toward the user. Ignored while a wheel
// message is being handled (wheelBusy).
void onMouseWheel(LineDisplayModel& m, int delta);

// Hover feedback while a move is pending.
void lblEki_MouseMove(const GameState& s, LineDisplayModel& m, int i);
void picEki_MouseMove(const GameState& s, LineDisplayModel& m);
void lblNorikae_MouseMove(LineDisplayModel& m, const TextMetrics& tm, int k);
// Puts out the light of a station lit under the mouse (the roll's steps are spent).
void clearStationHover(LineDisplayModel& m);

// The board's clock tick (its tmrMain): one more second of play; the clock label shows
// one more minute.
void playClockTick(GameState& s);
// The clock label: gameClock plus playSeconds minutes as "m/d hh：mm".
std::string lblJikokuText(const GameState& s);

}  // namespace kisharin
