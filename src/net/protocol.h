// The network game's messages: two computers, one running the game (the host), the other
// showing it and sending its player's commands (the guest). Every message is one JSON
// object of at most 64 KiB carrying the protocol version and its type. The reader trusts
// nothing: a message that is too large, not JSON, of an unknown type or version, or with
// a field missing, of the wrong type or out of its range is refused with a Japanese reason
// and nothing of it is used.
#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include <nlohmann/json_fwd.hpp>

#include "board/line_display.h"
#include "turns/board_model.h"
#include "turns/command.h"
#include "turns/game.h"
#include "turns/race.h"
#include "turns/strip_keys.h"

namespace kisharin::net {

inline constexpr int kProtocolVersion = 3;
inline constexpr std::size_t kMaxMessageBytes = 64 * 1024;
// The guest plays player 2.
inline constexpr int kRemotePlayer = 1;

enum class MessageType {
    Hello,    // guest -> host: the join code
    Command,  // guest -> host: one command of the remote player
    Welcome,  // host -> guest: the code was right; which player the guest is
    Board,    // host -> guest: the board's model after a change
    Show,     // host -> guest: one call of the presenter (message, dice, ride, ...)
    Ask,      // host -> guest: a question for the remote player (warp, god, bet)
    Refused,  // host -> guest: a command of the guest was not carried out, and why
    Bye,      // either way: the connection ends, and why
};

// What the guest draws of the board: the strip, the controls below it, and the players.
struct BoardView {
    long seq = 0;  // counts the boards the host sent
    int curPlayer = 0;
    bool ended = false;
    bool enabled = true;  // the board takes the clicks of the player to move
    bool busy = false;    // a command is being carried out or a question is open
    TurnPhase phase = TurnPhase::Choosing;
    int steps = 0;  // stations the die allows
    std::array<std::string, 2> names;
    std::array<Station, 2> at;
    std::array<Long, 2> money{}, points{};
    std::array<Station, kDestinationCount> destinations;
    std::array<bool, kDestinationCount> done{};
    BoardModel controls;
    LineDisplayModel strip;  // the viewer's own mouse (hover) is not part of it
    // What the guest's player may pick on the strip now, in reading order (its keys go
    // over them); empty when it is not its turn to pick.
    std::vector<StripTarget> targets;
};

// The longest race: every racer goes at least a pixel a tick from the start to the goal
// (under 600 ticks), and the window ticks on for three seconds after the winner.
inline constexpr std::size_t kMaxRaceMoves = 5 * 720;

// One call of the presenter, with what the guest needs to show the same.
struct ShowCall {
    // message, dice, ride, conquest, disaster, picture, shake, results, race
    std::string what;
    int player = 0;    // message: whose colour; dice: who rolls; ride: who rides; race: who bet
    std::string text;  // message: its text; results: the summary; race: the race's name
    // dice: face; disaster: kind; picture: 0, 4, 5; shake: twips; conquest: line;
    // race: the stake
    int value = 0;
    int line = 0, start = 0, end = 0;  // ride; race: start the lane bet on, end the winner (1..5)
    double seed = 0;                   // ride, conquest: the timer the scene is seeded from
    // ride: what the scene is painted from besides the railway: the kind's colour and
    // tick, a ride cut short, and the game's clock (the sky).
    bool cut = false;
    Long color = 0;
    int tick = 0;
    double gameClock = 0;
    long playSeconds = 0;  // ride, results
    // dice: 1 when the die stops at its first face (short mode), 0 when it turns half a
    // second (in `tick`).
    std::array<int, 5> odds{};     // race: the odds of the five lanes
    std::string moves;             // race: Race::moves, how far each racer went each tick
    std::array<int, 2> arrived{};  // results: the destinations each player reached
};

// A question for the remote player.
struct Ask {
    std::string question;  // warp, god, bet
    std::string title, text;
    int region = 0;
    std::vector<Long> stakes;   // bet: the stakes offered
    std::array<int, 5> odds{};  // bet: the odds of the lanes
};

struct Message {
    MessageType type = MessageType::Bye;
    std::string code;  // Hello
    kisharin::Command command;
    int lane = 0;            // Command PlaceBet: the lane the guest bets on (0..4)
    int player = 0;          // Welcome
    int area = 0;            // Welcome: the play area, 0..8
    bool shortMode = false;  // Welcome
    BoardView board;
    ShowCall show;
    Ask ask;
    std::string reason;  // Refused, Bye
};

struct ReadResult {
    bool ok = false;
    std::string error;  // Japanese, when not ok
    Message message;
};

// Reads one message, strictly. Never throws.
ReadResult readMessage(std::string_view bytes);

// One command as the messages and the game's record write it ({"kind": "roll", "player":
// 0, ...}), and read back strictly (false, with the faulty field, for anything else).
nlohmann::json commandToJson(const kisharin::Command& c);
bool commandFromJson(const nlohmann::json& j, kisharin::Command& c, std::string& field);
// Writes one message (compact JSON with the version).
std::string writeMessage(const Message& m);
// The canonical text of a board, for comparing two of them.
std::string boardText(const BoardView& b);

// The board's model of the game as it stands, to be sent as board `seq`.
BoardView boardView(const Game& g, long seq);

// An eight-digit join code from a random number.
inline constexpr std::size_t kJoinCodeDigits = 8;
std::string joinCode(std::uint64_t random);
// The code as players read it out: two groups of four (「1234 5678」).
std::string spokenCode(const std::string& code);
// The digits of a code as a player typed it (spaces and hyphens between them left out);
// empty when anything else is in it.
std::string typedCode(std::string_view typed);
// Empty when the hello's code is the host's; else why the guest is turned away.
std::string helloRefusal(const std::string& expected, const std::string& given);
// Empty when the host takes the command from the remote seat now; else why it is dropped
// (a command of another player, or one that apply refuses).
std::string commandRefusal(const Game& g, int remotePlayer, const kisharin::Command& c);

// The race of a race day, run to its end, as the guest shows it (the record cut to
// kMaxRaceMoves).
ShowCall raceShow(const GameState& s, const Race& race);

// Message constructors.
Message hello(std::string code);
Message commandMessage(const kisharin::Command& c);
Message welcome(int player, int area = 0, bool shortMode = false);
Message boardMessage(BoardView b);
Message showMessage(ShowCall c);
Message askMessage(Ask a);
Message refused(std::string reason);
Message bye(std::string reason);

// The refusals.
inline constexpr const char* kErrTooLarge = "受け取ったメッセージが大きすぎます（64 KiB まで）";
inline constexpr const char* kErrNotJson = "受け取ったメッセージが JSON として読めません";
inline constexpr const char* kErrUnknownType = "受け取ったメッセージの種類が分かりません";
inline constexpr const char* kErrVersion = "相手のプログラムと通信の版が違います";
inline constexpr const char* kErrField = "受け取ったメッセージの項目が正しくありません";
inline constexpr const char* kErrCode = "参加コードが違います";
inline constexpr const char* kErrNotRemote = "相手のプレイヤーの操作ではありません";
// What Qt's WebSocket refuses before our reader sees it (a frame or message over its limit
// ends as kErrTooLarge).
inline constexpr const char* kErrNotUtf8 = "受け取ったメッセージが UTF-8 の文字として読めません";
inline constexpr const char* kErrFrame = "受け取ったデータが WebSocket の形式に合いません";
// The host's bounds on connections.
inline constexpr const char* kErrNoHello = "参加コードが時間内に届きませんでした";
inline constexpr const char* kErrBusy =
    "参加を待つ接続が多すぎます。しばらくしてからもう一度参加してください";
inline constexpr const char* kErrNotReading = "相手がデータを受け取らないため、接続を切りました";

}  // namespace kisharin::net
