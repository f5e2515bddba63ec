// Everything a rule needs to act: the one game state, the windows, chance and time, and
// the models of the board's strip and controls.
#pragma once

#include <array>
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "board/line_display.h"
#include "board/text_metrics.h"
#include "state/clock.h"
#include "state/game_state.h"
#include "state/rng.h"
#include "turns/board_model.h"
#include "turns/event_log.h"
#include "turns/message_log.h"
#include "turns/screens.h"
#include "turns/seat.h"

namespace kisharin {

class GameRecorder;
class Race;

// The last ride made by a station click: where it started and ended and what it cost.
struct RideRecord {
    int player = 0;
    int line = 0;
    int start = 0;
    int end = 0;
    Long fare = 0;
    bool cut = false;        // stopped short of the clicked station
    bool overslept = false;  // went past it
};

struct Game {
    GameState& s;
    Screens& screens;
    Rng& rng;
    Clock& clock;
    bool ended = false;     // the last destination was reached and the results were shown
    LineDisplayModel line;  // the strip of the displayed line and its scroll bar
    BoardControls board;    // the controls below the strip
    const TextMetrics* metrics = &fixedTextMetrics();  // the board's fonts
    // Who decides for players 1 and 2; an empty seat answers no and plays nothing.
    std::array<Seat*, 2> seats{};
    RideRecord lastRide;
    // Told of every special event and race bet when set (the simulator's game log).
    EventLog* eventLog = nullptr;
    // The race of an open bet question (PlaceBet starts it).
    Race* openRace = nullptr;
    // The race of the race day under way, owned by the game while its question is open.
    std::shared_ptr<Race> raceDay;
    // The answers of the open question, as the commands gave them (never read from a
    // field a window could write). `given`: an answer command was carried out.
    struct Answers {
        bool warp = false;
        std::string god;
        bool given = false;
    } answers;
    // The open question: whether its seat has been asked (false only for a question the
    // rules opened and have yet to ask), and the rest of the turn once it is answered (the
    // event's end and the hand-over; turns/command.h, settleQuestion).
    bool questionAsked = true;
    std::function<void(Game&)> afterAnswer;
    bool settling = false;
    // Told of every accepted command and of what the wall clock decided (the game's
    // record, turns/game_record.h); none in a game that keeps no record.
    GameRecorder* record = nullptr;
    // The player's save slots' folder (GameData, ending with "/"): where Save writes.
    std::string gameDataDir;
    // The game as a save slot holds it, at the start of the turn under way: what a save
    // in the middle of a turn keeps (a ride, a question or a guest gone mid-turn).
    std::vector<std::string> turnStart;
    bool seatPlaying = false;  // a seat is playing its turn (turns/turn.h, playSeatTurn)
    // Every message of this sitting, and the turns begun in it (the first is 1).
    MessageLog messages;
    int turnNumber = 0;

    // What the board shows of each seat beside the player's name ("つよい"); empty: nothing.
    std::array<std::string, 2> seatCaptions;

    Seat& seat(int player) const;
    void seatBoth(Seat& both) { seats = {&both, &both}; }
};

}  // namespace kisharin
