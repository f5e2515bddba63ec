// The prefecture picker "路線図": a 510 x 521 map of Japan with the 47 prefecture names
// over it. Viewing mode opens the detailed map of the clicked prefecture; move mode
// (tag "God", the guardian god) only records it.
#pragma once

#include <array>
#include <string>
#include <vector>

#include "maps/map_data.h"
#include "state/game_state.h"

namespace kisharin {

inline constexpr int kPrefCount = 47;
inline constexpr int kPickerWidth = 510;
inline constexpr int kPickerHeight = 521;
inline constexpr int kPickerLabelPixels = 9;  // font size of the labels, in pixels

// The caption of label `code` (the JIS X 0401 code 1..47); throws for other codes.
const std::string& prefectureCaption(int code);
// The region 1..8 of a prefecture code, as the game's region table groups them.
int prefectureRegion(int code);

struct PickerRect {
    int x = 0, y = 0, w = 0, h = 0;
    bool intersects(const PickerRect& o) const {
        return x < o.x + o.w && o.x < x + w && y < o.y + o.h && o.y < y + h;
    }
};

// Where label `code` stands on the picture: its fixed top-left corner and the size of
// its caption.
PickerRect pickerLabel(int code);

// The frame of the inset at the upper left that shows 沖縄県.
inline constexpr PickerRect kOkinawaInset{2, 56, 210, 108};

struct PickerPoint {
    double x = 0, y = 0;
};

// A point (latitude, longitude) of prefecture `code` on the picture: 沖縄県 in its inset,
// the others on the main map.
PickerPoint pickerProject(int code, double lat, double lon);

// The outline of one prefecture on the picture.
struct PrefOutline {
    int code = 0;
    int region = 0;
    std::vector<std::vector<PickerPoint>> rings;
};

// The outlines of all 47 prefectures from their boundary files under mapDataDir, read
// once and kept. A prefecture whose boundary cannot be read is left out of the picture
// (its label still works) and its fault is listed in `faults`.
struct JapanOutline {
    std::vector<PrefOutline> prefs;
    std::vector<std::string> faults;
};
const JapanOutline& japanOutline(const std::string& mapDataDir);

// The picker's keys: the arrows move to the nearest label that way, Tab and Shift+Tab
// through the codes.
enum class PickerKey { Left, Right, Up, Down, Next, Previous };
// The label a key moves to from label `code`. An arrow goes to the nearest label whose
// centre lies that way, within 45 degrees of it (a pixel across the way counting as two
// along it), and stays when none does; Next and Previous go to the next and the previous
// code, 47 followed by 1.
int pickerKeyMove(int code, PickerKey k);
// The label the keys start on: the prefecture where the player to move stands, else 東京都.
int pickerStart(const GameState& s);

// The map windows' own pick, shared by the picker and the detailed map: the prefecture
// picked last (pickedPref) and whether the detailed map is to open it (prefPicked). It is
// the windows' alone; nothing of the game reads it (the god's answer is a command).
struct MapPick {
    bool prefPicked = false;
    std::string pickedPref;
};
MapPick& mapPick();

// A click on label `code`: records the prefecture in pickedPref and, outside move mode,
// asks for the detailed map (prefPicked). Returns true when the detailed map is to open.
bool lblPref_Click(int code, bool moveMode);

}  // namespace kisharin
