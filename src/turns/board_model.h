// The board's controls below the strip as the rules see them: which buttons show, which
// train kinds are enabled and selected, and the texts of the labels. The board window
// draws this as is and forwards its clicks to the rules.
#pragma once

#include <string>

#include "state/game_state.h"

namespace kisharin {

struct Game;

inline constexpr Long kColorPlayer1 = rgb(0, 0, 255);          // blue
inline constexpr Long kColorPlayer2 = rgb(255, 0, 0);          // red
inline constexpr Long kColorManNameBack = rgb(192, 255, 255);  // light cyan

// One train-kind button optKind(k).
struct KindButton {
    std::string caption;
    Long color = 0;  // text colour: "特急" red, "急行" blue, the others black
    bool visible = true;
    bool enabled = true;
    bool value = false;  // set (the selected kind)
};

// What the rules keep of the board's controls. Which of them take a click is not kept
// here: the board model asks the rules (canRoll, canChooseKind, ...).
struct BoardControls {
    Array1D<KindButton, 6> optKind;  // 1..5; element 0 is not used; exactly one is set
    int ordinaryKind = 1;            // of 各停, 急行 and 特急 the one last set
    bool boardEnabled = true;        // false while a seat that plays by itself moves
    std::string lblSusumu;
    std::string lblManName;
    std::string manNameTip;  // the seat of the player to move ("コンピュータ（つよい）"), as a tooltip
    Long manNameColor = kColorPlayer1;

    BoardControls();
};

// Everything the board draws below the strip, ready to paint: the kept controls and
// what is derived from the state when it is drawn.
struct BoardModel : BoardControls {
    bool cmdSusumuVisible = true;  // the buttons of a turn's start, before the roll
    bool cmdWorkVisible = true;
    bool cmdSaveVisible = true;
    std::string lblMoney;
    Long manNameBack = kColorManNameBack;
    std::string lblJikoku;
    std::string lblTrainName;
};

// The model of the board's lower controls for the present state.
BoardModel boardModel(const Game& g);

// Where the other player stands, for the line under the board: name & "：" & station &
// "駅（" & line & "）"; empty when it stands on no station.
std::string otherPlayerText(const GameState& s, int other);
// The player a board shows as the other one: the one not sitting at it when only one of
// the two does (the computer, a player at another computer), else the one not to move.
int otherPlayerOf(const Game& g);

// The caption of train kind k (1..5), e.g. "特急".
const char* kindCaption(int kind);

// Number in full-width digits, e.g. 12 -> "１２", -50 -> "-５０".
std::string fullWidthNumber(long n);

// Selects kind button k (1..5): sets it and clears all the others, so that exactly one
// kind shows selected; 各停, 急行 and 特急 are remembered as the ordinary kind. Does not
// run the click handler.
void setKindButton(BoardControls& c, int kind);

// The turn caption lblManName and its colour for the player to move; what the board shows
// of that player's seat (the computer's strength) is its tooltip, the caption ending at 「）」.
void setTurnCaption(BoardControls& c, const GameState& s, const std::string& seatCaption = {});

// The first kind button 1..5 that is set (1 when none is).
int firstSetKind(const BoardControls& c);

}  // namespace kisharin
